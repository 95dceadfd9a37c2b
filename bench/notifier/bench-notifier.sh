#!/bin/bash
# bench-notifier.sh [NOTIFIER] [SMALLEST_TRAY] - the notifier's own cost beside the smallest
# Qt 5 tray program's, run in turns in the headless test desktop (Xvfb, private buses, the
# fake StatusNotifierWatcher) with the scripted checker, so that APT's cost is left out.
# Needs root (the desktop's private namespaces). Medians of RUNS runs (default 5):
#   start-up (exec to the item registered with the watcher), RSS and PSS once settled and
#   after CHECKS checks (default 100), CPU of one check with nothing changed and of one
#   that runs the checker, settings shown after a click (to the X server mapping the
#   window, as xev sees it) against one "apt-config dump";
#   in the same turns, as a reference and no target, the start-up and settled RSS and PSS
#   of the smallest program showing a theme icon (smallest_tray --theme-icon);
# then the notifier and the smallest program idle side by side for IDLE_SECONDS (default
# 300) with the default settings: CPU time and wake-ups (voluntary context switches) per
# minute. Last, the targets, all against the smallest program.
set -u
HERE=$(dirname "$(realpath "$0")")
NOTIFIER_BIN=$(realpath "${1:-$HERE/../../build/app/tarn-update-notifier}")
SMALLEST_BIN=$(realpath "${2:-$HERE/../../build/bench/notifier/smallest_tray}")
RUNS=${RUNS:-5} IDLE_SECONDS=${IDLE_SECONDS:-300} CHECKS=${CHECKS:-100}
SETTLE_SECONDS=8 # past the first check (2 s) and the hiding of an up-to-date icon (5 s)
for program in "$NOTIFIER_BIN" "$SMALLEST_BIN"; do
    [ -x "$program" ] || { echo "no program at $program" >&2; exit 1; }
done
source "$HERE/../../tests/desktop/lib.sh"
require_root
# As in a real session, where logind gives XDG_RUNTIME_DIR a tmpfs: the single-instance
# lock is flushed there for free, not on this machine's disk.
mount -t tmpfs -o mode=0700,size=4m tmpfs "$XDG_RUNTIME_DIR" || exit 1
trap 'umount "$XDG_RUNTIME_DIR"; _cleanup' EXIT
start_desktop || { echo "the headless desktop did not start" >&2; exit 1; }
WORK=$(tmpdir)
# Copies: the notifier restarts when its program file changes, as a build meanwhile would do.
# Its windows' module goes along: the program loads the one beside it.
MODULE=$(dirname "$NOTIFIER_BIN")/tarn-update-notifier-windows.so
[ -f "$MODULE" ] || { echo "no windows' module beside the notifier: $MODULE" >&2; exit 1; }
cp "$NOTIFIER_BIN" "$WORK/tarn-update-notifier" && cp "$MODULE" "$WORK/" && cp "$SMALLEST_BIN" "$WORK/smallest_tray" || exit 1
NOTIFIER_BIN=$WORK/tarn-update-notifier SMALLEST_BIN=$WORK/smallest_tray
# Every program is started through this, which notes the time of its exec.
AS=(bash -c 'echo "$EPOCHREALTIME" >"$0"; exec "$@"' "$WORK/exec-time")

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# cpu_ns PID: CPU time of all its threads, in ns. wakeups PID: their voluntary context switches.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { print s + 0 }'; }
wakeups() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ { s += $2 } END { print s + 0 }'; }
# memory PID NAME: appends "RSS PSS" (KiB) to $WORK/NAME.
memory() { awk '/^Rss:/ { r = $2 } /^Pss:/ { p = $2 } END { print r, p }' /proc/"$1"/smaps_rollup >>"$WORK/$2"; }
note() { echo "$2" >>"$WORK/$1"; }
column_median() { awk -v c="$2" '{ print $c }' "$WORK/$1" | median; }

# start NAME PROGRAM [ARGS...]: starts it (PID), waits for its icon and notes the start-up
# time in ms.
registered() { [ "$(logged RegisterStatusNotifierItem)" -gt "$1" ]; }
start() {
    local before; before=$(logged RegisterStatusNotifierItem)
    NOTIFIER=$2
    start_notifier "$OUT/$1.log" --silent "${@:3}"
    PID=$NOTIFIER_PID
    wait_until 30 registered "$before" || { echo "$1: no icon registered" >&2; exit 1; }
    note "$1.startup" "$(awk -v e="$(cat "$WORK/exec-time")" -v r="$(last_logged RegisterStatusNotifierItem t)" \
        'BEGIN { print (r - e) * 1000 }')"
}

