#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the editor and the tests need.
# Runs apt-get only when something is missing, so repeated runs are quick.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  qt6-base-dev libqt6opengl6-dev libgl-dev libgl1-mesa-dri libglx-mesa0
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  fonts-noto-cjk fonts-ipafont-gothic  # the panels' font (src/app/DialogFont.h)
  libstb-dev libsquish-dev nlohmann-json3-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libassimp-dev libtinygltf-dev libtinyobjloader-dev  # other programs' model formats
  libwebp-dev libgif-dev ffmpeg  # pictures of a Motion: animated WebP and GIF, videos
  libepoxy-dev libegl-mesa0  # OpenGL functions for both programs; the command line's context without a display
  assimp-testmodels  # real files of those formats for the tests (BSD)
  xvfb xauth
  python3
  clang-format  # the layout check of the sources (tools/check_format.sh)
  clang libclang-rt-14-dev  # the fuzzers (fuzz/): clang's libFuzzer and sanitizer runtimes
  librsvg2-bin  # renders the icon's PNG sizes
  # the installed tree's and the .deb's checks
  desktop-file-utils appstream shared-mime-info libglib2.0-bin file dpkg-dev
)
# The glTF validator runs on Node.js; a machine that already has npm keeps its own.
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)
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

# The npm tools the tests read exported files with, at the versions of the lock file.
tools="$(dirname "$0")/../tools/node"
if [ ! -f "$tools/node_modules/.package-lock.json" ] || [ "$tools/package-lock.json" -nt "$tools/node_modules/.package-lock.json" ]; then
  (cd "$tools" && npm ci --no-audit --no-fund --loglevel=error)
fi
