#!/usr/bin/env bash
# Cross-compiles the tool for Windows x86_64 with Debian's MinGW-w64 (POSIX threads) against
# a Qt built for it, warnings as errors, and gathers beside the program what it needs to run
# on a machine without Qt: the Qt and MinGW run-time DLLs, the platform and style plugins,
# the panel resource file, and the third-party notices with the licence texts.
#
# usage: scripts/windows/build.sh [QT]   (QT: a Qt prefix or its .tar.xz)
# Where Qt comes from, first found: the argument; QT_MINGW_PREFIX; the ready-built tarball
# in ../shared/qt6-mingw/ beside the checkout (unpacked into the build directory); else
# scripts/windows/qt-sdk.sh builds it (about 35 minutes on two cores).
# BUILD_DIR (default build-windows) holds the build; its bin/ the program, the test
# programs and everything they load.
set -euo pipefail
cd "$(dirname "$0")/../.."
source=$(pwd)

scripts/install-deps.sh g++-mingw-w64-x86-64-posix mingw-w64-tools qt6-base-dev-tools googletest \
    librsvg2-bin icoutils
build=${BUILD_DIR:-build-windows}
mkdir -p "$build"
build=$(cd "$build" && pwd)

qt_version=6.4.2
shared_tarball="$source/../shared/qt6-mingw/qt6-mingw-$qt_version.tar.xz"
qt=${1:-${QT_MINGW_PREFIX:-}}
if [ -z "$qt" ] && [ -f "$shared_tarball" ]; then
    qt=$shared_tarball
fi
if [ -z "$qt" ]; then
    qt="$build/qt6-mingw"
    [ -f "$qt/lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake" ] ||
        scripts/windows/qt-sdk.sh "$build/qt-sdk-work" "$qt"
elif [ -f "$qt" ]; then
    tarball=$(cd "$(dirname "$qt")" && pwd)/$(basename "$qt")
    qt="$build/qt6-mingw"
    if [ ! -f "$qt/.unpacked" ] || [ "$(cat "$qt/.unpacked")" != "$tarball" ]; then
        rm -rf "$qt"
        tar xJf "$tarball" -C "$build"
        echo "$tarball" > "$qt/.unpacked"
    fi
fi
[ -x "$qt/bin/qt-cmake" ] || { echo "no Qt for MinGW at $qt" >&2; exit 1; }
echo "Qt for Windows: $qt"

start=$(date +%s)
"$qt/bin/qt-cmake" -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_WERROR=ON \
    -DQUORVEL_BENCH=OFF -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$build/bin" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$source/scripts/windows/wine-run.sh" >/dev/null
cmake --build "$build" -j "$(nproc)"

# What windeployqt would gather: the DLLs the programs load, and the plugins Qt loads.
bin="$build/bin"
mingw_gcc=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
for dll in Qt6Core Qt6Gui Qt6Widgets Qt6SerialPort; do
    cp -u "$qt/bin/$dll.dll" "$bin/"
done
cp -u "$mingw_gcc/libgcc_s_seh-1.dll" "$mingw_gcc/libstdc++-6.dll" \
    /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$bin/"
mkdir -p "$bin/platforms" "$bin/styles" "$bin/imageformats"
cp -u "$qt/plugins/platforms/"{qwindows,qoffscreen,qminimal}.dll "$bin/platforms/"
cp -u "$qt/plugins/styles/qwindowsvistastyle.dll" "$bin/styles/"
cp -u "$qt/plugins/imageformats/qico.dll" "$bin/imageformats/"
cp -u "$build/quorvel.ico" "$bin/"
# The notices and licence texts of what ships travel with it (Notepad opens a .txt).
cp "$source/THIRD-PARTY-NOTICES" "$bin/THIRD-PARTY-NOTICES.txt"
rm -rf "$bin/licenses"
cp -r "$source/licenses" "$bin/licenses"
# What ships carries no symbols: the run-time DLLs come with their debugging sections.
x86_64-w64-mingw32-strip --strip-unneeded "$bin"/*.dll "$bin"/{platforms,styles,imageformats}/*.dll \
    "$bin/vaskinterface.exe" "$bin/quorvel.exe"
echo "Windows build in $bin ($(($(date +%s) - start)) s)"