STEP=0
bump() { STEP=$((STEP + 1)); touch -d "@$(($(date +%s) + STEP))" "$SANDBOX/cache/pkgcache.bin"; }
updated() { dbus-send --system --type=signal / app.apt.dbus.updated; }
ran() { [ "$(checker_runs)" -ge "$1" ]; }
childless() { [ -z "$(cat /proc/"$PID"/task/*/children 2>/dev/null)" ]; }

# unchanged_check: the CPU of one check that finds nothing changed (mean of 20), and the
# stat-like calls of one, counted by strace.
unchanged_check() {
    local before; before=$(cpu_ns "$PID")
    for _ in $(seq 20); do updated; done
    sleep 1
    note notifier.unchanged "$(awk -v a="$before" -v b="$(cpu_ns "$PID")" 'BEGIN { print (b - a) / 20 / 1e6 }')"
    strace -f -qq -e trace=%stat,%file -p "$PID" -o "$WORK/strace" 2>/dev/null &
    local tracer=$!
    sleep 1; updated; sleep 1
    kill "$tracer"; wait "$tracer" 2>/dev/null
    note notifier.stats "$(grep -c . "$WORK/strace")"
}

# checks NAME: CHECKS rounds of a rebuilt cache and APT's signal; for the notifier, the CPU
# of each (a notifier still busy with the one before ignores the signal: sent until one runs).
checks() {
    local i runs before
    for i in $(seq "$CHECKS"); do
        bump
        if [ "$1" = notifier ]; then
            runs=$(checker_runs) before=$(cpu_ns "$PID")
            wait_until 30 eval 'updated; ran $((runs + 1))' && wait_until 30 childless ||
                { echo "check $i did not run" >&2; exit 1; }
            note notifier.check "$(awk -v a="$before" -v b="$(cpu_ns "$PID")" 'BEGIN { print (b - a) / 1e6 }')"
        else
            updated
        fi
    done
    sleep 1
}

# map_times: from xev's output, "TIME WINDOW" for each window mapped, TIME taken as its line
# arrives; "ready" once xev sees our marker property change, so it listens.
map_times() {
    local line time
    while IFS= read -r line; do
        case $line in
        MapNotify*)
            time=$EPOCHREALTIME
            IFS= read -r line; line=${line##*window }; echo "$time ${line%%,*}" ;;
        PropertyNotify*) IFS= read -r line; [[ $line != *_TARN_BENCH_READY* ]] || echo ready ;;
        esac
    done
}
xev_listens() {
    xprop -root -f _TARN_BENCH_READY 8s -set _TARN_BENCH_READY 1
    grep -qx ready "$WORK/maps"
}
settings_window() { window_of 'Update notifier - Settings'; }
window_shown() { [ -n "$(settings_window)" ]; }
# mapped_after TIME WINDOW: when WINDOW (hex) was first mapped after TIME, if it was.
mapped_after() { awk -v t="$1" -v w="$2" '$1 > t && $2 == w { print $1; exit }' "$WORK/maps"; }
# settings_shown: the notifier's settings after a click in the tray menu, up to the X server
# mapping the window, as xev sees it (no polling, whose own cost would be counted); one
# apt-config dump.
settings_shown() {
    local began clicked window mapped xev stamper
    began=$EPOCHREALTIME; apt-config dump >/dev/null
    note aptconfig "$(awk -v a="$began" -v b="$EPOCHREALTIME" 'BEGIN { print (b - a) * 1000 }')"
    : >"$WORK/maps"; rm -f "$WORK/xev"; mkfifo "$WORK/xev"
    stdbuf -oL xev -root -event substructure -event property >"$WORK/xev" &
    xev=$!; track $xev
    map_times <"$WORK/xev" >"$WORK/maps" &
    stamper=$!; track $stamper
    wait_until 10 xev_listens || { echo "xev does not listen" >&2; exit 1; }
    clicked=$(fakedesk menu-click "$(last_logged RegisterStatusNotifierItem service)" Settings --print-time)
    wait_until 30 window_shown || { echo "no settings window" >&2; exit 1; }
    window=$(printf '0x%x' "$(settings_window)")
    wait_until 10 eval '[ -n "$(mapped_after "$clicked" "$window")" ]' ||
        { echo "xev saw no map of the settings window" >&2; exit 1; }
    mapped=$(mapped_after "$clicked" "$window")
    kill "$xev"; wait "$xev" "$stamper" 2>/dev/null # the stamper ends with xev's output
    note notifier.settings "$(awk -v a="$clicked" -v b="$mapped" 'BEGIN { print (b - a) * 1000 }')"
}

