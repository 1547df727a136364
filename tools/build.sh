#!/usr/bin/env bash
# Configures and builds one variant into build/<variant>: "release" (default), "sanitize"
# (AddressSanitizer and UndefinedBehaviorSanitizer) or "tsan" (ThreadSanitizer, meant for the
# threaded tests' binary only: tools/test.sh tsan). Targets after the variant build only those
# (tools/build.sh release vorl); none builds everything.
set -euo pipefail
cd "$(dirname "$0")/.."

variant="${1:-release}"
shift || true
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
case "$variant" in
  release)  flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  sanitize) flags=(-DCMAKE_BUILD_TYPE=Debug -DVORL_SANITIZE=ON -DVORL_BENCH=OFF) ;;
  tsan)     flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORL_TSAN=ON -DVORL_BENCH=OFF) ;;
  *) echo "unknown build variant: $variant (release, sanitize or tsan)" >&2; exit 2 ;;
esac

cmake -S . -B "build/$variant" -G Ninja "${flags[@]}" >/dev/null
cmake --build "build/$variant" -j "$(nproc)" "${targets[@]}"
