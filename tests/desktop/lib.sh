# Headless desktop for black-box tests: Xvfb, a private session bus, a private
# "system" bus, an XEmbed tray host or a fake StatusNotifierWatcher and notification
# server. Source it; everything started here is stopped on exit.
DESKTOP_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
PY=/usr/bin/python3   # Debian's python has the GObject bindings
_PIDS=()
_TMPS=()
desktop_cleanup() {
    local p
    for p in "${_PIDS[@]}"; do kill "$p" 2>/dev/null; done
    for p in "${_PIDS[@]}"; do
        for _ in $(seq 50); do kill -0 "$p" 2>/dev/null || break; sleep 0.02; done
        kill -9 "$p" 2>/dev/null
    done
    _PIDS=()
    rm -rf "${_TMPS[@]}"
}
trap desktop_cleanup EXIT
track() { _PIDS+=("$1"); }
tmpdir() { local d; d=$(mktemp -d); _TMPS+=("$d"); echo "$d"; }

export XDG_RUNTIME_DIR=$(tmpdir); chmod 700 "$XDG_RUNTIME_DIR"
export HOME=$(tmpdir)
export XDG_CONFIG_HOME=$HOME/.config
unset DESKTOP_SESSION TARN_LAUNCHER_SETTINGS SESSION_MANAGER
export QT_QPA_PLATFORMTHEME= QT_ACCESSIBILITY=0 NO_AT_BRIDGE=1

# start_xvfb [WxHxD]: exports DISPLAY (Xvfb picks a free display number itself).
start_xvfb() {
    local f; f=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp -ac 3>"$f" 2>/dev/null &
    track $!
    for _ in $(seq 250); do [ -s "$f" ] && break; sleep 0.02; done
    export DISPLAY=":$(cat "$f")"; rm -f "$f"
}

# start_session_bus: always start one, or libdbus autolaunches stray daemons.
start_session_bus() {
    local out
    out=$(dbus-daemon --config-file="$DESKTOP_DIR/session-bus.conf" --fork --print-address=1 --print-pid=1)
    export DBUS_SESSION_BUS_ADDRESS=$(echo "$out" | sed -n 1p)
    track "$(echo "$out" | sed -n 2p)"
}

# start_system_bus: a private bus that the program uses as its system bus.
start_system_bus() {
    local out
    out=$(dbus-daemon --config-file="$DESKTOP_DIR/session-bus.conf" --fork --print-address=1 --print-pid=1)
    export DBUS_SYSTEM_BUS_ADDRESS=$(echo "$out" | sed -n 1p)
    track "$(echo "$out" | sed -n 2p)"
}

# start_trayer: an XEmbed tray host that owns _NET_SYSTEM_TRAY_S0.
start_trayer() {
    trayer --edge bottom --align right --widthtype request --height 32 \
        --SetDockType true --transparent false --tint 0x606060 >/dev/null 2>&1 &
    track $!
    xdotool search --sync --class trayer >/dev/null
}

# start_fakedesk LOG [--no-watcher|--no-notifications]: waits until its names are owned.
start_fakedesk() {
    local log=$1; shift
    : >"$log"
    $PY "$DESKTOP_DIR/fakedesk.py" serve --log "$log" "$@" &
    FAKEDESK_PID=$!
    track $FAKEDESK_PID
    wait_for "$log" '"ready"' 10
}
# stop_fakedesk: ends the fake desktop services and waits until their names are free.
stop_fakedesk() {
    kill "$FAKEDESK_PID" 2>/dev/null
    wait "$FAKEDESK_PID" 2>/dev/null
}
fakedesk() { $PY "$DESKTOP_DIR/fakedesk.py" ctl "$@"; }

# wait_for FILE REGEX [timeout_s]
wait_for() {
    local end=$(($(date +%s) + ${3:-10}))
    until grep -qE -- "$2" "$1" 2>/dev/null; do
        [ "$(date +%s)" -ge "$end" ] && { echo "timeout waiting for /$2/ in $1" >&2; return 1; }
        sleep 0.02
    done
}

# wait_exit PID [timeout_s]: waits for a child to end; EXIT_STATUS is its status
# ("timeout" when it did not end in time).
wait_exit() {
    local pid=$1 end=$(($(date +%s) + ${2:-10}))
    EXIT_STATUS=timeout
    while kill -0 "$pid" 2>/dev/null; do
        [ "$(date +%s)" -ge "$end" ] && return 1
        sleep 0.02
    done
    wait "$pid"
    EXIT_STATUS=$?
}

