#!/usr/bin/env bash
# Installs what is missing, builds the programs and starts KAVERO.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target kavero kavero-cli kavero_sample
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/ui/kavero "$@"
fi
echo "run: no display found; showing the command-line program instead" >&2
build/src/cli/kavero-cli --version
