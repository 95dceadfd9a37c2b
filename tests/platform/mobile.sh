#!/bin/bash
# The real notifier without a tray, on a desktop whose tray never came and on a phone shell:
# one notification on the notification service, kept current by the checks, withdrawn when
# there is nothing to upgrade; its actions open the upgrade confirmation and the settings.
source "$(dirname "$0")/../desktop/lib.sh"
require_root
start_desktop --no-watcher # and no XEmbed tray: nothing here owns the tray's X selection
mkdir "$SANDBOX/run"; SANDBOX_MOUNTS+=(--bind "$SANDBOX/run=/run") # the buses live elsewhere
export TARN_TRAY_WAIT_MS=1000
# answer OUTPUT EVENT [COMMAND...]: the next check's answer; runs COMMAND, then waits for
# the server to log one more EVENT.
answer() {
    local before event=$2; before=$(logged "$2")
    "${@:3}"
    echo "$1" >"$CTL/output"
    bump "$SANDBOX/cache/pkgcache.bin"
    # A notifier still busy with the check before ignores the signal: send it until one counts.
    wait_until 30 eval 'updated; [ "$(logged "$event")" -gt "$before" ]'
}
body_is() { [ "$(last_logged Notify body)" = "$1 Click to run system upgrade" ]; }
settings() { [ -n "$(window_of "Update notifier - Settings")" ]; }
escape() { xdotool windowfocus --sync "$(window_of "$1")" key Escape; }
confirmation() { [ -n "$(window_of 'Update Notifier')" ]; }
tall() { eval "$(xdotool getwindowgeometry --shell "$(window_of 'Update Notifier')")"; [ "$HEIGHT" -gt 150 ]; }
component() { [[ "$(last_logged Notify hints)" == *x-tarn-custom-component-path* ]]; }
# A desktop's notifier serves through notifications once its wait for a tray is over.
for MODE in desktop phone; do
    [ $MODE = phone ] && { export DESKTOP_SESSION=plasma-mobile; kill "$FAKEDESK_PID"; wait "$FAKEDESK_PID"; start_fakedesk --no-watcher; }
    runs=$(checker_runs); start_notifier "$OUT/$MODE.log" --silent
    check "$MODE: the first check runs" wait_until 30 eval '[ "$(checker_runs)" -gt $runs ]'
    check "$MODE, updates: a notification" answer '3;0;1' Notify
    check "... with the counts" body_is '<b>3</b> packages will be upgraded, <b>1</b> package will be removed.'
    check "... offering the upgrade and the settings" eval '[[ "$(last_logged Notify actions)" == *upgrade*settings* ]]'
    check "... with the updates icon, never expiring" test "$(last_logged Notify icon):$(last_logged Notify timeout)" = updates-available:0
    check "... the shell's own component only on a phone" eval '[ "$(component && echo phone || echo desktop)" = $MODE ]'
    ID=$(last_logged Notify id)
    check "other counts replace it" answer '2;1;0' Notify
    check "... in place" test "$(last_logged Notify replaces_id)" = "$ID"
    check "... with the new counts" body_is '<b>2</b> packages will be upgraded, <b>1</b> package will be installed.'
    kill "$FAKEDESK_PID"; wait "$FAKEDESK_PID"; start_fakedesk --no-watcher --plain
    check "a restarted server shows it again" wait_until 10 eval '[ "$(logged Notify)" -ge 1 ]'
    check "... with the counts, as plain text where it has no markup" body_is '2 packages will be upgraded, 1 package will be installed.'
    ID=$(last_logged Notify id)
    fakedesk invoke-action "$ID" upgrade
    check "its upgrade action opens the confirmation" wait_until 30 confirmation
    check "... with the package list shown: there is no tray to explain it" tall
    escape 'Update Notifier'
    check "... which Escape declines" wait_until 30 eval '! confirmation'
    fakedesk invoke-action "$ID" settings
    check "its settings action opens the settings" wait_until 30 settings
    escape 'Update notifier - Settings'; wait_until 30 eval '! settings'
    check "a second start opens them too" eval 'in_sandbox "$NOTIFIER" && wait_until 30 settings'
    escape 'Update notifier - Settings'; wait_until 30 eval '! settings'
    touch "$DPKG/updates/0001"
    check "dpkg interrupted: the notification says so" answer '2;1;0' Notify
    check "... in place" test "$(last_logged Notify body):$(last_logged Notify replaces_id)" = "dpkg was interrupted, the package system needs a repair. Click to repair it:$ID"
    fakedesk invoke-action "$ID" upgrade
    check "... and its action opens the repair" wait_until 30 eval '[ -n "$(window_of "Repairing the package system")" ]'
    escape 'Repairing the package system'; rm "$DPKG/updates/0001"
    check "up to date: it is withdrawn" answer '0;0;0' CloseNotification
    check "... the one shown" test "$(last_logged CloseNotification id)" = "$ID"
    [ $MODE = phone ] || stop_notifier
done
# Counted before the flag is set: a signal still queued from the last step may tell it first.
check "a restart needed: a notice" answer '0;0;0' Notify touch "$SANDBOX/run/reboot-required"
check "... that offers no upgrade" test "$(last_logged Notify actions)" = "[]"
kill "$FAKEDESK_PID"; wait "$FAKEDESK_PID"; start_fakedesk --no-watcher --mute
answer '4;0;0' GetCapabilities
in_sandbox "$NOTIFIER" &
track $!
check "a server that never answers holds nothing up: a second start opens the settings" wait_until 4 settings
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
