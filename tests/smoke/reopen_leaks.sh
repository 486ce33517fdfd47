#!/bin/sh
# The audio device opened and closed once, then ROUNDS times, each in a process
# of its own under the leak checker, printing which suppressions hid how many
# leaked blocks. Any leak no suppression names ends a run with an error. The
# suppressions name what SDL's sound and D-Bus code lose a few times in a
# process, as the server's sinks and sources change (a time or two however
# many streams open, and not even that in some runs). So each may hide at most
# two blocks more after ROUNDS rounds than after one; a leak of each opening
# would hide ROUNDS more, and one every few openings still over a dozen.
#
#   reopen_leaks.sh SMOKE_OUTPUT_REOPEN SERVER_FOLDER SUPPRESSIONS ROUNDS
set -u
program=$1 folder=$2 suppressions=$3 rounds=$4
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# Runs the program for $1 rounds; its output goes to $out/$1.
run() {
  LSAN_OPTIONS="${LSAN_OPTIONS:-}:suppressions=$suppressions:print_suppressions=1" \
    "$program" "$folder" "$1" >"$out/$1" 2>&1
}

# The suppressions' table of a run: "TEMPLATE COUNT" lines, sorted.
table() {
  awk '/^Suppressions used:/ { on = 1; next } on && /^-+$/ { on = 0 }
       on && $1 ~ /^[0-9]+$/ { print $3, $1 }' "$out/$1" | sort
}

for n in 1 "$rounds"; do
  run "$n"
  status=$?
  if [ "$status" -eq 77 ]; then
    cat "$out/$n"
    exit 77
  fi
  if [ "$status" -ne 0 ]; then
    echo "$n round(s): the program failed ($status):"
    cat "$out/$n"
    exit 1
  fi
done
echo "suppressed after 1 round:"
table 1
echo "suppressed after $rounds rounds:"
table "$rounds"
# Each suppression's count after ROUNDS rounds against its count after one.
grown=$( (table 1 | sed 's/^/one /'; table "$rounds" | sed 's/^/many /') |
  awk '$1 == "one" { one[$2] = $3 } $1 == "many" { many[$2] = $3 }
       END { for (t in many) if (many[t] > one[t] + 2) print t, one[t] + 0, "->", many[t] }')
if [ -n "$grown" ]; then
  echo "a suppression hides more leaks after $rounds rounds than after one, so a leak of each opening hides behind it:"
  echo "$grown"
  cat "$out/$rounds"
  exit 1
fi
echo "no suppression hides more than two leaks more after $rounds rounds than after one"
