#!/bin/bash
# Brings the translation sources up to date with the code's texts.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
dirs=(app core privileged aptconf settings platform)
for ts in translations/*.ts; do
    lupdate -qt=5 -no-obsolete -locations relative "${dirs[@]}" -ts "$ts"
done
