# The one shell library of the black-box tests: bookkeeping, deadlines, and a headless
# desktop (Xvfb, private session and system buses, a fake StatusNotifierWatcher and
# notification server) with the notifier in a sandbox. Source it first thing.
DESKTOP_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
PY=/usr/bin/python3 # Debian's python has the GObject bindings

# As root, the test runs as the first process of a pid namespace of its own: when it
# ends, however it ends (CTest's time-out included), the kernel ends everything it started.
if [ "$(id -u)" = 0 ] && [ -z "${TARN_PIDNS:-}" ]; then
    export TARN_PIDNS=1 TARN_OWN_MOUNTS=1
    exec unshare --pid --fork --kill-child --mount-proc bash "$0" "$@"
fi

_PIDS=() _TMPS=$(mktemp -d /tmp/tarn-test.XXXXXX)
chmod 755 "$_TMPS" # other users of the tests (polkitd, a test user) reach their folders
export TMPDIR=$_TMPS
_cleanup() {
    [ ${#_PIDS[@]} -gt 0 ] && kill "${_PIDS[@]}" 2>/dev/null
    rm -rf "$_TMPS"
}
trap _cleanup EXIT
track() { _PIDS+=("$1"); }
# tmpdir: a new folder, removed at exit (also when called in a subshell, as $(tmpdir) is).
tmpdir() { mktemp -d "$_TMPS/XXXXXX"; }
require_root() { [ "$(id -u)" = 0 ] || { echo "needs root (private namespaces)"; exit 77; }; }

# wait_until SECONDS COMMAND...: runs COMMAND until it succeeds, or fails at the deadline.
wait_until() {
    local end=$((${EPOCHREALTIME/./} + $1 * 1000000)); shift
    until "$@"; do
        [ "${EPOCHREALTIME/./}" -lt "$end" ] || return 1
        sleep 0.05
    done
}

FAILS=0 PASSES=0
check() {
    local name=$1; shift
    if "$@"; then echo "PASS $name"; PASSES=$((PASSES + 1)); else echo "FAIL $name"; FAILS=$((FAILS + 1)); fi
    # The screen at the first failure, for whoever reads the logs.
    [ "$FAILS" != 1 ] || [ -z "${DISPLAY:-}" ] || [ -z "${OUT:-}" ] || [ -e "$OUT/failure.png" ] ||
        import -window root "$OUT/failure.png" 2>/dev/null
    # The fault table only asks whether a suite fails; the rest would only wait out its bounds.
    [ "$FAILS" = 0 ] || [ -z "${TARN_FAIL_FAST:-}" ] || finish
}
finish() {
    [ "$FAILS" -eq 0 ] || tail -n 25 "${OUT:-/nonexistent}"/*.log 2>/dev/null # what the programs said
    echo "$PASSES passed, $FAILS failed"
    [ "$FAILS" -eq 0 ]; exit
}

export XDG_RUNTIME_DIR=$(tmpdir) HOME=$(tmpdir)
export XDG_CONFIG_HOME=$HOME/.config QT_QPA_PLATFORMTHEME= QT_ACCESSIBILITY=0 NO_AT_BRIDGE=1
unset DESKTOP_SESSION SESSION_MANAGER

start_xvfb() {
    local f; f=$(tmpdir)/display lock=
    # An X server takes another pid namespace's lock for a stale one and, trying that
    # display, unlinks its socket file: in its own mount namespace a test keeps its own.
    if [ -n "${TARN_OWN_MOUNTS:-}" ]; then
        mkdir -p /tmp/.X11-unix && mount -t tmpfs -o mode=1777 tarn-x11 /tmp/.X11-unix && lock=-nolock
    fi
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -ac $lock 3>"$f" 2>/dev/null &
    track $!
    wait_until 10 test -s "$f" || return 1
    export DISPLAY=":$(cat "$f")"
}
# start_bus VARIABLE: a private bus whose address goes into VARIABLE. Always start the
# session bus: without one libdbus launches stray daemons of its own.
start_bus() {
    local out; out=$(dbus-daemon --config-file="$DESKTOP_DIR/session-bus.conf" --fork --print-address=1 --print-pid=1)
    export "$1=${out%%$'\n'*}"
    track "${out##*$'\n'}"
}
# start_fakedesk [--no-watcher]: the fake desktop services; they log every call to $FD.
start_fakedesk() {
    : >"$FD"
    $PY "$DESKTOP_DIR/fakedesk.py" serve "$FD" "$@" &
    FAKEDESK_PID=$!; track $FAKEDESK_PID
    wait_until 10 grep -q '"ready"' "$FD"
}
fakedesk() { $PY "$DESKTOP_DIR/fakedesk.py" "$@"; }
# logged EVENT: how many calls of that kind the fake desktop logged.
logged() { grep -c "\"ev\": \"$1\"" "$FD"; }
# last_logged EVENT KEY: a field of the last such call.
last_logged() {
    $PY -c 'import json, sys
calls = [c for c in map(json.loads, open(sys.argv[1])) if c["ev"] == sys.argv[2]]
print(calls[-1][sys.argv[3]] if calls else "")' "$FD" "$1" "$2"
}
item_tooltip() { fakedesk tooltip "$SVC"; }
tooltip_is() { [ "$(item_tooltip)" = "$1" ]; }

NOTIFIER=${TARN_BUILD_DIR:-$DESKTOP_DIR/../../build}/app/tarn-update-notifier
# setup_sandbox: a scripted /usr/bin/apt_check (answer in $CTL/output), a global
# configuration file, an APT cache folder, package lists and a dpkg database ($DPKG: an
# empty status file and journal), seen only inside the sandbox: what this machine's package
# tools do or left behind (a lock, an interrupted dpkg) never shows in a test.
setup_sandbox() {
    SANDBOX=$(tmpdir); CTL=$SANDBOX/ctl DPKG=$SANDBOX/dpkg
    mkdir -p "$CTL" "$SANDBOX/bin" "$SANDBOX/etc" "$SANDBOX/cache" "$SANDBOX/lists" "$DPKG/updates"
    touch "$DPKG/status"
    sed "s|@CTL@|$CTL|" "$DESKTOP_DIR/fake-apt_check.sh" >"$SANDBOX/bin/apt_check"
    chmod 755 "$SANDBOX/bin/apt_check"
    echo "0;0;0" >"$CTL/output"
    printf '[%%General]\nPMTool=/bin/true\n' >"$SANDBOX/etc/tarn-update-notifier.conf"
    touch "$SANDBOX/cache/pkgcache.bin"
    SANDBOX_MOUNTS=(--overlay "/usr/bin=$SANDBOX/bin" --overlay "/etc=$SANDBOX/etc"
        --bind "$SANDBOX/cache=/var/cache/apt" --bind "$SANDBOX/lists=/var/lib/apt/lists" --bind "$DPKG=/var/lib/dpkg")
}
in_sandbox() { "$DESKTOP_DIR/sandbox-run.sh" "${SANDBOX_MOUNTS[@]}" -- "$@"; }
# start_notifier LOG ARGS...: NOTIFIER_PID is the notifier's pid; AS=(COMMAND...) runs
# it through COMMAND (which must exec it).
AS=()
start_notifier() {
    local log=$1; shift
    "$DESKTOP_DIR/sandbox-run.sh" "${SANDBOX_MOUNTS[@]}" -- "${AS[@]}" "$NOTIFIER" "$@" >"$log" 2>&1 &
    NOTIFIER_PID=$!; track $NOTIFIER_PID
}
# stop_notifier: SIGTERM, then its exit status in EXIT_STATUS.
stop_notifier() {
    kill -TERM "$NOTIFIER_PID"
    wait_until 30 eval '! kill -0 "$NOTIFIER_PID" 2>/dev/null'
    wait "$NOTIFIER_PID"; EXIT_STATUS=$?
}
checker_runs() { [ -f "$CTL/runs" ] && wc -l <"$CTL/runs" || echo 0; }
# bump FILE: a time later than any bump before, as APT's rebuild of its cache gives it.
STEP=0
bump() { STEP=$((STEP + 1)); touch -d "@$(($(date +%s) + STEP))" "$1"; }
# updated: the signal APT's hook sends after an update or a dpkg run.
updated() { dbus-send --system --type=signal / app.apt.dbus.updated; }
# start_desktop [FAKEDESK OPTIONS...]: the whole headless desktop and the sandbox; $OUT
# keeps the logs.
start_desktop() {
    OUT=${TEST_OUT:-$(tmpdir)}; mkdir -p "$OUT"; FD=$OUT/fakedesk.jsonl
    start_xvfb && start_bus DBUS_SESSION_BUS_ADDRESS && start_bus DBUS_SYSTEM_BUS_ADDRESS &&
        start_fakedesk "$@" && setup_sandbox
}
# user_settings KEY=VALUE...: the per-user settings the notifier starts with.
user_settings() {
    mkdir -p "$XDG_CONFIG_HOME/tarn"
    { echo '[%General]'; printf '%s\n' "$@"; } >"$XDG_CONFIG_HOME/tarn/tarn-update-notifier.conf"
}
# window_of TITLE: the visible window with exactly that title.
window_of() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
