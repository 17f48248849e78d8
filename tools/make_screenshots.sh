#!/bin/sh
# Remakes the user guide's pictures (docs/guide/images/*.png) from the real
# window on the sample figure, under a virtual display.
# Usage: tools/make_screenshots.sh [BUILD_DIR]   (default: build)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
cmake --build "$build" -j2 --target m3d_ui_tests
M3D_SCREENSHOT_DIR="$root/docs/guide/images" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1600x1200x24" "$build/bin/m3d_ui_tests" GuideScreenshots
ls -l "$root/docs/guide/images"
