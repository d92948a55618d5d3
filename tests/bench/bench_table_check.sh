#!/usr/bin/env bash
# Runs bench_table.sh (argument 1) for scene 6 with a stand-in scene_bench
# on a small README and checks what it printed and what it wrote.
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/scene_bench" <<'STUB'
#!/usr/bin/env bash
echo "| $1 | 640x480 | 9 | 1.00 | 2.00 | 3.00 | 4 | 5 | 6 |"
echo "| $1 | 1280x960 | 9 | 7.00 | 8.00 | 9.00 | 4 | 5 | 6 |"
echo "slowest frames at 640x480: beat 32.07 (3.00 ms, 5 segments)"
STUB
chmod +x "$work/scene_bench"
cat >"$work/README.md" <<'TEXT'
| scene | size | frames |
| 6 | 640x480 | 1 | old |
| 6 | 1280x960 | 1 | old |
| 7 | 640x480 | 1 | old |
Measured before.
TEXT
out=$(SCENE_BENCH="$work/scene_bench" "$1" --readme "$work/README.md" 6)
grep -qx "| 6 | 1280x960 | 9 | 7.00 | 8.00 | 9.00 | 4 | 5 | 6 |" <<<"$out" || { echo "no row printed: $out"; exit 1; }
grep -q "^scene 6, slowest frames at 640x480: beat 32.07" <<<"$out" || { echo "no slowest frames: $out"; exit 1; }
expected='| scene | size | frames |
| 6 | 640x480 | 9 | 1.00 | 2.00 | 3.00 | 4 | 5 | 6 |
| 6 | 1280x960 | 9 | 7.00 | 8.00 | 9.00 | 4 | 5 | 6 |
| 7 | 640x480 | 1 | old |
Measured before.'
[[ "$(cat "$work/README.md")" == "$expected" ]] || { echo "README now:"; cat "$work/README.md"; exit 1; }
if SCENE_BENCH=false "$1" 6 >/dev/null 2>&1; then echo "a failed measurement passed"; exit 1; fi
echo ok
