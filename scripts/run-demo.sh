#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the program and starts it on the
# demo installation.
#
# Usage: scripts/run-demo.sh [--rebuild] [program arguments...]
#   The demo installation (DEMO_DIR, default .demo in the source tree) is built
#   on the first run and reused afterwards, with everything done in it. It is
#   built again with --rebuild, or when its description (tools/fixture/demo)
#   has changed. While the program runs on it, nothing is replaced and no
#   second copy is started.
# Without a display: xvfb-run -a bash scripts/run-demo.sh, or
# QT_QPA_PLATFORM=vnc bash scripts/run-demo.sh and connect a VNC viewer to port 5900.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
demo=${DEMO_DIR:-$here/.demo}

rebuild=0
if [ "${1:-}" = "--rebuild" ]; then
  rebuild=1
  shift
fi

bash "$here/scripts/setup.sh" "$build"

# What the demo was built from, and the variables that point the program at it.
env_file="$demo/.demo-environment"
stamp_file="$demo/.demo-description"
stamp=$(cd "$here/tools/fixture/demo" && find . -type f -print0 | sort -z | xargs -0 sha256sum | sha256sum | cut -c1-64)

# The program holds the lock of its single-instance name in the demo's runtime
# folder for as long as it runs.
if [ -f "$env_file" ]; then
  runtime=$(. "$env_file" && echo "${VERUDA_RUNTIME_DIR:-}")
  lock="$runtime/mutex-VERUDA_RENDO.lock"
  if [ -n "$runtime" ] && [ -e "$lock" ] && ! flock -n "$lock" true; then
    echo "The program is already running on the demo installation in $demo." >&2
    echo "Close it first; the demo installation is left as it is." >&2
    exit 1
  fi
fi

if [ "$rebuild" = 1 ] || [ ! -f "$env_file" ] || [ "$(cat "$stamp_file" 2>/dev/null)" != "$stamp" ]; then
  environment=$(bash "$here/scripts/make-demo.sh" "$demo" "$build")
  printf '%s\n' "$environment" >"$env_file"
  printf '%s\n' "$stamp" >"$stamp_file"
else
  echo "demo installation in $demo (reused; --rebuild builds it again): log on with operator code 10, password demo" >&2
fi
. "$env_file"
exec "$build/src/app/veruda-rendo" "$@"
