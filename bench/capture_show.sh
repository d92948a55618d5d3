#!/usr/bin/env bash
# Times a whole capture of the show (zolt /w /m, headless) and compares it
# with the show's length, 452 beats at 130 BPM = 208.6 s, and reports the
# process's peak resident memory. Run from build/bin; extra arguments are
# passed to zolt (e.g. /cffv1 for another codec, /z2 for 1024x768, /s7 for
# the last scene alone). ZOLT=path times another build of the program in the
# same place, for before/after pairs on one machine.
set -euo pipefail
cd "$(dirname "$0")"
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
rm -f wirefall.avi
start=$(date +%s.%N)
/usr/bin/time -f "peak resident memory %M KB" -o capture_show.mem "${ZOLT:-./zolt}" /w /m "$@"
end=$(date +%s.%N)
cat capture_show.mem && rm -f capture_show.mem
frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 wirefall.avi)
fps=$(ffprobe -v error -select_streams v:0 -show_entries stream=r_frame_rate -of csv=p=0 wirefall.avi)
# The length recorded is what the show played (all of it once every scene is
# built); start-up, loading and its 3-second pause count in the capture time.
awk -v s="$start" -v e="$end" -v f="$frames" -v r="$fps" 'BEGIN {
  split(r, q, "/"); rate = q[1] / q[2];
  t = e - s; show = f / rate;
  printf "capture took %.1f s for %d frames; show time recorded %.1f s (whole show 208.6 s); ratio capture/show %.2f\n", t, f, show, t / show }'
