#!/bin/bash
# The real notifier's update checks against a scripted /usr/bin/apt_check: what each
# answer shows in the tray and its balloons, and when a check runs at all.
source "$(dirname "$0")/../desktop/lib.sh"
require_root
start_desktop
# APT's lists and dpkg's status (the sandbox's) tell whether anything changed when there is
# no cache file. The buses live in the test's folder: a /run of its own is safe.
mkdir "$SANDBOX/run"; SANDBOX_MOUNTS+=(--bind "$SANDBOX/run=/run")
user_settings hideTray=false messageTimeout=200 # short balloons: the item's tooltip shows them meanwhile
# Bounded memory: a notifier that hoards a child's output fails here instead of taking the machine.
if ldd "$NOTIFIER" | grep -q libasan; then export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}hard_rss_limit_mb=1024
else AS=(prlimit --as=$((1 << 30)) --); fi
TARN_CHECKER_TIMEOUT_MS=5000 start_notifier "$OUT/notifier.log" # not silent: balloons from the start
AS=()
SVC=$(fakedesk wait-item)
check "the icon registers" test -n "$SVC"
ran() { [ "$(checker_runs)" -ge "$1" ]; }
check "the first check runs at start" wait_until 30 ran 1

balloon_is() { [ "$(logged Notify)" -gt "$NOTES" ] && [ "$(last_logged Notify body)" = "$1" ]; }
while IFS=$'\t' read -r output errors tooltip balloon keptBack listing; do
    [[ $output == \#* ]] && continue
    printf '%b' "${output/#-/}" >"$CTL/output"
    printf '%b' "${errors/#-/}" >"$CTL/stderr"
    printf '%b' "$keptBack" >"$CTL/output-k"
    printf '%b' "$listing" >"$CTL/output-p"
    runs=$(checker_runs) NOTES=$(logged Notify)
    bump "$SANDBOX/cache/pkgcache.bin"
    # A notifier still busy with the check before ignores the signal: send it until one runs.
    check "'$output' '$errors': the checker runs" wait_until 30 eval 'updated; ran $((runs + 1))'
    check "... the tooltip: $tooltip" wait_until 10 tooltip_is "$tooltip"
    [[ $tooltip == *upgrade ]] && kind=updates || kind=none
    echo "$kind $(fakedesk icon "$SVC")" >>"$OUT/icons"
    case $balloon in
    -) ;;
    none) test "$(logged Notify)" = "$NOTES" || check "... no balloon" false ;;
    *) check "... the balloon: $balloon" wait_until 10 balloon_is "$(printf '%b' "$balloon")" ;;
    esac
done <"$DESKTOP_DIR/../fixtures/core/checks.tsv"
distinct() { sort -u "$OUT/icons" | cut -d' ' -f"$1" | sort -u | wc -l; }
check "one icon when there are updates, another when not" test "$(distinct 1-):$(distinct 2-)" = 2:2

# ran_once_more_only ACTION: signals with nothing changed run no check; then ACTION
# changes a file and one more signal runs exactly one (signals are handled in order).
upgrades() { echo "Update Notifier:<br><b>$1</b> packages will be upgraded<br>Click to run system upgrade"; }
N=20
ran_once_more_only() {
    local runs; runs=$(checker_runs)
    N=$((N + 1)); echo "$N;0;0" >"$CTL/output"
    updated; updated
    "$@"; updated
    wait_until 30 tooltip_is "$(upgrades $N)" && [ "$(checker_runs)" -eq $((runs + 1)) ]
}
# What is held back and the security updates are asked after the count; failing, they lose it nothing.
touch "$CTL/hang-k"; echo 100 >"$CTL/status-p"; echo "7;0;0" >"$CTL/output"; bump "$DPKG/status"
check "-k hanging, -p failing: the counts without them" wait_until 30 eval 'updated; tooltip_is "$(upgrades 7)"'
rm "$CTL/hang-k" "$CTL/status-p" "$CTL/output-k" "$CTL/output-p"
check "unchanged cache: no check; a changed cache: one" ran_once_more_only bump "$SANDBOX/cache/pkgcache.bin"
# An old cache file that APT no longer uses (its cache switched off) is no reason to keep yesterday's answer.
check "beside a stale cache file, dpkg's status decides" ran_once_more_only bump "$DPKG/status"
check "... and so do APT's lists" ran_once_more_only bump "$SANDBOX/lists"
check "a cache file gone counts as a change" ran_once_more_only rm "$SANDBOX/cache/pkgcache.bin"
check "without the cache file, dpkg's status decides" ran_once_more_only bump "$DPKG/status"

