#!/usr/bin/env bash
# Installs every Debian package that building, packaging, testing, fuzzing and the test
# oracles need, then the npm reader used as an oracle and the npm driver of the browser tests.
# Safe to run again; quick when all is present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git ca-certificates
  qt6-base-dev libgl-dev
  unixodbc unixodbc-dev odbc-mariadb
  mariadb-server mariadb-client
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev zlib1g-dev
  clang libclang-rt-14-dev
  mdbtools
  xvfb xauth
  php-cli php-mysql chromium
  wine wine64 python3-html5lib python3-pyodbc
  help2man librsvg2-bin dpkg-dev file desktop-file-utils appstream
)
command -v node >/dev/null 2>&1 || packages+=(nodejs)
command -v npm >/dev/null 2>&1 || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "install-deps: installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The independent Access reader the tests compare against, kept out of the source tree.
oracle_dir="${KAVERO_ORACLE_DIR:-$(cd "$(dirname "$0")/.." && pwd)/build/oracle}"
if [ ! -f "$oracle_dir/node_modules/mdb-reader/package.json" ]; then
  mkdir -p "$oracle_dir"
  echo "install-deps: installing mdb-reader@3.2.0 into $oracle_dir"
  (cd "$oracle_dir" && npm install --loglevel=error --no-audit --no-fund --prefix . mdb-reader@3.2.0 >/dev/null)
fi

# Drives Debian's chromium in the tests of the PHP pages (it downloads no browser of its own),
# kept out of the source tree like the reader above.
# 1.49 is the newest line that still runs on Debian 12's Node.js 18.
playwright=1.49.1
browser_dir="${KAVERO_BROWSER_DIR:-$(cd "$(dirname "$0")/.." && pwd)/build/browser}"
if ! grep -qs "\"version\": \"$playwright\"" "$browser_dir/node_modules/playwright-core/package.json"; then
  mkdir -p "$browser_dir"
  echo "install-deps: installing playwright-core@$playwright into $browser_dir"
  (cd "$browser_dir" && npm install --loglevel=error --no-audit --no-fund --prefix . "playwright-core@$playwright" >/dev/null)
fi
