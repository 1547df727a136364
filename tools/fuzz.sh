#!/usr/bin/env bash
# Builds the data-reader fuzz target with clang, libFuzzer, AddressSanitizer and UBSan into
# build/fuzz, and runs it for the given number of seconds (default 60), seeded from the committed
# corpus of worked examples. New inputs go to build/fuzz/corpus, crashes to build/fuzz/crashes.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORL_FUZZ=ON -DVORL_SANITIZE=ON -DVORL_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" >/dev/null
cmake --build build/fuzz --target data_reader_fuzz -j "$(nproc)"

mkdir -p build/fuzz/corpus build/fuzz/crashes
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
build/fuzz/tests/fuzz/data_reader_fuzz -max_total_time="$seconds" -max_len=4096 \
    -artifact_prefix=build/fuzz/crashes/ -print_final_stats=1 \
    build/fuzz/corpus tests/fuzz/corpus
