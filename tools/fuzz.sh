#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UndefinedBehaviorSanitizer) in build-fuzz/
# and runs each for RUNS executions (default 10 million) or SECONDS (default: no limit), whichever
# ends first, starting from fuzz/corpus/<target>/. JOBS=N runs N targets at a time (default 1), at
# low priority. Inputs that crash land in build-fuzz/findings/<target>/, the grown corpus in
# build-fuzz/corpus/<target>/, logs in build-fuzz/logs/.
# Usage: [JOBS=N] [RUNS=N] tools/fuzz.sh [SECONDS] [TARGET ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh" clang libclang-rt-14-dev
seconds=${1:-0}
shift || true
runs=${RUNS:-10000000}
jobs=${JOBS:-1}
build=$root/build-fuzz
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSOLVARIN_BUILD_TESTS=OFF -DSOLVARIN_FUZZ=ON -DSOLVARIN_SANITIZE=ON >/dev/null
cmake --build "$build" --target fuzzers -j "$jobs"

targets=("$@")
((${#targets[@]})) || mapfile -t targets < <(cd "$build/bin" && ls fuzz_*)

run() {
  local t=$1 name=${1#fuzz_}
  local work=$build/corpus/$name findings=$build/findings/$name
  mkdir -p "$work" "$findings" "$build/logs"
  local start=$SECONDS
  # Past half the memory limit libFuzzer purges the allocator every second, which slows a target
  # whose sanitizer heap passes 1 GB tenfold; the limit is raised so that this never happens.
  nice -n 10 "$build/bin/$t" -runs="$runs" -max_total_time="$seconds" -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$work" "$root/fuzz/corpus/$name" \
    >"$build/logs/$name.log" 2>&1 || true
  local execs
  execs=$(grep -m1 '^stat::number_of_executed_units' "$build/logs/$name.log" | awk '{print $2}')
  # A slow unit is an input that once took over 10 s, which a busy machine can cause alone: run it again.
  echo "$t: ${execs:-?} executions in $((SECONDS - start))s," \
    "$(find "$findings" -type f ! -name 'slow-unit-*' | wc -l) finding(s)," \
    "$(find "$findings" -type f -name 'slow-unit-*' | wc -l) slow unit(s), corpus $(find "$work" -type f | wc -l) inputs"
}

running=0
for t in "${targets[@]}"; do
  run "$t" &
  running=$((running + 1))
  if ((running >= jobs)); then
    wait -n
    running=$((running - 1))
  fi
done
wait
