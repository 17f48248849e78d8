#!/usr/bin/env bash
# Installs the build into a throwaway prefix and checks what the desktop sees
# of it: the programs, help and sample in place, a valid .desktop entry and
# metainfo, the icon in every size, and the MIME types recognising real files
# by name and, renamed, by their first bytes.
# Usage: check_install.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1 id=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > "$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }
share=$prefix/share
for f in bin/marionettica3d bin/marionettica3d-cli share/marionettica3d/help/index.html share/marionettica3d/guide/index.html \
         share/marionettica3d/examples/figure/figure.anm share/icons/hicolor/scalable/apps/$id.svg; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
for size in 16 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/$id.png
  file -b "$png" | grep -q "PNG image data, $size x $size" || fail "icon $size: $(file -b "$png")"
done

out=$(desktop-file-validate "$share/applications/$id.desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
# Errors and warnings fail; pedantic hints (such as upper case in the id) are allowed.
appstreamcli validate --no-net --strict "$share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

export XDG_DATA_HOME=$share
out=$(update-mime-database "$share/mime" 2>&1)
[ -z "$out" ] || fail "update-mime-database: $out"
type_of() { gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'; }
# By name: the extension on other bytes; by content: the file's own bytes under no extension.
expect() {
  local path=$1 want=$2 copy
  echo other > "$work/by-name.${path##*.}"
  cp "$path" "$work/by-content"
  for copy in "$work/by-name.${path##*.}" "$work/by-content"; do
    [ "$(type_of "$copy")" = "$want" ] || fail "$(basename "$copy") for $path: $(type_of "$copy"), not $want"
  done
}
sample=$share/marionettica3d/examples/figure
expect "$sample/figure.anm" application/x-marionettica3d-project
expect "$sample/head.mqo" application/x-mqo-model
# A .mesh as the installed command line writes it.
"$prefix/bin/marionettica3d-cli" mesh-convert "$sample/head.mqo" "$work/head.mesh" > /dev/null
expect "$work/head.mesh" application/x-marionettica3d-mesh
echo "installed tree checked"