# An upgrade that asks for a restart: the tooltip names the packages, one balloon tells it.
restart='A restart is needed to finish the upgrade of: linux-image, libc6'
NOTES=$(logged Notify) # before the flag: any signal from now on may tell it
printf 'linux-image\nlibc6\nlinux-image\n' >"$SANDBOX/run/reboot-required.pkgs"; touch "$SANDBOX/run/reboot-required"
echo "0;0;0" >"$CTL/output"; bump "$DPKG/status"; updated
check "a restart needed: the tooltip tells it" wait_until 30 tooltip_is "Update Notifier: system is up-to-date<br>$restart"
check "... so does a balloon" balloon_is "$restart"
NOTES=$(logged Notify); bump "$DPKG/status"; updated; rm "$SANDBOX/run/reboot-required"; updated
check "... once; it goes with the file" wait_until 30 tooltip_is "Update Notifier: system is up-to-date"
test "$(logged Notify)" = "$NOTES" || check "... no second balloon" false

failed() { tooltip_is "Update Notifier: unable to check for updates<br>$1"; }
touch "$CTL/flood"; bump "$DPKG/status"; updated
check "a checker that prints without end is ended, the tray tells why" wait_until 30 failed '/usr/bin/apt_check printed more than expected'
rm "$CTL/flood"
touch "$CTL/hang"; bump "$DPKG/status"; updated
check "a hanging checker is ended, the tray tells why" wait_until 30 failed '/usr/bin/apt_check gave no answer within 5 seconds'
check "... and so is what it started" wait_until 10 eval '! pgrep -f "sleep 3600" >/dev/null'
rm "$CTL/hang"
check "... and the next signal checks again, though nothing changed" ran_once_more_only true

# While the package lists are updated (the helper is missing: the dialog waits with its
# failure), APT's signal starts no check.
fakedesk menu-click "$SVC" "Check for Updates" 2>/dev/null & # answered once the dialog closes
check "a manual check opens the list update" wait_until 30 eval '[ -n "$(window_of "Updating package list")" ]'
runs=$(checker_runs); bump "$DPKG/status"; updated
xdotool windowfocus --sync "$(window_of 'Updating package list')" key Escape
check "... APT's signal meanwhile starts no check" wait_until 30 eval '[ -z "$(window_of "Updating package list")" ]'
check "... the next one does" ran_once_more_only true
test "$(checker_runs)" = $((runs + 1)) || check "... only that one" false

# dpkg interrupted (an entry in its journal): the tray says so and offers the repair (its entry,
# the icon), in the upgrade window (with the helper missing it waits with its failure); after it, a check.
entry() { fakedesk menu-entry "$SVC" "Repair Package System"; }
echo "0;0;0" >"$CTL/output"; touch "$DPKG/updates/0001"
check "dpkg interrupted: the tooltip tells it" wait_until 30 eval 'updated; tooltip_is "Update Notifier: dpkg was interrupted, the package system needs a repair"'
check "... the menu offers the repair" test "$(entry)" = enabled
repairing() { [ -n "$(window_of "Repairing the package system")" ]; }
fakedesk menu-click "$SVC" "Repair Package System" 2>/dev/null &
check "... which runs in its window" wait_until 30 repairing
runs=$(checker_runs); xdotool windowfocus --sync "$(window_of 'Repairing the package system')" key Escape
check "... and checks again when it closes" wait_until 30 ran $((runs + 1))
# The notifier ignores clicks while that check runs: click until one counts.
check "... a click on the icon runs it too, with nothing to upgrade" \
    wait_until 30 eval '{ fakedesk activate "$SVC" & } 2>/dev/null; wait_until 3 repairing'
xdotool windowfocus --sync "$(window_of 'Repairing the package system')" key Escape
wait_until 30 eval '! repairing'
rm "$DPKG/updates/0001"
check "dpkg whole again: the state goes" wait_until 30 eval 'updated; tooltip_is "Update Notifier: system is up-to-date"'
check "... and the entry is greyed out" test "$(entry)" = disabled

