#!/bin/bash
# Builds the aptconf libFuzzer targets with clang (ASan and UBSan) in the build tree and runs
# each for a few seconds, seeded with the captured fixtures. Fails on any crash or property
# violation. Usage: smoke.sh FUZZ_SOURCE_DIR OUTPUT_DIR [TARN_SANITIZE]
set -euo pipefail

src=$(cd "$1" && pwd)
out=$2
seconds=${APTCONF_FUZZ_SECONDS:-8}

if [[ "${3:-OFF}" == ON ]]; then
    echo "skipped: the sanitizer build runs the unit tests only"
    exit 77
fi
if ! command -v clang++ >/dev/null || ! pkg-config --exists Qt5Core Qt5Widgets; then
    echo "skipped: clang++ or the Qt 5 development files are missing"
    exit 77
fi

root=$(cd "$src/../../.." && pwd)
fixtures=$root/tests/fixtures/aptconf
mkdir -p "$out/obj"

# sourcelist.h declares the tree row too, so the Widgets headers are needed, not the library.
cxxflags=(-std=c++17 -O1 -g -fPIC -Wall -Wextra -Werror -fno-omit-frame-pointer
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -I"$root"
    $(pkg-config --cflags Qt5Core Qt5Widgets))
libs=($(pkg-config --libs Qt5Core))

# Rebuilds a file only when one of its sources is newer.
stale() {
    local target=$1
    shift
    [[ ! -e $target ]] && return 0
    local source
    for source in "$@"; do
        [[ $source -nt $target ]] && return 0
    done
    return 1
}

headers=("$root"/aptconf/*.h)
objects=()
for name in aptconfig sourcelist originpattern; do
    object=$out/obj/$name.o
    if stale "$object" "$root/aptconf/$name.cpp" "${headers[@]}"; then
        clang++ "${cxxflags[@]}" -fsanitize=fuzzer-no-link -c "$root/aptconf/$name.cpp" -o "$object" &
    fi
    objects+=("$object")
done
wait

targets=(fuzz_aptdump fuzz_sourcelist fuzz_originpattern)
for target in "${targets[@]}"; do
    if stale "$out/$target" "$src/$target.cpp" "${objects[@]}" "${headers[@]}"; then
        clang++ "${cxxflags[@]}" -fsanitize=fuzzer "$src/$target.cpp" "${objects[@]}" "${libs[@]}" \
            -o "$out/$target" &
    fi
done
wait
for target in "${targets[@]}"; do
    [[ -x $out/$target ]] || { echo "FAIL: $target was not built"; exit 1; }
done

# Seed corpora from the captured files.
mkdir -p "$out/corpus/aptdump" "$out/corpus/sourcelist" "$out/corpus/originpattern"
cp "$fixtures/apt-config-dump.txt" "$out/corpus/aptdump/"
for file in "$fixtures"/sources/*.list "$fixtures"/listdir/*.list; do
    if [[ -f $file ]]; then cp "$file" "$out/corpus/sourcelist/"; fi
done
i=0
grep -h '::Origins-Pattern:: ' "$fixtures/apt-config-dump.txt" | sed 's/^[^"]*"//; s/";$//' |
    while IFS= read -r pattern; do
        i=$((i + 1))
        printf '%s' "$pattern" >"$out/corpus/originpattern/seed$i"
    done

status=0
for target in "${targets[@]}"; do
    name=${target#fuzz_}
    log=$out/$target.log
    echo "running $target for ${seconds}s"
    if ! (cd "$out" && "./$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=4096 -print_final_stats=1 "corpus/$name" >"$log" 2>&1); then
        echo "FAIL: $target"
        tail -n 40 "$log"
        status=1
        continue
    fi
    grep -E '^stat::number_of_executed_units|^Done' "$log" || true
done
exit $status
