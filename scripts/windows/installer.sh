#!/usr/bin/env bash
# Builds the Windows installer Quorvel-Setup-<version>.exe with NSIS, and the portable ZIP
# Quorvel-<version>-portable.zip, from a Windows build (scripts/windows/build.sh), into that
# build's folder. Both hold the files packaging/windows/shipped-files lists.
# usage: scripts/windows/installer.sh   (BUILD_DIR: the Windows build, default build-windows)
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/install-deps.sh nsis
. scripts/windows/shipped-files.sh
build=$(cd "${BUILD_DIR:-build-windows}" && pwd)
bin=$build/bin
version=$(sed -n 's/^project(Quorvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
files=$(shipped_files "$bin")

# The installer's File lines and the uninstaller's Delete lines, folder by folder.
nsh=$build/shipped-files.nsh
{
    echo '!macro InstallShippedFiles'
    folder=.
    echo '  SetOutPath "$INSTDIR"'
    while read -r file; do
        if [ "$(dirname "$file")" != "$folder" ]; then
            folder=$(dirname "$file")
            if [ "$folder" = . ]; then
                echo '  SetOutPath "$INSTDIR"'
            else
                echo "  SetOutPath \"\$INSTDIR\\${folder//\//\\}\""
            fi
        fi
        echo "  File \"\${BINDIR}\\${file//\//\\}\""
    done <<<"$files"
    echo '  SetOutPath "$INSTDIR"'
    echo '!macroend'
    echo '!macro RemoveShippedFiles'
    while read -r file; do echo "  Delete \"\$INSTDIR\\${file//\//\\}\""; done <<<"$files"
    dirname -- $files | sort -u | grep -vx . | while read -r folder; do
        echo "  RMDir \"\$INSTDIR\\${folder//\//\\}\""
    done
    echo '!macroend'
} >"$nsh"
out="$build/Quorvel-Setup-$version.exe"
makensis -V2 -DVERSION="$version" -DBINDIR="$bin" -DOUTFILE="$out" -DSHIPPED_FILES="$nsh" \
    packaging/windows/quorvel.nsi
echo "Installer: $out ($(du -k "$out" | cut -f1) KB)"

# The portable ZIP: the same files in a folder of the version's name.
stage=$build/portable
name=Quorvel-$version
rm -rf "$stage" "$build/$name-portable.zip"
while read -r file; do
    mkdir -p "$stage/$name/$(dirname "$file")"
    cp "$bin/$file" "$stage/$name/$file"
done <<<"$files"
(cd "$stage" && cmake -E tar cf "$build/$name-portable.zip" --format=zip "$name")
echo "Portable ZIP: $build/$name-portable.zip ($(du -k "$build/$name-portable.zip" | cut -f1) KB)"
