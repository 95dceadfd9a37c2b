#!/bin/bash
# The whole repair and upgrade, end to end: the real notifier, the real apt_check and the
# real helper through KAuth and polkitd, on an offline APT repository. Runs inside
# tests/helper/e2e/run-e2e.sh --fixture, which gives the system bus, the helper and the fixture.
source "$(dirname "$0")/../desktop/lib.sh"
require_root
FIXTURE=${TARN_E2E_FIXTURE:?run me through run-e2e.sh --fixture}
unset QT_QPA_PLATFORM
# Phased updates are judged by the system APT runs on, and the helper runs outside this
# test's mount namespace: let both leave them alone.
echo 'APT::Get::Never-Include-Phased-Updates "true";' >>"$FIXTURE/apt.conf"
export APT_CONFIG=$FIXTURE/apt.conf
OUT=${TEST_OUT:-$(tmpdir)}; FD=$OUT/fakedesk.jsonl; mkdir -p "$OUT"
start_xvfb && start_bus DBUS_SESSION_BUS_ADDRESS && start_fakedesk && setup_sandbox
cp "${TARN_BUILD_DIR:-$DESKTOP_DIR/../../build}/checker/apt_check" "$SANDBOX/bin/apt_check.real"
# The real checker, with what it is asked and answers logged.
printf '#!/bin/bash\nset -o pipefail\necho "asked $*" >>%s\n%s "$@" | tee -a %s\n' "$OUT/checker.log" \
    "$SANDBOX/bin/apt_check.real" "$OUT/checker.log" >"$SANDBOX/bin/apt_check"
chmod 755 "$SANDBOX/bin/apt_check"
SANDBOX_MOUNTS+=(--bind "$FIXTURE/root/var/cache/apt=/var/cache/apt" --bind "$FIXTURE/root/var/lib/dpkg=/var/lib/dpkg")
user_settings hideTray=false messageTimeout=200
echo 'fixBrokenCommand=' >>"$SANDBOX/etc/tarn-update-notifier.conf" # that step left out: allowed

# The helper's "action performed" signals tell when the repair and the upgrade have ended;
# performed N: more than N of them.
dbus-monitor --system "type='signal',interface='org.kde.kf5auth',member='remoteSignal'" >"$OUT/kauth.txt" 2>&1 &
track $!
# dpkg killed while it configures waiter 1.1, whose postinst waits for postinst-release.
R=$FIXTURE/root; rm -f "$R/postinst-started" "$R/postinst-release"
setsid dpkg --root="$R" --admindir="$R/var/lib/dpkg" --log="$R/var/log/dpkg.log" -i "$FIXTURE"/repo/main/waiter_1.1_*.deb >"$OUT/dpkg.log" 2>&1 &
DPKG_PID=$!
wait_until 30 test -e "$R/postinst-started"; kill -KILL -- -$DPKG_PID; wait $DPKG_PID
waiter() { [ "$(dpkg-query --admindir="$R/var/lib/dpkg" -W -f '${Status}' waiter)" = "$1" ]; }
check "dpkg killed in waiter's postinst leaves it half configured" waiter 'install ok half-configured'
start_notifier "$OUT/notifier.log" --silent
SVC=$(fakedesk wait-item)
shows() { [[ "$(item_tooltip)" == *"$1"* ]]; }
check "the tray tells that the package system needs a repair" wait_until 60 shows 'the package system needs a repair'
shown() { W=$(window_of "$1"); [ -n "$W" ]; }
# Ok, in the bottom right corner, takes the place of the stop button once the dialog has
# heard of the end; a click that comes before asks whether to stop, which Escape declines.
closed() {
    local question; question=$(window_of 'Update Notifier')
    [ -z "$question" ] || xdotool windowfocus --sync "$question" key Escape
    eval "$(xdotool getwindowgeometry --shell "$W")"
    xdotool mousemove --window "$W" $((WIDTH - 40)) $((HEIGHT - 22)) click 1
    ! shown "$1"
}
touch "$R/postinst-release"
performed() { [ "$(grep -cE '^ *int32 1$' "$OUT/kauth.txt")" -gt "$1" ]; }
fakedesk menu-click "$SVC" "Repair Package System" 2>/dev/null &
check "its menu entry runs the repair" wait_until 30 shown 'Repairing the package system'
check "... which configures waiter" wait_until 120 waiter 'install ok installed'
check "... and empties dpkg's journal" test -z "$(ls "$R/var/lib/dpkg/updates")"
check "... and the helper reports it done" wait_until 60 performed 0
check "Ok closes the repair window" wait_until 60 closed 'Repairing the package system'
check "the repair state is gone: the fixture's upgrades are shown" wait_until 60 shows '<b>4</b> packages will be upgraded'
fakedesk activate "$SVC" & # answered only once the dialogs it opens have closed
check "a click on the icon opens the confirmation" wait_until 30 shown 'Update Notifier'
: >"$OUT/checker.log"
height() { eval "$(xdotool getwindowgeometry --shell "$W")"; echo "$HEIGHT"; }
FOLDED=$(height)
xdotool windowfocus --sync "$W" key space # the list's button has the focus
held_back_listed() { grep -qx 'held;1.0;1.1;held;' "$OUT/checker.log" && [ "$(height)" -gt "$FOLDED" ]; }
check "the unfolded list has the real checker's held-back packages" wait_until 60 held_back_listed
# What dpkg has installed, "name;version" a line; after the upgrade, what changed, in the
# checker's listing's form: "u;name;old;new", "i;name;;new", "d;name;old;".
installed() { dpkg-query --admindir="$FIXTURE/root/var/lib/dpkg" -W -f '${db:Status-Abbrev};${Package};${Version}\n' | sed -n 's/^ii *;//p' | LC_ALL=C sort; }
changed() { LC_ALL=C join -t';' -a1 -a2 -e '' -o 0,1.2,2.2 "$OUT/before" <(installed) |
    awk -F';' '$2 != $3 { print ($2 == "" ? "i" : $3 == "" ? "d" : "u") ";" $1 ";" $2 ";" $3 }' | LC_ALL=C sort; }
installed >"$OUT/before"
xdotool windowfocus --sync "$W" key Return
check "Ok starts the upgrade" wait_until 30 shown 'Upgrading system'
version() { [ "$(dpkg-query --admindir="$FIXTURE/root/var/lib/dpkg" -W -f '${Version}' "$1")" = "$2" ]; }
check "dpkg has foo 1.1" wait_until 120 version foo 1.1
check "... libfoo 1.1 from the security repository" version libfoo 1.1
check "... and the new dependency bar" version bar 2.0
check "the helper reports the upgrade done" wait_until 60 performed 1
listed() { grep -E '^[uid];' "$OUT/checker.log" | cut -d';' -f1-4 | LC_ALL=C sort -u; }
check "the upgrade changed what the confirmation listed, nothing else" diff <(listed) <(changed)
check "Ok closes the progress dialog" wait_until 60 closed 'Upgrading system'
check "the follow-up check shows the system up to date" \
    wait_until 60 tooltip_is 'Update Notifier: system is up-to-date'
stop_notifier
check "the notifier ends normally" test "$EXIT_STATUS" = 0
finish
