#!/usr/bin/env bash
# Installs what the build needs from Debian's packages (as root or through sudo),
# then configures and builds everything into build/. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake pkg-config libgtest-dev libsdl2-dev libx11-dev libfluidsynth-dev libsoxr-dev timgm6mb-soundfont
          libfreetype-dev libfontconfig-dev libpng-dev fonts-liberation fonts-dejavu-core espeak-ng
          libaubio-dev librubberband-dev
          xvfb xauth x11-utils xdotool clang llvm libclang-rt-dev)
# No sound server here: on a desktop whose server is another one, a second server
# could take over its sound at the next login. The tests start one of their own
# where one is installed (CI installs it).
./tools/apt_install.sh "${packages[@]}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
