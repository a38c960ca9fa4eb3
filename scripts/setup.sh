#!/usr/bin/env bash
# Set-up shared by the README's two commands: installs the Debian packages,
# configures and builds the project, installs the database server routines
# into Firebird's plug-in folder and starts the Firebird server.
# Usage: scripts/setup.sh [build-dir]   (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}

bash "$here/scripts/install-deps.sh"

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs"

if [ -x "$here/scripts/install-udr.sh" ] || [ -f "$here/scripts/install-udr.sh" ]; then
  bash "$here/scripts/install-udr.sh" "$build"
fi
if [ -f "$here/scripts/firebird-server.sh" ]; then
  bash "$here/scripts/firebird-server.sh" start
fi
