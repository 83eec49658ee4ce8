#!/usr/bin/env bash
# Builds the Debian package build-deb/quorvel_<version>_<arch>.deb from the debian/ folder
# (debhelper, CMake and Ninja, dependencies computed from the binaries); the same build runs
# the whole test suite on the programs it packages, unless DEB_BUILD_OPTIONS has nocheck.
# Then it runs the distribution's checks on what the package ships: lintian,
# desktop-file-validate and appstreamcli. Any error or warning from them fails the script.
# The build tree stays in build-deb/quorvel-<version>/obj-<triplet> (its quorvel-sim serves
# the Windows end-to-end tests).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh debhelper dpkg-dev fakeroot lintian desktop-file-utils appstream \
    librsvg2-bin
if [[ " ${DEB_BUILD_OPTIONS:-} " != *" nocheck "* ]]; then
    # What the test suite needs, the AT-SPI test of the real window with it.
    scripts/install-deps.sh xvfb xauth openbox dbus at-spi2-core python3-pyatspi python3
fi

fail() {
    echo "package-deb: $*" >&2
    exit 1
}

# The package's version is the project's: CMake, the changelog and the metainfo agree.
version=$(sed -n 's/^project(Quorvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || fail "no project version in CMakeLists.txt"
changelog_version=$(dpkg-parsechangelog -l debian/changelog -S Version)
[ "$changelog_version" = "$version" ] ||
    fail "debian/changelog is at $changelog_version, the project at $version: add an entry (dch -v $version)"
metainfo_version=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' packaging/quorvel.metainfo.xml.in |
    head -n 1)
[ "$metainfo_version" = "$version" ] ||
    fail "the newest release in packaging/quorvel.metainfo.xml.in is $metainfo_version, the project is at $version"

out=build-deb
src="$out/quorvel-$version"
rm -rf "$out"
mkdir -p "$src"
# The build runs in a copy of the source, so the work tree keeps no trace of it.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard |
        tar --null --files-from=- --ignore-failed-read -cf - | tar -xf - -C "$src"
else
    tar --exclude='./build*' --exclude=./.git -cf - . | tar -xf - -C "$src"
fi

# The commit the copy was made from, for About and --version: the copy has no history.
if commit=$(git rev-parse --short=12 HEAD 2>/dev/null); then
    git diff --quiet HEAD -- || commit+=-modified
    echo "$commit" >"$src/.build-commit"
fi

echo "== Building the package"
SECONDS=0
log=$out/dpkg-buildpackage.log
(cd "$src" && DEB_BUILD_OPTIONS="parallel=$(nproc) ${DEB_BUILD_OPTIONS:-}" \
    dpkg-buildpackage --build=full --no-sign >../dpkg-buildpackage.log 2>&1) || {
    # A failed test says what it saw; a failed build its last lines.
    grep -q "tests failed out of" "$log" &&
        sed -n '/tests passed, .* tests failed out of/,$p' "$log" >&2 || tail -n 15 "$log" >&2
    fail "the build failed; see $log"
}
echo "built in $SECONDS s"
grep -E "^[0-9]+% tests passed|^Total Test time" "$log" || echo "the test suite was not run (nocheck)"

arch=$(dpkg-architecture -q DEB_HOST_ARCH)
deb="$out/quorvel_${version}_${arch}.deb"
changes="$out/quorvel_${version}_${arch}.changes"
[ -f "$deb" ] || fail "no $deb was built"

echo "== lintian"
SECONDS=0
# CI runs as root; lintian only reads the package.
lintian --allow-root --fail-on error,warning --display-info --pedantic "$changes" ||
    fail "lintian found errors or warnings"
echo "lintian: no errors or warnings ($SECONDS s)"

echo "== desktop-file-validate and appstreamcli, on the files the package ships"
root="$out/contents"
dpkg-deb -x "$deb" "$root"
for desktop in "$root"/usr/share/applications/*.desktop; do
    report=$(desktop-file-validate "$desktop" 2>&1) || true
    [ -z "$report" ] || { echo "$report"; fail "desktop-file-validate: $desktop"; }
    echo "${desktop#"$root"}: clean"
done
for metainfo in "$root"/usr/share/metainfo/*.metainfo.xml; do
    echo "${metainfo#"$root"}:"
    appstreamcli validate --no-net --pedantic --strict "$metainfo" ||
        fail "appstreamcli validate: $metainfo"
done
# The whole tree as well: the metainfo's desktop entry and icon must be where it says.
echo "the package's files as one tree:"
appstreamcli validate-tree --no-net --pedantic --strict "$root" || fail "appstreamcli validate-tree"

echo "== $deb"
dpkg-deb --field "$deb" Package Version Architecture Installed-Size Depends
echo "Size: $(stat -c %s "$deb") bytes"
dpkg-deb --contents "$deb" | awk '{printf "%9s  %s\n", $3, $6}'
