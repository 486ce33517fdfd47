#!/bin/sh
# A program started with no display says that it cannot open a window and why,
# and ends at once with an error instead of running on unseen.
program=$1
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u TULIMBO_BACKEND timeout 20 "$program" 2>&1)
rc=$?
if [ "$rc" -eq 0 ] || [ "$rc" -eq 124 ]; then
  echo "exit code $rc; output: $out"
  exit 1
fi
if ! printf '%s\n' "$out" | grep -q '^cannot open a window: no display is set'; then
  echo "unexpected output: $out"
  exit 1
fi
echo "$out"
