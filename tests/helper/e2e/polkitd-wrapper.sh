#!/bin/sh
# Started by the private test bus in place of polkitd. polkitd reads actions only from
# /usr/share/polkit-1/actions, so our policy directory is bind-mounted there in a mount
# namespace of its own: nothing on the machine changes. exec all the way down, so the bus
# sees polkitd under the pid it started.
[ -n "${TARN_E2E_POLKIT_ACTIONS_DIR:-}" ] || exit 1
exec unshare --mount --propagation private sh -c \
    'mount --bind "$1" /usr/share/polkit-1/actions && exec /usr/lib/polkit-1/polkitd --no-debug' \
    sh "$TARN_E2E_POLKIT_ACTIONS_DIR"
