#!/usr/bin/env bash
# Brings the English translation up to date with the sources.
#
#   bash tools/update-translations.sh [file.ts]
#
# Runs lupdate over every folder with window texts and rewrites translations/velkaro_en.ts (or
# the given file): new Chinese source texts appear as unfinished entries, texts no longer in the
# sources are dropped. Then translate the new entries, either in Qt Linguist
# (`linguist translations/velkaro_en.ts`) or by filling each <translation type="unfinished">
# and removing its type attribute, and commit the .ts file. The build turns it into the .qm
# that is embedded in the program; the translation test fails while any entry is unfinished.
#
# Texts are found in tr() and QCoreApplication::translate() calls and in
# QT_TRANSLATE_NOOP("context", "text") marks (layout tables: context "velkaro::DialogLayout").
set -euo pipefail
cd "$(dirname "$0")/.."

ts=${1:-translations/velkaro_en.ts}
lupdate=${LUPDATE:-}
if [ -z "$lupdate" ]; then
  for candidate in /usr/lib/qt6/bin/lupdate "$(command -v lupdate6 || true)" \
                   "$(command -v lupdate || true)"; do
    if [ -n "$candidate" ] && [ -x "$candidate" ]; then lupdate=$candidate; break; fi
  done
fi
[ -n "$lupdate" ] || { echo "lupdate not found (Debian: qt6-l10n-tools)" >&2; exit 1; }

folders=()
for folder in app settings samples support widgets window_services status preview label_render; do
  [ -d "$folder" ] && folders+=("$folder")
done

"$lupdate" -silent -locations none -no-obsolete -source-language zh_CN -target-language en \
  -I . "${folders[@]}" -ts "$ts"

unfinished=$(grep -c 'type="unfinished"' "$ts" || true)
echo "$ts: $unfinished text(s) to translate"
