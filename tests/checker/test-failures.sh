#!/bin/bash
# apt_check's warnings, failures and command line: apt's own "E:"/"W:" lines on
# standard error, nothing half-printed on standard output, exit status 100 on failure.
source "$(dirname "$0")/lib.sh"

FX=$(fixture base)

# outcome SANDBOX [ARGS...]: "status|stdout" with standard error in $WORK/err
outcome() {
    local out status
    out=$(run "$@" 2>"$WORK/err")
    status=$?
    echo "$status|$out"
}

# --- missing package lists: a warning, and the counts of what is there ---------------
NL=$(fixture nolists nolists)
for mode in "" -p -s; do
    expect_eq "no lists at all ($mode): exit 0 and the result" \
        "0|$(case $mode in -p) ;; -s) echo "0;0" ;; *) echo "0;0;0" ;; esac)" "$(outcome "$NL" $mode)"
    expect_match "no lists at all ($mode): W: names the main list" \
        "^W: Package list copy:$NL/repo/main \./ Packages is missing - run apt-get update\$" "$(cat "$WORK/err")"
    expect_match "no lists at all ($mode): W: names the security list" \
        "^W: Package list file:$NL/repo/security bookworm-security/main [a-z0-9]+ Packages is missing" \
        "$(cat "$WORK/err")"
done
V=$(variant "$FX" mainlistmissing)
rm -f "$V"/root/var/lib/apt/lists/*_repo_main_*
expect_eq "main lists missing: the security updates remain" "0|2;0;0" "$(outcome "$V")"
expect_eq "main lists missing: only that source is named" \
    "W: Package list copy:$FX/repo/main ./ Packages is missing - run apt-get update" "$(cat "$WORK/err")"
same_as_aptget "main lists missing" "$V"

# A repository that lacks an architecture APT is configured for has no list for it;
# apt-get update only notes that, and so must the checker stay quiet.
V=$(variant "$FX" foreignarch)
native=$(dpkg --print-architecture)
foreign=i386
[ "$native" = i386 ] && foreign=amd64
sed -i "s/^APT::Architectures .*/APT::Architectures { \"$native\"; \"$foreign\"; };/" "$V/apt.conf"
APT_CONFIG="$V/apt.conf" apt-get -q update >"$WORK/update.log" 2>&1 || cat "$WORK/update.log"
expect_eq "architecture the repository lacks: no warning" "0|4;2;2|" "$(outcome "$V")|$(cat "$WORK/err")"

# --- broken input: E: from libapt-pkg, exit 100, nothing on standard output -----------
V=$(variant "$FX" badstatus)
printf 'Package: broken\nVersion: 1.0\nStatus: install ok installed\nDepends: (((\n\n' >>"$V/root/var/lib/dpkg/status"
for mode in "" -p -s; do
    expect_eq "corrupt dpkg status ($mode): exit 100, no output" "100|" "$(outcome "$V" $mode)"
    expect_match "corrupt dpkg status ($mode): apt's E: line" "^E: Problem parsing dependency" "$(cat "$WORK/err")"
done
expect_eq "corrupt dpkg status: apt-get fails too" "100" \
    "$(APT_CONFIG="$V/apt.conf" apt-get -s dist-upgrade >/dev/null 2>&1; echo $?)"

V=$(variant "$FX" unreadablestatus)
rm "$V/root/var/lib/dpkg/status"
mkdir "$V/root/var/lib/dpkg/status"
expect_eq "dpkg status not a file: exit 100, no output" "100|" "$(outcome "$V")"
expect_match "dpkg status not a file: E: line" "^E: " "$(cat "$WORK/err")"

V=$(variant "$FX" badsources)
echo "deb [trusted=yes" >>"$V/root/etc/apt/sources.list"
expect_eq "malformed sources.list: exit 100, no output" "100|" "$(outcome "$V")"
expect_match "malformed sources.list: apt's E: line" "^E: Malformed entry 3 in list file" "$(cat "$WORK/err")"

V=$(variant "$FX" badconf)
echo 'APT::Broken "unterminated' >>"$V/apt.conf"
expect_eq "syntax error in the configuration: exit 100, no output" "100|" "$(outcome "$V")"
expect_match "syntax error in the configuration: E: line" "^E: Syntax error" "$(cat "$WORK/err")"

# --- writing the result ----------------------------------------------------------------
APT_CONFIG="$FX/apt.conf" "$CHECK" >/dev/full 2>"$WORK/err"
expect_eq "standard output full: exit 100" "100" "$?"
expect_match "standard output full: E: says so" "^E: Could not write the result" "$(cat "$WORK/err")"

# --- command line ------------------------------------------------------------------------
for args in "-x" "-p -s" "--packages" "p"; do
    # shellcheck disable=SC2086
    expect_eq "argument(s) '$args': exit 100, no output" "100|" "$(outcome "$FX" $args)"
    expect_match "argument(s) '$args': E: points to --help" "^E: .*apt_check --help" "$(cat "$WORK/err")"
done
for help in -h --help; do
    help_text=$(run "$FX" $help 2>"$WORK/err")
    expect_eq "$help: exit 0, nothing on standard error" "0|" "$?|$(cat "$WORK/err")"
    for topic in "U;N;R" "-p" "kind;name;old version;new version;label" "security" "-s" "DOWNLOAD;DELTA" \
        "negative" "APT_CONFIG" "lock" "root" "E: " "W: " "100"; do
        expect_match "$help explains '$topic'" "$(printf '%s' "$topic" | sed 's/[.[\*^$]/\\&/g')" "$help_text"
    done
done
# --help needs no working APT at all
expect_eq "--help without a usable configuration" "0" \
    "$(APT_CONFIG="$WORK/badconf/apt.conf" "$CHECK" --help >/dev/null 2>&1; echo $?)"

finish
