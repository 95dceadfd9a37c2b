#!/bin/bash
# The whole upgrade road, end to end: the real notifier, the real apt_check and the
# real helper through KAuth and polkitd on a private system bus, on an offline APT
# repository. Runs inside tests/helper/e2e/run-e2e.sh --fixture, which provides the
# system bus ($DBUS_SYSTEM_BUS_ADDRESS), the helper and the fixture ($TARN_E2E_FIXTURE).
source "$(dirname "$0")/../desktop/lib.sh"
require_root
OUT=${TEST_OUT:-$(tmpdir)}; mkdir -p "$OUT"
CHECKER=${TARN_BUILD_DIR:-$DESKTOP_DIR/../../build}/checker/apt_check
FIXTURE=${TARN_E2E_FIXTURE:?run me through run-e2e.sh --fixture}
unset QT_QPA_PLATFORM

# Phased updates are judged by the system APT runs on; the helper runs outside this
# test's mount namespace. Let both leave them alone.
echo 'APT::Get::Never-Include-Phased-Updates "true";' >>"$FIXTURE/apt.conf"
export APT_CONFIG=$FIXTURE/apt.conf

start_xvfb
start_session_bus
FD=$OUT/fakedesk.jsonl
start_fakedesk "$FD"
setup_sandbox
cp "$CHECKER" "$SANDBOX/bin/apt_check.real"
cat >"$SANDBOX/bin/apt_check" <<SCRIPT
#!/bin/sh
echo "\$*" >>"$CTL/args"
exec /usr/bin/apt_check.real "\$@"
SCRIPT
chmod 755 "$SANDBOX/bin/apt_check"
# The notifier watches the fixture's package cache.
SANDBOX_MOUNTS=(--overlay "/usr/bin=$SANDBOX/bin" --overlay "/etc=$SANDBOX/etc"
    --bind "$FIXTURE/root/var/cache/apt=/var/cache/apt")
user_settings hideTray=false messageTimeout=200

dbus-monitor --system "type='signal',interface='org.kde.kf5auth',member='remoteSignal'" >"$OUT/kauth.log" 2>&1 &
track $!

start_notifier "$OUT/notifier.log" --silent
SVC=$(fakedesk wait-item 30)
check "the icon registers" test -n "$SVC"
tooltip() { item_tooltip "$SVC"; }
for _ in $(seq 1500); do [[ "$(tooltip)" == *"will be upgraded"* ]] && break; sleep 0.02; done
check "the fixture's updates are shown" bash -c "[[ '$(tooltip)' == *'<b>4</b> packages will be upgraded'* ]]"

window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
wait_window() {
    for _ in $(seq 1500); do W=$(window "$1"); [ -n "$W" ] && return 0; sleep 0.02; done
    return 1
}

# A click on the icon asks first.
# The item answers Activate only after the dialogs it opens have closed: don't wait.
fakedesk activate "$SVC" 10 10 2>/dev/null &
check "a click on the icon opens the confirmation" wait_window 'Update Notifier'
CONFIRM=$W
# Show the package list: the "List of packages" button sits left, under the question.
import -window root "$OUT/confirmation-folded.png"
xdotool mousemove --window "$CONFIRM" 60 46 click 1
for _ in $(seq 1500); do grep -qx -- '-s' "$CTL/args" 2>/dev/null && break; sleep 0.02; done
check "the confirmation lists the packages (apt_check -p)" grep -qx -- '-p' "$CTL/args"
check "... and the sizes (apt_check -s)" grep -qx -- '-s' "$CTL/args"
import -window root "$OUT/confirmation.png"

xdotool windowfocus --sync "$CONFIRM" key Return
check "Ok starts the upgrade" wait_window 'Upgrading system'
PROGRESS=$W
# The helper's end: KAuth's "action performed" signal.
performed() { grep -qE '^ *int32 1$' "$OUT/kauth.log"; }
for _ in $(seq 3000); do performed && break; sleep 0.05; done
check "the helper finished the upgrade" performed
version() { dpkg-query --admindir="$FIXTURE/root/var/lib/dpkg" -W -f '${Version}' "$1" 2>/dev/null; }
check "the sandbox's dpkg status holds foo 1.1" test "$(version foo)" = 1.1
check "... and libfoo 1.1 from the security repository" test "$(version libfoo)" = 1.1
check "... and the new dependency bar" test "$(version bar)" = 2.0
import -window root "$OUT/progress.png"

# Ok sits in the bottom right corner once the helper has finished.
eval "$(xdotool getwindowgeometry --shell "$PROGRESS")"
for _ in $(seq 1000); do
    xdotool mousemove --window "$PROGRESS" $((WIDTH - 40)) $((HEIGHT - 22)) click 1 2>/dev/null
    [ -z "$(window 'Upgrading system')" ] && break
    sleep 0.05
done
check "Ok closes the progress dialog" test -z "$(window 'Upgrading system')"
for _ in $(seq 1500); do [ "$(tooltip)" = 'Update Notifier: system is up-to-date' ] && break; sleep 0.02; done
check "the follow-up check shows the system up to date" test "$(tooltip)" = 'Update Notifier: system is up-to-date'

kill -TERM "$NOTIFIER_PID"
wait_exit "$NOTIFIER_PID" 30
check "the notifier ends normally" test "$EXIT_STATUS" = 0
finish
