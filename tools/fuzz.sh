#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UndefinedBehaviorSanitizer) in build-fuzz/
# and runs each for the given number of seconds (default 60), starting from fuzz/corpus/<target>/.
# Usage: tools/fuzz.sh [SECONDS] [TARGET ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh" clang libclang-rt-14-dev
seconds=${1:-60}
shift || true
build=$root/build-fuzz
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSOLVARIN_BUILD_TESTS=OFF -DSOLVARIN_FUZZ=ON -DSOLVARIN_SANITIZE=ON >/dev/null
cmake --build "$build"

targets=("$@")
((${#targets[@]})) || mapfile -t targets < <(cd "$build/bin" && ls fuzz_* )
for t in "${targets[@]}"; do
  name=${t#fuzz_}
  work=$build/corpus/$name
  mkdir -p "$work" "$build/findings/$name"
  echo "== $t for ${seconds}s"
  "$build/bin/$t" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build/findings/$name/" \
    "$work" "$root/fuzz/corpus/$name" 2>&1 | grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|==|SUMMARY|Done)' || true
done