echo "notifier benchmark: $(nproc) CPUs, load $(cut -d' ' -f1-3 /proc/loadavg), $RUNS runs each (medians), $CHECKS checks a run"
for run in $(seq "$RUNS"); do
    for name in smallest themed notifier; do
        rm -f "$XDG_CONFIG_HOME/tarn/tarn-update-notifier.conf" # the default settings
        case $name in
        smallest) start $name "$SMALLEST_BIN" ;;
        themed) start $name "$SMALLEST_BIN" --theme-icon ;;
        notifier) start $name "$NOTIFIER_BIN" ;;
        esac
        sleep "$SETTLE_SECONDS"
        memory "$PID" $name.settled
        # The theme icon's program is a reference for start-up and memory only.
        [ $name != themed ] || { stop_notifier; continue; }
        [ $name = smallest ] || unchanged_check
        checks $name
        memory "$PID" $name.checked
        # Growth within the run: runs differ from each other by a page or two.
        note $name.growth "$(($(tail -1 "$WORK/$name.checked" | cut -d' ' -f1) - $(tail -1 "$WORK/$name.settled" | cut -d' ' -f1)))"
        stop_notifier
    done
    # The dialog is opened from the icon, which the default settings hide when up to date.
    user_settings hideTray=false
    start notifier.settings-run "$NOTIFIER_BIN"
    sleep 3 # past the first check
    settings_shown
    stop_notifier
done

echo
echo "== idle side by side for $IDLE_SECONDS s, default settings"
rm -f "$XDG_CONFIG_HOME/tarn/tarn-update-notifier.conf"
start smallest.idle-run "$SMALLEST_BIN"; SMALLEST_PID=$PID
start notifier.idle-run "$NOTIFIER_BIN"; NOTIFIER_IDLE_PID=$PID
sleep "$SETTLE_SECONDS"
cpu0_s=$(cpu_ns "$SMALLEST_PID") wake0_s=$(wakeups "$SMALLEST_PID")
cpu0_n=$(cpu_ns "$NOTIFIER_IDLE_PID") wake0_n=$(wakeups "$NOTIFIER_IDLE_PID")
sleep "$IDLE_SECONDS"
per_minute() { awk -v a="$1" -v b="$2" -v s="$IDLE_SECONDS" -v unit="$3" 'BEGIN { print (b - a) / unit * 60 / s }'; }
IDLE_CPU_S=$(per_minute "$cpu0_s" "$(cpu_ns "$SMALLEST_PID")" 1e6)
IDLE_CPU_N=$(per_minute "$cpu0_n" "$(cpu_ns "$NOTIFIER_IDLE_PID")" 1e6)
IDLE_WAKE_S=$(per_minute "$wake0_s" "$(wakeups "$SMALLEST_PID")" 1)
IDLE_WAKE_N=$(per_minute "$wake0_n" "$(wakeups "$NOTIFIER_IDLE_PID")" 1)
kill "$SMALLEST_PID" "$NOTIFIER_IDLE_PID"

# row LABEL SMALLEST NOTIFIER UNIT: one figure of both, and their ratio
row() {
    printf '  %-38s %10.2f %10.2f  %-8s %s\n' "$1" "$2" "$3" "$4" \
        "$(awk -v s="$2" -v n="$3" 'BEGIN { if (s > 0) printf "%.2f", n / s; else print "-" }')"
}
# target TEXT VALUE LIMIT: "met" when VALUE <= LIMIT
target() {
    printf '  %-58s %8.2f <= %-6s %s\n' "$1" "$2" "$3" "$(awk -v v="$2" -v l="$3" 'BEGIN { print (v <= l) ? "met" : "MISSED" }')"
}
for name in smallest notifier; do
    printf -v "UP_$name" '%s' "$(column_median $name.startup 1)"
    printf -v "RSS_$name" '%s' "$(column_median $name.settled 1)"
    printf -v "PSS_$name" '%s' "$(column_median $name.settled 2)"
    printf -v "RSS2_$name" '%s' "$(column_median $name.checked 1)"
    printf -v "PSS2_$name" '%s' "$(column_median $name.checked 2)"
