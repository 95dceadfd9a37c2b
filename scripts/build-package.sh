#!/bin/bash
# build-package.sh OUTDIR: builds the Debian package from this tree into OUTDIR. The
# sources are copied to OUTDIR/source first (without build folders or git's data), so
# the working tree stays clean and dpkg-buildpackage's output lands in OUTDIR.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: build-package.sh OUTDIR}
mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -rf "$out/source" "$out"/*.deb "$out"/*.changes "$out"/*.buildinfo
mkdir "$out/source"
tar -C "$top" --exclude-vcs --exclude='./build*' --exclude='./out' --exclude='./obj-*' \
    --exclude='./debian/.debhelper' --exclude='./debian/tarn-update-notifier' -cf - . |
    tar -C "$out/source" -xf -
cd "$out/source"
DEB_BUILD_OPTIONS="parallel=$(nproc) ${DEB_BUILD_OPTIONS:-}" \
    dpkg-buildpackage -us -uc -b >"$out/build.log" 2>&1 ||
    { tail -n 40 "$out/build.log" >&2; exit 1; }
rm -rf "$out/source"
ls "$out"/tarn-update-notifier_*.deb
