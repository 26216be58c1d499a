#!/usr/bin/env bash
# Pictures of the windows for the README, taken under a virtual X display (Xvfb):
#   scripts/screenshots.sh [DATABASE [TABLE]]   (default: the sample database, built if missing)
# The database is opened from a copy in /tmp/KAVERO, so the pictures show that plain path
# rather than a build folder of the machine they were taken on.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
database="${1:-build/sample/shop.mdb}"
table="${2:-}"
targets=(kavero_screenshots)
[ -z "${1:-}" ] && targets+=(kavero_sample)
cmake --build build --target "${targets[@]}" >/dev/null
args=(docs)
if [ -f "$database" ]; then
  shown=/tmp/KAVERO
  mkdir -p "$shown"
  copy="$shown/$(basename "$database")"
  cp "$database" "$copy"
  trap 'rm -f "$copy"; rmdir "$shown" 2>/dev/null || true' EXIT
  args+=("$copy")
  [ -n "$table" ] && args+=("$table")
fi
xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" build/tests/gui/kavero_screenshots "${args[@]}"
