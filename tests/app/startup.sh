#!/bin/bash
# The real notifier in a headless desktop: tray registration, the menu, single
# instance, --quit, SIGTERM, the administrator test, mobile mode, a missing tray.
source "$(dirname "$0")/../desktop/lib.sh"
require_root
start_desktop
# Keep the icon around while the test looks at it.
user_settings hideTray=false

settings_window() { xdotool search --onlyvisible --name '^Update notifier - Settings$' 2>/dev/null | head -1; }
wait_settings_window() {
    for _ in $(seq 1000); do [ -n "$(settings_window)" ] && return 0; sleep 0.02; done
    return 1
}

# --- First instance, silent ------------------------------------------------------
start_notifier "$OUT/first.log" --silent
FIRST=$NOTIFIER_PID
SVC=$(fakedesk wait-item 30)
check "the icon registers with the tray host" test -n "$SVC"
tooltip_is() { fakedesk props "$SVC" | grep -qF "ToolTip = ['', [], '$1'"; }
check "the tooltip says the system is up to date" tooltip_is 'Update Notifier: system is up-to-date'
fakedesk menu "$SVC" | cut -f2,3 >"$OUT/menu.txt"
printf '%s\n' "Help	standard" "_Settings	standard" "	separator" "_Package Manager	standard" \
    "_Do Upgrade	standard" "_Check for Updates	standard" "Remind me later in	standard" \
    "_Quit	standard" >"$OUT/menu.expected"
check "the context menu has its entries in order" diff -u "$OUT/menu.expected" "$OUT/menu.txt"
check "a silent start opens no settings window" test -z "$(settings_window)"

# --- Second starts forward their command line -------------------------------------
in_sandbox "$NOTIFIER" --silent >"$OUT/second.log" 2>&1
check "a second silent start exits 0" test $? -eq 0
check "a forwarded --silent changes nothing visible" test -z "$(settings_window)"
in_sandbox "$NOTIFIER" >"$OUT/third.log" 2>&1
check "a second plain start exits 0" test $? -eq 0
check "the running instance opens its settings window" wait_settings_window
check "the first instance is still running" kill -0 "$FIRST"
in_sandbox "$NOTIFIER" --quit >"$OUT/quit.log" 2>&1
check "a second start with --quit exits 0" test $? -eq 0
wait_exit "$FIRST" 30
check "the running instance ends with status 0 on a forwarded --quit" test "$EXIT_STATUS" = 0

# --- --quit without an instance, SIGTERM ---------------------------------------------
in_sandbox "$NOTIFIER" --quit >"$OUT/quit-alone.log" 2>&1
check "--quit with no running instance exits 0" test $? -eq 0
check "--quit with no running instance registers no icon" test -z "$(fakedesk wait-item 0.3 2>/dev/null)"

start_notifier "$OUT/term.log" --silent
wait_next_check
kill -TERM "$NOTIFIER_PID"
wait_exit "$NOTIFIER_PID" 30
check "SIGTERM ends the notifier with status 0" test "$EXIT_STATUS" = 0

