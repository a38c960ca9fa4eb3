#!/usr/bin/env bash
# Builds the demo installation: the accounting product at 11.1.0 with one
# operator (code 10, password "demo") and three data sets for the fiscal year
# 2019-04-01 to 2020-03-31 (a corporation on principle taxation, a corporation
# on simplified taxation, an individual), each with a few thousand journal
# lines and the refund-statement input filled. Descriptions: tools/fixture/demo.
#
# Usage: scripts/make-demo.sh [target-folder] [build-dir]
#   target-folder  default: .demo in the source tree; an earlier demo there is replaced
#   build-dir      default: build in the source tree (make-installation is built there)
# Prints the environment variables that point the program at the installation:
#   eval "$(scripts/make-demo.sh)"
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
target=${1:-$here/.demo}
build=${2:-${BUILD_DIR:-$here/build}}

if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
  cmake -S "$here" -B "$build" -G Ninja >&2
fi
cmake --build "$build" --target make-installation >&2

"$build/tools/fixture/make-installation" --replace --schema "$here/schema" \
  "$here/tools/fixture/demo" "$target"
echo "demo installation in $target: log on with operator code 10, password demo" >&2
