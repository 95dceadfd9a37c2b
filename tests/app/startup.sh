#!/bin/bash
# Start-up of the real notifier: one instance, which later starts hand their command
# line to; --quit; a killed instance never blocks the next; only administrators get it.
source "$(dirname "$0")/../desktop/lib.sh"
require_root
# nodisplay ARGS: the notifier without a display, or with the unreachable one in $SHOWN.
nodisplay() { (ulimit -c 0; exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM $SHOWN "$NOTIFIER" "$@"); }
check "without a display, --version prints it" eval 'nodisplay --version | grep -q "^tarn-update-notifier [0-9]"'
check "... --help its options" eval 'nodisplay --help | grep -q -- --silent'
check "... --quit, with nothing running, exits 0" nodisplay --quit
for SHOWN in "" DISPLAY=:93 "WAYLAND_DISPLAY=wayland-93 QT_QPA_PLATFORM=wayland" "XDG_SESSION_TYPE=wayland DISPLAY=:93"; do
    check "display '$SHOWN': a start says so in one line, status 1" \
        eval '[ "$(nodisplay 2>&1 | wc -l)" = 1 ] && { nodisplay 2>/dev/null; [ $? = 1 ]; }'
done
start_desktop
user_settings hideTray=false
start_notifier "$OUT/first.log" --silent
FIRST=$NOTIFIER_PID
SVC=$(fakedesk wait-item)
check "the icon registers, up to date" wait_until 30 tooltip_is 'Update Notifier: system is up-to-date'
settings() { [ -n "$(window_of 'Update notifier - Settings')" ]; }
check "a silent start opens no settings" eval '! settings'
# What only the windows need is loaded when one opens, not by a notifier that watches.
maps=/proc/$(pgrep -nxf "$NOTIFIER --silent")/maps
check "... and loads neither their module nor KAuth" eval 'test -r "$maps" && ! grep -qE "windows\.so|KF5Auth" "$maps"'
kill "$FAKEDESK_PID"; wait "$FAKEDESK_PID"; start_fakedesk
check "a restarted panel gets the icon again" wait_until 10 eval '[ "$(logged RegisterStatusNotifierItem)" -ge 1 ]'
check "the checker inherits no socket" eval 'wait_until 30 test -s "$CTL/fds" && ! grep socket: "$CTL/fds"'
check "a second plain start exits 0" in_sandbox "$NOTIFIER"
check "... and the running one opens its settings" wait_until 30 settings
fakedesk menu-click "$SVC" "Check for Updates" 2>/dev/null & # a modal dialog: --quit ends it too
check "a manual check opens its list update" wait_until 30 eval '[ -n "$(window_of "Updating package list")" ]'
check "a second start with --quit, without a display, exits 0" in_sandbox env -u DISPLAY "$NOTIFIER" --quit
ended() { ! kill -0 "$1" 2>/dev/null; }
check "... and the running one ends" wait_until 30 ended "$FIRST"
wait "$FIRST"
check "... with status 0" test $? = 0

# changed N: APT's cache looks rebuilt, so a new start checks again.
changed() { touch -d "@$(($(date +%s) + $1))" "$SANDBOX/cache/pkgcache.bin"; }
ran() { [ "$(checker_runs)" -ge "$1" ]; }
runs=$(checker_runs); changed 100
start_notifier "$OUT/killed.log" --silent
wait_until 30 ran $((runs + 1)) && kill -KILL "$NOTIFIER_PID"
runs=$(checker_runs); changed 200
start_notifier "$OUT/after-kill.log" --silent
check "after a SIGKILL the next start runs" wait_until 30 ran $((runs + 1))
stop_notifier

# A replaced program restarts into the new file, with the same pid (exec): only once that
# runs, and never while a window is open. It runs from a copy, which the test replaces.
BUILT=$NOTIFIER COPY=$(tmpdir); cp "$NOTIFIER" "${NOTIFIER%/*}/tarn-update-notifier-windows.so" "$COPY/"
NOTIFIER=$COPY/tarn-update-notifier; cp "$NOTIFIER" "$COPY/real"
items() { logged RegisterStatusNotifierItem; }
# stays: a check runs in the same notifier, its icon not registered anew.
stays() { local runs items; runs=$(checker_runs) items=$(items); changed $((++STEP * 100))
    wait_until 30 eval 'updated; ran $((runs + 1))' && kill -0 "$NOTIFIER_PID" && [ "$(items)" = "$items" ]; }
