#!/usr/bin/env bash
# Installs what is missing, then: builds the Debian package, whose one build runs the whole
# test suite (warnings as errors) on the very programs it packages, and checks the package
# (lintian, desktop-file-validate, appstreamcli); installs and purges it; builds and runs
# the suite once more under AddressSanitizer and UndefinedBehaviorSanitizer. The install
# trial runs while the sanitizer build compiles: one waits on apt and dpkg, the other on
# the processors. Each step's time is printed.
set -euo pipefail
cd "$(dirname "$0")/.."

# The AT-SPI test of the real window needs a display, a D-Bus session and the
# accessibility bus, and the Python client library.
scripts/install-deps.sh xvfb xauth openbox dbus at-spi2-core python3-pyatspi poppler-utils
jobs=$(nproc)
step() {
    local name=$1 start=$SECONDS
    shift
    echo "== $name =="
    "$@"
    echo "== $name took $((SECONDS - start)) s =="
}
sanitized() {
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 "$@"
}
asan_build() {
    cmake -S . -B build-asan -G Ninja -DQUORVEL_WERROR=ON -DQUORVEL_BENCH=OFF \
        -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_SANITIZE=ON >/dev/null
    cmake --build build-asan -j "$jobs"
}
asan_suite() { (cd build-asan && sanitized ctest --output-on-failure -j "$jobs" --timeout 300); }
build_beside_install_trial() {
    local log status=0
    log=$(mktemp)
    scripts/package-install-test.sh >"$log" 2>&1 &
    local trial=$!
    asan_build || status=$?
    wait "$trial" || { status=$?; echo "the package install trial failed:" >&2; }
    cat "$log"
    rm -f "$log"
    return "$status"
}

step "Debian package: build and test, lintian and the desktop checks" \
    env QUORVEL_WERROR=ON scripts/package-deb.sh
step "Debian package install and purge, beside the sanitizer build" build_beside_install_trial
step "Test suite under AddressSanitizer and UndefinedBehaviorSanitizer" asan_suite
