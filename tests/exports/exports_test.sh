#!/usr/bin/env bash
# The order as a PDF file and the register as CSV, read back by other
# programs: kelvaro-printout --pdf on demo order 5 (pdfinfo: the pages of the
# printout, Letter, the title; pdftotext: every page's words as the
# printout's metafiles hold them, the buyer's letters, the title with the
# symbol's letters), and kelvaro-inspect --register-csv / --lines-csv
# (Python's csv module: the rows, the columns, the totals equal to the
# register's, a buyer with a quote, a comma, a semicolon and a line break).
# Once in an English locale with code page 1252, once in a Polish one with
# 1250, and in a prefix of its own in a Russian one with 1251, where the PDF
# embeds its font: there the buyer's line is as wide in the PDF as on the
# printed page.
#   tests/exports/exports_test.sh BUILD_DIR
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?build dir}" && pwd)
source "$root/tools/wine-env.sh" "$build" wineprefix-exports
rm -rf "$WINEPREFIX"
kv_wine_prefix test
trap kv_wine_stop EXIT
# Wine takes its code page from the locale it starts in: a Polish one, made
# here from the system's locale sources (no root needed).
locales="$build/locales"
for l in pl_PL ru_RU; do
  [ -d "$locales/$l.UTF-8" ] || { mkdir -p "$locales" && localedef -i $l -f UTF-8 "$locales/$l.UTF-8"; }
done
# The code page the program sees, asked of Windows itself.
probe="$build/exports-acp.exe"
printf '#include <windows.h>\n#include <stdio.h>\nint main(void) { printf("%%u\\n", GetACP()); return 0; }\n' |
  x86_64-w64-mingw32-gcc -x c - -o "$probe"

passed=0 failed=0
check() {  # DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "ok: $what"
  else failed=$((failed + 1)); echo "FAILED: $what"; fi
}

