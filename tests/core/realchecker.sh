#!/bin/bash
# End to end: the real notifier with the real apt_check on a local APT repository
# shows the same counts as apt-get on the same sandbox.
source "$(dirname "$0")/../desktop/lib.sh"
require_root
CHECKER=${TARN_BUILD_DIR:-$DESKTOP_DIR/../../build}/checker/apt_check

FIXTURE=$(tmpdir)/apt
bash "$DESKTOP_DIR/../support/apt-fixture.sh" "$FIXTURE" || { echo "fixture failed"; exit 1; }
export APT_CONFIG=$FIXTURE/apt.conf

start_desktop
cp "$CHECKER" "$SANDBOX/bin/apt_check"
# apt-get's own summary, asked in the same namespace as the notifier (APT decides on
# phased updates by looking at the system it runs on):
# "4 upgraded, 2 newly installed, 2 to remove and 2 not upgraded."
summary=$(in_sandbox apt-get -s dist-upgrade | grep -E '^[0-9]+ upgraded, ')
read -r UPGRADED NEW REMOVED < <(echo "$summary" | sed -E 's/^([0-9]+) upgraded, ([0-9]+) newly installed, ([0-9]+) to remove.*/\1 \2 \3/')
check "apt-get sees upgrades in the fixture" test "${UPGRADED:-0}" -gt 0
user_settings hideTray=false messageTimeout=200

start_notifier "$OUT/notifier.log" --silent
SVC=$(fakedesk wait-item 30)
check "the icon registers" test -n "$SVC"

plural() { [ "$1" -eq 1 ] && echo "<b>1</b> package will be $2<br>" || echo "<b>$1</b> packages will be $2<br>"; }
expected="Update Notifier:<br>"
[ "$UPGRADED" -gt 0 ] && expected+=$(plural "$UPGRADED" upgraded)
[ "$NEW" -gt 0 ] && expected+=$(plural "$NEW" installed)
[ "$REMOVED" -gt 0 ] && expected+=$(plural "$REMOVED" removed)
expected+="Click to run system upgrade"

tooltip() { item_tooltip "$SVC"; }
for _ in $(seq 1500); do [ "$(tooltip)" = "$expected" ] && break; sleep 0.02; done
echo "apt-get: $summary"
echo "tooltip: $(tooltip)"
check "the tooltip shows apt-get's counts ($UPGRADED, $NEW, $REMOVED)" test "$(tooltip)" = "$expected"
kill -TERM "$NOTIFIER_PID"
wait_exit "$NOTIFIER_PID" 30
finish
