#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs the whole suite,
# builds, checks, installs and removes the Debian package, then builds and runs the suite
# once more under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

# The AT-SPI test of the real window needs a display, a D-Bus session and the
# accessibility bus, and the Python client library.
scripts/install-deps.sh xvfb xauth openbox dbus at-spi2-core python3-pyatspi poppler-utils
jobs=$(nproc)

run_suite() {
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja -DQUORVEL_WERROR=ON -DQUORVEL_BENCH=OFF "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    (cd "$dir" && ctest --output-on-failure -j "$jobs" --timeout 300)
}

echo "== Build and test =="
run_suite build-test -DCMAKE_BUILD_TYPE=
echo "== Debian package: build, lintian and the desktop checks, install and purge =="
scripts/package-deb.sh
scripts/package-install-test.sh
echo "== Build and test under AddressSanitizer and UndefinedBehaviorSanitizer =="
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_SANITIZE=ON
