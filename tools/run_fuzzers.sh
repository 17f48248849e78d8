#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one in turn from the
# committed seeds, the real test files and the crafted hostile shapes, with
# limits that make a slow or greedy input a finding: 2 s per input and 2 GB.
# usage: tools/run_fuzzers.sh [RUNS] [TARGET...]   (RUNS defaults to 1000000)
# M3D_FUZZ_SECONDS, when set, also stops each target after that many seconds.
# Findings land in build-fuzz/findings/<target>/; the run stops at the first.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-1000000}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_mqo fuzz_mesh fuzz_project fuzz_texture fuzz_settings fuzz_snapshot
  fuzz_foreign_records fuzz_commit_record fuzz_project_extras)

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DM3D_FUZZ=ON -DM3D_BUILD_APP=OFF -DM3D_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target make_fuzz_seeds "${targets[@]}"
# Each run makes its own seeds, so runs of different targets may overlap.
crafted=$(mktemp -d build-fuzz/crafted.XXXXXX)
trap 'rm -rf "$crafted"' EXIT
build-fuzz/bin/make_fuzz_seeds --crafted "$crafted" >/dev/null

for target in "${targets[@]}"; do
  work=build-fuzz/work/$target
  findings=build-fuzz/findings/$target
  mkdir -p "$work" "$findings"
  seeds=()
  for folder in "fuzz/corpus/$target" "$crafted/$target"; do
    [ -d "$folder" ] && seeds+=("$folder")
  done
  extra=()
  [ -n "${M3D_FUZZ_SECONDS:-}" ] && extra+=(-max_total_time="$M3D_FUZZ_SECONDS")
  case "$target" in
    fuzz_mqo) seeds+=(tests/data/mqo); extra+=(-dict=fuzz/mqo.dict) ;;
  esac
  echo "== $target: $runs runs from ${seeds[*]}"
  build-fuzz/bin/"$target" -timeout=2 -rss_limit_mb=2048 -malloc_limit_mb=2048 -runs="$runs" \
    -artifact_prefix="$findings/" -print_final_stats=1 "${extra[@]}" "$work" "${seeds[@]}"
done
