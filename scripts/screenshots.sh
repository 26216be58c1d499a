#!/usr/bin/env bash
# Pictures of the windows for the README, taken under a virtual X display (Xvfb):
#   scripts/screenshots.sh [DATABASE [TABLE]]   (default: the sample database, if built)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
database="${1:-build/sample/shop.mdb}"
table="${2:-}"
cmake --build build --target kavero_screenshots >/dev/null
args=(docs)
if [ -f "$database" ]; then
  args+=("$database")
  [ -n "$table" ] && args+=("$table")
fi
xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" build/tests/gui/kavero_screenshots "${args[@]}"
