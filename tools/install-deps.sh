#!/usr/bin/env bash
# Installs the Debian 12 packages Velkaro needs to build, run and test, and only those missing.
set -euo pipefail

packages=(
  g++ make cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  googletest libgtest-dev
  fonts-wqy-microhei
  socat xvfb xauth
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
