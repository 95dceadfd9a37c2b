#!/bin/bash
# Replacing the program file under a running notifier: at its next check it hands
# over to a new copy of itself, which starts with the same arguments and becomes
# the running instance (it must not forward its command line to the old one).
source "$(dirname "$0")/../desktop/lib.sh"
require_root
start_desktop
user_settings hideTray=false

BIN=$(tmpdir)
cp "$NOTIFIER" "$BIN/tarn-update-notifier"
NOTIFIER=$BIN/tarn-update-notifier
start_notifier "$OUT/old.log" --silent
OLD=$NOTIFIER_PID
OLD_SVC=$(fakedesk wait-item 30)
check "the first copy registers its icon" test -n "$OLD_SVC"
for _ in $(seq 1000); do [ "$(checker_runs)" -ge 1 ] && break; sleep 0.02; done

# A package upgrade replaces the file: a new inode and a new modification time.
cp "$NOTIFIER" "$BIN/tarn-update-notifier.new"
touch -d '+1 minute' "$BIN/tarn-update-notifier.new"
mv -f "$BIN/tarn-update-notifier.new" "$NOTIFIER"
dbus-send --system --type=signal / app.apt.dbus.updated

wait_exit "$OLD" 30
check "the old copy ends with status 0" test "$EXIT_STATUS" = 0
NEW=
for _ in $(seq 1000); do
    NEW=$(pgrep -f "^$NOTIFIER --silent\$" | grep -vx "$OLD" | head -1)
    [ -n "$NEW" ] && break
    sleep 0.02
done
check "a new copy runs with the same arguments" test -n "$NEW"
NEW_SVC=
for _ in $(seq 1000); do
    NEW_SVC=$(fakedesk wait-item 0.1 2>/dev/null)
    [ -n "$NEW_SVC" ] && [ "$NEW_SVC" != "$OLD_SVC" ] && break
    sleep 0.02
done
check "the new copy is the running instance with its own icon" test -n "$NEW_SVC" -a "$NEW_SVC" != "$OLD_SVC"
[ -n "$NEW" ] && kill -TERM "$NEW"
for _ in $(seq 1000); do [ -n "$NEW" ] && kill -0 "$NEW" 2>/dev/null || break; sleep 0.02; done
check "the new copy ends on SIGTERM" bash -c "! kill -0 '${NEW:-0}' 2>/dev/null"
finish
