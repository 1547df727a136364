#!/usr/bin/env bash
# Sets up, builds and runs every test. With "sanitize", builds and runs them under AddressSanitizer
# and UndefinedBehaviorSanitizer instead; with "tsan", builds and runs only the tests of our own
# threads (the sound device's feeder) under ThreadSanitizer, where any report fails.
set -euo pipefail
cd "$(dirname "$0")/.."
variant="${1:-release}"
tools/setup.sh
if [ "$variant" = tsan ]; then
  tools/build.sh tsan audio_thread_tests
  # The loopback device needs no sound server; without one named, OpenAL Soft also starts
  # PulseAudio's own threads, whose uninstrumented locking TSan reports as races of ours.
  ALSOFT_DRIVERS=null TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1" \
    build/tsan/tests/audio/audio_thread_tests
  exit
fi
tools/build.sh "$variant"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "build/$variant" --output-on-failure -j "$(nproc)"
