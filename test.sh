#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite (headless).
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
ctest --test-dir build --output-on-failure -j"$(nproc)"
