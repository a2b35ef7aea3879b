#!/usr/bin/env bash
# A seller's day, end to end, under Wine in a fresh prefix: install silently;
# start the program through its Start-menu shortcut (target and working
# directory read from the .lnk); make an order of two windows and one
# accessory through the real windows (journey_driver); find it in the
# register with the total the database gives; print it from the print
# preview to the PDF queue and read the PDF; close the program; uninstall
# silently and find the order still in the database.
#   tests/journey/journey_test.sh BUILD_DIR SETUP_EXE
# With KV_DPI (other than 96) the display has that dpi, in a prefix of its
# own; the printout's pages and words are kept per dpi, and a run at another
# dpi compares them with those of a run at 96 dpi when there is one.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?build dir}" && pwd)
setup=$(cd "$(dirname "${2:?setup.exe}")" && pwd)/$(basename "$2")
started=$(date +%s.%N)
source "$root/tools/cups.sh"
dpi=${KV_DPI:-96}
suffix=""
[ "$dpi" != 96 ] && suffix=-$dpi
source "$root/tools/wine-env.sh" "$build" "wineprefix-journey$suffix"
# The scheduler must run before Wine's spooler first loads.
kv_cups_start || echo "journey: no print scheduler; the printing step will fail" >&2
rm -rf "$WINEPREFIX"
kv_wine_prefix
kv_wine_start
trap 'kv_wine_stop; kv_cups_stop' EXIT

passed=0 failed=0
check() {  # DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "ok: $what"
  else failed=$((failed + 1)); echo "FAILED: $what"; fi
}
shot() {  # NAME: the screen as it is, into the build tree
  import -window root "$build/journey$suffix-$1.png" 2>/dev/null && echo "screenshot: $build/journey$suffix-$1.png"
}
finish() {
  echo "journey: $(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }') s"
  echo "journey: $passed passed, $failed failed"
  [ $failed -eq 0 ]
  exit
}

