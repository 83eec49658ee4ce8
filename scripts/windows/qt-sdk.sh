#!/usr/bin/env bash
# Builds Qt 6.4.2 for Windows x86_64 (Core, Gui, Widgets, Test and SerialPort as DLLs; the
# windows, offscreen and minimal platform plugins; the Vista style) with Debian's MinGW-w64,
# from Debian's qt6-base source package and the Qt SerialPort release source kept in
# third_party/ (Debian's mirror lacks it), against Debian's host Qt tools of the same
# version. About 35 minutes on two cores.
# usage: scripts/windows/qt-sdk.sh WORKDIR PREFIX
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source=$(cd "$here/../.." && pwd)
work=${1:?usage: qt-sdk.sh WORKDIR PREFIX}
prefix=${2:?usage: qt-sdk.sh WORKDIR PREFIX}
"$source/scripts/install-deps.sh" g++-mingw-w64-x86-64-posix mingw-w64-tools qt6-base-dev-tools \
    debian-archive-keyring xz-utils
mkdir -p "$work" "$prefix"
work=$(cd "$work" && pwd)
prefix=$(cd "$prefix" && pwd)
cd "$work"

# Debian's qt6-base source, through a source list of its own so the system's stays as it is.
cat > src.sources <<'S'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
S
mkdir -p lists/partial
aptsrc=(-o Dir::Etc::SourceList="$work/src.sources" -o Dir::Etc::SourceParts=/dev/null
        -o Dir::State::Lists="$work/lists")
apt-get "${aptsrc[@]}" update -q >/dev/null
ls qt6-base_*.orig.tar.xz >/dev/null 2>&1 ||
    apt-get "${aptsrc[@]}" source --download-only -q qt6-base >/dev/null

cat > toolchain.cmake <<'T'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
T

if [ ! -f "$prefix/lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake" ]; then
    echo "Building Qt base (logs in $work)"
    rm -rf qtbase && mkdir qtbase && tar xJf qt6-base_*.orig.tar.xz -C qtbase --strip-components=1
    # 6.4.2's Windows platform plugin uses dynamic GL even with OpenGL off: guard it.
    sed -i 's/#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
        qtbase/src/plugins/platforms/windows/*.cpp
    cmake -S qtbase -B build-base -G Ninja -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_SHARED_LIBS=ON \
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF \
        -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
        -DFEATURE_testlib=ON -DFEATURE_tabletevent=OFF -DFEATURE_vulkan=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
        -DFEATURE_system_doubleconversion=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF \
        > configure-base.log 2>&1
    cmake --build build-base -j "$(nproc)" > build-base.log 2>&1
    cmake --install build-base > install-base.log 2>&1
fi
if [ ! -d "$prefix/lib/cmake/Qt6SerialPort" ]; then
    echo "Building Qt SerialPort"
    rm -rf qtserialport && mkdir qtserialport
    tar xJf "$source/third_party/qtserialport-6.4.2-src.tar.xz" -C qtserialport --strip-components=1
    "$prefix/bin/qt-cmake" -S qtserialport -B build-serialport -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF > configure-serialport.log 2>&1
    cmake --build build-serialport -j "$(nproc)" > build-serialport.log 2>&1
    cmake --install build-serialport > install-serialport.log 2>&1
fi
# A prefix that can move: the toolchain file it chainloads travels inside it.
cp toolchain.cmake "$prefix/mingw-toolchain.cmake"
sed -i "s|set(__qt_initially_configured_toolchain_file \".*\")|set(__qt_initially_configured_toolchain_file \"\${CMAKE_CURRENT_LIST_DIR}/../../../mingw-toolchain.cmake\")|" \
    "$prefix/lib/cmake/Qt6/qt.toolchain.cmake"
echo "Qt for MinGW at $prefix"
