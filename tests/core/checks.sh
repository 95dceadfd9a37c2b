#!/bin/bash
# The real notifier's update checks against a scripted /usr/bin/apt_check: what each
# answer shows in the tray and in balloons, when a check runs at all, and the
# system-bus signal that starts one.
source "$(dirname "$0")/../desktop/lib.sh"
require_root
start_desktop
# Short balloons: while one shows, the item's tooltip carries the balloon instead.
user_settings hideTray=false messageTimeout=200

# Not silent, so balloons are not held back during the first seconds.
start_notifier "$OUT/notifier.log"
SVC=$(fakedesk wait-item 30)
check "the icon registers" test -n "$SVC"
for _ in $(seq 1000); do [ "$(checker_runs)" -ge 1 ] && break; sleep 0.02; done
check "the first check runs 2 s after start" test "$(checker_runs)" -eq 1

# The item's own tooltip; empty while a balloon shows.
tooltip() { item_tooltip "$SVC"; }
notifications() { grep -c '"ev": "Notify"' "$FD"; }
last_body() {
    $PY -c 'import json,sys
n=[json.loads(l) for l in open(sys.argv[1]) if "\"Notify\"" in l]
print(n[-1]["body"] if n else "")' "$FD"
}
error_box() { xdotool search --onlyvisible --name '^Update Notifier$' 2>/dev/null | head -1; }

# check_with OUTPUT STDERR: makes the cache look changed, sends APT's "updated"
# signal, and waits until the scripted checker ran and the notifier handled it.
check_with() {
    printf '%b' "$1" >"$CTL/output"
    printf '%b' "$2" >"$CTL/stderr"
    local runs notes
    runs=$(checker_runs)
    NOTES_BEFORE=$(notifications)
    touch -d "@$(($(date +%s) + runs + 1))" "$SANDBOX/cache/pkgcache.bin"
    dbus-send --system --type=signal / app.apt.dbus.updated
    for _ in $(seq 1000); do [ "$(checker_runs)" -gt "$runs" ] && break; sleep 0.02; done
    [ "$(checker_runs)" -gt "$runs" ] || { echo "checker did not run for '$1'"; return 1; }
    # The tooltip changes right after the checker ends; give the item a moment to publish it.
    local now
    for _ in $(seq 150); do
        now=$(tooltip)
        [ -n "$now" ] && [ "$now" != "$LAST_TOOLTIP" ] && break
        sleep 0.02
    done
    LAST_TOOLTIP=$(tooltip)
}
new_balloon() { [ "$(notifications)" -gt "$NOTES_BEFORE" ]; }
UPTODATE='Update Notifier: system is up-to-date'
INVALID='Error while checking apt cache: invalid output from /usr/bin/apt_check'
LAST_TOOLTIP=$(tooltip)

check_with '3;1;0\n' ''
check "3;1;0: the tooltip lists the upgrade and the new package" test "$(tooltip)" = \
    'Update Notifier:<br><b>3</b> packages will be upgraded<br><b>1</b> package will be installed<br>Click to run system upgrade'
check "3;1;0: a reminder balloon" bash -c "[ \"\$($(declare -f last_body); PY=$PY FD=$FD last_body)\" = \$'There are 3 upgradable packages\nClick to run system upgrade' ]"

check_with '0;0;2' ''
check "0;0;2: up to date" test "$(tooltip)" = "$UPTODATE"

check_with '0;2;0' ''
check "0;2;0: updates" test "$(tooltip)" = \
    'Update Notifier:<br><b>2</b> packages will be installed<br>Click to run system upgrade'

check_with ' 5;0;0\n' ''
check "' 5;0;0\\\\n' is accepted" test "$(tooltip)" = \
    'Update Notifier:<br><b>5</b> packages will be upgraded<br>Click to run system upgrade'

for bad in '5;0' '5;0;0;1' 'a;b;c' ''; do
    check_with "$bad" ''
    check "'$bad': the Error state" test "$(tooltip)" = Error
    check "'$bad': the invalid-output balloon" bash -c "new_balloon() { [ \$(grep -c '\"ev\": \"Notify\"' $FD) -gt $NOTES_BEFORE ]; }; new_balloon"
    check "'$bad': its text" test "$(last_body)" = "$INVALID"
    check_with '1;0;0' '' # back to a good state between the bad ones
done

check_with '2;0;0' 'E: boom\n'
check "E: boom: the Error state" test "$(tooltip)" = Error
check "E: boom: the balloon ends in ' boom'" test "$(last_body)" = 'Error while checking apt cache:  boom'

check_with '2;0;0' 'W: some lists are old\n'
check "a warning with good output: the output is used" test "$(tooltip)" = \
    'Update Notifier:<br><b>2</b> packages will be upgraded<br>Click to run system upgrade'

echo crash >"$CTL/crash"
check_with '1;0;0' ''
rm -f "$CTL/crash"
check "a crashing checker: the Error state" test "$(tooltip)" = Error
check "a crashing checker: no message box" test -z "$(error_box)"

check_with '0;0;0' ''
RUNS=$(checker_runs)
dbus-send --system --type=signal / app.apt.dbus.updated
dbus-send --system --type=signal / app.apt.dbus.updated
# Prove the signals were handled: a third one after a cache change does run the checker.
touch -d "@$(($(date +%s) + 500))" "$SANDBOX/cache/pkgcache.bin"
dbus-send --system --type=signal / app.apt.dbus.updated
for _ in $(seq 1000); do [ "$(checker_runs)" -gt "$RUNS" ] && break; sleep 0.02; done
check "an unchanged cache runs no check; a changed one does, once" test "$(checker_runs)" -eq $((RUNS + 1))

check "the notifier is still running" kill -0 "$NOTIFIER_PID"
kill -TERM "$NOTIFIER_PID"
wait_exit "$NOTIFIER_PID" 30
finish