# Test bookkeeping: check NAME COMMAND... prints PASS/FAIL; finish exits accordingly.
FAILS=0
PASSES=0
check() {
    local name=$1; shift
    if "$@"; then echo "PASS $name"; PASSES=$((PASSES + 1)); else echo "FAIL $name"; FAILS=$((FAILS + 1)); fi
}
finish() { echo "$PASSES passed, $FAILS failed"; [ "$FAILS" -eq 0 ]; }
require_root() { [ "$(id -u)" -eq 0 ] || { echo "needs root (private mount namespaces)"; exit 77; }; }

# --- The notifier in a sandbox -------------------------------------------------
NOTIFIER=${TARN_BUILD_DIR:-$DESKTOP_DIR/../../build}/app/tarn-update-notifier

# setup_sandbox: a scripted /usr/bin/apt_check answering "0;0;0", a global
# configuration file and an APT cache directory, all private to the test.
setup_sandbox() {
    SANDBOX=$(tmpdir)
    CTL=$SANDBOX/ctl
    mkdir -p "$CTL" "$SANDBOX/bin" "$SANDBOX/etc" "$SANDBOX/cache"
    sed "s|@CTL@|$CTL|" "$DESKTOP_DIR/fake-apt_check.sh" >"$SANDBOX/bin/apt_check"
    chmod 755 "$SANDBOX/bin/apt_check"
    echo "0;0;0" >"$CTL/output"
    printf '[%%General]\nPMTool=/bin/true\n' >"$SANDBOX/etc/tarn-update-notifier.conf"
    touch "$SANDBOX/cache/pkgcache.bin"
    SANDBOX_MOUNTS=(--overlay "/usr/bin=$SANDBOX/bin" --overlay "/etc=$SANDBOX/etc"
        --bind "$SANDBOX/cache=/var/cache/apt")
}

# in_sandbox COMMAND...: runs a command (in the foreground) with the sandbox's files.
in_sandbox() { "$DESKTOP_DIR/sandbox-run.sh" "${SANDBOX_MOUNTS[@]}" -- "$@"; }

# start_notifier LOG ARGS...: the notifier in the background; NOTIFIER_PID is its pid.
start_notifier() {
    local log=$1; shift
    # Started directly (not through a function) so that $! is the notifier itself.
    "$DESKTOP_DIR/sandbox-run.sh" "${SANDBOX_MOUNTS[@]}" -- "$NOTIFIER" "$@" >"$log" 2>&1 &
    NOTIFIER_PID=$!
    track $NOTIFIER_PID
}

# checker_runs: how often the scripted checker ran.
checker_runs() { [ -f "$CTL/runs" ] && wc -l <"$CTL/runs" || echo 0; }

# wait_next_check: waits until the checker runs once more. The first check comes 2 s
# after start, from the event loop: from then on SIGTERM is handled, while a tray host
# may show the icon before.
wait_next_check() {
    local runs; runs=$(checker_runs)
    for _ in $(seq 1000); do [ "$(checker_runs)" -gt "$runs" ] && return 0; sleep 0.02; done
    return 1
}

# start_desktop [FAKEDESK OPTIONS...]: Xvfb, the session and system buses, the fake
# desktop services (their log is $FD) and the sandbox; $OUT is the test's output folder.
start_desktop() {
    OUT=${TEST_OUT:-$(tmpdir)}
    mkdir -p "$OUT"
    start_xvfb
    start_session_bus
    start_system_bus
    FD=$OUT/fakedesk.jsonl
    start_fakedesk "$FD" "$@"
    setup_sandbox
}

# user_settings KEY=VALUE...: the per-user settings the notifier starts with.
user_settings() {
    mkdir -p "$XDG_CONFIG_HOME/tarn"
    { echo '[%General]'; printf '%s\n' "$@"; } >"$XDG_CONFIG_HOME/tarn/tarn-update-notifier.conf"
}

# item_tooltip SERVICE: the tray item's own tooltip; empty while a balloon shows.
item_tooltip() { fakedesk props "$1" | sed -n "s/^ToolTip = \['', \[\], '\(.*\)', ''\]$/\1/p"; }
