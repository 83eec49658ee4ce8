#!/usr/bin/env bash
# Installs the package that scripts/package-deb.sh built, as an operator would
# (apt-get install ./quorvel_<version>_<arch>.deb), checks that the installed programs
# start, then removes it with --purge and checks that it left no file behind.
# Needs root (or sudo). Usage: scripts/package-install-test.sh [package.deb]
set -euo pipefail
cd "$(dirname "$0")/.."

# The command-line tool is in the package: its --version is run once installed.
cli_in_package=yes

deb=${1:-build-deb/quorvel_$(sed -n 's/^project(Quorvel VERSION \([0-9.]*\).*/\1/p' \
    CMakeLists.txt)_$(dpkg --print-architecture).deb}
[ -f "$deb" ] || { echo "package-install-test: no $deb; run scripts/package-deb.sh first" >&2; exit 1; }

sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
apt_get() {
    $sudo_cmd env DEBIAN_FRONTEND=noninteractive \
        apt-get -o DPkg::Lock::Timeout=300 -y -q --no-install-recommends "$@"
}
failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# apt reads a local package as its own unprivileged user: give it a folder it can read.
chmod 755 "$work"
cp "$deb" "$work/"
package="$work/$(basename "$deb")"
chmod 644 "$package"

# What dpkg knows of the package: nothing once it is purged.
known_to_dpkg() {
    local status
    status=$(dpkg-query -W -f '${db:Status-Status}' quorvel 2>/dev/null) || return 1
    [ -n "$status" ] && [ "$status" != not-installed ]
}
# A package left over from an interrupted run would hide what this install adds.
if known_to_dpkg; then
    echo "== quorvel is installed already: purging it first (it is not put back)"
    apt_get remove --purge quorvel
fi
# The icon and desktop-entry caches belong to other packages, whose triggers rewrite them
# after every install and removal of a desktop program.
snapshot() {
    find /usr /etc /opt -xdev ! -path /usr/share/icons/hicolor/icon-theme.cache \
        ! -path /usr/share/applications/mimeinfo.cache 2>/dev/null | sort
}
snapshot >"$work/before"

echo "== apt-get install ./$(basename "$deb")"
apt_get install "$package"
dpkg-query -L quorvel | grep -vx '/\.' | sort >"$work/files"
for file in /usr/bin/vaskinterface /usr/bin/quorvel /usr/bin/quorvel-sim /usr/share/quorvel/VASKInterface.uir \
    /usr/share/applications/org.example.quorvel.desktop /usr/share/metainfo/org.example.quorvel.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/quorvel.svg /usr/share/icons/hicolor/48x48/apps/quorvel.png \
    /usr/share/man/man1/vaskinterface.1.gz /usr/share/man/man1/quorvel-sim.1.gz \
    /usr/share/man/man1/quorvel.1.gz \
    /usr/share/doc/quorvel/copyright /usr/share/doc/quorvel/changelog.gz; do
    [ -f "$file" ] || fail "$file is not installed"
done

echo "== the installed vaskinterface, offscreen, from /"
# A tool that cannot load its panels ends at once with a LoadPanel line; a working one
# waits for the operator until timeout ends it (status 124). Its settings go to a scratch
# folder.
mkdir -m 700 "$work/runtime"
run_tool() {
    (cd / && env -u QUORVEL_UIR QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" \
        XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" "$@" \
        timeout 3 vaskinterface 2>"$work/tool.err")
}
status=0
run_tool || status=$?
if [ "$status" -eq 124 ] && ! grep -q LoadPanel "$work/tool.err"; then
    echo "vaskinterface: its panels loaded, still running after 3 s (then ended by timeout)"
else
    fail "vaskinterface ended with status $status: $(cat "$work/tool.err")"
fi
# The same start without its resource file must fail, or the check above proves nothing.
status=0
run_tool QUORVEL_UIR=/nonexistent/VASKInterface.uir || status=$?
echo "vaskinterface without its resource file: status $status, $(grep LoadPanel "$work/tool.err")"
if [ "$status" -eq 124 ] || ! grep -q LoadPanel "$work/tool.err"; then
    fail "vaskinterface ran without its resource file"
fi

echo "== quorvel-sim --help"
help=$(quorvel-sim --help) || fail "quorvel-sim --help ended with status $?"
echo "$help" | head -n 2
[[ "$help" == "usage: quorvel-sim"* ]] || fail "quorvel-sim --help shows no usage"
if [ "$cli_in_package" = yes ]; then
    echo "== quorvel --version"
    quorvel --version || fail "quorvel --version ended with status $?"
fi

echo "== apt-get remove --purge quorvel"
apt_get remove --purge quorvel
snapshot >"$work/after"
before_purge_failures=$failures
if known_to_dpkg || compgen -G "/var/lib/dpkg/info/quorvel.*" >/dev/null; then
    fail "dpkg still knows the package after the purge"
fi
while read -r path; do
    if [ -e "$path" ] && ! grep -qxF "$path" "$work/before"; then
        fail "left behind: $path"
    fi
done <"$work/files"
if ! diff "$work/before" "$work/after" >"$work/diff"; then
    fail "files under /usr, /etc and /opt differ from before the install:"
    cat "$work/diff" >&2
fi
if ((failures == before_purge_failures)); then
    echo "none of the package's $(grep -c . "$work/files") paths is left, apart from folders" \
        "that were there before; /usr, /etc and /opt hold the same" \
        "$(grep -c . "$work/after") paths as before the install"
fi

if ((failures)); then
    echo "package install test: $failures failed" >&2
    exit 1
fi
echo "package install test: passed"