# --- A killed primary never blocks the next start -------------------------------------
start_notifier "$OUT/killed.log" --silent
KILLED=$NOTIFIER_PID
fakedesk wait-item 30 >/dev/null
kill -KILL "$KILLED"; wait "$KILLED" 2>/dev/null
start_notifier "$OUT/after-kill.log" --silent
AFTER=$NOTIFIER_PID
check "after SIGKILL the next start becomes the running instance" bash -c "
    for _ in \$(seq 1000); do
        n=\$($PY '$DESKTOP_DIR/fakedesk.py' ctl wait-item 0.1 2>/dev/null); [ -n \"\$n\" ] && exit 0; sleep 0.02
    done; exit 1"
check "that start keeps running" kill -0 "$AFTER"
kill -TERM "$AFTER"; wait_exit "$AFTER" 30

# --- Only administrators get a notifier --------------------------------------------------
# A throw-away user, known only inside the sandbox. Mobile mode needs no tray host, so
# whether the notifier runs depends on the administrator test alone.
cp /etc/passwd /etc/group "$SANDBOX/etc/"
echo "tarnuser:x:4242:4242::/nonexistent:/usr/sbin/nologin" >>"$SANDBOX/etc/passwd"
echo "tarnuser:x:4242:" >>"$SANDBOX/etc/group"
echo "kelmora-admin:x:4243:" >>"$SANDBOX/etc/group"
USERHOME=$(tmpdir); chown 4242:4242 "$USERHOME"; chmod 755 "$SANDBOX"; chmod 777 "$CTL"; rm -f "$CTL/runs"
as_tarnuser() {
    env HOME="$USERHOME" XDG_RUNTIME_DIR= XDG_CONFIG_HOME="$USERHOME" DESKTOP_SESSION=mobile \
        setpriv --reuid=4242 --regid=4242 "$@"
}
in_sandbox bash -c "$(declare -f as_tarnuser); USERHOME=$USERHOME; as_tarnuser --clear-groups '$NOTIFIER' --silent" \
    >"$OUT/user.log" 2>&1
check "a user outside kelmora-admin gets exit status 0" test $? -eq 0
check "... and no notifier: nothing was checked" test "$(checker_runs)" -eq 0
"$DESKTOP_DIR/sandbox-run.sh" "${SANDBOX_MOUNTS[@]}" -- env HOME="$USERHOME" XDG_RUNTIME_DIR= \
    XDG_CONFIG_HOME="$USERHOME" DESKTOP_SESSION=mobile setpriv --reuid=4242 --regid=4242 --groups=4243 \
    "$NOTIFIER" --silent >"$OUT/admin.log" 2>&1 &
ADMIN=$!; track $ADMIN
for _ in $(seq 1000); do [ "$(checker_runs)" -gt 0 ] && break; sleep 0.02; done
check "a member of kelmora-admin gets the notifier" test "$(checker_runs)" -gt 0
check "... which keeps running" kill -0 "$ADMIN"
kill -TERM "$ADMIN"; wait_exit "$ADMIN" 30
rm -f "$CTL/runs"

# --- Mobile mode -------------------------------------------------------------------------------
DESKTOP_SESSION=" Plasma-MOBILE " start_notifier "$OUT/mobile.log" --silent
MOBILE=$NOTIFIER_PID
for _ in $(seq 100); do [ "$(checker_runs)" -gt 0 ] && break; sleep 0.05; done
check "mobile mode starts and checks for updates" test "$(checker_runs)" -gt 0
check "mobile mode shows no tray icon" test -z "$(fakedesk wait-item 0.3 2>/dev/null)"
check "mobile mode keeps running" kill -0 "$MOBILE"
kill -TERM "$MOBILE"; wait_exit "$MOBILE" 30

# --- No tray host in desktop mode ------------------------------------------------------------
stop_fakedesk
start_fakedesk "$OUT/nowatcher.jsonl" --no-watcher
start_notifier "$OUT/notray.log" --silent
NOTRAY=$NOTIFIER_PID
BOX=
for _ in $(seq 1000); do
    BOX=$(xdotool search --onlyvisible --name '^Update Notifier$' 2>/dev/null | head -1)
    [ -n "$BOX" ] && break; sleep 0.02
done
check "without a tray host a message box appears" test -n "$BOX"
import -window root "$OUT/no-tray.png" 2>/dev/null
# No window manager runs: focus the box directly, then press Return through XTEST.
[ -n "$BOX" ] && xdotool windowfocus --sync "$BOX" key Return
wait_exit "$NOTRAY" 30
check "... and the notifier exits with status 1" test "$EXIT_STATUS" = 1

# --- XEmbed: a real tray host docks the icon -------------------------------------------------------
start_trayer
start_notifier "$OUT/xembed.log" --silent
XEMBED=$NOTIFIER_PID
# The docked icon is our window nested inside the tray's, deeper than top-level windows.
docked() { xwininfo -root -tree | grep -qE '^ {10,}0x[0-9a-f]+ "tarn-update-notifier": \("tarn-update-notifier" "tarn-update-notifier"\)'; }
check "with an XEmbed tray host the icon is docked" bash -c "$(declare -f docked); for _ in \$(seq 1000); do docked && exit 0; sleep 0.02; done; exit 1"
wait_next_check
kill -TERM "$XEMBED"
wait_exit "$XEMBED" 30
check "XEmbed instance ends with status 0 on SIGTERM ($EXIT_STATUS)" test "$EXIT_STATUS" = 0

finish
