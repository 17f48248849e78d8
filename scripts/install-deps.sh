#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the editor and the tests need.
# Runs apt-get only when something is missing, so repeated runs are quick.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  qt6-base-dev libqt6opengl6-dev libgl-dev libgl1-mesa-dri libglx-mesa0
  fonts-noto-cjk
  libstb-dev libsquish-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libassimp-dev
  xvfb xauth
  python3
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
