#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/ and runs each for SECONDS (default
# 60), one after the other, starting from its seeds in fuzz/corpus/<name>/.
# Exits non-zero when any target finds a crash, a leak, a sanitizer report or
# a timeout; the input that did it is kept in build-fuzz/artifacts/. SECONDS 0
# only runs the seeds and what earlier runs added.
#   scripts/fuzz.sh [SECONDS] [NAME...]   e.g. scripts/fuzz.sh 300 ini_file sql
set -euo pipefail
TEV_SCRIPT=fuzz.sh
# shellcheck source=scripts/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$TEV_ROOT"

scripts/install-deps.sh
seconds=${1:-60}
[[ $seconds =~ ^[0-9]+$ ]] || tev_die "usage: scripts/fuzz.sh [SECONDS] [NAME...]"
shift || true
clang=${TEV_FUZZ_CXX:-/usr/bin/clang++}
[[ -x $clang ]] || tev_die "$clang not found (clang and libclang-rt-dev are needed for libFuzzer)"

bdir=build-fuzz
# Debug keeps the assertions; -O1 keeps the fuzzers fast enough.
tev_build "$bdir" Debug fuzz_targets -DTEV_FUZZ=ON -DCMAKE_CXX_COMPILER="$clang" \
    -DCMAKE_CXX_FLAGS_DEBUG="-g -O1"

targets=("$@")
if ((${#targets[@]} == 0)); then
    for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$bdir/artifacts"
failed=()
for name in "${targets[@]}"; do
    exe=$bdir/fuzz/fuzz_$name
    [[ -x $exe ]] || tev_die "no fuzz target $name ($exe)"
    [[ -d fuzz/corpus/$name ]] || tev_die "no seed corpus fuzz/corpus/$name"
    # New inputs go to the build folder's corpus; the seeds in the repository stay as they are.
    work=$bdir/corpus/$name
    mkdir -p "$work"
    log=$bdir/fuzz-$name.log
    tev_log "fuzzing $name for ${seconds}s (log: $log)"
    limit=(-max_total_time="$seconds")
    ((seconds > 0)) || limit=(-runs=0) # libFuzzer takes a time of 0 as "no limit"
    if nice -n 10 "$exe" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$bdir/artifacts/$name-" -print_final_stats=1 \
        "$work" "fuzz/corpus/$name" >"$log" 2>&1; then
        tev_log "$name: $(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}') runs, no finding"
    else
        tev_log "$name: FOUND A FAULT; the end of its log:"
        tail -n 40 "$log" >&2
        failed+=("$name")
    fi
done
if ((${#failed[@]})); then
    tev_die "faults found by: ${failed[*]} (inputs in $bdir/artifacts/)"
fi
tev_log "every target ran ${seconds}s without a finding"
