#!/bin/sh
# Fails when a source file differs from what clang-format makes of it with
# the project's .clang-format (run clang-format -i on the files it names).
set -eu
cd "$(dirname "$0")/.."
files=$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'tools/*.cpp' 'tools/*.h' 2>/dev/null ||
        find src tests bench fuzz tools -name '*.cpp' -o -name '*.h')
# shellcheck disable=SC2086
clang-format --dry-run --Werror $files
