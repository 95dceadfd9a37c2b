#!/bin/bash
# Runs a command in a private mount namespace in which system files are replaced,
# leaving no trace on the machine. Needs root.
#
#   sandbox-run.sh [--overlay DIR=SRCDIR]... [--bind SRC=DST]... -- COMMAND [ARGS...]
#
# --overlay lays the files of SRCDIR over DIR (the rest of DIR stays visible);
# --bind mounts SRC over DST (which must exist), so later changes to SRC show inside.
set -euo pipefail
mounts=()
while [ $# -gt 0 ]; do
    case $1 in
    --overlay | --bind) mounts+=("$1" "$2"); shift 2 ;;
    --) shift; break ;;
    *) echo "sandbox-run: unknown option $1" >&2; exit 2 ;;
    esac
done
[ $# -gt 0 ] || { echo "sandbox-run: no command" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tarn-sandbox.XXXXXX")
# The overlay's folders must stay until the namespace ends: they go with the caller's
# temporary folder (lib.sh points TMPDIR there).
script='set -e
work=$1; shift
i=0
while [ "$1" != "--" ]; do
    kind=$1 mapping=$2; shift 2
    i=$((i + 1))
    if [ "$kind" = --overlay ]; then
        target=${mapping%%=*} source=${mapping#*=}
        mkdir -p "$work/$i/up" "$work/$i/work"
        cp -a "$source/." "$work/$i/up/"
        mount -t overlay overlay -o "lowerdir=$target,upperdir=$work/$i/up,workdir=$work/$i/work" "$target"
    else
        source=${mapping%%=*} target=${mapping#*=}
        mount --bind "$source" "$target"
    fi
done
shift
exec "$@"'
exec unshare -m --propagation private bash -c "$script" sandbox "$work" "${mounts[@]}" -- "$@"
