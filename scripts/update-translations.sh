#!/bin/bash
# Brings the translation sources up to date with the code's texts.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
dirs=(app core base privileged aptconf settings windows platform policy helper)
for ts in translations/tarn-update-notifier_en.ts translations/tarn-update-notifier_de.ts; do
    lupdate -qt=5 -no-obsolete -locations relative -source-language en -target-language "$(basename "$ts" .ts | sed "s/.*_//")" "${dirs[@]}" -ts "$ts"
done
python3 "$top/scripts/fill-english-plurals.py" translations/tarn-update-notifier_en.ts
