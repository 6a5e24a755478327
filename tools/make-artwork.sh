#!/usr/bin/env bash
# Builds the artwork generator and repaints ui/artwork (skin, pictures, icons, the link's pointer).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/build.sh" >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bin/solvarin-artwork" "$root/ui/artwork"
echo "Artwork written to $root/ui/artwork"
