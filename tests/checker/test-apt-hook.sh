#!/bin/bash
# The APT hook file: after "apt-get update" and after dpkg runs it emits the system-bus
# signal "updated" (interface app.apt.dbus, path /), and it never fails or slows apt
# when there is no bus. Uses a private bus in place of the system bus.
source "$(dirname "$0")/lib.sh"
HOOK=$SOURCE_DIR/data/apt/20tarn-update-notifier-signal
[ -f "$HOOK" ] || { echo "no hook file at $HOOK"; exit 1; }
for tool in dbus-daemon dbus-monitor dbus-send; do
    command -v "$tool" >/dev/null || skip "$tool is missing"
done

FX=$(fixture base)
cp "$HOOK" "$FX/root/etc/apt/apt.conf.d/"

# the hook commands exactly as APT reads them
hook_command() {
    APT_CONFIG="$FX/apt.conf" apt-config dump --no-empty --format '%v%n' "$1" | sed -n 1p
}
UPDATE_HOOK=$(hook_command APT::Update::Post-Invoke)
DPKG_HOOK=$(hook_command DPkg::Post-Invoke)
expect_match "APT reads an update hook" "dbus-send" "$UPDATE_HOOK"
expect_match "APT reads a dpkg hook" "dbus-send" "$DPKG_HOOK"

# --- a private bus standing in for the system bus -------------------------------------
mkdir -p "$WORK/bus"
cat >"$WORK/bus/system.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$WORK/bus/socket</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_type="signal"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
EOF
tied dbus-daemon --config-file="$WORK/bus/system.conf" --nofork --nosyslog --print-address=3 \
    3>"$WORK/bus/address" 2>"$WORK/bus/daemon.log"
on_exit "kill $! 2>/dev/null"
for _ in $(seq 100); do
    [ -s "$WORK/bus/address" ] && break
    sleep 0.05
done
BUS=$(head -n1 "$WORK/bus/address")
[ -n "$BUS" ] || { cat "$WORK/bus/daemon.log"; echo "FAIL private bus did not start"; exit 1; }

MONITOR_LOG=$WORK/bus/monitor.log
tied dbus-monitor --address "$BUS" >"$MONITOR_LOG" 2>&1
on_exit "kill $! 2>/dev/null"
# the monitor's own NameLost comes last, once it listens
for _ in $(seq 100); do
    grep -q "member=NameLost" "$MONITOR_LOG" && break
    sleep 0.05
done
SIGNAL='path=/; interface=app.apt.dbus; member=updated'
signals() { grep -c "$SIGNAL" "$MONITOR_LOG"; }
# wait_for_signals COUNT: until the monitor has seen COUNT signals (at most 10 s)
wait_for_signals() {
    for _ in $(seq 200); do
        [ "$(signals)" -ge "$1" ] && return
        sleep 0.05
    done
}

# --- the hook commands on their own ---------------------------------------------------------
for hook in UPDATE_HOOK DPKG_HOOK; do
    expected=$(($(signals) + 1))
    out=$(DBUS_SYSTEM_BUS_ADDRESS=$BUS sh -c "${!hook}" 2>&1)
    expect_eq "$hook with a bus: exit 0, silent" "0|" "$?|$out"
    wait_for_signals "$expected"
    expect_eq "$hook with a bus: one signal \"updated\" on /" "$expected" "$(signals)"
done

# without a bus: no error, no output, and no waiting (the bound is generous)
for address in "unix:path=$WORK/bus/none" "garbage"; do
    for hook in UPDATE_HOOK DPKG_HOOK; do
        out=$(DBUS_SYSTEM_BUS_ADDRESS=$address timeout 4 sh -c "${!hook}" 2>&1)
        expect_eq "$hook, no bus at '$address': exit 0 at once, silent" "0|" "$?|$out"
    done
done
# a bus that accepts the connection and then never answers: the hook gives up by itself
tied /usr/bin/python3 -c '
import os, socket, sys, time
server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
server.bind(sys.argv[1])
server.listen(8)
print("listening", flush=True)
time.sleep(120)' "$WORK/bus/silent" >"$WORK/bus/silent.log"
on_exit "kill $! 2>/dev/null"
for _ in $(seq 100); do
    grep -q listening "$WORK/bus/silent.log" && break
    sleep 0.05
done
out=$(DBUS_SYSTEM_BUS_ADDRESS="unix:path=$WORK/bus/silent" timeout 20 sh -c "$UPDATE_HOOK" 2>&1)
expect_eq "a bus that never answers: the hook still ends, exit 0, silent" "0|" "$?|$out"

if [ "$(id -u)" = 0 ] && command -v unshare >/dev/null; then
    # dbus-send not installed: hide it behind an empty, non-executable file
    : >"$WORK/no-dbus-send"
    out=$(DBUS_SYSTEM_BUS_ADDRESS=$BUS unshare -m --propagation private sh -c \
        'mount --bind "$0" /usr/bin/dbus-send && exec sh -c "$1"' "$WORK/no-dbus-send" "$UPDATE_HOOK" 2>&1)
    expect_eq "without dbus-send: exit 0, silent" "0|" "$?|$out"
fi

# --- through APT itself in the sandbox -------------------------------------------------------
expected=$(($(signals) + 1))
DBUS_SYSTEM_BUS_ADDRESS=$BUS APT_CONFIG="$FX/apt.conf" apt-get -q update >"$WORK/update.log" 2>&1
expect_eq "apt-get update with the hook: succeeds" "0" "$?"
wait_for_signals "$expected"
expect_eq "apt-get update: signal sent" "$expected" "$(signals)"

DBUS_SYSTEM_BUS_ADDRESS="unix:path=$WORK/bus/none" APT_CONFIG="$FX/apt.conf" apt-get -q update \
    >"$WORK/update.log" 2>&1
expect_eq "apt-get update, no bus: still succeeds" "0" "$?"
expect_eq "apt-get update, no bus: no error or warning" "" "$(grep -E '^(E|W):' "$WORK/update.log")"

if [ "$(id -u)" = 0 ]; then
    expected=$(($(signals) + 1))
    DBUS_SYSTEM_BUS_ADDRESS=$BUS APT_CONFIG="$FX/apt.conf" apt-get -y dist-upgrade >"$WORK/upgrade.log" 2>&1
    expect_eq "apt-get dist-upgrade with the hook: succeeds" "0" "$?"
    wait_for_signals "$expected"
    expect_eq "dpkg run: signal sent" "$expected" "$(signals)"
    expect_eq "dpkg run: the sandbox is upgraded" "0;0;0" "$(run "$FX")"
else
    echo "skip: running dpkg in the sandbox needs root"
fi

finish
