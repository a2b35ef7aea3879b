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
source "$root/tools/cups.sh"
# The desk's journey prints: the scheduler before the first Wine process.
kv_cups_start || echo "server: no print scheduler; the desk's printing step will fail" >&2
dir=$(mktemp -d /tmp/kv-pg.XXXXXX)
trap '"$root/tools/pg-server.sh" stop "$dir"; kv_wine_stop; kv_cups_stop' EXIT

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
layer_filter='DbTablesTest.*:DbRegistersTest.*:DbOrdersTest.*:DbQueryTest.*:DbTransactionTest.*:DbServerTest.*:DbBuyersTest.*'
orders_filter='OrderList.*:PriceListDbTest.*:SalesOverviewDb.*'
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
trap '"$root/tools/pg-server.sh" stop "$dir"; kv_wine_stop; kv_cups_stop; rm -rf "$tools"' EXIT
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

# Eight desks at once (kelvaro-load, a process per desk over the program's
# database code): 500 new orders and 500 corrections each, then 50 of them
# killed in the middle of a write; each run ends with the tool's check
# (numbers 1..n each once, every order whole, no correction lost, the
# register's rows the orders), and the check itself finds an order made
# partial by hand.
load="$native/tools/kelvaro-load"
psql_owner -c "CREATE DATABASE kvload"
"$native/tools/kelvaro-mkdb" --server "$owner_info dbname=kvload" >/dev/null
"$native/tools/kelvaro-mkdb" --demo "$tools/templates.db" >/dev/null
load_run() {  # ARGS...: the tool's lines, indented; its status the check's
  timeout 900 "$load" --server "$owner_info dbname=kvload" --templates "$tools/templates.db" "$@" \
    >"$tools/load.log" 2>&1
  local rc=$?
  sed 's/^/  /' "$tools/load.log"
  return $rc
}
load_saw() { grep -q "$1" "$tools/load.log"; }
load_full() { load_run run --writers 8 --new 500 --corrections 500 &&
              load_saw "^check: 4000 orders numbered 1..4000, 4000 corrections stored"; }
load_kills() { load_run kill --writers 8 --kills 50 && load_saw "killed 50 times (50 in the middle of a write)"; }
load_finds() { ! load_run check && load_saw "is not whole"; }
check "8 writers save 4000 orders and make 4000 corrections, numbered 1..4000, nothing lost" load_full
check "50 writers killed in the middle of a write leave no partial order" load_kills
"$pg_bin/psql" -q -X "$owner_info dbname=kvload" -c \
  "DELETE FROM T_Okno WHERE kluczOkno = (SELECT MAX(kluczOkno) FROM T_Okno)" >/dev/null
check "the load check finds an order that is not whole" load_finds

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

# (backup_cmds_test and order_flow_test: the program on the server, in-process.)
for t in "db_test:$layer_filter" "valuation_db_test:$orders_filter" "backup_cmds_test:ServerDeskTest.*" \
         "order_flow_test:OrderFlow.OnAServer*"; do
  name=${t%%:*}
  xml="$win/server-$name.xml"
  rm -f "$xml"
  (cd "$win" && KV_PG_CONNFILE=$(winepath -w "$dir/conninfo" 2>/dev/null) \
    timeout 900 wine "bin/$name.exe" --gtest_brief=1 --gtest_filter="${t#*:}" \
    --gtest_output="xml:server-$name.xml" </dev/null)
  gtest_counts "$name under Wine" "$xml"
done

# A desk on the server, driven through its windows: kelvaro.ini names the
# server, the login dialog is answered, an order of two windows is saved,
# printed to the PDF queue, corrected, found by its number in lower case
# and moved to status 3; then the register is backed up from the server and
# loaded into a second, empty server database, the orders equal.
port=$(sed -n 's/^port=//p' "$dir/conninfo")
psql_owner -c "CREATE DATABASE kvdesks" -c "CREATE DATABASE kvcopy"
"$native/tools/kelvaro-mkdb" --server "$owner_info dbname=kvdesks" >/dev/null
"$native/tools/backup/kelvaro-backup" --server "$owner_info dbname=kvdesks" --restore "$tools/desk.db" >/dev/null
"$pg_bin/psql" -q -X "$owner_info dbname=kvdesks" \
  -c "GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public TO kvdesk" >/dev/null
desk_dir="$tools/desk"
mkdir -p "$desk_dir"
printf '[Database]\r\nServer=127.0.0.1\r\nPort=%s\r\nName=kvdesks\r\nLogin=kvdesk\r\nSslMode=require\r\n' \
  "$port" > "$desk_dir/kelvaro.ini"
