#!/bin/bash
# Balloons on a desktop whose notifications go over D-Bus: a click on our reminder
# opens the upgrade confirmation; a click on another application's notification, or
# on another of its actions, never does.
source "$(dirname "$0")/../desktop/lib.sh"
require_root
start_desktop
echo "3;0;0" >"$CTL/output"
user_settings hideTray=false

start_notifier "$OUT/notifier.log" # not silent: the reminder shows at once
SVC=$(fakedesk wait-item 30)
check "the icon registers" test -n "$SVC"
wait_for "$FD" 'There are 3 upgradable packages' 30
ID=$($PY -c 'import json,sys
print([json.loads(l) for l in open(sys.argv[1]) if "upgradable packages" in l][-1]["id"])' "$FD")
check "the reminder went to the notification service" test -n "$ID"

confirmation() { xdotool search --onlyvisible --name '^Update Notifier$' 2>/dev/null | head -1; }
appears() { for _ in $(seq "$1"); do [ -n "$(confirmation)" ] && return 0; sleep 0.02; done; return 1; }

fakedesk invoke-action 4242 default
fakedesk invoke-action "$ID" some-other-action
# The notifier handles D-Bus signals in order: a later click on ours proves the
# earlier ones were seen, and they must not have opened anything before it.
check "foreign clicks open nothing" bash -c "$(declare -f confirmation appears); ! appears 25"
fakedesk invoke-action "$ID" default
check "a click on our own reminder opens the confirmation" appears 250
W=$(confirmation)
[ -n "$W" ] && xdotool windowfocus --sync "$W" key Escape
for _ in $(seq 1000); do [ -z "$(confirmation)" ] && break; sleep 0.02; done
check "Escape declines it" test -z "$(confirmation)"
check "the notifier keeps running" kill -0 "$NOTIFIER_PID"
kill -TERM "$NOTIFIER_PID"
wait_exit "$NOTIFIER_PID" 30
finish
