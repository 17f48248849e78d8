#!/usr/bin/env bash
# Installs what is missing and builds the editor, the command line and the tests into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
# The test command sets M3D_WERROR=ON: a warning then fails the build.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DM3D_WERROR="${M3D_WERROR:-OFF}"
cmake --build build -j"$(nproc)"
