#!/usr/bin/env bash
# Installs what is missing, builds the programs and opens KAVERO on the sample database.
# Without a display it says so and prints the sample table's script through kavero-cli.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# The sample database is written at build time by the fixture writer.
cmake --build build -j "$(nproc)" --target kavero kavero-cli kavero_sample
sample="build/sample/shop.mdb"
# A database given on the command line is opened instead of the sample.
args=("$@")
[ ${#args[@]} -eq 0 ] && args=("$sample")
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/ui/kavero "${args[@]}"
fi

echo "run: no display found (DISPLAY and WAYLAND_DISPLAY are unset), so the window cannot open." >&2
cli=build/src/cli/kavero-cli
database="${args[0]}"
table="$("$cli" tables "$database" | head -n 1)"
echo "run: the script of table \"$table\" in $database, as \"To file\" shows it:" >&2
"$cli" script "$database" "$table"
echo
