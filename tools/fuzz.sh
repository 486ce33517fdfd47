#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang into build-fuzz/ and runs
# each for SECONDS (default 15), several at once. Fails when a target finds a
# crash, a sanitizer report, a leak, an input slower than the per-input limit
# or one that needs more memory than the limit.
#
#   tools/fuzz.sh [SECONDS] [TARGET...]
#
# Each run starts from the committed seeds (tests/fuzz/corpus/<name>/) and a
# working corpus in build-fuzz/corpus/<name>/ that grows from run to run; what
# a target finds is written to build-fuzz/findings/<name>/, and its log to
# build-fuzz/logs/<name>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

seconds=${1:-15}
shift || true
# The slowest any single input may be, and the memory a target may take.
per_input_seconds=${TULIMBO_FUZZ_TIMEOUT:-2}
rss_limit_mb=${TULIMBO_FUZZ_RSS_MB:-2048}

build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTULIMBO_FUZZ=ON \
  -DTULIMBO_SDL=OFF -DTULIMBO_SAMPLE_DATA_ALL=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzzers >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in tests/fuzz/fuzz_*.cpp; do
    name=$(basename "$src" .cpp)
    targets+=("${name#fuzz_}")
  done
fi

# Several targets at once, but no more than the processors allow.
jobs=${TULIMBO_FUZZ_JOBS:-$(nproc)}
mkdir -p "$build/logs"

run_one() {
  local name=$1
  local corpus="$build/corpus/$name" findings="$build/findings/$name" seeds="tests/fuzz/corpus/$name"
  local dict="tests/fuzz/$name.dict"
  mkdir -p "$corpus" "$findings"
  local args=(-max_total_time="$seconds" -timeout="$per_input_seconds" -rss_limit_mb="$rss_limit_mb"
              -detect_leaks=1 -print_final_stats=1 -artifact_prefix="$findings/")
  [ -f "$dict" ] && args+=(-dict="$dict")
  local dirs=("$corpus")
  [ -d "$seeds" ] && dirs+=("$seeds")
  # The sanitizers stop at their first report, and LeakSanitizer runs at exit.
  ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/bin/fuzz_$name" "${args[@]}" "${dirs[@]}" >"$build/logs/$name.log" 2>&1
}

failed=()
started=()
for name in "${targets[@]}"; do
  if [ ! -x "$build/bin/fuzz_$name" ]; then
    echo "fuzz: no target fuzz_$name" >&2
    failed+=("$name")
    continue
  fi
  rm -f "$build/logs/$name.rc"
  (
    status=0
    run_one "$name" || status=$?
    echo "$status" >"$build/logs/$name.rc"
  ) &
  started+=("$name")
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
done
wait

for name in "${started[@]}"; do
  log="$build/logs/$name.log"
  if [ "$(cat "$build/logs/$name.rc" 2>/dev/null)" = 0 ]; then
    edges=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    execs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | cut -d' ' -f2)
    echo "fuzz_$name: ${edges:-?} edges, ${execs:-?} inputs in ${seconds} s"
  else
    echo "fuzz_$name FAILED: see $root/$log; the input is in $root/$build/findings/$name/" >&2
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error|.*ERROR: libFuzzer)' "$log" | head -5 >&2 || true
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: failed: ${failed[*]}" >&2
  exit 1
fi
