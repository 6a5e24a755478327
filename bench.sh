#!/usr/bin/env bash
# Builds in Release (build-bench/), runs every benchmark and writes bench/RESULTS.md.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/tools/install-deps.sh"
build=$root/build-bench
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSOLVARIN_BUILD_TESTS=OFF \
  -DSOLVARIN_BUILD_BENCH=ON >/dev/null
cmake --build "$build"

out=$build/results
rm -rf "$out" && mkdir -p "$out"
for b in "$build"/bin/bench_*; do
  name=$(basename "$b")
  echo "== $name"
  "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$out/$name.json" --benchmark_out_format=json
done
for s in "$root"/bench/*.sh; do
  [[ -e "$s" ]] || continue
  echo "== $(basename "$s")"
  BUILD_DIR=$build "$s" > "$out/$(basename "$s" .sh).md"
done
python3 "$root/bench/report.py" "$out" > "$root/bench/RESULTS.md"
echo "Wrote bench/RESULTS.md"
