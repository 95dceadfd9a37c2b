#!/bin/bash
# The real notifier in mobile mode: its one phone notification on the notification
# service of a private session bus, kept current by the update checks of a scripted
# /usr/bin/apt_check, withdrawn when there is nothing to upgrade, and a notifier that
# carries on without any notification service.
source "$(dirname "$0")/../desktop/lib.sh"
require_root
# A phone shell: a notification server and no tray.
start_desktop --no-watcher
export DESKTOP_SESSION=plasma-mobile

# count KIND: how many calls of that kind the server logged.
count() { grep -c "\"ev\": \"$1\"" "$FD"; }
# field KIND KEY: a field of the last logged call of that kind, as JSON.
field() {
    $PY -c 'import json, sys
calls = [c for c in map(json.loads, open(sys.argv[1])) if c["ev"] == sys.argv[2]]
print(json.dumps(calls[-1][sys.argv[3]]) if calls else "")' "$FD" "$1" "$2"
}
text_field() { field "$@" | $PY -c 'import json, sys; print(json.load(sys.stdin))'; }
# mark: remembers the counts; new KIND: how many calls of that kind came since.
mark() { NOTIFY_MARK=$(count Notify); CLOSE_MARK=$(count CloseNotification); }
new() {
    local before=$NOTIFY_MARK; [ "$1" = CloseNotification ] && before=$CLOSE_MARK
    echo $(($(count "$1") - before))
}
wait_new() { # KIND: waits for one
    for _ in $(seq 1000); do [ "$(new "$1")" -ge 1 ] && return 0; sleep 0.02; done
    return 1
}

# check_with OUTPUT: the next check's answer; makes the cache look changed, sends
# APT's "updated" signal and waits until the scripted checker ran. A notifier still
# busy with the check before ignores the signal, so it is sent again until one runs.
check_with() {
    printf '%b' "$1" >"$CTL/output"
    local runs i; runs=$(checker_runs)
    touch -d "@$(($(date +%s) + runs + 1))" "$SANDBOX/cache/pkgcache.bin"
    for i in $(seq 1000); do
        [ $((i % 25)) -eq 1 ] && dbus-send --system --type=signal / app.apt.dbus.updated
        sleep 0.02
        [ "$(checker_runs)" -gt "$runs" ] && return 0
    done
    echo "checker did not run for '$1'"
    return 1
}
CLICK='Click to run system upgrade'

start_notifier "$OUT/notifier.log" --silent
for _ in $(seq 1000); do [ "$(checker_runs)" -ge 1 ] && break; sleep 0.02; done
check "the first check runs" test "$(checker_runs)" -eq 1
check "up to date from the start: no notification" test "$(count Notify)" -eq 0

# --- Shown, then kept current -----------------------------------------------------------
mark
check_with '3;0;1\n'
check "updates: one notification" wait_new Notify
ID=$(field Notify id)
check "... with the title as summary" test "$(text_field Notify summary)" = 'Update Notifier'
check "... and the counts as body" test "$(text_field Notify body)" = \
    "<b>3</b> packages will be upgraded, <b>1</b> package will be removed. $CLICK"
check "... a new one" test "$(field Notify replaces_id)" = 0
check "... with an icon of the theme" test "$(text_field Notify app_icon)" = updates-available
check "... the upgrade action" test "$(field Notify actions)" = '["upgrade", "Upgrade"]'
check "... kept by the shell" test "$(field Notify hints | $PY -c 'import json, sys
h = json.load(sys.stdin)
print(h.get("resident"), h.get("desktop-entry"), h.get("x-tarn-custom-component-path"))')" = \
    'True tarn-update-notifier file:///usr/share/tarn-mobile/notifications/UpdateNotification.qml'

mark
check_with '2;1;0\n'
check "other counts: the notification is replaced" wait_new Notify
check "... in place" test "$(field Notify replaces_id)" = "$ID"
check "... with the new counts" test "$(text_field Notify body)" = \
    "<b>2</b> packages will be upgraded, <b>1</b> package will be installed. $CLICK"
check "... and the same summary" test "$(text_field Notify summary)" = 'Update Notifier'
check "... no second notification" test "$(new Notify)" -eq 1
check "... nothing was closed" test "$(new CloseNotification)" -eq 0

# --- Actions that are not ours ------------------------------------------------------------
# An upgrade confirmation would show, and run the checker for its package list.
confirmation() { xdotool search --onlyvisible --name '^Update Notifier$' 2>/dev/null | head -1; }
RUNS=$(checker_runs)
fakedesk invoke-action $((ID + 100)) upgrade
fakedesk invoke-action "$ID" default
mark
check_with '2;1;0\n' # handled after the two signals above
check "another id's action and another key start nothing" test "$(checker_runs)" -eq $((RUNS + 1))
check "... no confirmation" test -z "$(confirmation)"
check "... and the notifier keeps running" kill -0 "$NOTIFIER_PID"
check "... the same counts replace it again" wait_new Notify

