#!/usr/bin/env bash
# Sets up and builds (tools/setup.sh), then runs every test: the unit and
# headless program tests and the smoke test of the real window under Xvfb;
# then the whole suite again under the address, undefined-behaviour and leak
# sanitizers (build-sanitize/); then each fuzz target briefly (tools/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
./tools/setup.sh
# No file outside the SDL backend may include SDL.
if grep -rlE '#include\s*[<"]SDL' --include='*.cpp' --include='*.h' platform shared karaoke games rhymes songs tests tools \
   | grep -v '^platform/backend/sdl/'; then
  echo "SDL is included outside platform/backend/sdl" >&2
  exit 1
fi
(cd build && ctest --output-on-failure -j"$(nproc)" --timeout 600)

# The suite under the sanitizers: any report ends the test program with an
# error, so the test fails. The suppressions name the functions of the system's
# D-Bus and sound server client libraries whose memory SDL loses (see the file).
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTULIMBO_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j"$(nproc)"
(cd build-sanitize &&
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1 \
  LSAN_OPTIONS=suppressions="$root/tools/sanitizer/lsan.supp":print_suppressions=0 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --output-on-failure -j"$(nproc)" --timeout 900)

# The readers under the fuzzers, briefly: a change that crashes one does not land.
./tools/fuzz.sh "${TULIMBO_CI_FUZZ_SECONDS:-15}"
