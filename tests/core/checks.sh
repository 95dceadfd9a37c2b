#!/bin/bash
# The real notifier's update checks against a scripted /usr/bin/apt_check: what each
# answer shows in the tray and its balloons, and when a check runs at all.
source "$(dirname "$0")/../desktop/lib.sh"
require_root
start_desktop
# APT's lists and dpkg's status tell whether anything changed when there is no cache file.
mkdir "$SANDBOX/lists"; touch "$SANDBOX/status"
SANDBOX_MOUNTS+=(--bind "$SANDBOX/lists=/var/lib/apt/lists" --bind "$SANDBOX/status=/var/lib/dpkg/status")
user_settings hideTray=false messageTimeout=200 # short balloons: the item's tooltip shows them meanwhile
start_notifier "$OUT/notifier.log"              # not silent: balloons from the start
SVC=$(fakedesk wait-item)
check "the icon registers" test -n "$SVC"
ran() { [ "$(checker_runs)" -ge "$1" ]; }
check "the first check runs at start" wait_until 30 ran 1

STEP=0
bump() { STEP=$((STEP + 1)); touch -d "@$(($(date +%s) + STEP))" "$1"; } # as APT's rebuild does
updated() { dbus-send --system --type=signal / app.apt.dbus.updated; }
balloon_is() { [ "$(logged Notify)" -gt "$NOTES" ] && [ "$(last_logged Notify body)" = "$1" ]; }
while IFS=$'\t' read -r output errors tooltip balloon; do
    [[ $output == \#* ]] && continue
    printf '%b' "${output/#-/}" >"$CTL/output"
    printf '%b' "${errors/#-/}" >"$CTL/stderr"
    runs=$(checker_runs) NOTES=$(logged Notify)
    bump "$SANDBOX/cache/pkgcache.bin"
    updated
    check "'$output' '$errors': the checker runs" wait_until 30 ran $((runs + 1))
    check "... the tooltip: $tooltip" wait_until 10 tooltip_is "$tooltip"
    [ "$balloon" = - ] || check "... the balloon: $balloon" wait_until 10 balloon_is "$(printf '%b' "$balloon")"
done <"$DESKTOP_DIR/../fixtures/core/checks.tsv"

# ran_once_more_only ACTION: signals with nothing changed run no check; then ACTION
# changes a file and one more signal runs exactly one (signals are handled in order).
upgrades() { echo "Update Notifier:<br><b>$1</b> packages will be upgraded<br>Click to run system upgrade"; }
N=20
ran_once_more_only() {
    local runs; runs=$(checker_runs)
    N=$((N + 1)); echo "$N;0;0" >"$CTL/output"
    updated; updated
    "$@"; updated
    wait_until 30 tooltip_is "$(upgrades $N)" && [ "$(checker_runs)" -eq $((runs + 1)) ]
}
check "unchanged cache: no check; a changed cache: one" ran_once_more_only bump "$SANDBOX/cache/pkgcache.bin"
check "a cache file gone counts as a change" ran_once_more_only rm "$SANDBOX/cache/pkgcache.bin"
check "without the cache file, dpkg's status decides" ran_once_more_only bump "$SANDBOX/status"
check "... and so do APT's lists" ran_once_more_only bump "$SANDBOX/lists"
stop_notifier
check "SIGTERM ends the notifier with status 0" test "$EXIT_STATUS" = 0
finish