# --- The upgrade action -------------------------------------------------------------------------
# What the checker lists (-p) and, after it, the sizes (-s; this answer has none).
printf 'u;tarn-demo;1.0;1.1;Debian-Security\ni;tarn-extra;;2.0;Debian\n' >"$CTL/output"
RUNS=$(checker_runs)
fakedesk invoke-action "$ID" upgrade
for _ in $(seq 1000); do [ -n "$(confirmation)" ] && break; sleep 0.02; done
CONFIRM=$(confirmation)
check "the upgrade action opens the confirmation" test -n "$CONFIRM"
for _ in $(seq 1000); do [ "$(checker_runs)" -ge $((RUNS + 2)) ] && break; sleep 0.02; done
# Folded, the dialog asks the checker nothing until the user unfolds the list.
check "... with the package list unfolded: listing and sizes asked at once" \
    test "$(checker_runs)" -eq $((RUNS + 2))
[ -n "$CONFIRM" ] && import -window "$CONFIRM" "$OUT/confirmation.png" 2>/dev/null
fakedesk invoke-action "$ID" upgrade
fakedesk invoke-action "$ID" upgrade
check "... a second upgrade action while it is open opens no other" \
    test "$(xdotool search --onlyvisible --name '^Update Notifier$' 2>/dev/null | wc -l)" -eq 1
[ -n "$CONFIRM" ] && xdotool windowfocus --sync "$CONFIRM" key Escape
for _ in $(seq 1000); do [ -z "$(confirmation)" ] && break; sleep 0.02; done
check "... Escape declines it" test -z "$(confirmation)"
check "... nothing else ran" test "$(checker_runs)" -eq $((RUNS + 2))
mark
check_with '2;1;0\n'
check "after declining, the next update still replaces the notification" wait_new Notify
check "... in place" test "$(field Notify replaces_id)" = "$ID"

# --- Withdrawn ------------------------------------------------------------------------------
mark
check_with '0;0;0\n'
check "up to date: the notification is closed" wait_new CloseNotification
check "... the one shown" test "$(field CloseNotification id)" = "$ID"

mark
check_with '1;0;0\n'
check "updates again: a new notification" wait_new Notify
check "... not a replacement" test "$(field Notify replaces_id)" = 0
ID=$(field Notify id)
check "... saying one package" test "$(text_field Notify body)" = "<b>1</b> package will be upgraded. $CLICK"

mark
check_with 'a;b;c\n'
check "an error: the notification is closed" wait_new CloseNotification
check "... the one shown" test "$(field CloseNotification id)" = "$ID"

# --- Closed by the server ------------------------------------------------------------------------
mark
check_with '4;0;0\n'
check "updates after the error: a notification" wait_new Notify
ID=$(field Notify id)
fakedesk close-notification "$ID" 2 # dismissed on the phone
mark
check_with '5;0;0\n'
check "the next update after a dismissal: a fresh notification" wait_new Notify
check "... not replacing the dismissed one" test "$(field Notify replaces_id)" = 0
check "... with the new count" test "$(text_field Notify body)" = "<b>5</b> packages will be upgraded. $CLICK"
ID=$(field Notify id)

# --- Withdrawn when the notifier ends ------------------------------------------------------------
CLOSES=$(count CloseNotification)
kill -TERM "$NOTIFIER_PID"
wait_exit "$NOTIFIER_PID" 30
check "SIGTERM ends the notifier with status 0" test "$EXIT_STATUS" = 0
check "... and closes its notification" test "$(count CloseNotification)" -eq $((CLOSES + 1))
check "... the one shown" test "$(field CloseNotification id)" = "$ID"

# --- No notification service ------------------------------------------------------------------
start_session_bus # a bus of its own, on which nobody serves notifications
echo '0;0;0' >"$CTL/output"
rm -f "$CTL/runs"
start_notifier "$OUT/no-server.log" --silent
for _ in $(seq 1000); do [ "$(checker_runs)" -ge 1 ] && break; sleep 0.02; done
# A check only starts once the one before was handled.
check_with '3;0;0\n'
check_with '4;0;0\n'
check "no notification service: both results handled" test "$(checker_runs)" -eq 3
check_with '0;0;0\n'
check_with '2;0;0\n'
check "... and the ones after" test "$(checker_runs)" -eq 5
check "... the notifier keeps running" kill -0 "$NOTIFIER_PID"
check "... and reports nothing" test ! -s "$OUT/no-server.log"
kill -TERM "$NOTIFIER_PID"
wait_exit "$NOTIFIER_PID" 30
check "... and ends with status 0" test "$EXIT_STATUS" = 0

finish
