#!/usr/bin/env bash
# Sets up, builds and starts the show. Arguments are the show's switches.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
cd build/bin
exec ./zolt "$@"
