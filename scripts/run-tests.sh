#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (packages, build, Firebird server) and runs
# every test: unit tests, Firebird tests embedded and over TCP on 127.0.0.1,
# and the offscreen window tests.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}

bash "$here/scripts/setup.sh" "$build"

export VERUDA_TEST_FB_SERVER=127.0.0.1
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc 2>/dev/null || echo 2)
cd "$build"
ctest --output-on-failure -j "$jobs" </dev/null
