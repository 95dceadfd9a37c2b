#!/bin/bash
# apt_check on real local APT repositories (tests/support/apt-fixture.sh) against apt-get on
# the same sandbox, for every case of tests/fixtures/checker/cases.txt: the same counts and
# packages, or, in a broken APT state, apt's "E:" lines and exit status 100.
# usage: test-checker.sh APT_CHECK
source "$(dirname "$0")/../desktop/lib.sh"
CHECK=$(realpath "${1:?usage: $0 APT_CHECK}")
FIXTURES=$(cd "$(dirname "$0")/../fixtures/checker" && pwd)
WORK=$(tmpdir)
chmod 755 "$WORK"
bash "$(dirname "$0")/../support/apt-fixture.sh" "$WORK/base" || exit 1
# The notifier runs apt_check as the desktop user: as root, this test runs it as nobody.
AS_USER=()
[ "$(id -u)" = 0 ] && AS_USER=(setpriv --reuid=65534 --regid=65534 --clear-groups)
install -m 755 "$CHECK" "$WORK/apt_check"
checker() { APT_CONFIG="$1/apt.conf" "${AS_USER[@]}" "$WORK/apt_check" "${@:2}"; }

# SANDBOX: the counts "U;N;R", the sizes "DOWNLOAD;DELTA" in bytes, the packages as
# "kind;name;old;new", sorted, then "k;name" for each package kept back
checker_answer() {
    checker "$1"
    checker "$1" -s
    checker "$1" -p | cut -d';' -f1-4 | sort
    checker "$1" -k | sed 's/;.*//; s/^/k;/'
}
# SANDBOX OPTIONS: the same from apt-get's full upgrade, simulated and answered "no"
aptget_answer() {
    local out
    out=$(APT_CONFIG="$1/apt.conf" apt-get -s -o Debug::NoLocking=1 $2 dist-upgrade 2>&1)
    sed -n 's/^\([0-9]*\) upgraded, \([0-9]*\) newly installed, \([0-9]*\) to remove.*/\1;\2;\3/p' <<<"$out"
    # The sandbox stays below 10000 bytes, where apt-get prints plain bytes ("B").
    APT_CONFIG="$1/apt.conf" apt-get --assume-no -o Debug::NoLocking=1 $2 dist-upgrade 2>&1 | awk '
        /^Need to get / { split($4, a, "/"); get = ($5 ~ /^B/) ? a[1] : "unit:" $5 }
        /^After this operation, / { delta = ($5 == "B") ? $4 : "unit:" $5; if (/freed/) delta = -delta }
        END { printf "%s;%s\n", get == "" ? 0 : get, delta == "" ? 0 : delta }'
    awk '/^Inst / { if ($3 ~ /^\[/) print "u;" $2 ";" substr($3, 2, length($3) - 2) ";" substr($4, 2)
                    else print "i;" $2 ";;" substr($3, 2) }
         /^Remv / { print "d;" $2 ";" substr($3, 2, length($3) - 2) ";" }' <<<"$out" | sort
    awk '/^The following packages have been kept back:/ { kept = 1; next }
         kept && /^  / { for (i = 1; i <= NF; i++) print "k;" $i; next } { kept = 0 }' <<<"$out" | sort
}
# SANDBOX: fails as apt does, with nothing half-printed
fails_like_apt() {
    local out status
    out=$(checker "$1" 2>"$1/stderr")
    status=$?
    cat "$1/stderr"
    [ "$status" = 100 ] && [ -z "$out" ] && grep -q '^E: ' "$1/stderr"
}

while read -r -u 3 name expect options change; do
    case $name in '' | '#'*) continue ;; esac
    V=$WORK/$name
    cp -a "$WORK/base" "$V"
    sed -i "s#$WORK/base/root#$V/root#g" "$V/apt.conf"
    read -r verb target rest <<<"$change"
    case $verb in
    status) sed -i "/^Package: $target\$/,/^\$/ s/^Status: .*/Status: $rest/" "$V/root/var/lib/dpkg/status" ;;
    append) printf '%b\n' "$rest" >>"$V/$target" ;;
    esac
    [ "$options" = - ] && options=""
    if [ "$expect" = same ]; then
        check "$name: counts, sizes, packages and those kept back as apt-get's" \
            diff <(aptget_answer "$V" "$options") <(checker_answer "$V")
        while read -r option line; do
            check "$name: $option tells $line" grep -qxF "$line" <(checker "$V" "$option")
        done < <(sed -n "s/^$name //p" "$FIXTURES/lines.txt")
    else
        check "$name: E: on standard error, exit status 100" fails_like_apt "$V"
    fi
done 3<"$FIXTURES/cases.txt"
check "as built: upgrades, new packages, removals, security labels" \
    diff "$FIXTURES/default-plan.txt" <(checker "$WORK/base" -p)
check "two options: refused with a pointer to --help, nothing on standard output" \
    eval '! checker "$WORK/base" -p -s >"$WORK/out" 2>"$WORK/err" && [ ! -s "$WORK/out" ] && grep -q -- --help "$WORK/err"'
finish
