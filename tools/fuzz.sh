#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz and runs each for the given number of seconds.
# Usage: tools/fuzz.sh [seconds per target, default 60]. Fails on any crash or broken invariant;
# the input that caused it is left in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${FUZZ_BUILD:-build-fuzz}
jobs=${JOBS:-$(nproc)}
targets=(fuzz_combination fuzz_settings fuzz_numeric_place fuzz_datetime fuzz_texttables)

# Every library is instrumented for coverage and the sanitizers; libFuzzer's main is linked
# only into the fuzzers. Undefined behaviour must stop the run, not just print.
sanitize="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
start=$(date +%s)
cmake -S . -B "$build" -G Ninja \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="$sanitize -fno-omit-frame-pointer" \
  -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_FUZZ=ON >/dev/null
cmake --build "$build" -j "$jobs" --target velmora_fuzzers
built=$(date +%s)

export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
mkdir -p "$build/artifacts" "$build/logs"
summary=()
failed=0
for t in "${targets[@]}"; do
  # New inputs go to the first folder, so the seeds in the repository stay as they are.
  work="$build/corpus/$t"
  mkdir -p "$work"
  log="$build/logs/$t.log"
  echo "fuzz: $t for ${seconds}s"
  rc=0
  "$build/fuzzers/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" \
    "$work" "fuzz/corpus/$t" >"$log" 2>&1 || rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  corpus=$(ls "$work" | wc -l)
  if [ "$rc" -ne 0 ]; then
    failed=1
    summary+=("$(printf '%-20s FAILED (exit %s), see %s' "$t" "$rc" "$log")")
    grep -E 'ERROR|invariant failed|SUMMARY|Test unit written' "$log" | head -20 >&2 || true
  else
    summary+=("$(printf '%-20s ok  %10s runs in %ss, %s new corpus files' "$t" "${runs:-?}" "$seconds" "$corpus")")
  fi
done
finished=$(date +%s)

echo
echo "fuzz summary (build $((built - start))s, runs $((finished - built))s):"
printf '  %s\n' "${summary[@]}"
exit "$failed"
