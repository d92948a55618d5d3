#!/usr/bin/env bash
# Sets up, builds and starts the show. Arguments are the show's switches.
# Without a display and without switches the show is recorded headless into
# build/bin/wirefall.avi (windowed, from the first frame).
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
cd build/bin
if [ $# -eq 0 ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: recording the show headless into $(pwd)/wirefall.avi"
  export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen}
  set -- /w /m
fi
exec ./zolt "$@"
