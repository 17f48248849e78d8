#!/usr/bin/env bash
# Builds the .deb with CPack and checks that it carries the programs and the
# desktop files and declares the runtime packages the editor needs.
# Usage: check_deb.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1 id=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/marionettica3d_*_*.deb)
contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
for f in ./usr/bin/marionettica3d ./usr/bin/marionettica3d-cli \
         ./usr/share/applications/$id.desktop ./usr/share/mime/packages/$id.xml \
         ./usr/share/metainfo/$id.metainfo.xml ./usr/share/icons/hicolor/scalable/apps/$id.svg \
         ./usr/share/icons/hicolor/48x48/apps/$id.png ./usr/share/icons/hicolor/256x256/apps/$id.png \
         ./usr/share/marionettica3d/help/index.html ./usr/share/marionettica3d/guide/index.html \
         ./usr/share/marionettica3d/examples/figure/figure.anm ./usr/share/thumbnailers/marionettica3d.thumbnailer; do
  grep -qxF "$f" <<< "$contents" || fail "$f not in the package"
done

[ "$(dpkg-deb -f "$deb" Section)" = graphics ] || fail "Section: $(dpkg-deb -f "$deb" Section)"
depends=$(dpkg-deb -f "$deb" Depends)
# The Qt libraries come from dpkg-shlibdeps, the rest are named by hand.
for p in libqt6widgets6 libqt6opengl6 libqt6gui6 libqt6core6 \
         libepoxy0 libegl1 libegl-mesa0 qt6-qpa-plugins libgl1-mesa-dri fonts-noto-cjk fonts-ipafont-gothic; do
  grep -qE "(^|, )$p( |,|$)" <<< "$depends" || fail "Depends lacks $p: $depends"
done
grep -q qt6-translations-l10n <<< "$(dpkg-deb -f "$deb" Recommends)" || fail "Recommends lacks qt6-translations-l10n"
echo "$(basename "$deb") checked"
