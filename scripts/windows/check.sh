#!/usr/bin/env bash
# The whole Windows part of CI: the cross-build, the unit and scenario tests under Wine,
# the end-to-end tests through Wine's COM1, the installer and its silent install and
# uninstall; each step's time is printed.
# usage: scripts/windows/check.sh [QT]   (as scripts/windows/build.sh)
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/install-deps.sh wine64 nsis
step() {
    local name=$1; shift
    local start=$SECONDS
    echo "== Windows: $name =="
    "$@"
    echo "== Windows: $name took $((SECONDS - start)) s =="
}
build=${BUILD_DIR:-build-windows}
tests() { (cd "$build" && ctest --output-on-failure -j "$(nproc)" --timeout 600); }
step "build" scripts/windows/build.sh "$@"
step "unit and scenario tests under Wine" tests
# quorvel-sim from the Linux build of scripts/test.sh, when there is one.
step "end to end through COM1 under Wine" scripts/windows/e2e.sh "${LINUX_BUILD:-build-test}"
step "installer" scripts/windows/installer.sh
step "silent install, start and uninstall under Wine" scripts/windows/test-installer.sh