user_dir=$(ls -d "$WINEPREFIX"/drive_c/users/*/ | grep -v Public | head -n1)
prog="$user_dir/AppData/Local/Programs/Quarvel"
db="$user_dir/AppData/Roaming/Quarvel/kelvaroDemo.db"
lnk="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quarvel/Quarvel.lnk"
pdf_dir="${HOME:-/root}/PDF"

timeout 120 wine "$setup" /S </dev/null >/dev/null 2>&1
check "silent install" [ -f "$prog/kelvaro.exe" -a -f "$db" -a -f "$lnk" ]
[ $failed -eq 0 ] || finish
# The installed guide: its designer anchor, and every picture it shows.
pictures=$(grep -o '<img src="[^"]*"' "$prog/kelvaro-help.html" | sed 's/^<img src="//; s/"$//')
missing=$(for f in $pictures; do [ -f "$prog/$f" ] || echo "$f"; done)
echo "help page: $(wc -w <<<"$pictures") pictures${missing:+, missing: $missing}"
check "the installed help page has its designer section and finds all its pictures" \
  bash -c 'grep -q "id=\"modProj\"" "$0" && [ -n "$1" ] && [ -z "$2" ]' "$prog/kelvaro-help.html" "$pictures" "$missing"

rm -f "$pdf_dir"/*.pdf "$build/journey-printout$suffix.txt" 2>/dev/null
log="$build/journey$suffix-driver.log"
# Into a file, not a pipe: the program inherits the driver's output and
# would hold a pipe open.
timeout 240 wine "$build/bin/journey_driver.exe" --lnk "$(winepath -w "$lnk")" </dev/null >"$log.raw" 2>/dev/null
driver_rc=$?
tr -d '\r' <"$log.raw" >"$log"
cat "$log"
check "the driver played the whole journey" [ "$driver_rc" -eq 0 ]
if [ "$driver_rc" -ne 0 ]; then
  shot driver
  kv_wine_stop   # ends the program the driver left as it was
  kv_wine_start
fi

value() { sed -n "s/^$1: //p" "$log" | head -n1; }
number=$(value "order number")
key=$(sed -n 's/^register row: key \([0-9]*\),.*/\1/p' "$log")
echo "order number: ${number:-none}, key ${key:-none}"
check "the shortcut starts kelvaro.exe in the data folder" \
  grep -Eq '^shortcut: target .*\\kelvaro\.exe, working directory .*\\Roaming\\Quarvel$' "$log"
check "the save reports the order with status 1" \
  grep -q "^saved: Information: The order $number has been saved with status " "$log"
[ -n "$key" ] || finish

# The order as the database holds it (the same valuation as the program's).
json=$(timeout 60 wine "$build/bin/kelvaro-inspect.exe" "$(winepath -w "$db")" "$key" 2>/dev/null | tr -d '\r')
figures=$(python3 -c '
import json, sys
o = json.loads(sys.argv[1])["orders"][0]
t = o["totals"]
money = lambda v: "%s%d.%02d" % ("-" if v < 0 else "", abs(v) // 100, abs(v) % 100)
print(o["number"], o["status"], len(o["windows"]), len(o["accessories"]), money(t["orderNet"]), money(t["orderGross"]),
      " ".join("%dx%d" % (w["width"], w["height"]) for w in o["windows"]),
      sum("Glass 4/16/4 - [Glass]" in w["description"] for w in o["windows"]))
' "$json" 2>/dev/null)
read -r db_number db_status db_windows db_acc net gross size1 size2 glazed <<<"$figures"
sizes="$size1 $size2"
echo "database: order $db_number, status $db_status, $db_windows windows ($sizes), $db_acc accessory, net $net, gross $gross"
check "the database holds the order with status 1, two windows and one accessory" \
  [ "$db_number" = "$number" -a "$db_status" = 1 -a "$db_windows" = 2 -a "$db_acc" = 1 ]
check "both windows have the drawn sizes" [ "$sizes" = "1200x1400 900x1100" ]
check "both windows are glazed with the glass drawn in" [ "$glazed" = 2 ]
shown=$(value "register total" | tr -d ' ,')
echo "register total: $(value "register total"), expected gross $gross"
check "the register's Total is the order's gross total ($gross)" [ -n "$gross" -a "$shown" = "$gross" ]

# The printout: one PDF from the PDF queue.
pdf=""
for _ in $(seq 1 600); do  # up to two minutes: a busy machine converts slowly
  pdf=$(ls "$pdf_dir"/*.pdf 2>/dev/null | head -n1)
  [ -n "$pdf" ] && [ -z "$(lpstat -o 2>/dev/null)" ] && break
  sleep 0.2
done
check "the printout reaches the PDF queue" [ -n "$pdf" ]
if [ -n "$pdf" ]; then
  pages=$(pdfinfo "$pdf" 2>/dev/null | sed -n 's/^Pages: *//p')
  text=$(pdftotext -layout "$pdf" - 2>/dev/null)
  echo "printout: $pdf, $pages page(s)"
  check "the printout has at least one page" [ "${pages:-0}" -ge 1 ]
  check "every page starts with the heading $number" \
    [ "$(grep -c "^ *$number" <<<"$text")" -ge "${pages:-1}" ]
  check "the printout describes both windows (1200 / 1400, 900 / 1100)" \
    bash -c 'grep -q "Size: 1200 / 1400" <<<"$0" && grep -q "Size: 900 / 1100" <<<"$0"' "$text"
  plain=$(tr -d ' ,' <<<"$text")
  # The last row of the totals table: "Total  net  VAT  -  gross".
  check "the printout's Total row shows net $net and gross $gross" \
    grep -Eq "^Total${net//./\\.}[0-9.]+-${gross//./\\.}\$" <<<"$plain"
  # Each page's words, whatever the layout's spacing and the order a reader
  # takes them in: the same at every dpi.
  words="$build/journey-printout$suffix.txt"
  for ((page = 1; page <= ${pages:-0}; page++)); do
    echo "== page $page"
    pdftotext -f "$page" -l "$page" "$pdf" - 2>/dev/null | tr -s ' \t\f' '\n\n\n' | grep -v '^$' | LC_ALL=C sort
  done >"$words"
  if [ -n "$suffix" ] && [ -f "$build/journey-printout.txt" ]; then
    check "the printout at $dpi dpi has the pages and text of the one at 96 dpi" \
      cmp -s "$build/journey-printout.txt" "$words"
  fi
fi
check "the program ended of itself" grep -q '^program ended: exit code 0$' "$log"

before=$(sqlite3 "$db" "SELECT COUNT(*) FROM T_Zam WHERE kluczZam = ${key:-0}" 2>/dev/null)
timeout 120 wine "$prog/uninstall.exe" /S "_?=$(winepath -w "$prog")" </dev/null >/dev/null 2>&1
check "the uninstall removes the program" [ ! -f "$prog/kelvaro.exe" -a ! -f "$lnk" ]
after=$(sqlite3 "$db" "SELECT COUNT(*) FROM T_Zam WHERE kluczZam = ${key:-0}" 2>/dev/null)
again=$(timeout 60 wine "$build/bin/kelvaro-inspect.exe" "$(winepath -w "$db")" "$key" 2>/dev/null | tr -d '\r')
check "the order is still in the database after the uninstall" \
  [ "$before" = 1 -a "$after" = 1 -a "$again" = "$json" ]
[ $failed -eq 0 ] || shot end
finish
