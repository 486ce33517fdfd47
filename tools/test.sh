#!/usr/bin/env bash
# Sets up and builds (tools/setup.sh), then runs every test: the unit and
# headless program tests, and the smoke test of the real window under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup.sh
# No file outside the SDL backend may include SDL.
if grep -rlE '#include\s*[<"]SDL' --include='*.cpp' --include='*.h' platform shared karaoke games rhymes songs tests tools \
   | grep -v '^platform/backend/sdl/'; then
  echo "SDL is included outside platform/backend/sdl" >&2
  exit 1
fi
cd build
ctest --output-on-failure -j"$(nproc)" --timeout 600
