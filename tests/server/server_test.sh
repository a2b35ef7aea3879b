#!/usr/bin/env bash
# The PostgreSQL client of both builds against a private server: starts one
# (tools/pg-server.sh), runs pq_server_test and the database layer's tests
# (the family that runs on a file in the native and Windows suites, here on
# the server) natively and as Windows executables under Wine, checks that
# the Windows client needs no DLL beyond the system's, and stops the server
# from a trap, whatever fails. Counts every test case of every run. Run it inside xvfb-run, as the Windows tests.
#   tests/server/server_test.sh NATIVE_BUILD_DIR WIN_BUILD_DIR
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
native=$(cd "${1:?native build dir}" && pwd)
win=$(cd "${2:?Windows build dir}" && pwd)

passed=0 failed=0
check() {  # DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "ok: $what"
  else failed=$((failed + 1)); echo "FAILED: $what"; fi
}
finish() { echo "server: $passed passed, $failed failed"; [ $failed -eq 0 ]; exit; }

source "$root/tools/wine-env.sh" "$win" wineprefix
dir=$(mktemp -d /tmp/kv-pg.XXXXXX)
trap '"$root/tools/pg-server.sh" stop "$dir"; kv_wine_stop' EXIT

if ! port=$("$root/tools/pg-server.sh" start "$dir"); then
  check "the test server starts" false
  finish
fi
echo "server: PostgreSQL on 127.0.0.1:$port"

