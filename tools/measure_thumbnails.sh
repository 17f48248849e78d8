#!/usr/bin/env bash
# Hands every crafted hostile file (written at full size by make_crafted_files)
# and every file of tests/data to the thumbnailer as a file manager would
# (thumbnail -s 256 FILE OUT.png), one at a time, and prints for each its exit
# status, wall time and peak memory, then the worst of both against the limits
# the thumbnailer holds to (10 s; 1 GiB of address space). Of a shape's folder
# every .anm, .mesh and .mqo is drawn, at most 20 a folder (the many-Parts
# shapes hold thousands of copies of one .mesh), and the shape's own file
# whatever it is. A run that ends otherwise than with 0 or 1, or passes a
# limit, is listed at the end and makes the script exit 1.
# usage: tools/measure_thumbnails.sh BUILD_DIR [SHAPE...]
set -euo pipefail
build=${1:?usage: tools/measure_thumbnails.sh BUILD_DIR [SHAPE...]}
shift
data=$(cd "$(dirname "$0")/../tests/data" && pwd)
folder=$(mktemp -d)
trap 'chmod -R u+w "$folder"; rm -rf "$folder"' EXIT
"$build/bin/make_crafted_files" "$folder/files" "$@" >"$folder/list"
{
  cut -f3 "$folder/list"
  cut -f1 "$folder/list" | while read -r name; do
    find "$folder/files/$name" -type f \( -iname '*.anm' -o -iname '*.mesh' -o -iname '*.mqo' \) | sort | awk 'NR <= 20'
  done
  [ $# -gt 0 ] || find "$data" -type f | sort
} | sort -u >"$folder/inputs"

printf 'Machine: %s, %s cores\n\n' "$(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n 1)" "$(nproc)"
printf '| File | Exit | Wall (s) | Peak RSS (MB) | Said |\n|---|---|---|---|---|\n'
worstSeconds=0 worstKilobytes=0 failures=()
while read -r input; do
  set +e
  /usr/bin/time -o "$folder/time" -f '%e %M' timeout 60 "$build/bin/marionettica3d-cli" thumbnail -s 256 "$input" \
    "$folder/out.png" >/dev/null 2>"$folder/err"
  status=$?
  set -e
  read -r seconds kilobytes < <(tail -n 1 "$folder/time")
  said=$(head -c 160 "$folder/err" | head -n 1 | tr '|' '/')
  shown=${input#"$folder/files/"}
  printf '| %s | %d | %.2f | %d | %s |\n' "${shown#"$data/"}" "$status" "$seconds" "$((kilobytes / 1024))" "$said"
  # The wall-clock limit, and a little for starting and ending the process.
  if [ "$status" -gt 1 ] || awk -v s="$seconds" 'BEGIN { exit !(s > 10.5) }' || [ "$kilobytes" -gt $((1024 * 1024)) ]; then
    failures+=("$shown: exit $status, $seconds s, $kilobytes KB")
  fi
  if awk -v s="$seconds" -v w="$worstSeconds" 'BEGIN { exit !(s > w) }'; then worstSeconds=$seconds; fi
  if [ "$kilobytes" -gt "$worstKilobytes" ]; then worstKilobytes=$kilobytes; fi
  rm -f "$folder/out.png"
done <"$folder/inputs"
printf '\n%d files; worst wall time %s s (limit 10 s), worst peak RSS %s MB (limit 1024 MB of address space)\n' \
  "$(wc -l <"$folder/inputs")" "$worstSeconds" "$((worstKilobytes / 1024))"
if [ ${#failures[@]} -gt 0 ]; then
  printf 'beyond the limits:\n'
  printf '  %s\n' "${failures[@]}"
  exit 1
fi
