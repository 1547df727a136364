#!/usr/bin/env bash
# Records the game's whole mix as a player hears it and measures it: the headless runner plays
# every level by its solution in real time, with sound, through OpenAL Soft's wave-file back end;
# ffmpeg's EBU R128 meter then gives the integrated loudness and the true peak, and sox the peak
# and RMS levels.
#
# Usage: tools/measure_mix.sh [<build folder>] [<file.wav>]
#   defaults: build/release, and the recording is thrown away; name a file to keep it.
# Takes the length of the whole game played (about five minutes). Needs sox and ffmpeg.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
capture="${2:-$work/mix.wav}"

cat > "$work/alsoft.conf" <<CONF
[general]
drivers = wave
frequency = 44100
channels = stereo
[wave]
file = $capture
CONF

ALSOFT_CONF="$work/alsoft.conf" "$build/tools/headless_runner" assets --solutions --step game \
  --sound --until 20 --frames 100000 > "$work/run.log"
echo "$(grep -c LevelStarted "$work/run.log") levels, $(grep -c ': win' "$work/run.log") won"
ffmpeg -nostats -hide_banner -i "$capture" -af ebur128=peak=true -f null - 2>&1 |
  sed -n '/Summary:/,$p'
sox "$capture" -n stats 2>&1 | grep -E '^(Pk lev dB|RMS lev dB|Length s)'
