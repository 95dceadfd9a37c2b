#!/bin/bash
# bench-checker.sh [APT_CHECK] [RUNS] - wall time, CPU time and peak RSS of apt_check,
# apt_check -s, the same count done with python3-apt, and apt-get -s dist-upgrade, all on
# this machine's own APT state (read only), medians of RUNS (default 5) after one untimed
# warm-up each, the four taking turns; then the ratios against the targets.
#
# Two runs of everything: APT as configured here, and the same lists, status and sources
# with APT's binary cache (pkgcache.bin) switched on in a private directory, as on a
# desktop after "apt-get update" (some systems, containers above all, switch it off).
set -u
HERE=$(dirname "$(realpath "$0")")
CHECK=$(realpath "${1:-$HERE/../../build/checker/apt_check}")
RUNS=${2:-5}
PYTHON_COUNT=$HERE/count-python-apt.py
[ -x "$CHECK" ] || { echo "no apt_check at $CHECK" >&2; exit 1; }
/usr/bin/python3 -c 'import apt_pkg' 2>/dev/null || { echo "python3-apt is missing (apt-get install python3-apt)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "GNU time is missing (apt-get install time)" >&2; exit 1; }

WORK=$(mktemp -d /tmp/tarn-bench-checker.XXXXXX)
trap 'rm -rf "$WORK"' EXIT

# APT_CONFIG for the host's state with a binary cache of our own. The host's parts are
# copied except those that switch the cache off: they are read after APT_CONFIG and
# would win. Downloaded archives are still looked for where the host keeps them.
mkdir -p "$WORK/parts" "$WORK/cache"
for part in /etc/apt/apt.conf.d/*; do
    [ -f "$part" ] || continue
    grep -Eqi 'Dir::Cache::(src)?pkgcache' "$part" || cp "$part" "$WORK/parts/"
done
cat >"$WORK/cached.conf" <<EOF
Dir::Etc::Parts "$WORK/parts/";
Dir::Cache "$WORK/cache/";
Dir::Cache::archives "$(apt-config shell A Dir::Cache::archives/d | sed -n "s/^A='\(.*\)'$/\1/p")";
Dir::Cache::pkgcache "pkgcache.bin";
Dir::Cache::srcpkgcache "srcpkgcache.bin";
EOF

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# run_round NAME COMMAND...: one timed run, appended to $WORK/NAME.times
run_round() {
    local name=$1
    shift
    /usr/bin/time -a -o "$WORK/$name.times" -f '%e %U %S %M' "$@" >/dev/null 2>&1
}

# report NAME LABEL: sets WALL_<NAME>, CPU_<NAME> (s) and RSS_<NAME> (KiB) to the medians, prints them
report() {
    local name=$1 label=$2 times=$WORK/$1.times
    printf -v "WALL_$name" '%s' "$(awk '{ print $1 }' "$times" | median)"
    printf -v "CPU_$name" '%s' "$(awk '{ print $2 + $3 }' "$times" | median)"
    printf -v "RSS_$name" '%s' "$(awk '{ print $4 }' "$times" | median)"
    local wall=WALL_$name cpu=CPU_$name rss=RSS_$name
    printf '  %-24s wall %6.3f s   cpu %6.3f s   peak RSS %5.1f MiB   (walls: %s)\n' "$label" "${!wall}" "${!cpu}" \
        "$(awk -v k="${!rss}" 'BEGIN { print k / 1024 }')" "$(awk '{ print $1 }' "$times" | paste -sd' ')"
}

# ratio LABEL A B LIMIT: prints A/B against the target "at most LIMIT"
ratio() {
    local value
    value=$(awk -v a="$2" -v b="$3" 'BEGIN { print a / b }')
    printf '  %-42s %5.2f  (target <= %s: %s)\n' "$1" "$value" "$4" \
        "$(awk -v v="$value" -v l="$4" 'BEGIN { print (v <= l) ? "met" : "MISSED" }')"
}

echo "apt_check benchmark: $(nproc) CPUs, load $(cut -d' ' -f1-3 /proc/loadavg), $RUNS runs each (medians)"
echo "installed packages: $(dpkg-query -W -f '${db:Status-Abbrev}\n' | grep -c '^ii')"
for state in configured cached; do
    if [ "$state" = configured ]; then
        unset APT_CONFIG
        echo
        echo "== APT as configured here (binary cache: $(apt-config shell C Dir::Cache::pkgcache | sed -n "s/^C='\(.*\)'$/\1/p" | grep . || echo off))"
    else
        export APT_CONFIG=$WORK/cached.conf
        "$CHECK" >/dev/null 2>&1 # builds pkgcache.bin
        echo
        echo "== the same state with a binary cache ($(du -h "$WORK/cache/pkgcache.bin" | cut -f1) pkgcache.bin)"
    fi
    echo "  counts: apt_check $("$CHECK" 2>&1 | paste -sd' '), python3-apt $(/usr/bin/python3 "$PYTHON_COUNT" 2>&1 | paste -sd' '), apt-get $(apt-get -s dist-upgrade 2>/dev/null | sed -n 's/^\([0-9]*\) upgraded, \([0-9]*\) newly installed, \([0-9]*\) to remove.*/\1;\2;\3/p')"
    # The four take turns, so that other work on the machine weighs on all of them alike.
    rm -f "$WORK"/*.times
    "$CHECK" -s >/dev/null 2>&1
    /usr/bin/python3 "$PYTHON_COUNT" >/dev/null 2>&1
    apt-get -s dist-upgrade >/dev/null 2>&1
    for _ in $(seq "$RUNS"); do
        run_round counts "$CHECK"
        run_round sizes "$CHECK" -s
        run_round python /usr/bin/python3 "$PYTHON_COUNT"
        run_round aptget apt-get -s dist-upgrade
    done
    report counts "apt_check"
    report sizes "apt_check -s"
    report python "python3-apt count"
    report aptget "apt-get -s dist-upgrade"
    ratio "apt_check wall / python3-apt wall" "$WALL_counts" "$WALL_python" 0.8
    ratio "apt_check wall / apt-get -s wall" "$WALL_counts" "$WALL_aptget" 0.25
    ratio "apt_check peak RSS / python3-apt peak RSS" "$RSS_counts" "$RSS_python" 0.9
    ratio "apt_check -s wall / apt_check wall" "$WALL_sizes" "$WALL_counts" 1.6
    ratio "(cpu) apt_check / python3-apt" "$CPU_counts" "$CPU_python" 0.8
    ratio "(cpu) apt_check / apt-get -s" "$CPU_counts" "$CPU_aptget" 0.25
done
