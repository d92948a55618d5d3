#!/usr/bin/env bash
# Measures every scene with scene_bench (640x480 and 1280x960, one scene
# after the other) and prints the README's frame-time table, then each
# scene's slowest frames. Run it on a quiet machine: the rows are only as
# good as the machine is idle.
#
#   bench_table.sh [--readme FILE] [scene ...]
#
# Scenes 0 to 7 by default. With --readme, the rows measured replace the
# same scene's rows in FILE's table (the other rows stay as they are).
# Run from build/bin or anywhere: it changes to its own folder, beside
# trov.qz5. SCENE_BENCH names another benchmark program (for checks).
set -euo pipefail
readme=""
if [[ "${1:-}" == "--readme" ]]; then
  readme=$(realpath "${2:?--readme needs a file}")
  shift 2
  [[ -f "$readme" ]] || { echo "bench_table.sh: no such file: $readme" >&2; exit 2; }
fi
scenes=("$@")
[[ ${#scenes[@]} -gt 0 ]] || scenes=(0 1 2 3 4 5 6 7)
cd "$(dirname "$0")"
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
bench=${SCENE_BENCH:-./scene_bench}

rows=$(mktemp)
slow=$(mktemp)
trap 'rm -f "$rows" "$slow"' EXIT
for scene in "${scenes[@]}"; do
  out=$("$bench" "$scene") || { echo "bench_table.sh: scene $scene failed" >&2; exit 1; }
  grep "^| $scene |" <<<"$out" >>"$rows"
  grep "^slowest" <<<"$out" | sed "s/^/scene $scene, /" >>"$slow"
done

echo "| scene | size | frames | median ms | p99 ms | worst ms | segments/frame median | segments/frame max | peak MB |"
echo "|---|---|---|---|---|---|---|---|---|"
cat "$rows"
echo
cat "$slow"

if [[ -n "$readme" ]]; then
  # Each row is keyed by its scene and size; a key measured now replaces
  # the row of that key, every other line is kept.
  awk -v rowsFile="$rows" '
    BEGIN { while ((getline line < rowsFile) > 0) { split(line, f, "|"); fresh[f[2] "|" f[3]] = line } }
    /^\| [0-7] \| [0-9]+x[0-9]+ \|/ { split($0, f, "|"); key = f[2] "|" f[3]; if (key in fresh) { print fresh[key]; next } }
    { print }' "$readme" >"$readme.new"
  mv "$readme.new" "$readme"
  echo "rows written into $readme"
fi
