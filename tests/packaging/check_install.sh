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
# The thumbnailer names the installed command line and the types it draws.
thumbnailer=$share/thumbnailers/marionettica3d.thumbnailer
[ -f "$thumbnailer" ] || fail "not installed: share/thumbnailers/marionettica3d.thumbnailer"
[ "$(sed -n 1p "$thumbnailer")" = "[Thumbnailer Entry]" ] || fail "thumbnailer: no [Thumbnailer Entry] group"
grep -qx "TryExec=marionettica3d-cli" "$thumbnailer" || fail "thumbnailer: TryExec"
grep -qx "Exec=marionettica3d-cli thumbnail -s %s %i %o" "$thumbnailer" || fail "thumbnailer: Exec"
for type in application/x-marionettica3d-project application/x-marionettica3d-mesh application/x-mqo-model; do
  grep -q "^MimeType=.*$type;" "$thumbnailer" || fail "thumbnailer: MimeType lacks $type"
  grep -q "type=\"$type\"" "$share/mime/packages/$id.xml" || fail "thumbnailer: $type is no installed MIME type"
done
# The command it runs draws a PNG of the asked size from the installed sample.
"$prefix/bin/marionettica3d-cli" thumbnail -s 96 "$share/marionettica3d/examples/figure/figure.anm" "$work/thumb" ||
  fail "thumbnail of the sample"
file -b "$work/thumb" | grep -q "PNG image data, 96 x 96" || fail "thumbnail: $(file -b "$work/thumb")"
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
