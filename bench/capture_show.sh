#!/usr/bin/env bash
# Times a whole capture of the show (zolt /w /m, headless) and compares it
# with the show's length, 452 beats at 130 BPM = 208.6 s. Run from build/bin;
# extra arguments are passed to zolt (e.g. /cffv1 for another codec).
set -euo pipefail
cd "$(dirname "$0")"
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
rm -f wirefall.avi
start=$(date +%s.%N)
./zolt /w /m "$@"
end=$(date +%s.%N)
frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 wirefall.avi)
awk -v s="$start" -v e="$end" -v f="$frames" 'BEGIN {
  t = e - s; show = 452 * 60 / 130;
  printf "capture took %.1f s for %d frames; show length %.1f s; ratio capture/show %.2f\n", t, f, show, t / show }'