replace() { cp "$COPY/real" "$COPY/next"; eval "$1"; bump "$COPY/next"; mv "$COPY/next" "$NOTIFIER"; }
items=$(items); start_notifier "$OUT/restart.log" --silent
wait_until 30 eval '[ "$(items)" -gt "$items" ]'; STEP=3
while IFS='|' read -r how what; do
    replace "$how"
    check "a new program file $what: the notifier goes on" stays
done <<'ROWS'
chmod -x "$COPY/next"|not executable
: >"$COPY/next"|still empty
printf '#!/bin/sh\necho half\n' >"$COPY/next"|that answers no version
ROWS
replace :; items=$(items)
check "a runnable one: a plain start restarts it with its settings" eval 'timeout 30 "$DESKTOP_DIR/sandbox-run.sh" "${SANDBOX_MOUNTS[@]}" -- "$NOTIFIER" && wait_until 30 settings'
check "... as the same process" eval '[ "$(items)" -gt "$items" ] && kill -0 "$NOTIFIER_PID"'
replace :
check "replaced under the open settings: it goes on" stays
check "... the settings stay open" settings
items=$(items); xdotool windowfocus --sync "$(window_of 'Update notifier - Settings')" key Escape
check "... and restarts once they close" wait_until 30 eval '[ "$(items)" -gt "$items" ]'
items=$(items) module=$COPY/tarn-update-notifier-windows.so; cp "$module" "$COPY/next.so"
bump "$COPY/next.so"; mv "$COPY/next.so" "$module"; changed $((++STEP * 100))
# Restarted unasked, it opened no settings, which would hold the next restart back.
check "a new windows' module alone restarts it too" wait_until 30 eval 'updated; [ "$(items)" -gt "$items" ]'
stop_notifier

# The windows' module: only the build's own, beside a build tree's program, with all its
# symbols; anything else is a box, never a crash or another module.
box() { [ -n "$(window_of 'Update Notifier')" ]; }
check "the module shares the program's start-up code and catalogues" eval '! nm -C "$COPY/tarn-update-notifier-windows.so" | grep -qE "tarnInit|qInitResources|MessageBox::show"'
FAKE=$(tmpdir); mkdir -p "$FAKE/lib/tarn-update-notifier"; cp "$COPY/tarn-update-notifier-windows.so" "$FAKE/lib/tarn-update-notifier/"
ID=$(sed -n 's/.*TARN_BUILD_ID "\(.*\)"/\1/p' "${TARN_BUILD_DIR:-$DESKTOP_DIR/../../build}/buildid/buildid.h")
fake() { echo "extern \"C\" const char tarnNotifierWindowsBuildId[] = \"$1\"; extern \"C\" void tarnMissing();
    extern \"C\" void* tarnNotifierWindows() { tarnMissing(); return reinterpret_cast<void*>(&tarnMissing); }" |
    c++ -x c++ -shared -fPIC -o "$COPY/tarn-update-notifier-windows.so" -; }
SANDBOX_MOUNTS+=(--overlay "/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)=$FAKE/lib")
row=0
while IFS='|' read -r how what; do
    eval "$how"
    start_notifier "$OUT/module-$((++row)).log"
    check "$what: a box tells it" wait_until 30 box
    check "... and the notifier goes on" kill -0 "$NOTIFIER_PID"
    stop_notifier
done <<'ROWS'
rm "$COPY/tarn-update-notifier-windows.so"|no module beside a build's program (an installed one is)
fake other|a module of another build
fake "$ID"|a module of this build's id with a symbol missing
ROWS
NOTIFIER=$BUILT

