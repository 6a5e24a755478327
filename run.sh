#!/usr/bin/env bash
# Sets up, builds and runs Solvarin. Its settings live in build/bin/Solvarin.ini, beside the program.
# Without a display, the start-up screenshots are taken under Xvfb instead (tools/screenshots.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/tools/install-deps.sh"
export BUILD_DIR=$root/build
"$root/tools/build.sh" -DSOLVARIN_SANITIZE=OFF
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
    exec "$BUILD_DIR/bin/solvarin"
fi
echo "No display: taking the start-up screenshots under Xvfb instead."
exec "$root/tools/screenshots.sh"
