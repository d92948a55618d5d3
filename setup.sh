#!/usr/bin/env bash
# Installs what the build, the tests and the content tools need, then
# configures and builds zolt in Release into build/.
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  # build and run
  cmake g++ pkg-config libsdl2-dev libsdl2-mixer-dev libgtk-3-dev
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev lib3ds-dev
  libpng-dev zlib1g-dev libgl1-mesa-dev libglu1-mesa-dev libegl-mesa0
  libgl1-mesa-dri
  # content tools
  libcairo2-dev libfreetype-dev fonts-dejavu-core libjpeg-dev libmp3lame-dev
  # tests and benchmarks
  libgtest-dev libbenchmark-dev ffmpeg libjpeg-turbo-progs xvfb x11-apps time
  clang libclang-rt-14-dev
  # install and package checks
  dpkg-dev desktop-file-utils lintian
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
