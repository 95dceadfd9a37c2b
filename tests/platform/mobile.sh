#!/bin/bash
# The real notifier on a phone shell: no tray, one notification on the notification
# service, kept current by the checks, withdrawn when there is nothing to upgrade; its
# upgrade action opens the confirmation.
source "$(dirname "$0")/../desktop/lib.sh"
require_root
start_desktop --no-watcher
mkdir "$SANDBOX/run"; SANDBOX_MOUNTS+=(--bind "$SANDBOX/run=/run") # the buses live elsewhere
export DESKTOP_SESSION=plasma-mobile
start_notifier "$OUT/notifier.log" --silent
ran() { [ "$(checker_runs)" -ge 1 ]; }
check "the first check runs" wait_until 30 ran
# answer OUTPUT EVENT: the next check's answer; waits for the server to log one more EVENT.
answer() {
    local before event=$2; before=$(logged "$2")
    echo "$1" >"$CTL/output"
    bump "$SANDBOX/cache/pkgcache.bin"
    # A notifier still busy with the check before ignores the signal: send it until one counts.
    wait_until 30 eval 'updated; [ "$(logged "$event")" -gt "$before" ]'
}
body_is() { [ "$(last_logged Notify body)" = "$1 Click to run system upgrade" ]; }
check "updates: a notification" answer '3;0;1' Notify
check "... with the counts" body_is '<b>3</b> packages will be upgraded, <b>1</b> package will be removed.'
check "... offering the upgrade" eval '[[ "$(last_logged Notify actions)" == *upgrade* ]]'
check "... with the updates icon, never expiring" test "$(last_logged Notify icon):$(last_logged Notify timeout)" = updates-available:0
ID=$(last_logged Notify id)
check "other counts replace it" answer '2;1;0' Notify
check "... in place" test "$(last_logged Notify replaces_id)" = "$ID"
check "... with the new counts" body_is '<b>2</b> packages will be upgraded, <b>1</b> package will be installed.'
kill "$FAKEDESK_PID"; wait "$FAKEDESK_PID"; start_fakedesk --no-watcher --plain
check "a restarted server shows it again" wait_until 10 eval '[ "$(logged Notify)" -ge 1 ]'
check "... with the counts, as plain text where it has no markup" body_is '2 packages will be upgraded, 1 package will be installed.'
ID=$(last_logged Notify id)
fakedesk invoke-action "$ID" upgrade
confirmation() { [ -n "$(window_of 'Update Notifier')" ]; }
check "its upgrade action opens the confirmation" wait_until 30 confirmation
tall() { eval "$(xdotool getwindowgeometry --shell "$(window_of 'Update Notifier')")"; [ "$HEIGHT" -gt 150 ]; }
check "... with the package list shown: there is no tray to explain it" tall
xdotool windowfocus --sync "$(window_of 'Update Notifier')" key Escape
check "... which Escape declines" wait_until 30 eval '! confirmation'
check "up to date: it is withdrawn" answer '0;0;0' CloseNotification
check "... the one shown" test "$(last_logged CloseNotification id)" = "$ID"
touch "$SANDBOX/run/reboot-required"
check "a restart needed: a notice" answer '0;0;0' Notify
check "... that offers no upgrade" test "$(last_logged Notify actions)" = "[]"
kill "$FAKEDESK_PID"; wait "$FAKEDESK_PID"; start_fakedesk --no-watcher --mute
answer '4;0;0' GetCapabilities
in_sandbox "$NOTIFIER" &
track $!
check "a server that never answers holds nothing up: a second start opens the settings" \
    wait_until 4 eval '[ -n "$(window_of "Update notifier - Settings")" ]'
stop_notifier
check "SIGTERM ends the notifier with status 0" test "$EXIT_STATUS" = 0
rm "$SANDBOX/run/reboot-required"
kill "$FAKEDESK_PID"; wait "$FAKEDESK_PID"; start_fakedesk --no-watcher
since=$(date +%s); user_settings skipNotificationDelay=8 "skipNotificationSince=$(date -d "@$since" -Iseconds)"
start_notifier "$OUT/deferred.log" --silent
check "a deferral holds the notification back until it ends" \
    eval 'wait_until 30 eval "[ \$(logged Notify) -ge 1 ]" && [ "$(date +%s)" -ge $((since + 8)) ]'
stop_notifier
finish
