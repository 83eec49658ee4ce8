#!/usr/bin/env bash
# Tries the Windows installer and the portable ZIP under Wine, in a Wine prefix of its own,
# with quorvel-sim on COM1, each way an operator or an IT department takes; what it finds
# is printed as it goes, a transcript of the trials:
#   1. version 1.0 with the installer that shipped it; a settings write through COM1 keeps a
#      history file, the program keeps its window's place, a port choice is remembered;
#   2. this installer over it, for everyone: the program replaced in the same folder, the
#      notices installed, the operator's data as it was; 3. the same installer once more;
#   4. the uninstaller: the program goes, the data stays;
#   5. just for me (/CurrentUser): under %LOCALAPPDATA%\Programs\Quorvel with the user's own
#      Start menu and uninstall entries, nothing for everyone; 6. its uninstaller with
#      /RemoveUserData: the data goes too;
#   7. for everyone (/AllUsers) afresh, started from the Start menu's folder, and removed;
#   8. the portable ZIP unpacked outside Program Files with a file "portable": it reaches the
#      instrument through COM1 and keeps its history and settings beside itself.
# usage: scripts/windows/test-installer.sh [LINUX_BUILD]   (BUILD_DIR: the Windows build with
# the installer and the ZIP of scripts/windows/installer.sh; LINUX_BUILD: where quorvel-sim is)
set -euo pipefail
cd "$(dirname "$0")/../.."
source=$(pwd)
build=$(cd "${BUILD_DIR:-build-windows}" && pwd)
version=$(sed -n 's/^project(Quorvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
installer=$build/Quorvel-Setup-$version.exe
zip=$build/Quorvel-$version-portable.zip
export WINEPREFIX=$build/wineprefix-install
rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
run="$source/scripts/windows/wine-run.sh"
wine=/usr/lib/wine/wine64
. scripts/windows/shipped-files.sh
. scripts/windows/sim-on-com1.sh
work=$(mktemp -d)
trap 'stop_sim_on_com1; /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
failures=0
fail() {
    echo "  FAILED: $*" >&2
    failures=$((failures + 1))
}
check() {
    local what=$1
    shift
    if "$@"; then echo "  ok: $what"; else fail "$what"; fi
}
trial() { echo "== $*"; }

# The installer that shipped 1.0, built from its script with these binaries.
old_installer=$work/Quorvel-Setup-1.0-as-shipped.exe
makensis -V1 -X"SetCompressor /FINAL zlib" -DVERSION=1.0 -DBINDIR="$build/bin" \
    -DOUTFILE="$old_installer" tests/windows/quorvel-1.0.nsi

serial=QV-WINE-000022
start_sim_on_com1 "${1:-${LINUX_BUILD:-build-linux-sim}}" "$serial"
win() { WINEDEBUG=-all "$wine" "$@" 2>/dev/null | tr -d '\r'; }
unix_path() { win winepath.exe -u "$1"; }
everyone_dir=$(unix_path 'C:\Program Files\Quorvel')
local_app_data=$(win cmd /c echo %LOCALAPPDATA%)
app_data=$(win cmd /c echo %APPDATA%)
user_dir=$(unix_path "$local_app_data\\Programs\\Quorvel")
history_dir=$(unix_path "$app_data\\Quorvel\\Quorvel\\history")
everyone_menu=$(unix_path 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Quorvel')
user_menu=$(unix_path "$app_data\\Microsoft\\Windows\\Start Menu\\Programs\\Quorvel")
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel'
settings_key='HKCU\Software\Quorvel\Quorvel'
echo "for everyone: C:\\Program Files\\Quorvel; just for me: $local_app_data\\Programs\\Quorvel"
echo "the operator's data: $app_data\\Quorvel\\Quorvel\\history and $settings_key"

reg_value() { win reg query "$1" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
has_key() { win reg query "$1" >/dev/null; }
no_key() { ! has_key "$1"; }
has_shipped_files() {
    local dir=$1 file
    while read -r file; do [ -f "$dir/$file" ] || { echo "  missing: $file" >&2; return 1; }; done \
        <<<"$(shipped_files "$build/bin")"
}
all_shipped_in() { has_shipped_files "$1" && [ -f "$1/Uninstall.exe" ]; }
gone() { [ ! -e "$1" ]; }
# The history file, its lines and their checksum: what must come through unchanged.
history_state() { (cd "$history_dir" 2>/dev/null && wc -l ./* && md5sum ./*) || echo none; }
install() { "$run" "$installer" /S "$@"; }
# The uninstaller runs on from a copy of itself: wait until it has done its work.
uninstall() {
    local dir=$1
    shift
    win "$(win winepath.exe -w "$dir/Uninstall.exe")" /S "$@"
    for _ in $(seq 60); do [ -e "$dir/Uninstall.exe" ] || break; sleep 0.5; done
    timeout 60 /usr/lib/wine/wineserver -w || /usr/lib/wine/wineserver -k
}
# Started from another folder, as the Start menu starts it, the program finds its resource
# file beside itself and keeps running with its panels; one that cannot load them ends.
starts_and_keeps_running() {
    local exe=$1 log=$work/tool.log tool
    (cd "$WINEPREFIX/drive_c" && QT_QPA_PLATFORM=offscreen WINEDEBUG=-all "$wine" \
        "$(win winepath.exe -w "$exe")" >"$log" 2>&1) &
    tool=$!
    sleep 8
    kill -0 "$tool" 2>/dev/null || { cat "$log" >&2; return 1; }
    kill "$tool"
    wait "$tool" 2>/dev/null || true
    /usr/lib/wine/wineserver -k || true
    ! grep -q LoadPanel "$log"
}
# A write through COM1 with the installed command line: the settings history keeps the block
# before and after it.
write_clock() {
    local exe=$1
    win "$(win winepath.exe -w "$exe")" --quiet --port COM1 clock --set now
}

trial "1. version 1.0, with the installer that shipped it"
"$run" "$old_installer" /S
check "installed in C:\\Program Files\\Quorvel" test -f "$everyone_dir/vaskinterface.exe"
check "a settings write through COM1 with quorvel.exe" write_clock "$everyone_dir/quorvel.exe"
check "the program starts and keeps its window's place" \
    starts_and_keeps_running "$everyone_dir/vaskinterface.exe"
win reg add "$settings_key\\ports\\COM2" /v device /t REG_SZ /d COM7 /f >/dev/null
before=$(history_state)
geometry=$(reg_value "$settings_key\\window" geometry)
echo "  the history: $before" | head -n 1
check "the window's place is kept" test -n "$geometry"
check "COM2's device is remembered as COM7" test "$(reg_value "$settings_key\\ports\\COM2" device)" = COM7
keeps_data() {
    check "the history file as it was" test "$(history_state)" = "$before"
    check "the window's place as it was" test "$(reg_value "$settings_key\\window" geometry)" = "$geometry"
    check "COM2 still reaches COM7" test "$(reg_value "$settings_key\\ports\\COM2" device)" = COM7
}

trial "2. this installer over version 1.0, for everyone (/S)"
install
check "every file in C:\\Program Files\\Quorvel" all_shipped_in "$everyone_dir"
check "the third-party notices and licence texts installed" \
    test -s "$everyone_dir/THIRD-PARTY-NOTICES.txt" -a -s "$everyone_dir/licenses/LGPL-3.0-only.txt"
echo "  $(win "C:\\Program Files\\Quorvel\\vaskinterface.exe" --version | head -n 2 | paste -sd ' ')"
check "one entry in the list of programs, for everyone, version $version" \
    test "$(reg_value "HKLM\\$uninstall_key" DisplayVersion)" = "$version"
check "no entry of a user's own" no_key "HKCU\\$uninstall_key"
keeps_data

trial "3. the same installer once more"
install
check "every file in C:\\Program Files\\Quorvel" all_shipped_in "$everyone_dir"
keeps_data

trial "4. uninstall (/S): the program goes, the operator's data stays"
uninstall "$everyone_dir"
check "the program folder is gone" gone "$everyone_dir"
check "the Start menu entry is gone" gone "$everyone_menu"
check "the entry in the list of programs is gone" no_key "HKLM\\$uninstall_key"
check "the installer's own key is gone" no_key 'HKLM\Software\Quorvel'
keeps_data

trial "5. just for me (/S /CurrentUser), without administrator rights' places"
install /CurrentUser
check "every file in $local_app_data\\Programs\\Quorvel" all_shipped_in "$user_dir"
check "a Start menu entry of the user's own" test -f "$user_menu/Quorvel.lnk"
check "an entry in the user's own list of programs" \
    test "$(reg_value "HKCU\\$uninstall_key" InstallLocation)" = "$local_app_data\\Programs\\Quorvel"
check "nothing in Program Files" gone "$everyone_dir"
check "no Start menu entry for everyone" gone "$everyone_menu"
check "nothing in HKLM" no_key 'HKLM\Software\Quorvel'
check "no entry for everyone" no_key "HKLM\\$uninstall_key"
check "the program starts from there" starts_and_keeps_running "$user_dir/vaskinterface.exe"
keeps_data

trial "6. its uninstaller (/S /RemoveUserData): the operator's data goes too"
uninstall "$user_dir" /RemoveUserData
check "the program folder is gone" gone "$user_dir"
check "the user's Start menu entry is gone" gone "$user_menu"
check "the user's entry in the list of programs is gone" no_key "HKCU\\$uninstall_key"
check "the settings history is gone" gone "$(unix_path "$app_data\\Quorvel")"
check "the window's place and the port choices are gone" no_key 'HKCU\Software\Quorvel'

trial "7. for everyone afresh (/S /AllUsers)"
install /AllUsers
check "every file in C:\\Program Files\\Quorvel" all_shipped_in "$everyone_dir"
check "a Start menu entry for everyone" test -f "$everyone_menu/Quorvel.lnk"
check "the installed command line: quorvel $version" \
    test "$(win "C:\\Program Files\\Quorvel\\quorvel.exe" --version)" = "quorvel $version"
check "the program starts" starts_and_keeps_running "$everyone_dir/vaskinterface.exe"
uninstall "$everyone_dir"
check "uninstalled: program folder, Start menu entry and list entry gone" \
    test ! -e "$everyone_dir" -a ! -e "$everyone_menu"
check "the window's place it kept stays" has_key "$settings_key\\window"

trial "8. the portable ZIP in C:\\Tools, with a file portable beside the program"
tools=$WINEPREFIX/drive_c/Tools
mkdir -p "$tools"
(cd "$tools" && cmake -E tar xf "$zip")
portable=$tools/Quorvel-$version
touch "$portable/portable"
check "every file unpacked" has_shipped_files "$portable"
answer=$(win 'C:\Tools\Quorvel-'"$version"'\quorvel.exe' --quiet --port COM1 identify)
check "quorvel.exe reaches $serial through COM1" test "$answer" = "$serial"
check "a settings write through COM1" write_clock "$portable/quorvel.exe"
check "its history is kept beside it" \
    test -n "$(ls "$portable/data/history" 2>/dev/null)"
check "the program starts from there" starts_and_keeps_running "$portable/vaskinterface.exe"
check "its window's place is kept beside it" \
    grep -q '^geometry=' "$portable/data/Quorvel/Quorvel.ini"
check "nothing in the user's data folder" gone "$history_dir"

if ((failures)); then
    echo "installer and ZIP trials: $failures failed" >&2
    exit 1
fi
echo "installer and ZIP trials: passed"
