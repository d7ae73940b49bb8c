#!/usr/bin/env bash
# Builds the fuzz targets in build-fuzz (clang) and runs each for SECONDS over a scratch copy
# of its seed corpus. Usage: scripts/fuzz.sh SECONDS [target...]   (targets: bmp wav script option keyfile net netadmit netrecord lobby)
# Prints one line per target with the number of runs; stops at the first finding.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-5}
shift || true
TARGETS=("$@")
[ ${#TARGETS[@]} -eq 0 ] && TARGETS=(bmp wav script option keyfile net netadmit netrecord lobby)
cmake -S . -B build-fuzz -DPOMRIN_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${TARGETS[@]/#/fuzz_}" >/dev/null
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
for t in "${TARGETS[@]}"; do
    work=$(mktemp -d)
    cp -r "fuzz/corpus/$t" "$work/corpus"
    mkdir -p "$work/artifacts"
    log="$work/log.txt"
    if ! (cd "$work" && TMPDIR="$work" "$OLDPWD/build-fuzz/fuzz/fuzz_$t" -max_total_time="$SECONDS_EACH" \
            -rss_limit_mb=2048 -max_len=4096 -artifact_prefix="$work/artifacts/" -print_final_stats=1 \
            corpus >"$log" 2>&1); then
        tail -40 "$log"
        echo "fuzz_$t: FINDING, input kept in $work/artifacts" >&2
        exit 1
    fi
    runs=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | tail -1)
    echo "fuzz_$t: ${runs:-no summary}, corpus $(ls "$work/corpus" | wc -l) inputs"
    rm -rf "$work"
done
