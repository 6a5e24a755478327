#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite. SANITIZE=1 builds with ASan and UBSan in build-sanitize/;
# there any report (memory error, leak, undefined behaviour) fails the test that caused it.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/tools/install-deps.sh"

if [[ "${SANITIZE:-0}" == 1 ]]; then
  export BUILD_DIR=$root/build-sanitize
  "$root/tools/build.sh" -DSOLVARIN_SANITIZE=ON
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
else
  export BUILD_DIR=$root/build
  "$root/tools/build.sh" -DSOLVARIN_SANITIZE=OFF
fi
ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)"
