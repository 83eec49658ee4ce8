#!/usr/bin/env bash
# The whole Windows part of CI: the cross-build, the unit and scenario tests under Wine,
# the end-to-end tests through Wine's COM1, the installer and the portable ZIP, and their
# trials (every way to install, upgrade and uninstall, and the ZIP on COM1); each step's
# time is printed.
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
# quorvel-sim from the Linux build of scripts/test.sh (the package's tree), when there is
# one; else the scripts build it alone.
linux=${LINUX_BUILD:-$(ls -d build-deb/quorvel-*/obj-* 2>/dev/null | head -n 1)}
linux=${linux:-build-linux-sim}
step "end to end through COM1 under Wine" scripts/windows/e2e.sh "$linux"
step "installer and portable ZIP" scripts/windows/installer.sh
step "installer and ZIP trials under Wine" scripts/windows/test-installer.sh "$linux"
