#!/usr/bin/env bash
# kavero-cli copy against the test run's MariaDB: exit statuses, the first diagnostic line,
# the summary, and what reached the server (read back with the mariadb client).
#   copy_command.sh KAVERO_CLI SANDBOX_DIR FIXTURE_DIR
set -uo pipefail
cli="$1" fixtures="$3"
. "$2/env"
failures=0
export KAVERO_MYSQL_PASSWORD="$KAVERO_TEST_PASSWORD"
login=(--dsn kavero_test --database kavero_test --user "$KAVERO_TEST_USER")

# expect NAME STATUS STDERR-PATTERN command…: runs it without a terminal to ask on.
expect() {
    local name="$1" status="$2" pattern="$3"
    shift 3
    local err
    err="$(setsid "$@" 2>&1 >/dev/null </dev/null)"
    local got=$?
    if [ "$got" != "$status" ] || ! grep -Eq -- "$pattern" <<<"$err"; then
        echo "FAIL $name: status $got (expected $status), stderr:"; sed 's/^/    /' <<<"$err"
        failures=$((failures + 1))
    fi
}
client() { MYSQL_PWD="$KAVERO_TEST_PASSWORD" mariadb -u "$KAVERO_TEST_USER" -S "$KAVERO_TEST_SOCKET" "$@"; }
count() { client -N -B kavero_test -e "SELECT COUNT(*) FROM \`$1\`"; }

expect records 0 "^Records read 5, copied 5, rejected 0" \
    "$cli" copy "$fixtures/customers.mdb" Customers "${login[@]}" --records --yes
[ "$(count Customers)" = 5 ] || { echo "FAIL records: $(count Customers) rows on the server"; failures=$((failures + 1)); }
expect rejected 3 "^record 2: 1048 Column 'Amount' cannot be null" \
    "$cli" copy "$fixtures/records.mdb" Three "${login[@]}" --records --yes --keys none
expect no_terminal 1 "^kavero-cli: the copy drops and creates the table Customers; there is no terminal to ask: confirm with --yes$" \
    "$cli" copy "$fixtures/customers.mdb" Customers "${login[@]}" --records
expect password_stdin 0 "^Records read 5, copied 5" sh -c 'printf "%s\n" "$KAVERO_MYSQL_PASSWORD" | KAVERO_MYSQL_PASSWORD= "$@"' sh \
    "$cli" copy "$fixtures/customers.mdb" Customers --database kavero_test --user "$KAVERO_TEST_USER" --records --yes \
    --password-stdin --dsn "DRIVER=MariaDB;SERVER=127.0.0.1;PORT=$KAVERO_TEST_PORT"
expect password_in_connect_text 1 "^kavero-cli: .*PWD" \
    "$cli" copy "$fixtures/customers.mdb" Customers --dsn "DSN=kavero_test;PWD=x" --database kavero_test --user u --yes
expect wrong_password 1 "^kavero-cli: .*1045" \
    env KAVERO_MYSQL_PASSWORD=wrong "$cli" copy "$fixtures/customers.mdb" Customers "${login[@]}" --yes

# script --records into the mariadb client gives the table the direct copy gives, byte for
# byte; the records the server refuses (a memo too long, a Null number) are refused both ways.
client -e "DROP DATABASE IF EXISTS kavero_dump; CREATE DATABASE kavero_dump"
"$cli" script "$fixtures/records.mdb" HardValues --keys none --records | client --force kavero_dump 2>/dev/null
expect dump_reference 3 "^record 6: 1048" "$cli" copy "$fixtures/records.mdb" HardValues "${login[@]}" --records --yes --keys none
rows() { client -N -B --raw "$1" -e "SELECT * FROM HardValues ORDER BY ID"; }
if [ "$(rows kavero_dump | md5sum)" != "$(rows kavero_test | md5sum)" ] || [ "$(client -N -B kavero_dump -e "SELECT COUNT(*) FROM HardValues")" != 4 ]; then
    echo "FAIL dump: the dumped table differs from the copied one"; failures=$((failures + 1))
fi
client -e "DROP DATABASE kavero_dump"

if [ "$failures" -gt 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "copy command: all cases passed"