pdf_dir="${HOME:-/root}/PDF"
rm -f "$pdf_dir"/*.pdf 2>/dev/null
# No password file of an earlier run: the dialog is to come.
appdata=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Roaming | grep -v Public | head -n1)
rm -f "$appdata/postgresql/pgpass.conf"
log="$win/server-desk.log"
timeout 300 wine "$win/bin/journey_driver.exe" --exe "$(winepath -w "$win/bin/kelvaro.exe")" \
  --cwd "$(winepath -w "$desk_dir")" --password desk-pw --wrong-password-first --server-steps \
  </dev/null >"$log.raw" 2>/dev/null
desk_rc=$?
tr -d '\r' <"$log.raw" >"$log"
cat "$log"
check "a desk played its day on the server" [ "$desk_rc" -eq 0 ]
number=$(sed -n 's/^order number: //p' "$log" | head -n1)
lower=$(tr 'A-Z' 'a-z' <<<"$number")
check "the login dialog came with the login of kelvaro.ini" grep -q '^login dialog: login kvdesk$' "$log"
# (A box's text goes on over several lines of the log.)
check "a wrong password shows the server's reason and asks again" \
  bash -c 'tr "\n" " " <"$0" | grep -q "refused: Error: Error of opening the database .*password authentication failed.* login dialog: login kvdesk"' "$log"
check "the save reports the order $number" grep -q "^saved: Information: The order $number has been saved" "$log"
check "the search finds $lower" grep -q "^found: $lower as $number\$" "$log"
check "the about box names the database on the server" grep -q '^about: Database: kvdesks on 127.0.0.1$' "$log"
desk_json=$("$native/tools/inspect/kelvaro-inspect" --server "$owner_info dbname=kvdesks" 2>/dev/null)
stored=$("$pg_bin/psql" -X -A -t -F ' ' "$owner_info dbname=kvdesks" -c \
  "SELECT status, dodOznaczZam, (SELECT COUNT(*) FROM T_Okno o WHERE o.kluczZam = z.kluczZam) FROM T_Zam z
   WHERE idZam = ${number%%-*} AND rok = ${number##*-}" 2>/dev/null)
echo "on the server: order $number: ${stored:-missing}"
check "the server holds the order with status 3, corrected, with two windows" [ "$stored" = "3 CORRECTED 2" ]
pdf=""
for _ in $(seq 1 300); do
  pdf=$(ls "$pdf_dir"/*.pdf 2>/dev/null | head -n1)
  [ -n "$pdf" ] && [ -z "$(lpstat -o 2>/dev/null)" ] && break
  sleep 0.2
done
check "the desk's printout reaches the PDF queue with the order's number" \
  bash -c '[ -n "$0" ] && pdftotext "$0" - 2>/dev/null | grep -q "$1"' "$pdf" "$number"
check "the register backed up from the server loads into an empty one, the orders equal" \
  bash -c '"$0" --server "$1 dbname=kvdesks" "$3/desks.db" >/dev/null &&
           "$0" --server "$1 dbname=kvcopy" --restore "$3/desks.db" >/dev/null &&
           [ "$("$2" --server "$1 dbname=kvcopy")" = "$4" ]' \
  "$native/tools/backup/kelvaro-backup" "$owner_info" "$native/tools/inspect/kelvaro-inspect" "$tools" "$desk_json"
# The login cancelled: the program ends without a box, nothing changed.
desk_run() {  # NAME DIR DRIVER-ARGS...: the driver's log, in "$log-NAME"
  local name=$1 folder=$2
  shift 2
  timeout 120 wine "$win/bin/journey_driver.exe" --exe "$(winepath -w "$win/bin/kelvaro.exe")" \
    --cwd "$(winepath -w "$folder")" "$@" </dev/null >"$log.raw" 2>/dev/null
  tr -d '\r' <"$log.raw" >"$log-$name"
  cat "$log-$name"
}
desk_run cancel "$desk_dir" --cancel-login
check "a cancelled login ends the program without a box" \
  bash -c 'grep -q "^login cancelled$" "$0" && grep -q "^program ended: exit code 0$" "$0"' "$log-cancel"
# A password in libpq's password file: no dialog at all.
mkdir -p "$appdata/postgresql"
echo "127.0.0.1:$port:kvdesks:kvdesk:desk-pw" > "$appdata/postgresql/pgpass.conf"
desk_run pgpass "$desk_dir" --start-only
rm -f "$appdata/postgresql/pgpass.conf"
check "a password in pgpass.conf opens the register without the dialog" \
  bash -c 'grep -q "^register: 7 orders$" "$0" && grep -q "^program ended: exit code 0$" "$0"' "$log-pgpass"

# A server that is not there: the reason and the settings file, then the end.
down_dir="$tools/down"
mkdir -p "$down_dir"
printf '[Database]\r\nServer=127.0.0.1\r\nPort=1\r\nName=kvdesks\r\nLogin=kvdesk\r\n' > "$down_dir/kelvaro.ini"
timeout 120 wine "$win/bin/journey_driver.exe" --exe "$(winepath -w "$win/bin/kelvaro.exe")" \
  --cwd "$(winepath -w "$down_dir")" --start-fails </dev/null >"$log.raw" 2>/dev/null
tr -d '\r' <"$log.raw" >"$log-down"
cat "$log-down"
check "a server that is down: an error box naming kelvaro.ini, and a clean end" \
  bash -c 'tr "\n" " " <"$0" | grep -q "start: Error: Error of opening the database .*settings file .*kelvaro.ini" &&
           grep -q "^program ended: exit code 0$" "$0"' "$log-down"
# Two desks at once, each in its own prefix and on its own display.
source "$root/tests/server/two_desks.sh"
finish
