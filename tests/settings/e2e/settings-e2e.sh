#!/bin/bash
# Runs a settings end-to-end test program inside run-e2e.sh's sandbox. The sandbox root gets
# the APT files of root/ here; the program then runs in a private mount namespace in which
# /etc/apt is the sandbox's, so the dialog reads (through the real apt-config and the list
# files) exactly what the helper, outside that namespace, writes below TARN_HELPER_ROOT.
# With --as-nobody the program runs as an unprivileged user, whom polkit refuses.
#
# usage: settings-e2e.sh [--as-nobody] PROGRAM [ARGS...]
set -euo pipefail

AS_NOBODY=0
if [ "${1:-}" = --as-nobody ]; then
    AS_NOBODY=1
    shift
fi
HERE=$(cd "$(dirname "$0")" && pwd)
[ -n "${TARN_E2E_ROOT:-}" ] || { echo "settings-e2e.sh runs under tests/helper/e2e/run-e2e.sh"; exit 1; }

cp -r "$HERE/root/." "$TARN_E2E_ROOT/"
chmod -R u=rwX,go=rX "$TARN_E2E_ROOT"
RUNDIR=$(dirname "$TARN_E2E_ROOT")

# What the test reads back with: the sandbox root as APT's Dir, nothing of the host.
export TARN_E2E_CHECK_APT_CONFIG=$RUNDIR/check-apt.conf
printf 'Dir "%s/";\n' "$TARN_E2E_ROOT" >"$TARN_E2E_CHECK_APT_CONFIG"
chmod 644 "$TARN_E2E_CHECK_APT_CONFIG"

# The per-user settings of whoever runs the program.
USER_DIR=$RUNDIR/user
mkdir -p "$USER_DIR/config"
export HOME=$USER_DIR XDG_CONFIG_HOME=$USER_DIR/config
unset APT_CONFIG

if [ $AS_NOBODY = 1 ]; then
    chown -R 65534:65534 "$USER_DIR"
    set -- setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
fi
exec unshare --mount --propagation private sh -c \
    'mount --bind "$TARN_E2E_ROOT/etc/apt" /etc/apt && exec "$@"' sh "$@"
