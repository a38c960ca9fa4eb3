#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Idempotent and non-interactive; run as root (or through sudo).
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

packages=(
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  firebird3.0-server firebird3.0-utils libfbclient2 firebird-dev
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-translations-l10n fonts-noto-cjk libgl-dev
  libssl-dev libcurl4-openssl-dev libjpeg-dev
  xvfb xauth python3 python3-pyftpdlib openssl procps poppler-utils
  mariadb-server mariadb-client zip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  # The server package asks for a SYSDBA password; an empty answer makes it generate one.
  echo "firebird3.0-server shared/firebird/enabled boolean true" | $SUDO debconf-set-selections 2>/dev/null || true
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
