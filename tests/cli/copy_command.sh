#!/usr/bin/env bash
# kavero-cli copy against the test run's MariaDB: exit statuses, the first diagnostic line,
# the summary, and what reached the server (read back with the mariadb client).
#   copy_command.sh KAVERO_CLI SANDBOX_DIR FIXTURE_DIR [TESTDATA_DIR]
set -uo pipefail
cli="$1" fixtures="$3" testdata="${4:-}"
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

expect records 0 "^Records read 5, copied 5, rejected 0, verified 5, in " \
    "$cli" copy "$fixtures/customers.mdb" Customers "${login[@]}" --records --yes
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

# The check finds what changed on the server after a copy: paired by key where the table has
# one (Forty Thousand, read back in pages along it), as a multiset where it has none (Ten). The
# lines come in a fixed order: extra rows as read, then the records by number.
expect_lines() {
    local name="$1" status="$2" expected="$3"
    shift 3
    local err got
    err="$(setsid "$@" 2>&1 >/dev/null </dev/null)"
    got=$?
    err="$(grep -E '^(Extra|Different|Missing|The server|Records read|kavero-cli)' <<<"$err" | sed -E 's/ in [0-9]+\.[0-9] s \([0-9]+ records\/s\)$/ in S/')"
    if [ "$got" != "$status" ] || [ "$err" != "$expected" ]; then
        echo "FAIL $name: status $got (expected $status), stderr:"; sed 's/^/    /' <<<"$err"
        failures=$((failures + 1))
    fi
}
"$cli" copy "$fixtures/large.mdb" "Forty Thousand" "${login[@]}" --records --yes --no-verify --allow-spaces 2>/dev/null
"$cli" copy "$fixtures/records.mdb" Ten "${login[@]}" --records --yes --no-verify --keys none 2>/dev/null
client kavero_test -e "UPDATE \`Forty Thousand\` SET Amount = 1 WHERE ID = 2500;
    DELETE FROM \`Forty Thousand\` WHERE ID = 17000; INSERT INTO \`Forty Thousand\` VALUES (40001, 'new', 2, '');
    UPDATE Ten SET Name = 'changed' WHERE ID = 3; DELETE FROM Ten WHERE ID = 5; INSERT INTO Ten VALUES (11, 'record 11')"
expect_lines verify_keyed 4 "Extra row on the server: ID 40001, Name 'new', Amount 2, Notes ''
Different record no. 2500: Amount holds 1 on the server, 1042.32 in the Access table
Missing record no. 17000: not on the server
The server does not hold what was copied: 1 record missing, 1 record different, 1 row too many
Records read 40000, verified 39998, in S" "$cli" verify "$fixtures/large.mdb" "forty thousand" "${login[@]}" --allow-spaces
expect_lines verify_multiset 4 "Extra row on the server: ID 3, Name 'changed'
Extra row on the server: ID 11, Name 'record 11'
Missing record no. 3: not on the server
Missing record no. 5: not on the server
The server does not hold what was copied: 2 records missing, 0 records different, 2 rows too many
Records read 10, verified 8, in S" "$cli" verify "$fixtures/records.mdb" Ten "${login[@]}"
client kavero_test -e "DROP TABLE IF EXISTS Twelve"
expect_lines verify_no_table 1 "kavero-cli: The check could not read the table on the server: 1146 Table 'kavero_test.Twelve' doesn't exist
Records read 12, not verified, in S" "$cli" verify "$fixtures/records.mdb" Twelve "${login[@]}"

# Every table of a file, each copied and checked as alone, and the summary at the end (the
# seconds, the one thing that varies, masked).
summary="$(setsid "$cli" copy "$fixtures/records.mdb" --all-tables "${login[@]}" --records --yes --keys none \
    --allow-spaces 2>&1 >/dev/null </dev/null)"
status=$?
summary="$(sed -n '/^Table  /,$p' <<<"$summary" | sed -E 's/[0-9]\.[0-9]( |$)/S.S\1/')"
expected_summary="Table           Read  Copied  Rejected  Verified  Seconds  Result
Literals           7       6         1         6      S.S  rejected
FirstFieldNull     6       6         0         6      S.S  ok
Ten               10      10         0        10      S.S  ok
Twelve            12      12         0        12      S.S  ok
TwentyThree       23      23         0        23      S.S  ok
Empty              0       0         0         0      S.S  ok
AutoAndOle         3       3         0         3      S.S  ok
Three              3       2         1         2      S.S  rejected
Spaced Table       2       2         0         2      S.S  ok
HardValues         6       4         2         4      S.S  rejected
Total             72      68         4        68      S.S"
if [ "$status" != 3 ] || [ "$summary" != "$expected_summary" ]; then
    echo "FAIL all_tables: status $status (expected 3), summary:"; sed 's/^/    /' <<<"$summary"
    failures=$((failures + 1))
fi

# script --records into the mariadb client gives the table the direct copy gives, byte for
# byte; the records the server refuses (a memo too long, a Null number) are refused both ways.
client -e "DROP DATABASE IF EXISTS kavero_dump; CREATE DATABASE kavero_dump"
"$cli" script "$fixtures/records.mdb" HardValues --keys none --records | client --force kavero_dump 2>/dev/null
expect dump_reference 3 "^record 6: 1048" "$cli" copy "$fixtures/records.mdb" HardValues "${login[@]}" --records --yes --keys none
rows() { client -N -B --raw "$1" -e "SELECT * FROM HardValues ORDER BY ID"; }
reference="$(rows kavero_test | md5sum)"
if [ "$(rows kavero_dump | md5sum)" != "$reference" ] || [ "$(client -N -B kavero_dump -e "SELECT COUNT(*) FROM HardValues")" != 4 ]; then
    echo "FAIL dump: the dumped table differs from the copied one"; failures=$((failures + 1))
fi
client -e "DROP DATABASE kavero_dump"
# Lossless names always go in backquotes: a field called When is a reserved word.
"$cli" script "$fixtures/types.mdb" ExtendedDates --lossless 2>/dev/null | client kavero_test ||
    fail "lossless_reserved_word: the client refused the script of a field called When"

# --fast with chunks of two: the refused record is named as above and written to the reject
# file, the records around it arrive, and the table is the one the one-record copy left.
rejects="$(mktemp)"
expect fast 3 "^record 2: 1406 Data too long for column 'Memo'" "$cli" copy "$fixtures/records.mdb" HardValues \
    "${login[@]}" --records --yes --keys none --fast --commit-every 2 --reject-file "$rejects"
if [ "$(rows kavero_test | md5sum)" != "$reference" ] || [ "$(cut -c1-31 "$rejects")" != '{"record":2,"error":1406,"sqlst
{"record":6,"error":1048,"sqlst' ]; then
    echo "FAIL fast: the table or the reject file differs:"; cut -c1-80 "$rejects"; failures=$((failures + 1))
fi
rm -f "$rejects"

# The lossless whole database: each AutoNumber as in the file (0 included), the relationships
# as foreign keys that hold, one that its records break named and left out, a name cut to 64
# characters; a second run replaces the first; the script fed to the client makes the same keys.
fail() { echo "FAIL $1"; failures=$((failures + 1)); }
keys() { client -N -B "$1" -e "SELECT TABLE_NAME, CONSTRAINT_NAME, REFERENCED_TABLE_NAME, UPDATE_RULE, DELETE_RULE
    FROM information_schema.REFERENTIAL_CONSTRAINTS WHERE CONSTRAINT_SCHEMA = '$1' ORDER BY 1, 2"; }
for run in 1 2; do
    expect "lossless_shop_$run" 0 "^Foreign keys created: 2 of 2$" \
        "$cli" copy "$fixtures/shop.mdb" --all-tables --lossless "${login[@]}" --records --yes
done
for table in Customers:CustomerID Products:ProductID Orders:OrderID; do
    if [ "$("$cli" dump "$fixtures/shop.mdb" "${table%:*}" | sed -E 's/^\{"[^"]+":([0-9]+),.*/\1/' | sort -n | md5sum)" != \
        "$(client -N -B kavero_test -e "SELECT ${table#*:} FROM ${table%:*} ORDER BY 1" | md5sum)" ]; then
        fail "lossless_autonumber: ${table%:*} holds other AutoNumber values than the file"
    fi
done
expected_keys="Orders	CustomersOrders	Customers	RESTRICT	RESTRICT
Orders	ProductsOrders	Products	RESTRICT	RESTRICT"
[ "$(keys kavero_test)" == "$expected_keys" ] || fail "lossless_keys: $(keys kavero_test)"
client kavero_test -e "INSERT INTO Orders (CustomerID, ProductID) VALUES (99999, 1)" 2>/dev/null &&
    fail "lossless_orphan_insert: the server took an order of no customer"
client -e "DROP DATABASE IF EXISTS kavero_dump; CREATE DATABASE kavero_dump"
"$cli" script "$fixtures/shop.mdb" --all-tables --lossless --records 2>/dev/null | client kavero_dump ||
    fail "lossless_script: the client refused the script"
[ "$(keys kavero_dump)" == "$expected_keys" ] || fail "lossless_script_keys: $(keys kavero_dump)"
client -e "DROP DATABASE kavero_dump"
# A server whose tables default to MyISAM takes the FOREIGN KEY clauses and keeps none of them.
myisam=(--dsn "DRIVER=MariaDB;SERVER=127.0.0.1;PORT=$KAVERO_TEST_PORT;INITSTMT=SET default_storage_engine=MyISAM"
    --database kavero_test --user "$KAVERO_TEST_USER" --records --yes)
expect lossless_myisam 0 "^Foreign keys created: 0 of 2$" "$cli" copy "$fixtures/shop.mdb" --all-tables --lossless "${myisam[@]}"
expect lossless_myisam_why 0 "^kavero-cli: the relationship CustomersOrders \(Orders to Customers\) is not created as a foreign key: the server did not keep it: Orders is stored with MyISAM, which keeps no foreign keys$" \
    "$cli" copy "$fixtures/shop.mdb" --all-tables --lossless "${myisam[@]}"
expect lossless_broken 0 "^kavero-cli: the relationship OwnersPets \(Pets to Owners\) is not created as a foreign key: 1 record of Pets refers to no record of Owners$" \
    "$cli" copy "$fixtures/relationships.mdb" --all-tables --lossless "${login[@]}" --records --yes
[ "$(keys kavero_test | grep -v ^Orders)" == "Visits	PetsVisits$(printf 'x%.0s' {1..54})	Pets	RESTRICT	CASCADE" ] ||
    fail "lossless_broken_keys: $(keys kavero_test)"
[ "$(client -N -B kavero_test -e "SELECT GROUP_CONCAT(ID ORDER BY ID) FROM Owners")" == "0,1,2" ] ||
    fail "lossless_zero: Owners holds $(client -N -B kavero_test -e "SELECT GROUP_CONCAT(ID) FROM Owners")"
if [ -d "$testdata" ]; then
    for file in jet4/indexTestV2003.mdb jet3/indexTestV1997.mdb; do
        expect "lossless_$file" 0 "^Foreign keys created: 2 of 2$" \
            "$cli" copy "$testdata/$file" --all-tables --lossless "${login[@]}" --records --yes
    done
    expect lossless_testV2003 0 "^Total " "$cli" copy "$testdata/jet4/testV2003.mdb" --all-tables --lossless \
        "${login[@]}" --records --yes
fi

# Attachment and multi-value fields: under the lossless rules each field's values table follows
# its owner and is checked like any table; the files arrive as Python's own zlib unpacks them
# from the stored wrapper, the multi-values with the number that links them to their record.
# The documented rules make no values tables.
flat=f_3C4E2A9B6F1D4E8A9B7C1D2E3F4A5B6C_Files
expect lossless_complex 0 "^Items_Files +4 +4 +0 +4 .* ok$" \
    "$cli" copy "$fixtures/complex_fields.mdb" --all-tables --lossless "${login[@]}" --records --yes
unpacked="$("$cli" dump "$fixtures/complex_fields.mdb" "$flat" | python3 -c '
import hashlib, json, sys, zlib
for line in sys.stdin:
    r = json.loads(line)
    s = bytes.fromhex(r["FileData"][2:])
    length = int.from_bytes(s[4:8], "little")
    content = zlib.decompress(s[8:]) if s[0] == 1 else s[8:8 + length]
    print(r["_Files"], r["FileName"], len(content) - int.from_bytes(content[0:4], "little"),
          hashlib.md5(content[int.from_bytes(content[0:4], "little"):length]).hexdigest(), sep="\t")' | sort)"
arrived="$(client -N -B kavero_test -e "SELECT Files, FileName, LENGTH(FileData), MD5(FileData) FROM Items_Files" | sort)"
[ -n "$unpacked" ] && [ "$unpacked" == "$arrived" ] || fail "lossless_attachments: $arrived"$'\n'"expected $unpacked"
[ "$(client -N -B kavero_test -e "SELECT GROUP_CONCAT(ID, ':', Files ORDER BY ID) FROM Items")" == "1:1,2:2,3:3,4:4" ] ||
    fail "lossless_complex_links: $(client -N -B kavero_test -e "SELECT ID, Files FROM Items")"
[ "$(client -N -B kavero_test -e "SELECT Tags, value FROM Tagged_Tags ORDER BY 1, 2")" == "1	it's green
1	red
3	blue" ] || fail "lossless_multi_values: $(client -N -B kavero_test -e "SELECT * FROM Tagged_Tags")"
"$cli" script "$fixtures/complex_fields.mdb" Items --lossless 2>/dev/null | grep -q "linked by the number in the field, are in: \`Items_Files\` \*/" ||
    fail "lossless_complex_script: the script does not name where the attachments went"
"$cli" script "$fixtures/complex_fields.mdb" --all-tables 2>&1 | grep -q "_Files\|_Tags" &&
    fail "documented_complex: the documented rules made a values table"

# The child tables go, so that no key keeps a later single-table copy from dropping a parent.
client kavero_test -e "DROP TABLE IF EXISTS Orders, Visits, Table1, Items, Items_Files, Tagged, Tagged_Tags"

if [ "$failures" -gt 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "copy command: all cases passed"
