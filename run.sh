#!/usr/bin/env bash
# Sets up, builds and runs Solvarin.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/tools/install-deps.sh"
export BUILD_DIR=$root/build
"$root/tools/build.sh" -DSOLVARIN_SANITIZE=OFF
ctest --test-dir "$BUILD_DIR" -R '^codec' --output-on-failure
