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
count() {
    MYSQL_PWD="$KAVERO_TEST_PASSWORD" mariadb -u "$KAVERO_TEST_USER" -S "$KAVERO_TEST_SOCKET" -N -B kavero_test \
        -e "SELECT COUNT(*) FROM \`$1\`"
}

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
if [ "$failures" -gt 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "copy command: all cases passed"
