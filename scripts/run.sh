#!/usr/bin/env bash
# Sets up, builds and opens the editor on the bundled sample figure.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
sample=examples/figure/figure.anm
if [ -f "$sample" ]; then
  exec ./build/bin/marionettica3d "$sample"
else
  exec ./build/bin/marionettica3d
fi
