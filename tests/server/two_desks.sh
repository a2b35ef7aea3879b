# Sourced by server_test.sh (its check, psql_owner, paths and the server in
# $dir): two desks at once on one server, each program in a Wine prefix and
# on a display of its own, driven through their windows by desks_driver,
# which keep step by files in a shared folder. The script stops the server
# in the middle of desk A's last save and starts it again.
two="$tools/two"
mkdir -p "$two/A" "$two/B" "$two/sync"
psql_owner -c "CREATE DATABASE kvtwo"
"$native/tools/kelvaro-mkdb" --server "$owner_info dbname=kvtwo" >/dev/null
"$native/tools/backup/kelvaro-backup" --server "$owner_info dbname=kvtwo" --restore "$tools/desk.db" >/dev/null
psql_two() { "$pg_bin/psql" -X -A -t -q "$owner_info dbname=kvtwo" "$@" 2>/dev/null; }
psql_two -c "GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public TO kvdesk" \
  -c "CREATE FUNCTION slow_save() RETURNS trigger LANGUAGE plpgsql AS \$\$BEGIN PERFORM pg_sleep(8); RETURN NEW; END\$\$" \
  -c "CREATE TRIGGER slow_save BEFORE INSERT ON T_Zam FOR EACH ROW
      WHEN (NEW.nazwaNabyw = 'Desk A during stop') EXECUTE FUNCTION slow_save()" >/dev/null
for d in A B; do
  printf '[Database]\r\nServer=127.0.0.1\r\nPort=%s\r\nName=kvtwo\r\nLogin=kvdesk\r\nSslMode=require\r\n' \
    "$port" > "$two/$d/kelvaro.ini"
done
zpath() { local p=$1; echo "Z:${p//\//\\}"; }
pgpass_in() {  # PREFIX: the desk's password in libpq's file of that prefix
  local roaming
  roaming=$(ls -d "$1"/drive_c/users/*/AppData/Roaming 2>/dev/null | grep -v Public | head -n1)
  mkdir -p "$roaming/postgresql"
  echo "127.0.0.1:$port:kvtwo:kvdesk:desk-pw" > "$roaming/postgresql/pgpass.conf"
}
prefix_a=$WINEPREFIX
prefix_b="$win/wineprefix-desk-b"
(export WINEPREFIX=$prefix_b; kv_wine_prefix test >/dev/null)
pgpass_in "$prefix_a"
pgpass_in "$prefix_b"
driver=$(zpath "$win/bin/desks_driver.exe")
program=$(zpath "$win/bin/kelvaro.exe")
sync=$(zpath "$two/sync")
timeout 400 wine "$driver" --exe "$program" --cwd "$(zpath "$two/A")" --desk A --sync "$sync" \
  </dev/null >"$two/A.raw" 2>/dev/null &
desk_a=$!
WINEPREFIX=$prefix_b timeout 400 xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
  'wineserver -p; wine wineboot; wine "$@"; rc=$?; wineserver -k; exit $rc' _ \
  "$driver" --exe "$program" --cwd "$(zpath "$two/B")" --desk B --sync "$sync" \
  </dev/null >"$two/B.raw" 2>/dev/null &
desk_b=$!
await_mark() {  # NAME: true once the mark is there, false when desk A ended first
  for _ in $(seq 1 3000); do
    [ -e "$two/sync/$1" ] && return 0
    kill -0 "$desk_a" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
stopped=no
if await_mark A-saving4; then
  sleep 2
  "$root/tools/pg-server.sh" crash "$dir" && stopped=yes
  await_mark A-failed4
  "$root/tools/pg-server.sh" resume "$dir"
  psql_two -c "DROP TRIGGER slow_save ON T_Zam" >/dev/null
fi
touch "$two/sync/script-back4"
wait "$desk_a"; rc_a=$?
wait "$desk_b"; rc_b=$?
for d in A B; do
  tr -d '\r' <"$two/$d.raw" >"$win/two-desks-$d.log"
  echo "desk $d:"; sed 's/^/  /' "$win/two-desks-$d.log"
done
rm -f "$prefix_a"/drive_c/users/*/AppData/Roaming/postgresql/pgpass.conf
log_a="$win/two-desks-A.log" log_b="$win/two-desks-B.log"
check "desk A played its part to the end" [ "$rc_a" -eq 0 ]
check "desk B played its part to the end" [ "$rc_b" -eq 0 ]
first_a=$(sed -n 's/^first number: \([0-9]*\)-.*/\1/p' "$log_a")
first_b=$(sed -n 's/^first number: \([0-9]*\)-.*/\1/p' "$log_b")
echo "two desks: first numbers $first_a and $first_b"
consecutive() { [ -n "$first_a" ] && [ -n "$first_b" ] && [ $((first_a - first_b)) -eq 1 -o $((first_b - first_a)) -eq 1 ]; }
check "two orders saved at once get consecutive numbers" consecutive
live=$(sed -n 's/^live: \([0-9]*\) ms$/\1/p' "$log_a")
echo "two desks: B's order in A's register ${live:-never} ms after B pressed Save"
within_a_second() { [ -n "$live" ] && [ "$live" -lt 1000 ]; }
check "B's save shows in A's register within a second" within_a_second
check "A's correction of an order B changed meanwhile is refused" \
  grep -q "^conflict: Error: The order .* was changed at another desk after it was opened: nothing has been written" "$log_a"
check "the refused correction stays on A's screen" grep -q '^window kept: yes, symbol "CHANGED AT A"$' "$log_a"
check "the stored order keeps B's correction" \
  [ "$(psql_two -c "SELECT dodOznaczZam FROM T_Zam WHERE nazwaNabyw = 'Desk A first'")" = "CHANGED AT B" ]
check "the server stopped during A's save" [ "$stopped" = yes ]
check "A's save cut by the stop shows the reason and keeps the window" \
  bash -c 'grep -q "^stopped: Error: " "$0" && grep -q "^window kept: yes, buyer \"Desk A during stop\"$" "$0"' "$log_a"
check "A saves once the server is back, and the order is there once, whole" \
  bash -c 'grep -q "^after the stop: Information: The order .* has been saved" "$0" &&
           [ "$1" = "1 1" ]' "$log_a" \
  "$(psql_two -c "SELECT COUNT(*), SUM((SELECT COUNT(*) FROM T_DodatZam d WHERE d.kluczZam = z.kluczZam)) FROM T_Zam z WHERE nazwaNabyw = 'Desk A during stop'" -F ' ')"
numbers_once() { [ "$(psql_two -c "SELECT COUNT(*) = COUNT(DISTINCT (idZam, rok)) FROM T_Zam")" = t ]; }
check "no number is taken twice" numbers_once
