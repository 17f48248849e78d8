#!/usr/bin/env bash
# Writes every crafted hostile file at full size and hands each to the command
# line, printing its size, the wall and processor time and the peak memory
# (MiB, the program's own 4 MiB included) of the run, and
# how those compare with the aims (2 s per 10 MB, at least 2 s; memory within
# 20 x the files' size plus the texture budget of 512 MB), and the command's
# first line of error output.
# usage: tools/measure_crafted.sh BUILD_DIR [SHAPE...]
set -euo pipefail
build=${1:?usage: tools/measure_crafted.sh BUILD_DIR [SHAPE...]}
shift
folder=$(mktemp -d)
trap 'chmod -R u+w "$folder"; rm -rf "$folder"' EXIT
printf '| Shape | Command | Bytes | Exit | Time (s) | CPU (s) | Time limit (s) | Peak RSS (MB) | RSS / size | Said |\n'
printf '|---|---|---|---|---|---|---|---|---|---|\n'
"$build/bin/make_crafted_files" "$folder/files" "$@" | while IFS=$'\t' read -r name command path bytes output description; do
  out="$folder/out"
  mkdir -p "$out"
  # The command's first word names it; any further words are options after the file.
  read -ra words <<<"$command"
  args=("$path" "${words[@]:1}")
  if [ "$output" != "-" ]; then
    args+=("$output")
  else
    case "${words[0]}" in
      export-x) args+=("$out/out.x") ;;
      export-gltf) args+=("$out/out.gltf") ;;
      resave) args+=("$out/out.anm") ;;
      apply) args+=(--out "$out/out.anm") ;;
    esac
  fi
  set +e
  # A command that waits on its input for ever is stopped after a minute.
  /usr/bin/time -o "$folder/time" -f '%e %U %S %M' timeout 60 "$build/bin/marionettica3d-cli" "${words[0]}" "${args[@]}" \
    >/dev/null 2>"$folder/err"
  status=$?
  set -e
  # On a failing command the first line says so; the figures are on the last.
  read -r seconds user system kilobytes < <(tail -n 1 "$folder/time")
  said=$(head -c 160 "$folder/err" | head -n 1 | tr '|' '/')
  awk -v n="$name" -v c="$command" -v b="$bytes" -v s="$status" -v t="$seconds" -v u="$user" -v y="$system" \
      -v k="$kilobytes" -v e="$said" 'BEGIN {
    limit = 2 * b / 10e6; if (limit < 2) limit = 2
    ratio = b > 0 ? sprintf("%.1f", (k * 1024) / b) : "-"
    printf "| %s | %s | %d | %d | %.2f | %.2f | %.1f | %.1f | %s | %s |\n", n, c, b, s, t, u + y, limit, k / 1024, ratio, e
  }'
  rm -rf "$out"
done
