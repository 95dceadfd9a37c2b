#!/bin/bash
# The APT hook file data/apt/20tarn-update-notifier-signal, in the offline sandbox of
# tests/support/apt-fixture.sh: after "apt-get update" and after dpkg runs, the notifiers on
# the system bus hear "updated" (interface app.apt.dbus, path /) and check again; without a
# system bus apt works on as before, silently.
source "$(dirname "$0")/../desktop/lib.sh"
require_root # dpkg installs into the sandbox
FX=$(tmpdir)/apt
bash "$(dirname "$0")/../support/apt-fixture.sh" "$FX" || exit 1
cp "$(dirname "$0")/../../data/apt/20tarn-update-notifier-signal" "$FX/root/etc/apt/apt.conf.d/"
export APT_CONFIG=$FX/apt.conf
start_bus DBUS_SESSION_BUS_ADDRESS
start_bus DBUS_SYSTEM_BUS_ADDRESS
dbus-monitor --system >"$FX/monitor.log" 2>&1 &
track $!
# The monitor's own NameLost comes once it listens.
wait_until 10 grep -q member=NameLost "$FX/monitor.log" || { echo "dbus-monitor did not start"; exit 1; }
signals() { [ "$(grep -c 'path=/; interface=app.apt.dbus; member=updated' "$FX/monitor.log")" = "$1" ]; }

check "apt-get update works with the hook" apt-get -q update
check "... and the notifiers hear of it" wait_until 10 signals 1
check "an upgrade works with the hook" apt-get -q -y dist-upgrade
check "... and the notifiers hear of it" wait_until 10 signals 2
quiet_without_bus() {
    local out
    out=$(DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent "$@" 2>&1) || { echo "$out"; return 1; }
    ! grep -E '^(E|W):|dbus' <<<"$out"
}
check "without a system bus: apt-get update works, nothing said" quiet_without_bus apt-get -q update
check "without a system bus: dpkg runs work, nothing said" quiet_without_bus apt-get -q -y --reinstall install foo
finish