# At login the panel may register its tray after the notifier: the icon comes with it,
# a StatusNotifierWatcher's or an XEmbed tray's (trayer).
listening() { compgen -G "$XDG_RUNTIME_DIR/tarn-update-notifier-*.socket" >/dev/null; }
no_tray() { kill "$FAKEDESK_PID"; wait "$FAKEDESK_PID"; start_fakedesk --no-watcher; }
# The tray comes only after the notifier has asked for it three times, seconds later.
dbus-monitor --session "member='Get',arg0='org.kde.StatusNotifierWatcher'" >"$OUT/asked" 2>&1 & ASKED=$!
no_tray; start_notifier "$OUT/late-tray.log" --silent
wait_until 30 eval '[ "$(grep -c "member=Get" "$OUT/asked")" -ge 3 ]'
kill "$ASKED"; kill "$FAKEDESK_PID"; wait "$FAKEDESK_PID"; start_fakedesk
check "a tray that comes late gets the icon" wait_until 30 eval '[ "$(logged RegisterStatusNotifierItem)" -ge 1 ]'
stop_notifier
no_tray; start_notifier "$OUT/late-xembed.log" --silent
wait_until 30 listening
trayer --edge top --widthtype request & TRAYER=$!
# (xwininfo without a window waits for a click)
embedded() { local p; p=$(xdotool search --name '^panel$' | head -1); [ -n "$p" ] && xwininfo -tree -id "$p" | grep -q '"tarn-update-notifier"'; }
check "... so does an XEmbed tray" wait_until 30 embedded
stop_notifier; kill "$TRAYER"; wait "$TRAYER"
# A hung panel (its watcher never answers) holds nothing up.
kill "$FAKEDESK_PID"; wait "$FAKEDESK_PID"; start_fakedesk; kill -STOP "$FAKEDESK_PID"
start_notifier "$OUT/hung-tray.log" --silent
wait_until 30 listening
in_sandbox "$NOTIFIER" --quit
check "a hung tray: --quit is answered meanwhile" wait_until 10 ended "$NOTIFIER_PID"
kill -CONT "$FAKEDESK_PID"

# A throw-away user, known only inside the sandbox; without a tray (mobile mode)
# whether the notifier runs depends on the administrators' group alone.
cp /etc/passwd /etc/group "$SANDBOX/etc/"
echo "tarnuser:x:4242:4242::/nonexistent:/usr/sbin/nologin" >>"$SANDBOX/etc/passwd"
printf 'tarnuser:x:4242:\nkelmora-admin:x:4243:\n' >>"$SANDBOX/etc/group"
USERHOME=$(tmpdir); chown 4242 "$USERHOME"; chmod 755 "$SANDBOX"; chmod 777 "$CTL"; chmod 666 "$CTL/runs"
USERRUN=$USERHOME SHARED=$(tmpdir); chmod 1777 "$SHARED"
user() { AS=(env HOME="$USERHOME" XDG_CONFIG_HOME="$USERHOME" XDG_RUNTIME_DIR="$USERRUN" TMPDIR="$SHARED" DESKTOP_SESSION=mobile
    setpriv --reuid=4242 --regid=4242 "$@"); }
runs=$(checker_runs)
user --clear-groups
start_notifier "$OUT/user.log" --silent
check "a user outside kelmora-admin: the program ends" wait_until 30 ended "$NOTIFIER_PID"
wait "$NOTIFIER_PID"
check "... with status 0" test $? = 0
check "... and nothing was checked" test "$(checker_runs)" = "$runs"
check "... nor said, without a display either" eval 'in_sandbox "${AS[@]}" env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$NOTIFIER" >"$OUT/user-nodisplay.log" 2>&1 && [ ! -s "$OUT/user-nodisplay.log" ]'
user --groups=4243
start_notifier "$OUT/admin.log" --silent
check "a member of kelmora-admin gets the notifier" wait_until 30 ran $((runs + 1))
stop_notifier

# Without XDG_RUNTIME_DIR: lock and socket in a folder of the user's own (0700) in the
# temporary folder; what another user made there first, or a folder open to others, is refused.
USERRUN= PRIVATE=$SHARED/tarn-update-notifier-4242
LOCK=$PRIVATE/tarn-update-notifier-4242-$(printf %s "$(readlink -f "$NOTIFIER")" | sha1sum | cut -c1-16).lock
user --groups=4243
while IFS='|' read -r what made; do
    eval "$made"; runs=$(checker_runs)
    start_notifier "$OUT/foreign.log" --silent
    check "$what: the program ends" wait_until 30 ended "$NOTIFIER_PID"
    wait "$NOTIFIER_PID"
    check "... with status 1, nothing checked" test "$?:$(checker_runs)" = "1:$runs"
    rm -rf "$PRIVATE"
done <<'EOF'
a folder of another user's|mkdir -m 777 "$PRIVATE"
a folder of the user's open to others|mkdir -m 705 "$PRIVATE" && chown 4242 "$PRIVATE"
a lock of another user's in the user's folder|mkdir -m 700 "$PRIVATE" && chown 4242 "$PRIVATE" && touch "$LOCK"
EOF
start_notifier "$OUT/private.log" --silent
check "without it, the notifier runs" wait_until 30 ran $((runs + 1))
check "... its folder the user's alone" test "$(stat -c %a:%u "$PRIVATE")" = 700:4242
stop_notifier
finish
