# shellcheck shell=bash
# Shared by the checker's black-box tests: sourced, never run.
#
# Sets CHECK (the apt_check under test, from $1), WORK (a scratch directory removed
# at exit) and FIXTURE_SCRIPT. Tests call check/expect_* and end with finish.
set -u
export LC_ALL=C.UTF-8
unset APT_CONFIG

CHECK=$(realpath "${1:?usage: $0 PATH_TO_APT_CHECK}")
[ -x "$CHECK" ] || { echo "no apt_check at $CHECK"; exit 1; }
SOURCE_DIR=${TARN_SOURCE_DIR:-$(realpath "$(dirname "${BASH_SOURCE[0]}")/../..")}
FIXTURE_SCRIPT=$SOURCE_DIR/tests/support/apt-fixture.sh

WORK=$(mktemp -d /tmp/tarn-checker-test.XXXXXX)
chmod 755 "$WORK" # the unprivileged cases read fixtures as "nobody"
CLEANUPS=()
cleanup() {
    local command
    for command in "${CLEANUPS[@]}"; do eval "$command"; done
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP PIPE
on_exit() { CLEANUPS+=("$1"); }
# tied COMMAND...: starts a helper process (bus, lock holder) in the background, as a
# direct child that dies with the test even when the test is killed and its cleanup never
# runs; $! is its process id. (Without "<&0" bash would give it /dev/null as input.)
tied() { setpriv --pdeathsig KILL -- "$@" <&0 & }

FAILURES=0
pass() { echo "ok   $1"; }
fail() {
    echo "FAIL $1"
    FAILURES=$((FAILURES + 1))
}
# expect_eq NAME EXPECTED ACTUAL
expect_eq() {
    if [ "$2" == "$3" ]; then
        pass "$1"
    else
        fail "$1"
        printf '     expected: %s\n     actual:   %s\n' "$(head -c 800 <<<"$2")" "$(head -c 800 <<<"$3")"
    fi
}
# expect_match NAME EXTENDED_REGEX TEXT: some line of TEXT matches
expect_match() {
    if grep -Eq -- "$2" <<<"$3"; then
        pass "$1"
    else
        fail "$1"
        printf '     no line matches: %s\n     in: %s\n' "$2" "$(head -c 800 <<<"$3")"
    fi
}
finish() {
    echo "$FAILURES failure(s)"
    [ "$FAILURES" = 0 ]
    exit
}
skip() {
    echo "skipped: $1"
    exit 77
}

# fixture NAME [SCENARIO]: builds a sandbox at $WORK/NAME and prints its path.
fixture() {
    bash "$FIXTURE_SCRIPT" "$WORK/$1" "${2:-default}" >&2 || { echo "FAIL building fixture $1" >&2; exit 1; }
    echo "$WORK/$1"
}

# variant BASE NAME: a copy of the sandbox BASE with its own root (same repositories),
# so a case can change the status, the lists or the configuration. Prints its path.
variant() {
    local base=$1 copy=$WORK/$2
    cp -a "$base" "$copy"
    sed -i "s#$base/root#$copy/root#g" "$copy/apt.conf"
    echo "$copy"
}

# run SANDBOX [ARGS...]: apt_check on the sandbox.
run() { APT_CONFIG="$1/apt.conf" "$CHECK" "${@:2}"; }

# apt-get's own view of a full upgrade of SANDBOX, answered "no" (extra options after SANDBOX).
aptget_summary() {
    APT_CONFIG="$1/apt.conf" apt-get -o Debug::NoLocking=1 --assume-no "${@:2}" dist-upgrade 2>&1
}
# apt-get summary -> "U;N;R"
summary_counts() {
    sed -n 's/^\([0-9]*\) upgraded, \([0-9]*\) newly installed, \([0-9]*\) to remove.*/\1;\2;\3/p'
}
# apt-get summary -> "DOWNLOAD;DELTA". The fixtures stay below 10000 bytes, where apt-get
# prints plain bytes; a larger figure shows up as "unit:..." and fails the comparison.
summary_sizes() {
    awk '/^Need to get / { split($4, a, "/"); download = ($5 ~ /^B/) ? a[1] : "unit:" $5 }
         /^After this operation, / { delta = ($5 == "B") ? $4 : "unit:" $5; if (/freed/) delta = -delta }
         END { printf "%s;%s\n", download == "" ? 0 : download, delta == "" ? 0 : delta }'
}
# apt-get -s dist-upgrade Inst/Remv lines -> "kind;name;old;new", sorted
aptget_plan() {
    APT_CONFIG="$1/apt.conf" apt-get -s "${@:2}" dist-upgrade 2>/dev/null | awk '
        /^Inst / { if ($3 ~ /^\[/) print "u;" $2 ";" substr($3, 2, length($3) - 2) ";" substr($4, 2)
                   else print "i;" $2 ";;" substr($3, 2) }
        /^Remv / { print "d;" $2 ";" substr($3, 2, length($3) - 2) ";" }' | sort
}
# apt_check -p without the labels, sorted like aptget_plan
checker_plan() { run "$1" -p 2>/dev/null | cut -d';' -f1-4 | sort; }

# same_as_aptget CASE SANDBOX [apt-get options]: counts, sizes and listing equal apt-get's.
same_as_aptget() {
    local summary
    summary=$(aptget_summary "$2" "${@:3}")
    expect_eq "$1: counts = apt-get's" "$(summary_counts <<<"$summary")" "$(run "$2" 2>/dev/null)"
    expect_eq "$1: sizes = apt-get's" "$(summary_sizes <<<"$summary")" "$(run "$2" -s 2>/dev/null)"
    expect_eq "$1: -p = apt-get's plan" "$(aptget_plan "$2" "${@:3}")" "$(checker_plan "$2")"
}

# add_installed SANDBOX NAME VERSION [control lines...]: one more installed package.
add_installed() {
    {
        printf 'Package: %s\nStatus: install ok installed\nPriority: optional\nSection: misc\n' "$2"
        printf 'Architecture: %s\nVersion: %s\n' "$(dpkg --print-architecture)" "$3"
        if [ $# -gt 3 ]; then printf '%s\n' "${@:4}"; fi
        printf 'Description: added by the test\n\n'
    } >>"$1/root/var/lib/dpkg/status"
}

# set_status SANDBOX PACKAGE NEW_STATUS: changes one package's dpkg status line.
set_status() {
    sed -i "/^Package: $2\$/,/^\$/ s/^Status: .*/Status: $3/" "$1/root/var/lib/dpkg/status"
}
