#!/bin/bash
# apt_check as an ordinary user (same answers, writes nothing) and while another
# process holds APT's and dpkg's locks (still answers). Needs root to switch users
# and to run the lock holder.
source "$(dirname "$0")/lib.sh"
[ "$(id -u)" = 0 ] || skip "needs root: runs apt_check as nobody and holds the dpkg lock"
command -v runuser >/dev/null || skip "runuser is missing"

FX=$(fixture base)
# the build tree may not be reachable for nobody
cp "$CHECK" "$WORK/apt_check"
chmod 755 "$WORK/apt_check"
as_nobody() { runuser -u nobody -- env APT_CONFIG="$1/apt.conf" "$WORK/apt_check" "${@:2}"; }
# snapshot DIR: every file with its size, modification time and inode
snapshot() { find "$1" -printf '%p %s %T@ %i %m\n' | sort; }

# --- as nobody ---------------------------------------------------------------------------
V=$(variant "$FX" nonroot)
# a dpkg status newer than pkgcache.bin makes libapt-pkg rebuild the cache: in memory only
touch "$V/root/var/lib/dpkg/status"
before=$(snapshot "$V")
for mode in "" -p -s; do
    expect_eq "as nobody ($mode): same answer as root" "$(run "$FX" $mode)" "$(as_nobody "$V" $mode 2>"$WORK/err")"
    expect_eq "as nobody ($mode): nothing on standard error" "" "$(cat "$WORK/err")"
done
expect_eq "as nobody: nothing written, created or removed in the sandbox" "$before" "$(snapshot "$V")"

# as root with a current cache nothing is written either, not even a configured solver log
V=$(variant "$FX" rootquiet)
run "$V" >/dev/null # brings the copied cache up to date for the new paths
echo 'Dir::Log::Solver "solver.log";' >>"$V/apt.conf"
before=$(snapshot "$V")
for mode in "" -p -s; do
    run "$V" $mode >/dev/null
done
expect_eq "as root: nothing written in the sandbox" "$before" "$(snapshot "$V")"

# --- another process holds the locks -------------------------------------------------------
V=$(variant "$FX" locked)
# a real apt-get waiting at its confirmation prompt holds dpkg's frontend lock and lock
# and the archives lock
mkfifo "$WORK/answer"
exec 9<>"$WORK/answer" # read and write: opening it waits for nobody
tied env APT_CONFIG="$V/apt.conf" apt-get dist-upgrade <&9 >"$WORK/holder.log" 2>&1
HOLDER=$!
on_exit "kill $HOLDER 2>/dev/null; exec 9>&-"
for _ in $(seq 300); do
    grep -q "Do you want to continue" "$WORK/holder.log" && break
    sleep 0.1
done
# and the lists lock, as a running "apt-get update" holds it
tied /usr/bin/python3 -c '
import fcntl, sys, time
lock = open(sys.argv[1], "a")
fcntl.lockf(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
print("locked", flush=True)
time.sleep(300)' "$V/root/var/lib/apt/lists/lock" >"$WORK/locker.log"
LOCKER=$!
on_exit "kill $LOCKER 2>/dev/null"
for _ in $(seq 300); do
    grep -q locked "$WORK/locker.log" && break
    sleep 0.1
done
expect_match "lock holder waits at its prompt, in the sandbox" "^4 upgraded, 2 newly installed" "$(cat "$WORK/holder.log")"
expect_match "lock held: another apt-get is refused" "Could not get lock .*lock-frontend.*apt-get" \
    "$(APT_CONFIG="$V/apt.conf" apt-get -o DPkg::Lock::Timeout=0 --assume-no dist-upgrade 2>&1)"
expect_match "lock held: apt-get update is refused" "Could not get lock .*lists/lock" \
    "$(APT_CONFIG="$V/apt.conf" apt-get update 2>&1)"
for mode in "" -p -s; do
    expect_eq "lock held ($mode): the checker answers" "0|$(run "$FX" $mode)" \
        "$(out=$(timeout 60 env APT_CONFIG="$V/apt.conf" "$CHECK" $mode); echo "$?|$out")"
done
expect_eq "lock held: the checker answers as nobody too" "$(run "$FX")" "$(as_nobody "$V")"
echo n >&9
exec 9>&-
wait "$HOLDER"
expect_eq "lock holder ends without changing anything" "4;2;2" "$(run "$V")"

finish
