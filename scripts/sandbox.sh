#!/usr/bin/env bash
# A throwaway MariaDB server with an ODBC data source pointing at it, for tests and for
# trying the program. Nothing outside its own folder is touched.
#
#   sandbox.sh start [DIR]   start (or reuse) the server, print the environment to use it
#   sandbox.sh stop [DIR]    stop the server started in DIR
#   sandbox.sh env [DIR]     print the environment of a running sandbox
#
# DIR defaults to build/sandbox. The environment file DIR/env sets ODBCSYSINI and ODBCINI
# (the private ODBC configuration) and KAVERO_TEST_DSN, _USER, _PASSWORD, _DATABASE, _PORT,
# _SOCKET for tests.
set -euo pipefail

cmd="${1:-}"
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${2:-${KAVERO_SANDBOX_DIR:-$root/build/sandbox}}"
mkdir -p "$dir"
dir="$(cd "$dir" && pwd)"

data="$dir/data"
sock="$dir/mysqld.sock"
pidfile="$dir/mysqld.pid"
envfile="$dir/env"
log="$dir/mysqld.log"
dsn=kavero_test
user=kavero
password='kavero-Pa55'
database=kavero_test

running() {
  [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null
}

port_free() {
  ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

client() {
  mariadb --no-defaults --socket="$sock" -uroot "$@"
}

write_odbc_config() {
  local driver
  driver="$(pkg-config --variable=libdir libmaodbc 2>/dev/null || true)"
  driver="${driver%/}/libmaodbc.so"
  [ -f "$driver" ] || driver="$(find /usr/lib -name libmaodbc.so -print -quit)"
  cat >"$dir/odbcinst.ini" <<INI
[MariaDB]
Description = MariaDB Connector/ODBC
Driver = $driver
INI
  cat >"$dir/odbc.ini" <<INI
[$dsn]
Description = KAVERO test sandbox
Driver = MariaDB
SERVER = 127.0.0.1
PORT = $1
DATABASE = $database
CHARSET = utf8mb4
INI
  cat >"$envfile" <<ENV
export ODBCSYSINI='$dir'
export ODBCINI='$dir/odbc.ini'
export KAVERO_TEST_DSN='$dsn'
export KAVERO_TEST_USER='$user'
export KAVERO_TEST_PASSWORD='$password'
export KAVERO_TEST_DATABASE='$database'
export KAVERO_TEST_PORT='$1'
export KAVERO_TEST_SOCKET='$sock'
ENV
}

start() {
  # One start at a time per folder: parallel test runs share the server.
  exec 9>"$dir/lock"
  flock 9
  if running && client -e 'SELECT 1' >/dev/null 2>&1; then
    cat "$envfile"
    return 0
  fi
  local port="${KAVERO_SANDBOX_PORT:-}"
  if [ -z "$port" ]; then
    for p in $(seq 33306 33406); do
      if port_free "$p"; then port=$p; break; fi
    done
  fi
  [ -n "$port" ] || { echo "sandbox: no free port" >&2; exit 1; }

  local as_user=()
  [ "$(id -u)" -eq 0 ] && as_user=(--user=root)
  if [ ! -d "$data/mysql" ]; then
    rm -rf "$data"
    mariadb-install-db --no-defaults "${as_user[@]}" --datadir="$data" \
      --auth-root-authentication-method=normal --skip-test-db --skip-name-resolve --force >"$dir/install.log" 2>&1 ||
      { cat "$dir/install.log" >&2; exit 1; }
  fi
  mariadbd --no-defaults "${as_user[@]}" --datadir="$data" --socket="$sock" --port="$port" \
    --bind-address=127.0.0.1 --pid-file="$pidfile" --log-error="$log" \
    --character-set-server=utf8mb4 --collation-server=utf8mb4_unicode_ci \
    --skip-name-resolve --innodb-buffer-pool-size=64M --innodb-log-file-size=16M \
    --innodb-flush-log-at-trx-commit=2 \
    </dev/null >/dev/null 2>&1 9>&- &
  for _ in $(seq 1 300); do
    client -e 'SELECT 1' >/dev/null 2>&1 && break
    sleep 0.1
  done
  client -e 'SELECT 1' >/dev/null 2>&1 || { echo "sandbox: server did not start, see $log" >&2; tail -20 "$log" >&2; exit 1; }

  client <<SQL
CREATE DATABASE IF NOT EXISTS \`$database\` CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci;
CREATE USER IF NOT EXISTS '$user'@'localhost' IDENTIFIED BY '$password';
CREATE USER IF NOT EXISTS '$user'@'127.0.0.1' IDENTIFIED BY '$password';
GRANT ALL PRIVILEGES ON *.* TO '$user'@'localhost';
GRANT ALL PRIVILEGES ON *.* TO '$user'@'127.0.0.1';
SQL
  write_odbc_config "$port"
  cat "$envfile"
}

stop() {
  if running; then
    local pid
    pid="$(cat "$pidfile")"
    kill "$pid"
    for _ in $(seq 1 300); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then kill -9 "$pid"; fi
  fi
  rm -f "$pidfile" "$envfile"
}

case "$cmd" in
  start) start ;;
  stop) stop ;;
  env) running && cat "$envfile" || { echo "sandbox: not running in $dir" >&2; exit 1; } ;;
  *) echo "usage: $0 start|stop|env [DIR]" >&2; exit 2 ;;
esac
