#!/usr/bin/env bash
# Builds the Windows installer Quorvel-Setup-<version>.exe with NSIS from a Windows build
# (scripts/windows/build.sh), into that build's folder.
# usage: scripts/windows/installer.sh   (BUILD_DIR: the Windows build, default build-windows)
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/install-deps.sh nsis
build=$(cd "${BUILD_DIR:-build-windows}" && pwd)
version=$(sed -n 's/^project(Quorvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
out="$build/Quorvel-Setup-$version.exe"
makensis -V2 -DVERSION="$version" -DBINDIR="$build/bin" -DOUTFILE="$out" \
    packaging/windows/quorvel.nsi
echo "Installer: $out ($(du -k "$out" | cut -f1) KB)"
