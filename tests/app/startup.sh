#!/bin/bash
# Start-up of the real notifier: one instance, which later starts hand their command
# line to; --quit; a killed instance never blocks the next; only administrators get it.
source "$(dirname "$0")/../desktop/lib.sh"
require_root
start_desktop
user_settings hideTray=false
start_notifier "$OUT/first.log" --silent
FIRST=$NOTIFIER_PID
SVC=$(fakedesk wait-item)
check "the icon registers, up to date" wait_until 30 tooltip_is 'Update Notifier: system is up-to-date'
settings() { [ -n "$(window_of 'Update notifier - Settings')" ]; }
check "a silent start opens no settings" eval '! settings'
check "a second plain start exits 0" in_sandbox "$NOTIFIER"
check "... and the running one opens its settings" wait_until 30 settings
check "a second start with --quit exits 0" in_sandbox "$NOTIFIER" --quit
ended() { ! kill -0 "$1" 2>/dev/null; }
check "... and the running one ends" wait_until 30 ended "$FIRST"
wait "$FIRST"
check "... with status 0" test $? = 0

# changed N: APT's cache looks rebuilt, so a new start checks again.
changed() { touch -d "@$(($(date +%s) + $1))" "$SANDBOX/cache/pkgcache.bin"; }
ran() { [ "$(checker_runs)" -ge "$1" ]; }
runs=$(checker_runs); changed 100
start_notifier "$OUT/killed.log" --silent
wait_until 30 ran $((runs + 1)) && kill -KILL "$NOTIFIER_PID"
runs=$(checker_runs); changed 200
start_notifier "$OUT/after-kill.log" --silent
check "after a SIGKILL the next start runs" wait_until 30 ran $((runs + 1))
stop_notifier

# A throw-away user, known only inside the sandbox; without a tray (mobile mode)
# whether the notifier runs depends on the administrators' group alone.
cp /etc/passwd /etc/group "$SANDBOX/etc/"
echo "tarnuser:x:4242:4242::/nonexistent:/usr/sbin/nologin" >>"$SANDBOX/etc/passwd"
printf 'tarnuser:x:4242:\nkelmora-admin:x:4243:\n' >>"$SANDBOX/etc/group"
USERHOME=$(tmpdir); chown 4242 "$USERHOME"; chmod 755 "$SANDBOX"; chmod 777 "$CTL"; chmod 666 "$CTL/runs"
user() { AS=(env HOME="$USERHOME" XDG_CONFIG_HOME="$USERHOME" XDG_RUNTIME_DIR="$USERHOME" DESKTOP_SESSION=mobile
    setpriv --reuid=4242 --regid=4242 "$@"); }
runs=$(checker_runs)
user --clear-groups
start_notifier "$OUT/user.log" --silent
check "a user outside kelmora-admin: the program ends" wait_until 30 ended "$NOTIFIER_PID"
wait "$NOTIFIER_PID"
check "... with status 0" test $? = 0
check "... and nothing was checked" test "$(checker_runs)" = "$runs"
user --groups=4243
start_notifier "$OUT/admin.log" --silent
check "a member of kelmora-admin gets the notifier" wait_until 30 ran $((runs + 1))
stop_notifier
finish