# Another program takes dpkg's lock: the tooltip names it (command and pid) while it holds it,
# with no check in between.
printf 'import fcntl, sys, time\nf = open(sys.argv[1], "a")\nfcntl.lockf(f, fcntl.LOCK_EX)\ntime.sleep(600)\n' >"$SANDBOX/holder.py"
$PY "$SANDBOX/holder.py" "$DPKG/lock-frontend" & HOLDER=$!; track $HOLDER; runs=$(checker_runs)
named() { [[ "$(item_tooltip)" == "Update Notifier: system is up-to-date<br>The package system is in use by $PY "*" (process $HOLDER)" ]]; }
check "a lock taken: the tooltip names its holder" wait_until 30 named
kill $HOLDER; wait $HOLDER
check "... until it lets go" wait_until 30 tooltip_is "Update Notifier: system is up-to-date"
check "... without a check" test "$(checker_runs)" = "$runs"
stop_notifier
check "SIGTERM ends the notifier with status 0" test "$EXIT_STATUS" = 0

# Icon hiding on: the icon comes with updates, goes after its delay once up to date, and a
# failed check brings it back.
user_settings hideTray=true hideTrayDelay=3000
echo "2;0;0" >"$CTL/output"; ITEMS=$(logged RegisterStatusNotifierItem)
start_notifier "$OUT/hiding.log" --silent
wait_until 30 eval '[ "$(logged RegisterStatusNotifierItem)" -gt "$ITEMS" ]'
SVC=$(last_logged RegisterStatusNotifierItem service)
check "icon hiding on: updates show the icon" wait_until 30 tooltip_is "$(upgrades 2)"
owned() { dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner "string:$SVC" | grep -q true; }
echo "0;0;0" >"$CTL/output"; bump "$DPKG/status"; updated
check "... up to date, it goes after its delay" wait_until 30 eval '! owned'
echo "a;b;c" >"$CTL/output"; bump "$DPKG/status"; updated
check "... a failed check brings it back" wait_until 30 owned
echo "0;0;0" >"$CTL/output"; bump "$DPKG/status"; updated; wait_until 30 eval '! owned'
touch "$DPKG/updates/0001"; updated
check "... so does an interrupted dpkg" wait_until 30 owned
rm "$DPKG/updates/0001"
stop_notifier
user_settings hideTray=false messageTimeout=200

# A German desktop: the tray and the dialogs speak German (a plain start opens the settings).
echo "0;0;0" >"$CTL/output"; ITEMS=$(logged RegisterStatusNotifierItem)
LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 start_notifier "$OUT/german.log"
wait_until 30 eval '[ "$(logged RegisterStatusNotifierItem)" -gt "$ITEMS" ]'
SVC=$(last_logged RegisterStatusNotifierItem service)
check "a German desktop: a German tooltip" wait_until 30 tooltip_is "Aktualisierungsmelder: System ist aktuell"
echo "3;0;0" >"$CTL/output"; bump "$DPKG/status"
check "... German counts" wait_until 30 eval 'updated; tooltip_is "Aktualisierungsmelder:<br><b>3</b> Pakete werden aktualisiert<br>Klicken, um das System zu aktualisieren"'
# The title's dash is not ASCII, which xdotool's patterns do not match.
check "... and German settings" wait_until 30 eval '[ -n "$(window_of "Aktualisierungsmelder .+ Einstellungen")" ]'
stop_notifier

# The real checker on a corrupt dpkg status: APT's first error, in a balloon, no box.
FIX=$(tmpdir)
bash "$DESKTOP_DIR/../support/apt-fixture.sh" "$FIX/apt" >"$OUT/fixture.log" 2>&1 || check "the APT sandbox builds" false
printf 'Package: broken\nVersion: 1.0\nStatus: install ok installed\nDepends: (((\n' >>"$FIX/apt/root/var/lib/dpkg/status"
cp "${TARN_BUILD_DIR:-$DESKTOP_DIR/../../build}/checker/apt_check" "$SANDBOX/bin/apt_check"
NOTES=$(logged Notify) ITEMS=$(logged RegisterStatusNotifierItem)
APT_CONFIG=$FIX/apt/apt.conf start_notifier "$OUT/broken.log"
wait_until 30 eval '[ "$(logged RegisterStatusNotifierItem)" -gt "$ITEMS" ]'
SVC=$(last_logged RegisterStatusNotifierItem service)
aptError='Problem parsing dependency 20 of broken:none=1.0'
check "a broken APT: the tray tells APT's first error" wait_until 30 failed "$aptError"
check "... so does one balloon" balloon_is "Error while checking apt cache: $aptError"
check "... and no box opens" test -z "$(window_of 'Update Notifier')"
stop_notifier
finish
