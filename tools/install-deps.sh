#!/usr/bin/env bash
# Installs the Debian 12 packages Velkaro needs to build, run and test, and only those missing.
set -euo pipefail

packages=(
  g++ make cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  googletest libgtest-dev
  qt6-translations-l10n qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  libzint-dev libzxing-dev
  clang libclang-rt-14-dev
  fonts-wqy-microhei fonts-dejavu-core fonts-dejavu-extra fonts-freefont-ttf
  socat xvfb xauth
  desktop-file-utils appstream dpkg-dev file
)

missing=()
for pkg in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
