#!/usr/bin/env bash
# Installs what is missing, builds the programs and opens KAVERO on the sample database.
# Without a display it says so and prints the sample table's script through kavero-cli.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
sample="build/sample/shop.mdb"
# The sample database is written at build time by the fixture writer.
cmake --build build -j "$(nproc)" --target kavero kavero-cli sample/shop.mdb
# A database given on the command line is opened instead of the sample.
args=("$@")
if [ ${#args[@]} -eq 0 ]; then
  if [ -f "$sample" ]; then
    args=("$sample")
  else
    echo "run: no sample database at $sample; opening KAVERO without one" >&2
  fi
fi
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/ui/kavero "${args[@]}"
fi

echo "run: no display found (DISPLAY and WAYLAND_DISPLAY are unset), so the window cannot open." >&2
cli=build/src/cli/kavero-cli
[ ${#args[@]} -gt 0 ] && sample="${args[0]}"
if [ ! -f "$sample" ]; then
  "$cli" --version
  exit 0
fi
table="$("$cli" tables "$sample" | head -n 1)"
if "$cli" --help | grep -qE "^ +script +"; then
  echo "run: the script of table \"$table\" in $sample, as \"To file\" shows it:" >&2
  "$cli" script "$sample" "$table"
  echo
else
  echo "run: the design of table \"$table\" in $sample:" >&2
  "$cli" design "$sample" "$table"
fi
