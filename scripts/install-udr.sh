#!/usr/bin/env bash
# Installs the server file routines (the UDR plug-in libverudafs.so built from
# schema/udr) into Firebird's UDR plug-in folder, where both the server and
# the embedded engine load it. Idempotent; run as root.
# Usage: scripts/install-udr.sh <build-dir>
set -euo pipefail

build=${1:?usage: install-udr.sh <build-dir>}
lib="$build/schema/udr/libverudafs.so"
target_dir=${VERUDA_UDR_DIR:-/usr/lib/x86_64-linux-gnu/firebird/3.0/plugins/udr}

if [ ! -f "$lib" ]; then
  echo "install-udr.sh: $lib not found; build the target verudafs first" >&2
  exit 1
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

$SUDO install -d -m 0755 "$target_dir"
if ! cmp -s "$lib" "$target_dir/libverudafs.so"; then
  # Copy beside the target, then rename: a running server keeps the old file
  # it has mapped and loads the new one on its next start.
  $SUDO install -m 0644 "$lib" "$target_dir/.libverudafs.so.new"
  $SUDO mv -f "$target_dir/.libverudafs.so.new" "$target_dir/libverudafs.so"
  # A running server keeps the old routines until it starts again.
  if pgrep -x firebird >/dev/null 2>&1; then
    bash "$(dirname "$0")/firebird-server.sh" restart
  fi
fi
echo "install-udr.sh: $target_dir/libverudafs.so installed"