run_case() {  # CODEPAGE LOCALE DECIMAL BUYER SYMBOL
  local cp=$1 locale=$2 decimal=$3 buyer=$4 symbol=$5
  kv_wine_stop
  export LOCPATH=$locales
  export LANG=$locale LC_ALL=$locale
  kv_wine_start
  check "[$cp] the program sees code page $cp" \
    test "$(wine "$probe" </dev/null 2>/dev/null | tr -d '\r')" = "$cp"
  wine reg add 'HKCU\Control Panel\International' /v sDecimal /d "$decimal" /f >/dev/null 2>&1 </dev/null
  local dir="$WINEPREFIX/drive_c/exports-$cp"
  rm -rf "$dir"; mkdir -p "$dir"
  cd "$dir"
  wine "$build/bin/kelvaro-mkdb.exe" --demo demo.db </dev/null >/dev/null 2>&1
  # The buyer of order 5 in the code page's bytes, as the program stores it.
  python3 - "$cp" "$buyer" "$symbol" <<'PY'
import sqlite3, sys
cp, buyer, symbol = sys.argv[1], sys.argv[2], sys.argv[3]
db = sqlite3.connect("demo.db")
db.execute("UPDATE T_Zam SET nazwaNabyw = CAST(? AS TEXT), dodOznaczZam = CAST(? AS TEXT) WHERE idZam = 5",
           (buyer.encode("cp" + cp), symbol.encode("cp" + cp)))
db.execute("UPDATE T_Zam SET nazwaNabyw = CAST(? AS TEXT) WHERE idZam = 3",
           ('Q "x", y; z\r\nw'.encode("cp" + cp),))
db.commit()
PY
  local pages
  pages=$(wine "$build/bin/kelvaro-printout.exe" demo.db 5 out --pdf </dev/null 2>/dev/null | tr -d '\r')
  local pdf=out/order.pdf
  check "[$cp] kelvaro-printout writes order.pdf ($pages pages)" test -s "$pdf"
  check "[$cp] the PDF has the printout's $pages pages" \
    test "$(pdfinfo "$pdf" 2>/dev/null | sed -n 's/^Pages: *//p')" = "$pages"
  check "[$cp] every page is Letter, 612 x 792 pt" \
    test "$(pdfinfo -f 1 -l "$pages" "$pdf" 2>/dev/null | grep -c 'size: *612 x 792 pts')" = "$pages"
  local title
  title=$(pdfinfo "$pdf" 2>/dev/null | sed -n 's/^Title: *//p')
  check "[$cp] the title is the heading, \"$symbol\" as it is ($title)" \
    bash -c '[[ $0 =~ ^5-QW-[0-9]+\ \((.*)\)$ ]] && [ "${BASH_REMATCH[1]}" = "$1" ]' "$title" "$symbol"
  check "[$cp] the creator is Quarvel 1.8" grep -q "^Creator: *Quarvel 1.8$" <(pdfinfo "$pdf" 2>/dev/null)
  check "[$cp] each page's words are the words of its metafile" \
    python3 - "$pdf" "$pages" <<'PY'
import struct, subprocess, sys
pdf, pages = sys.argv[1], int(sys.argv[2])
ok = True
for i in range(1, pages + 1):
    data = open(f"out/page-{i}.emf", "rb").read()
    texts, at = [], 0
    while at < len(data):
        kind, size = struct.unpack_from("<II", data, at)
        if kind == 84:  # EMR_EXTTEXTOUTW
            n, off = struct.unpack_from("<II", data, at + 44)
            texts.append(data[at + off:at + off + 2 * n].decode("utf-16-le"))
        at += size
    emf = sorted(" ".join(texts).split())
    got = sorted(subprocess.run(["pdftotext", "-layout", "-f", str(i), "-l", str(i), pdf, "-"],
                                capture_output=True, text=True).stdout.split())
    if emf != got:
        ok = False
        print(f"page {i}: only in the metafile {sorted(set(emf) - set(got))[:10]}, "
              f"only in the PDF {sorted(set(got) - set(emf))[:10]}")
sys.exit(0 if ok else 1)
PY
  check "[$cp] the buyer's letters are text in the PDF" \
    grep -qF "$buyer" <(pdftotext "$pdf" - 2>/dev/null)
  local size
  size=$(stat -c %s "$pdf")
  if [ "$cp" = 1251 ]; then
    check "[$cp] the font is embedded ($size bytes for $pages pages)" \
      grep -q 'LiberationSans.*yes' <(pdffonts "$pdf" 2>/dev/null)
    check "[$cp] the buyer's line is as wide as on the printed page (within 3 %)" \
      python3 - "$pdf" "$buyer" <<'PY'
import re, struct, subprocess, sys
pdf, buyer = sys.argv[1], sys.argv[2]
data, at, emf = open("out/page-1.emf", "rb").read(), 0, None
while at < len(data):
    kind, size = struct.unpack_from("<II", data, at)
    if kind == 84:  # EMR_EXTTEXTOUTW: its bounds, then the text
        left, top, right, bottom = struct.unpack_from("<4i", data, at + 8)
        n, off = struct.unpack_from("<II", data, at + 44)
        if data[at + off:at + off + 2 * n].decode("utf-16-le") == buyer:
            emf = right - left  # page pixels
    at += size
bbox = subprocess.run(["pdftotext", "-f", "1", "-l", "1", "-bbox-layout", pdf, "-"],
                      capture_output=True, text=True).stdout
for line in re.findall(r'<line xMin="([\d.]+)"[^>]*xMax="([\d.]+)"[^>]*>(.*?)</line>', bbox, re.S):
    if " ".join(re.findall(r">([^<]+)</word>", line[2])) == buyer:
        width = (float(line[1]) - float(line[0])) / 0.75  # points to page pixels
        print(f"buyer: {width:.1f} px in the PDF, {emf} px in the metafile")
        sys.exit(0 if emf and abs(width - emf) <= 0.03 * emf else 1)
print("the buyer's line is not in the PDF")
sys.exit(1)
PY
    wine "$build/bin/kelvaro-printout.exe" demo.db 3 one --pdf </dev/null >/dev/null 2>&1
    echo "[$cp] a one-page offer (order 3): $(stat -c %s one/order.pdf 2>/dev/null) bytes"
  else
    check "[$cp] under 100 KB a page ($size bytes for $pages)" test "$size" -lt $((pages * 100 * 1024))
  fi

  wine "$build/bin/kelvaro-inspect.exe" --register-csv demo.db </dev/null >register.csv 2>/dev/null
  wine "$build/bin/kelvaro-inspect.exe" --lines-csv demo.db </dev/null >lines.csv 2>/dev/null
  wine "$build/bin/kelvaro-inspect.exe" demo.db </dev/null >orders.json 2>/dev/null
  check "[$cp] the register's CSV reads back: rows, columns, totals, the buyers" \
    python3 - "$buyer" "$decimal" <<'PY'
import csv, io, json, sys
buyer = sys.argv[1]
raw = open("register.csv", "rb").read()
assert raw.startswith(b"\xef\xbb\xbf"), "no byte order mark"
assert b"\r\n" in raw and raw.count(b"\n") == raw.count(b"\r\n"), "line ends"
text = raw.decode("utf-8-sig")
separator = ";" if ";" in text.split("\r\n")[0] else ","
rows = list(csv.reader(io.StringIO(text, newline=""), delimiter=separator))
head, body = rows[0], rows[1:]
assert head == ["Status", "Order No.", "Order symbol", "Buyer", "Date of order", "Date of fulfilment",
                "Total", "Qty of windows", "Notes"], head
orders = json.load(open("orders.json"))["orders"]
shown = [o for o in orders if o["status"] != -1]
assert len(body) == len(shown), (len(body), len(shown))
decimal = "," if separator == ";" else "."
assert decimal == sys.argv[2], (decimal, sys.argv[2])
for row, order in zip(body, shown):
    assert len(row) == 9, row
    gross = order["totals"]["orderGross"]
    assert row[6] == f"{gross // 100}{decimal}{gross % 100:02d}", (row[6], gross)
    assert row[1].startswith(f'{order["idZam"]}-'), row[1]
buyers = [r[3] for r in body]
assert buyer in buyers, buyers
assert 'Q "x", y; z\r\nw' in buyers, buyers
lines = list(csv.reader(open("lines.csv", encoding="utf-8-sig", newline=""), delimiter=separator))
assert lines[0] == ["Order No.", "Buyer", "Date of order", "Kind", "Name", "Size", "Quantity",
                    "Unit net", "Line net", "Line gross"], lines[0]
windows = sum(len(o["windows"]) for o in shown)
accessories = sum(len(o["accessories"]) for o in shown)
kinds = [r[3] for r in lines[1:]]
assert kinds.count("window") == windows and kinds.count("accessory") == accessories, kinds
PY
  cd "$root"
}

run_case 1252 C.UTF-8 . "Müller Façade" "Façade €"
run_case 1250 pl_PL.UTF-8 , "Zażółć gęślą jaźń" "Łódź"
# Cyrillic in a prefix of its own.
kv_wine_stop
export WINEPREFIX="$build/wineprefix-exports-ru"
rm -rf "$WINEPREFIX"
LANG=C.UTF-8 LC_ALL=C.UTF-8 kv_wine_prefix test
run_case 1251 ru_RU.UTF-8 , "Иванов Пётр Сергеевич" "Фасад №7"
echo "exports: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