gtest_counts() {  # NAME XML: adds the cases of one run (a run that left no report counts as one failure)
  local counts
  counts=$(python3 - "$2" <<'PY' 2>/dev/null
import sys, xml.etree.ElementTree as ET
r = ET.parse(sys.argv[1]).getroot()
n = lambda k: int(r.get(k, 0))
bad = n("failures") + n("errors")
# A case that skipped itself (a file's own behaviour) is neither.
skipped = sum(1 for c in r.iter("testcase") if c.get("result") == "skipped" or c.find("skipped") is not None)
print(n("tests") - n("disabled") - skipped - bad, bad)
PY
) || counts=""
  if [ -z "$counts" ]; then
    check "$1 ran to its end" false
    return
  fi
  echo "$1: $counts (passed, failed)"
  passed=$((passed + ${counts% *}))
  failed=$((failed + ${counts#* }))
}

exe="$native/tests/server/pq_server_test"
xml="$native/pq_server_test.xml"
rm -f "$xml"
KV_PG_CONNFILE="$dir/conninfo" timeout 300 "$exe" --gtest_brief=1 --gtest_output="xml:$xml"
gtest_counts native "$xml"

# The database layer on the server: the same tests as on the file.
layer_filter='DbTablesTest.*:DbRegistersTest.*:DbOrdersTest.*:DbQueryTest.*:DbTransactionTest.*:DbServerTest.*'
orders_filter='OrderList.*:PriceListDbTest.*'
for t in "db_test:$layer_filter" "valuation_db_test:$orders_filter"; do
  name=${t%%:*}
  xml="$native/server-$name.xml"
  rm -f "$xml"
  KV_PG_CONNFILE="$dir/conninfo" timeout 600 "$native/tests/native/$name" --gtest_brief=1 \
    --gtest_filter="${t#*:}" --gtest_output="xml:$xml"
  gtest_counts "$name natively" "$xml"
done

# The tools on the server, as a shop moves onto one: the tables made in an
# empty database, a desk's file loaded, the register read back equal to the
# file's, a backup file written from the server equal too, a second load
# refused without --replace, and a desk role with only the rights to read
# and write the tables doing a desk's work (a price list in and out).
pg_bin=${KV_PG_BIN:-/usr/lib/postgresql/15/bin}
owner_info=$(tr '\n' ' ' < "$dir/conninfo")
psql_owner() { "$pg_bin/psql" -q -X -v ON_ERROR_STOP=1 "$owner_info" "$@" >/dev/null; }
tools=$(mktemp -d /tmp/kv-pgtools.XXXXXX)
trap '"$root/tools/pg-server.sh" stop "$dir"; kv_wine_stop; rm -rf "$tools"' EXIT
psql_owner -c "CREATE DATABASE kvshop" -c "CREATE DATABASE kvbare" \
  -c "CREATE ROLE kvdesk LOGIN PASSWORD 'desk-pw'"
shop="$owner_info dbname=kvshop"
t="$native/tools"
pushd "$tools" >/dev/null
  check "kelvaro-mkdb --server makes the tables" "$t/kelvaro-mkdb" --server "$shop"
  check "kelvaro-mkdb --server refuses a database that has them" bash -c '! "$0" --server "$1" 2>/dev/null' \
    "$t/kelvaro-mkdb" "$shop"
  "$t/kelvaro-mkdb" --demo desk.db >/dev/null
  check "a desk's file loads into the server" "$t/backup/kelvaro-backup" --server "$shop" --restore desk.db
  "$t/inspect/kelvaro-inspect" desk.db > file.json
  check "the register on the server equals the file's" \
    bash -c '"$0" --server "$1" | cmp -s - file.json' "$t/inspect/kelvaro-inspect" "$shop"
  check "a backup file of the server equals the file" \
    bash -c '"$0" --server "$1" back.db >/dev/null && "$2" back.db | cmp -s - file.json' \
    "$t/backup/kelvaro-backup" "$shop" "$t/inspect/kelvaro-inspect"
  check "a second load is refused without --replace" \
    bash -c '! "$0" --server "$1" --restore desk.db 2>/dev/null' "$t/backup/kelvaro-backup" "$shop"
  check "--replace loads it again" "$t/backup/kelvaro-backup" --server "$shop" --restore back.db --replace
  check "a database without the tables gets them on a load" \
    bash -c '"$0" --server "$1 dbname=kvbare" --restore back.db && "$2" --server "$1 dbname=kvbare" | cmp -s - file.json' \
    "$t/backup/kelvaro-backup" "$owner_info" "$t/inspect/kelvaro-inspect"
  "$pg_bin/psql" -q -X -v ON_ERROR_STOP=1 "$shop" >/dev/null <<'SQL'
GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public TO kvdesk;
SQL
  desk="$(sed -e 's/^user=.*/user=kvdesk/' -e 's/^password=.*/password=desk-pw/' "$dir/conninfo" | tr '\n' ' ') dbname=kvshop"
  check "a desk role reads the register" bash -c '"$0" --server "$1" | cmp -s - file.json' \
    "$t/inspect/kelvaro-inspect" "$desk"
  check "a desk role writes a price list and reads it back" \
    bash -c '"$0" --server "$1" import "$2" && "$0" --server "$1" export out.csv && [ -s out.csv ]' \
    "$t/prices/kelvaro-prices" "$desk" "$root/tools/sample-prices.csv"
  check "a desk role cannot make tables" bash -c '! "$0" --server "$1" 2>/dev/null' \
    "$t/kelvaro-mkdb" "$desk"
popd >/dev/null

exe="$win/bin/pq_server_test.exe"
# Only the system's DLLs: libpq and OpenSSL are inside the executable.
allowed='^(kernel32|user32|gdi32|advapi32|msvcrt|shell32|ws2_32|secur32|crypt32|bcrypt)\.dll$'
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" 2>/dev/null | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
echo "pq_server_test.exe imports: $(echo $dlls)"
check "pq_server_test.exe needs no DLL beyond the system's" \
  bash -c '[ -n "$1" ] && ! grep -Evq "$0" <<<"$1"' "$allowed" "$dlls"

kv_wine_prefix test >/dev/null
kv_wine_start
xml="$win/pq_server_test.xml"
rm -f "$xml"
(cd "$win" && KV_PG_CONNFILE=$(winepath -w "$dir/conninfo" 2>/dev/null) \
  timeout 300 wine "$exe" --gtest_brief=1 --gtest_output=xml:pq_server_test.xml </dev/null)
gtest_counts Windows "$xml"

for t in "db_test:$layer_filter" "valuation_db_test:$orders_filter"; do
  name=${t%%:*}
  xml="$win/server-$name.xml"
  rm -f "$xml"
  (cd "$win" && KV_PG_CONNFILE=$(winepath -w "$dir/conninfo" 2>/dev/null) \
    timeout 900 wine "bin/$name.exe" --gtest_brief=1 --gtest_filter="${t#*:}" \
    --gtest_output="xml:server-$name.xml" </dev/null)
  gtest_counts "$name under Wine" "$xml"
done
finish
