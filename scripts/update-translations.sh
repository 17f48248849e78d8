#!/usr/bin/env bash
# Brings the interface catalogues in i18n/ up to date with the texts in src/:
# new texts are added unfinished, texts no longer used are dropped. The core's
# texts are found through UiText (read as Qt's translate) and QT_TRANSLATE_NOOP.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
# Texts that moved to another file keep their English.
previous=$(mktemp)
trap 'rm -f "$previous"' EXIT
cp i18n/marionettica3d_en.ts "$previous"
"$lupdate" -tr-function-alias translate+=UiText -locations none -no-obsolete -source-language ja -target-language en \
  src -ts i18n/marionettica3d_en.ts
python3 tools/carry_translations.py "$previous" i18n/marionettica3d_en.ts
