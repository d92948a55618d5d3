#!/bin/sh
# gpu_check.sh: on a machine with an NVIDIA driver, plays every scene's
# reference frames and times every scene at 640x480 on both distortion
# paths (the board's texture shaders, and the fragment program forced by
# ZOLT_DISTORTION=arb), headless through EGL, and writes a short report.
# Where no NVIDIA driver exists it says so and exits 0.
#
# usage: tools/gpu_check.sh [build-dir] [report-file]
#   build-dir defaults to build (zolt_tests, scene_bench and trov.qz5 in
#   its bin/); the report defaults to <build-dir>/gpu_check.txt.
# Environment: GPU_CHECK_FORCE_SKIP=1 acts as if no driver were present;
# GPU_CHECK_ANY_DRIVER=1 rehearses the whole check on whatever driver is
# here (Mesa too), with the report saying so.
set -u

build=${1:-build}
report=${2:-$build/gpu_check.txt}
start=$(date +%s)

rehearsal=${GPU_CHECK_ANY_DRIVER:-0}

has_nvidia_driver() {
  [ "${GPU_CHECK_FORCE_SKIP:-0}" = 1 ] && return 1
  [ "$rehearsal" = 1 ] && return 0
  [ -r /proc/driver/nvidia/version ] && return 0
  command -v nvidia-smi >/dev/null 2>&1 && nvidia-smi -L >/dev/null 2>&1
}

if ! has_nvidia_driver; then
  echo "skipped: no NVIDIA driver"
  exit 0
fi

# SDL's offscreen driver makes its context through EGL; glvnd picks the
# vendor library from these files, so point it at NVIDIA's alone. A
# rehearsal keeps whichever library is here.
vendor_file="(rehearsal: the driver that is here)"
if [ "$rehearsal" != 1 ]; then
  vendor_file=
  for dir in /etc/glvnd/egl_vendor.d /usr/share/glvnd/egl_vendor.d /usr/local/share/glvnd/egl_vendor.d; do
    for file in "$dir"/*nvidia*.json; do
      [ -r "$file" ] && [ -z "$vendor_file" ] && vendor_file=$file
    done
  done
  if [ -z "$vendor_file" ]; then
    echo "gpu_check: an NVIDIA driver is here but not its EGL vendor library (no egl_vendor.d/*nvidia*.json)" >&2
    exit 1
  fi
  export __EGL_VENDOR_LIBRARY_FILENAMES="$vendor_file"
fi

bin=$build/bin
for tool in zolt_tests scene_bench trov.qz5; do
  if [ ! -e "$bin/$tool" ]; then
    echo "gpu_check: $bin/$tool is missing; build first: cmake --build $build --target zolt_tests scene_bench" >&2
    exit 1
  fi
done

export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

{
  echo "gpu check, $(date -u '+%Y-%m-%d %H:%M UTC')"
  if [ "$rehearsal" = 1 ]; then
    echo "driver: rehearsal, whichever is here (named on the scene player lines)"
  else
    echo "driver: $(head -n 1 /proc/driver/nvidia/version 2>/dev/null || nvidia-smi -L 2>/dev/null | head -n 1)"
  fi
  echo "EGL vendor file: $vendor_file"
} > "$report"

for path in nv arb; do
  # The hidden switch: unset runs the board's own path, arb the translation.
  if [ "$path" = arb ]; then export ZOLT_DISTORTION=arb; else unset ZOLT_DISTORTION; fi
  echo "" >> "$report"
  echo "== path $path" >> "$report"
  (cd "$bin" && timeout 150 ./zolt_tests --gtest_brief=1 --gtest_filter='FinishedScenes/ReferenceFrames.*' \
      > "$work/ref-$path.txt" 2>&1)
  status=$?
  grep -m 1 '^scene player:' "$work/ref-$path.txt" >> "$report"
  if [ $status -eq 0 ]; then
    echo "reference frames: all scenes match" >> "$report"
  else
    failed=1
    echo "reference frames: FAILED (status $status)" >> "$report"
    grep -E '^scene [0-9]+ at beat|FAILED' "$work/ref-$path.txt" | head -n 40 >> "$report"
    # Mismatching frames lie in the build's captures/; keep them per path.
    if [ -d "$bin/captures" ]; then
      mkdir -p "$bin/captures/gpu-$path"
      mv "$bin"/captures/reference-mismatch-* "$bin/captures/gpu-$path/" 2>/dev/null
    fi
  fi
  echo "scene | median ms | p99 ms | worst ms | segments/frame max" >> "$report"
  for scene in 0 1 2 3 4 5 6 7; do
    # The check keeps to five minutes; rows past that are named, not run.
    if [ $(( $(date +%s) - start )) -gt 270 ]; then
      failed=1
      echo "$scene | not run (five minutes spent)" >> "$report"
      continue
    fi
    # The first line is the row; the slowest frames follow it.
    (cd "$bin" && timeout 120 ./scene_bench "$scene" 640 480 > "$work/bench.txt" 2>/dev/null)
    status=$?
    row=$(head -n 1 "$work/bench.txt")
    if [ $status -eq 0 ] && [ -n "$row" ]; then
      echo "$row" | awk -v s="$scene" '{ printf "%s | %s | %s | %s | %s\n", s, $4, $5, $6, $8 }' >> "$report"
    else
      failed=1
      echo "$scene | failed" >> "$report"
    fi
  done
done

echo "" >> "$report"
echo "took $(( $(date +%s) - start )) s" >> "$report"
cat "$report"
exit $failed