done
UP_themed=$(column_median themed.startup 1)
RSS_themed=$(column_median themed.settled 1) PSS_themed=$(column_median themed.settled 2)
echo
printf '  %-38s %10s %10s  %-8s %s\n' "" smallest notifier unit ratio
row "start-up: exec to icon registered" "$UP_smallest" "$UP_notifier" ms
row "RSS settled" "$RSS_smallest" "$RSS_notifier" KiB
row "PSS settled" "$PSS_smallest" "$PSS_notifier" KiB
row "RSS after $CHECKS checks" "$RSS2_smallest" "$RSS2_notifier" KiB
row "PSS after $CHECKS checks" "$PSS2_smallest" "$PSS2_notifier" KiB
row "idle CPU per minute" "$IDLE_CPU_S" "$IDLE_CPU_N" ms
row "idle wake-ups per minute" "$IDLE_WAKE_S" "$IDLE_WAKE_N" count
UNCHANGED=$(median <"$WORK/notifier.unchanged") STATS=$(median <"$WORK/notifier.stats")
CHECK=$(median <"$WORK/notifier.check") APTCONFIG=$(median <"$WORK/aptconfig")
SETTINGS=$(median <"$WORK/notifier.settings")
printf '  %-38s %10s %10.3f  ms\n' "CPU of a check, nothing changed" - "$UNCHANGED"
printf '  %-38s %10s %10d  calls\n' "  its file and stat calls (strace)" - "$STATS"
printf '  %-38s %10s %10.3f  ms\n' "CPU of a check running the checker" - "$CHECK"
printf '  %-38s %10.2f %10.2f  ms       %.2f\n' "settings shown (smallest: apt-config)" "$APTCONFIG" "$SETTINGS" \
    "$(awk -v a="$APTCONFIG" -v s="$SETTINGS" 'BEGIN { print s / a }')"
echo "  start-ups (ms): smallest $(paste -sd' ' "$WORK/smallest.startup"), notifier $(paste -sd' ' "$WORK/notifier.startup")"
echo "  settings (ms): $(paste -sd' ' "$WORK/notifier.settings"); apt-config dump (ms): $(paste -sd' ' "$WORK/aptconfig")"
echo "  RSS growth over $CHECKS checks, each run (KiB): $(tr '\n' ' ' <"$WORK/notifier.growth")"
echo "  file and stat calls of an unchanged check:"
sed 's/^/    /' "$WORK/strace"

echo
echo "== reference, not a target: the floor of a tray program showing a theme icon"
echo "   (the smallest program with --theme-icon: QIcon::fromTheme(\"updates-available\", pixmap))"
printf '  %-38s %10s %10s  %-8s %s\n' "" theme-icon notifier unit ratio
row "start-up: exec to icon registered" "$UP_themed" "$UP_notifier" ms
row "RSS settled" "$RSS_themed" "$RSS_notifier" KiB
row "PSS settled" "$PSS_themed" "$PSS_notifier" KiB
echo "  start-ups (ms): theme-icon $(paste -sd' ' "$WORK/themed.startup")"

echo
echo "== targets (against the smallest program)"
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { print a / b }'; }
target "start-up, notifier / smallest" "$(ratio "$UP_notifier" "$UP_smallest")" 1.1
target "RSS settled, notifier / smallest" "$(ratio "$RSS_notifier" "$RSS_smallest")" 1.1
target "idle CPU of the notifier, ms a minute" "$IDLE_CPU_N" 2
target "idle wake-ups a minute, notifier - smallest" "$(awk -v n="$IDLE_WAKE_N" -v s="$IDLE_WAKE_S" 'BEGIN { print n - s }')" 0
target "file and stat calls of an unchanged check" "$STATS" 5
target "settings shown / one apt-config dump" "$(ratio "$SETTINGS" "$APTCONFIG")" 1.5
target "RSS growth over $CHECKS checks, KiB (median of the runs')" "$(column_median notifier.growth 1)" 0
# PSS is no leak measure: it moves as other processes map or drop the same libraries.
printf '  %-58s %8.2f (not a target)\n' "PSS change over $CHECKS checks, KiB" \
    "$(awk -v a="$PSS_notifier" -v b="$PSS2_notifier" 'BEGIN { print b - a }')"
