#!/bin/bash
# Runs the settings end-to-end program inside run-e2e.sh's sandbox: the sandbox root gets the
# APT files of fixtures/settings/root, and the program runs in a private mount namespace whose
# /etc/apt is the sandbox's, so the dialog and the test read through the real apt-config and
# the list files exactly what the helper, outside that namespace, writes below the root.
# usage: settings-e2e.sh PROGRAM [ARGS...]
set -euo pipefail
[ -n "${TARN_E2E_ROOT:-}" ] || { echo "settings-e2e.sh runs under tests/helper/e2e/run-e2e.sh"; exit 1; }
cp -r "$(dirname "$0")/../../fixtures/settings/root/." "$TARN_E2E_ROOT/"
# The per-user settings stay in the sandbox too.
export XDG_CONFIG_HOME=$(dirname "$TARN_E2E_ROOT")/config
mkdir -p "$XDG_CONFIG_HOME"
unset APT_CONFIG
exec unshare --mount --propagation private sh -c \
    'mount --bind "$TARN_E2E_ROOT/etc/apt" /etc/apt && exec "$@"' sh "$@"
