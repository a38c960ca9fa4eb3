#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the program, creates the demo
# installation and starts the program on it.
# Without a display: xvfb-run -a bash scripts/run-demo.sh, or
# QT_QPA_PLATFORM=vnc bash scripts/run-demo.sh and connect a VNC viewer to port 5900.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
demo=${DEMO_DIR:-$here/.demo}

bash "$here/scripts/setup.sh" "$build"

if [ -f "$here/scripts/make-demo.sh" ]; then
  eval "$(bash "$here/scripts/make-demo.sh" "$demo" "$build")"
fi
exec "$build/src/app/veruda-rendo" "$@"
