#!/usr/bin/env bash
# Sets up, builds and starts the game. Only the game is built; tests and benchmarks wait for
# tools/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh release vorl
exec build/release/vorl
