#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan and
# runs the whole test suite there. Any report stops the test that made it, and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${ASAN_BUILD:-build-asan}
jobs=${JOBS:-$(nproc)}
here=$(pwd)

# -O1 keeps the suite fast enough while the reports still point at the right lines.
flags="-O1 -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"

# Set before the build too: test discovery runs the test programs.
# A small quarantine: the long-run tests measure resident memory, and the default 256 MB of freed
# blocks held back would read as growth.
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:quarantine_size_mb=16}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
# Leaks in the system libraries the toolkit loads (fonts, the platform plugin) are theirs, not
# ours: the file names only those libraries, never a function of this program.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/tools/lsan.supp:print_suppressions=0}
export QT_QPA_PLATFORM=offscreen
# The long runs show that nothing grows or leaks, which a thousand beats of each cycle show as
# well; the sanitizers make ten thousand take longer than a test may run on 2 cores.
export VELMORA_LONGRUN_TICKS=${VELMORA_LONGRUN_TICKS:-1000}

cmake -S . -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DVELMORA_BUILD_TESTS=ON -DVELMORA_TEST_TIMEOUT=900 >/dev/null
cmake --build "$build" -j "$jobs"
cd "$build"
ctest --output-on-failure -j "$jobs" --timeout 900
