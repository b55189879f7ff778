#!/usr/bin/env bash
# Runs libFuzzer targets of a fuzz build: run_fuzzers.sh BUILD SECONDS [TARGET...]
# Each target runs SECONDS seconds on its corpus BUILD/corpus/<target> (seeded by
# write_fuzz_seeds), one after the other; findings go to BUILD/findings/<target>/ and
# the log of each run to BUILD/findings/<target>.log. Exits 1 when a target found
# something (a crash, a failed check, a leak, a hang over 30 s or 4 GB of memory).
set -uo pipefail
build=${1:?usage: run_fuzzers.sh BUILD SECONDS [TARGET...]}
seconds=${2:?usage: run_fuzzers.sh BUILD SECONDS [TARGET...]}
shift 2
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(picture_list wave_list dib records language startup save_slot)

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
status=0
for target in "${targets[@]}"; do
    program="$build/tests/fuzz/fuzz_$target"
    corpus="$build/corpus/$target"
    findings="$build/findings/$target"
    mkdir -p "$findings"
    [ -d "$corpus" ] || "$build/tests/fuzz/write_fuzz_seeds" "$build/corpus"
    # Whole packages and save slots are large inputs.
    case $target in
        startup|save_slot|records) max_len=2000000 ;;
        *) max_len=65536 ;;
    esac
    start=$(date +%s)
    "$program" -max_total_time="$seconds" -max_len="$max_len" -timeout=30 -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" >"$findings.log" 2>&1
    result=$?
    took=$(( $(date +%s) - start ))
    runs=$(grep -o 'Done [0-9]* runs' "$findings.log" | tail -1)
    if [ $result -eq 0 ]; then
        echo "$target: ${took}s without a finding (${runs:-no run count})"
    else
        echo "$target: FINDING after ${took}s, see $findings.log and $findings/"
        status=1
    fi
done
exit $status
