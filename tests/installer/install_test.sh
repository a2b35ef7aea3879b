#!/usr/bin/env bash
# The installer under Wine, in a fresh prefix of its own: silent install,
# what it puts where (program files, the data folder with its database, the
# Start-menu shortcut, the uninstall entry and its version), an upgrade over
# an older install keeping the database, a silent uninstall keeping the data.
#   tests/installer/install_test.sh BUILD_DIR SETUP_EXE
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?build dir}" && pwd)
setup=$(cd "$(dirname "${2:?setup.exe}")" && pwd)/$(basename "$2")
source "$root/tools/wine-env.sh" "$build" wineprefix-install
rm -rf "$WINEPREFIX"
kv_wine_prefix
kv_wine_start
trap kv_wine_stop EXIT

passed=0 failed=0
check() {  # DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "ok: $what"
  else failed=$((failed + 1)); echo "FAILED: $what"; fi
}

user_dir=$(ls -d "$WINEPREFIX"/drive_c/users/*/ | grep -v Public | head -n1)
prog="$user_dir/AppData/Local/Programs/Quarvel"
data="$user_dir/AppData/Roaming/Quarvel"
db="$data/kelvaroDemo.db"
lnk="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quarvel/Quarvel.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quarvel'
version=$(basename "$setup" | sed -n 's/^Quarvel-\(.*\)-setup\.exe$/\1/p')
file_version=$(sed -n 's/^#define KV_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/kv_version.h")

reg_value() {  # NAME: the value of the uninstall entry, or nothing
  wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}

start=$(date +%s.%N)
wine "$setup" /S </dev/null >/dev/null 2>&1
install_rc=$?
echo "silent install: $(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }') s, setup $(stat -c %s "$setup") bytes"
check "setup exits 0" [ $install_rc -eq 0 ]
for f in kelvaro.exe pagora.dll widgora.dll kelvaro-backup.exe kelvaro-prices.exe sample-prices.csv kelvaro-help.html \
         LiberationSans-Regular.ttf LiberationSans-Bold.ttf LiberationSans-LICENSE.txt PostgreSQL-COPYRIGHT.txt \
         OpenSSL-LICENSE.txt uninstall.exe; do
  check "program folder holds $f" [ -f "$prog/$f" ]
done
# Each installed binary needs only system DLLs and the two libraries, and
# carries its version resource.
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|oleaut32|advapi32|msvcrt|winspool\.drv|shlwapi|uxtheme|msimg32|ws2_32|secur32|crypt32|bcrypt|version|pagora|widgora)(\.dll)?$'
for f in kelvaro.exe pagora.dll widgora.dll; do
  dlls=$(x86_64-w64-mingw32-objdump -p "$prog/$f" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
  echo "$f imports: $(echo $dlls)"
  check "$f imports only system DLLs and the two libraries" \
    bash -c '! grep -Evq "$0" <<<"$1"' "$allowed" "$dlls"
  check "$f carries FileVersion $file_version" \
    bash -c 'strings -e l "$0" | grep -qx "$1"' "$prog/$f" "$file_version"
done
check "the database is made in the data folder" [ -f "$db" ]
check "the database has version 1-8" \
  [ "$(sqlite3 "$db" 'SELECT * FROM T_WerBaza' 2>/dev/null)" = "1-8" ]
check "Start-menu shortcut exists" [ -f "$lnk" ]
# The shortcut names the program and the data folder (its working directory).
lnk_text=$(strings -e l "$lnk" 2>/dev/null; strings "$lnk" 2>/dev/null)
check "shortcut targets kelvaro.exe" grep -q 'kelvaro.exe' <<<"$lnk_text"
check "shortcut starts in the data folder" grep -qi 'Roaming\\Quarvel' <<<"$lnk_text"
check "uninstall entry names Quarvel" grep -q 'Quarvel' <<<"$(reg_value DisplayName)"
check "uninstall entry version = setup's name = binaries' version ($version)" \
  [ "$(reg_value DisplayVersion)" = "$version" -a "$version" = "$file_version" ]

# An upgrade over the install keeps the database as it is.
sqlite3 "$db" "UPDATE T_Zmienne SET idZam = 41" 2>/dev/null
before=$(sha256sum "$db" | cut -d' ' -f1)
wine "$setup" /S </dev/null >/dev/null 2>&1
check "a second install keeps the database" [ "$(sha256sum "$db" | cut -d' ' -f1)" = "$before" ]

wine "$prog/uninstall.exe" /S "_?=$(winepath -w "$prog")" </dev/null >/dev/null 2>&1
check "uninstall removes the program" [ ! -f "$prog/kelvaro.exe" -a ! -f "$prog/kelvaro-backup.exe" \
  -a ! -f "$prog/LiberationSans-Regular.ttf" ]
check "uninstall removes the shortcut" [ ! -f "$lnk" ]
check "uninstall removes its entry" [ -z "$(reg_value DisplayVersion)" ]
check "uninstall keeps the database" [ "$(sha256sum "$db" 2>/dev/null | cut -d' ' -f1)" = "$before" ]

echo "installer: $passed passed, $failed failed"
[ $failed -eq 0 ]
