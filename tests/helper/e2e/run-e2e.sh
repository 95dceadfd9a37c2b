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
# COMMAND gets DBUS_SYSTEM_BUS_ADDRESS (the private bus), a dead DBUS_SESSION_BUS_ADDRESS
# and QT_QPA_PLATFORM=offscreen. The bus reads its policy files in the order of the real
# system.conf, and user tarn-e2e-admin is a member of kelmora-admin (both in this namespace
# only). Needs root; exits 77 (skipped) otherwise.
set -euo pipefail
[ "$(id -u)" = 0 ] || { echo "SKIP: needs root (polkitd, helper)"; exit 77; }
[ -x /usr/lib/polkit-1/polkitd ] && command -v dbus-daemon >/dev/null || { echo "SKIP: no polkitd"; exit 77; }
# A private pid namespace: the bus and what it starts (polkitd, the helper) die with this
# script, however it ends, also when CTest kills it on time-out.
if [ -z "${TARN_PIDNS:-}" ]; then
    unshare --pid --fork --mount-proc true 2>/dev/null || { echo "SKIP: no pid namespace"; exit 77; }
    TARN_PIDNS=1 exec unshare --pid --fork --kill-child --mount-proc bash "$0" "$@"
fi

FIXTURE_SCRIPT=""
[ "${1:-}" != --fixture ] || { FIXTURE_SCRIPT=$2 && shift 2; }
HELPER=$1 POLICY=$2 HERE=$(cd "$(dirname "$0")" && pwd)
shift 2

RUNDIR=$(mktemp -d /tmp/tarn-helper-e2e.XXXXXX)
# A file system of this namespace's own: nothing but an empty folder is left when it is killed.
# Mode 755: polkitd runs as its own user and must reach the bus socket.
mount -t tmpfs -o mode=755 tarn-e2e "$RUNDIR"
trap 'umount --lazy "$RUNDIR"; rmdir "$RUNDIR"' EXIT

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
# service NAME ENVIRONMENT... PROGRAM: started by the bus as root, on its first call
service() {
    printf '[D-BUS Service]\nName=%s\nExec=/usr/bin/env %s\nUser=root\n' "$1" "${*:2}" >"$RUNDIR/services/$1.service"
}
service org.nordwave.tarn.upgradehelper TARN_HELPER_ROOT="$TARN_E2E_ROOT" \
    TARN_HELPER_APT_CONFIG="$TARN_E2E_APT_CONFIG" "$HELPER"
service org.freedesktop.PolicyKit1 TARN_E2E_POLKIT_ACTIONS_DIR="$RUNDIR/polkit-actions" "$HERE/polkitd-wrapper.sh"
# The system bus's own default policy (method calls denied unless a file allows them), then, as
# the real system.conf has it, the packages' folder and after it the local one: polkit's,
# libkf5auth's (allows every org.kde.kf5auth call) and the helper's own file as the packages
# install them, then our callers' file from /etc. No <user> (stays root) and no
# <servicehelper>: the Exec lines run directly.
mkdir -m 755 "$RUNDIR/usr-system.d" "$RUNDIR/etc-system.d"
cp /usr/share/dbus-1/system.d/org.freedesktop.PolicyKit1.conf /usr/share/dbus-1/system.d/org.kde.kf5auth.conf \
    "$(dirname "$POLICY")/org.nordwave.tarn.upgradehelper.conf" "$RUNDIR/usr-system.d/"
cp "$HERE/../../../data/org.nordwave.tarn.upgradehelper-callers.conf" "$RUNDIR/etc-system.d/"
cat >"$RUNDIR/system-bus.conf" <<CONF
<busconfig><type>system</type><listen>unix:path=$RUNDIR/system_bus_socket</listen><auth>EXTERNAL</auth>
  <servicedir>$RUNDIR/services</servicedir>
  <policy context="default"><allow user="*"/><deny own="*"/><deny send_type="method_call"/>
    <allow send_type="signal"/><allow send_requested_reply="true" send_type="method_return"/>
    <allow send_requested_reply="true" send_type="error"/><allow receive_type="method_call"/>
    <allow receive_type="method_return"/><allow receive_type="error"/><allow receive_type="signal"/>
    <allow send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus"/>
    <allow send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus.Introspectable"/>
    <allow send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus.Properties"/></policy>
  <includedir>$RUNDIR/usr-system.d</includedir>
  <includedir>$RUNDIR/etc-system.d</includedir>
</busconfig>
CONF

# An administrator: user tarn-e2e-admin in group kelmora-admin, in this mount namespace only.
cp /etc/group "$RUNDIR/group" && cp /etc/passwd "$RUNDIR/passwd"
getent group kelmora-admin >/dev/null || echo "kelmora-admin:x:64123:" >>"$RUNDIR/group"
echo "tarn-e2e-admin:x:64124:64124::/nonexistent:/usr/sbin/nologin" >>"$RUNDIR/passwd"
awk -F: -v OFS=: '$1 == "kelmora-admin" { $4 = ($4 == "" ? "" : $4 ",") "tarn-e2e-admin" } 1' \
    "$RUNDIR/group" >"$RUNDIR/group.new"
chmod 644 "$RUNDIR/group.new" "$RUNDIR/passwd"
mount --bind "$RUNDIR/group.new" /etc/group
mount --bind "$RUNDIR/passwd" /etc/passwd

# KAuth asks the session bus about a parent window; a dead address keeps libdbus from
# auto-launching one.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$RUNDIR/no-session-bus"
export QT_QPA_PLATFORM=offscreen
# With --fork it prints the address once the bus listens.
DBUS_SYSTEM_BUS_ADDRESS=$(dbus-daemon --config-file="$RUNDIR/system-bus.conf" --fork --print-address=1)
export DBUS_SYSTEM_BUS_ADDRESS
"$@"
