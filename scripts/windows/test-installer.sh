#!/usr/bin/env bash
# Tries the Windows installer under Wine, in a Wine prefix of its own: a silent install (/S)
# puts the program, its DLLs and plugins, the resource file, the icon, the Start menu entry
# and the uninstaller in place; the installed program starts on the offscreen platform and
# keeps running with its panels loaded (one that cannot load them ends at once); a silent
# uninstall takes it all away again.
# usage: scripts/windows/test-installer.sh [INSTALLER]  (default: the one in BUILD_DIR)
set -euo pipefail
cd "$(dirname "$0")/../.."
source=$(pwd)
build=$(cd "${BUILD_DIR:-build-windows}" && pwd)
installer=${1:-$(ls "$build"/Quorvel-Setup-*.exe | head -1)}
export WINEPREFIX=$build/wineprefix-install
rm -rf "$WINEPREFIX"
run="$source/scripts/windows/wine-run.sh"
wine=/usr/lib/wine/wine64
fail() { echo "installer test: $*" >&2; exit 1; }

"$run" "$installer" /S
target="$WINEPREFIX/drive_c/Program Files/Quorvel"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quorvel"
for f in vaskinterface.exe quorvel.exe VASKInterface.uir quorvel.ico Qt6Widgets.dll Qt6SerialPort.dll \
         libstdc++-6.dll platforms/qwindows.dll platforms/qoffscreen.dll Uninstall.exe; do
    [ -f "$target/$f" ] || fail "$f was not installed"
done
[ -f "$menu/Quorvel.lnk" ] || fail "no Start menu entry"
"$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel' \
    /v UninstallString >/dev/null || fail "no entry in the list of programs"
echo "installed: $(du -sk "$target" | cut -f1) KB in C:\\Program Files\\Quorvel, Start menu entry"
version=$(WINEDEBUG=-all "$wine" "C:\\Program Files\\Quorvel\\quorvel.exe" --version | tr -d '\r')
[ "$version" = "quorvel $(sed -n 's/^project(Quorvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)" ] ||
    fail "the installed quorvel.exe --version said '$version'"
echo "the installed command line: $version"

# From another folder, as the Start menu starts it: it finds its resource file beside itself.
log=$(mktemp)
cd "$WINEPREFIX/drive_c"
QT_QPA_PLATFORM=offscreen WINEDEBUG=-all "$wine" "C:\\Program Files\\Quorvel\\vaskinterface.exe" \
    >"$log" 2>&1 &
tool=$!
cd "$source"
sleep 8
if ! kill -0 "$tool" 2>/dev/null; then
    cat "$log" >&2
    fail "the installed program ended at once: it could not load its panels"
fi
kill "$tool"
wait "$tool" 2>/dev/null || true
grep -q "LoadPanel" "$log" && { cat "$log" >&2; fail "the installed program could not load a panel"; }
rm -f "$log"
echo "the installed program started offscreen and kept running with its panels"

"$wine" "C:\\Program Files\\Quorvel\\Uninstall.exe" /S
# The uninstaller runs on from a copy of itself: wait for it to finish.
for _ in $(seq 60); do [ -e "$target" ] || break; sleep 0.5; done
timeout 60 /usr/lib/wine/wineserver -w || /usr/lib/wine/wineserver -k
[ ! -e "$target" ] || fail "the uninstaller left $(ls "$target")"
[ ! -e "$menu" ] || fail "the uninstaller left the Start menu entry"
if "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel' \
    >/dev/null 2>&1; then
    fail "the uninstaller left the entry in the list of programs"
fi
echo "uninstalled: program folder, Start menu entry and list entry gone"
/usr/lib/wine/wineserver -k || true
rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
