#!/bin/bash
# End-to-end harness for the upgrade helper: a private "system" bus, the real polkitd with our
# policy, and the helper activated from the build tree.
#
# usage: run-e2e.sh [--fixture FIXTURE_SCRIPT] HELPER POLICY COMMAND [ARGS...]
#
# The helper writes below $TARN_E2E_ROOT (its TARN_HELPER_ROOT) and runs APT with
# $TARN_E2E_APT_CONFIG (its TARN_HELPER_APT_CONFIG); both reach it only through the
# environment its D-Bus service file gives it. With --fixture that configuration is an
# offline APT sandbox with upgradable packages ($TARN_E2E_FIXTURE); without, a
# configuration that keeps APT to its built-in defaults (no host configuration read).
# Needs root; exits 77 (skipped) otherwise.
set -euo pipefail

FIXTURE_SCRIPT=""
if [ "${1:-}" = --fixture ]; then
    FIXTURE_SCRIPT=$2
    shift 2
fi
HELPER=$1
POLICY=$2
shift 2
HELPER_ID=org.nordwave.tarn.upgradehelper
HERE=$(cd "$(dirname "$0")" && pwd)

[ "$(id -u)" = 0 ] || { echo "SKIP: needs root (polkitd, helper)"; exit 77; }
command -v dbus-daemon >/dev/null && [ -x /usr/lib/polkit-1/polkitd ] ||
    { echo "SKIP: dbus-daemon or polkitd missing"; exit 77; }
unshare --mount true 2>/dev/null || { echo "SKIP: cannot create a mount namespace"; exit 77; }
[ -x "$HELPER" ] && [ -f "$POLICY" ] || { echo "helper or policy not built: $HELPER $POLICY"; exit 1; }

RUNDIR=$(mktemp -d /tmp/tarn-helper-e2e.XXXXXX)
chmod 755 "$RUNDIR" # polkitd runs as its own user and must reach the bus socket

bus_pid=""
pid_of() {
    dbus-send --system --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.GetConnectionUnixProcessID "string:$1" 2>/dev/null | awk '{print $2}'
}
cleanup() {
    local pids="" p alive
    if [ -n "$bus_pid" ]; then
        for name in $HELPER_ID org.freedesktop.PolicyKit1; do
            p=$(pid_of $name || true)
            [ -n "$p" ] && pids="$pids $p"
        done
        [ -n "$pids" ] && kill $pids 2>/dev/null || true
        kill "$bus_pid" 2>/dev/null || true
        wait "$bus_pid" 2>/dev/null || true
        # Activated services are not our children: poll until they are gone.
        for _ in $(seq 60); do
            alive=0
            for p in $pids; do
                [ -d /proc/$p ] && ! grep -q '^State:.*Z' /proc/$p/status 2>/dev/null && alive=1
            done
            [ $alive = 0 ] && break
            sleep 0.05
        done
    fi
    rm -rf "$RUNDIR"
}
trap cleanup EXIT

export TARN_E2E_ROOT=$RUNDIR/root
mkdir -p "$TARN_E2E_ROOT/etc/apt/apt.conf.d" "$TARN_E2E_ROOT/etc/apt/sources.list.d"
chmod -R 755 "$TARN_E2E_ROOT"
if [ -n "$FIXTURE_SCRIPT" ]; then
    export TARN_E2E_FIXTURE=$RUNDIR/fixture
    bash "$FIXTURE_SCRIPT" "$TARN_E2E_FIXTURE"
    export TARN_E2E_APT_CONFIG=$TARN_E2E_FIXTURE/apt.conf
else
    # APT reads this first; moving the parts directory keeps the host's apt.conf.d out.
    mkdir -m 755 "$RUNDIR/apt.conf.d"
    export TARN_E2E_APT_CONFIG=$RUNDIR/apt.conf
    printf 'Dir::Etc::main "/dev/null";\nDir::Etc::parts "%s/apt.conf.d";\n' "$RUNDIR" >"$TARN_E2E_APT_CONFIG"
    chmod 644 "$TARN_E2E_APT_CONFIG"
fi

mkdir -m 755 "$RUNDIR/polkit-actions" "$RUNDIR/services"
install -m 644 "$POLICY" "$RUNDIR/polkit-actions/"
cat >"$RUNDIR/services/$HELPER_ID.service" <<SERVICE
[D-BUS Service]
Name=$HELPER_ID
Exec=/usr/bin/env TARN_HELPER_ROOT=$TARN_E2E_ROOT TARN_HELPER_APT_CONFIG=$TARN_E2E_APT_CONFIG $HELPER
User=root
SERVICE
cat >"$RUNDIR/services/org.freedesktop.PolicyKit1.service" <<SERVICE
[D-BUS Service]
Name=org.freedesktop.PolicyKit1
Exec=/usr/bin/env TARN_E2E_POLKIT_ACTIONS_DIR=$RUNDIR/polkit-actions $HERE/polkitd-wrapper.sh
User=root
SERVICE
# Permissive policy; no <user> (stays root) and no <servicehelper>: services are started
# directly with the Exec lines above.
cat >"$RUNDIR/system-bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$RUNDIR/system_bus_socket</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$RUNDIR/services</servicedir>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow receive_sender="*"/>
    <allow eavesdrop="true"/>
  </policy>
</busconfig>
CONF

export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$RUNDIR/system_bus_socket"
# KAuth asks the session bus about a parent window; a dead address keeps libdbus from
# auto-launching one that would outlive the test.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$RUNDIR/no-session-bus"
export QT_QPA_PLATFORM=offscreen
dbus-daemon --config-file="$RUNDIR/system-bus.conf" --nofork --nopidfile &
bus_pid=$!
for _ in $(seq 100); do
    [ -S "$RUNDIR/system_bus_socket" ] && break
    sleep 0.02
done
[ -S "$RUNDIR/system_bus_socket" ] || { echo "dbus-daemon did not start"; exit 1; }

"$@"
