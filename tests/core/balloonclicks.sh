#!/bin/bash
# Balloons over the notification service: a click on our reminder opens the upgrade
# confirmation; a click on another program's notification, or on another action, never does.
source "$(dirname "$0")/../desktop/lib.sh"
require_root
start_desktop
echo "3;0;0" >"$CTL/output"
user_settings hideTray=false
start_notifier "$OUT/notifier.log" # not silent: the reminder shows at once
SVC=$(fakedesk wait-item)
reminded() { [ "$(last_logged Notify summary)" = "Update Notifier" ]; }
check "the reminder goes to the notification service" wait_until 30 reminded
ID=$(last_logged Notify id)
confirmation() { [ -n "$(window_of 'Update Notifier')" ]; }
fakedesk invoke-action 4242 default
fakedesk invoke-action "$ID" some-other-action
# The notifier handles what reaches it in order: once it has answered a later call,
# the foreign clicks were handled, and they opened nothing.
item_tooltip >/dev/null
check "foreign clicks open nothing" eval '! confirmation'
fakedesk invoke-action "$ID" default
check "a click on our own reminder opens the confirmation" wait_until 30 confirmation
xdotool windowfocus --sync "$(window_of 'Update Notifier')" key Escape
wait_until 30 eval '! confirmation'
echo "0;2;0" >"$CTL/output"; bump "$SANDBOX/cache/pkgcache.bin"
wait_until 30 eval 'updated; tooltip_is "Update Notifier:<br><b>2</b> packages will be installed<br>Click to run system upgrade"'
fakedesk menu-click "$SVC" "Do Upgrade"
check "with only new packages to install, the menu's upgrade opens it too" wait_until 30 confirmation
finish
