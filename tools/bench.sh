#!/usr/bin/env bash
# Builds the benchmarks in a Release tree of their own and runs every one of them.
# Extra arguments go to each benchmark program (for example --benchmark_filter=Tick).
# TIMER_TICKS sets how many real beats the music clock is timed for (0 skips it); HEARD_BEATS
# how many beats are played into audio to find their onsets (0 skips it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD:-$root/build-bench}
jobs=${JOBS:-$(nproc)}
ticks=${TIMER_TICKS:-300}
heard=${HEARD_BEATS:-60}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DVELMORA_BUILD_BENCH=ON -DVELMORA_BUILD_TESTS=OFF >/dev/null
benches=(texttables_bench startup_bench window_bench music_bench atlas_bench vector_bench)
cmake --build "$build" -j "$jobs" --target "${benches[@]}"

export QT_QPA_PLATFORM=offscreen
echo "== $(date -Iseconds) on $(nproc) cores, load average: $(cut -d' ' -f1-3 /proc/loadavg)"
status=0
for b in "${benches[@]}"; do
  echo
  echo "== $b"
  extra=()
  [ "$b" = music_bench ] && extra=(--timer_ticks="$ticks" --heard_beats="$heard")
  "$build/bin/$b" "${extra[@]}" "$@" || status=1
done
exit $status
