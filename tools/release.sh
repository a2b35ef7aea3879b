#!/usr/bin/env bash
# Makes the release files from this checkout:
#   dist/Quarvel-<version>-setup.exe  the per-user installer (makensis)
#   dist/Quarvel-<version>.zip        the portable form: the same files
# The version is the project's one version number (top CMakeLists.txt), as
# the build wrote it into kv_version.h.
#   tools/release.sh [BUILD_DIR]   (default build/release, a Release build
#                                   made here; tools/test.sh passes its own)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export CCACHE_DIR="${CCACHE_DIR:-$root/.cache/ccache}"
build=${1:-build/release}

tools/setup.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target kelvaro kelvaro-mkdb kelvaro-backup kelvaro-prices \
  kv-pdf-font

version=$(sed -n 's/^#define KV_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/kv_version.h")
[ -n "$version" ] || { echo "release: no version in $build/generated/kv_version.h" >&2; exit 1; }

stage="$root/dist/stage/Quarvel-$version"
rm -rf "$stage"
mkdir -p "$stage"
bin="$build/bin"
for f in kelvaro.exe pagora.dll widgora.dll kelvaro-mkdb.exe kelvaro-backup.exe kelvaro-prices.exe kelvaro-help.html \
         LiberationSans-Regular.ttf LiberationSans-Bold.ttf LiberationSans-LICENSE.txt; do
  cp "$bin/$f" "$stage/"
done
cp tools/sample-prices.csv "$stage/"
# kelvaro.exe carries libpq and OpenSSL inside it: their licences go with it.
newest() { ls -d .deps/$1 2>/dev/null | grep -E '[0-9]$' | sort -V | tail -n1; }
cp "$(newest 'postgresql-15.*')/COPYRIGHT" "$stage/PostgreSQL-COPYRIGHT.txt"
cp "$(newest 'openssl-3.0.*')/LICENSE.txt" "$stage/OpenSSL-LICENSE.txt"
[ -d resources/help/images ] && cp -r resources/help/images "$stage/help" || true
x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll
cat > "$stage/README.txt" <<TXT
Quarvel $version - portable form

Put kelvaro.exe, pagora.dll and widgora.dll in one folder, with a database
named kelvaroDemo.db beside them (make an empty one with
  kelvaro-mkdb.exe kelvaroDemo.db
or one with demo orders with
  kelvaro-mkdb.exe --demo kelvaroDemo.db).
Start kelvaro.exe from that folder: it opens the database of its working
directory. No other DLL is needed. kelvaro-help.html is the guide (F1).
LiberationSans-Regular.ttf and LiberationSans-Bold.ttf go beside
kelvaro.exe too: Save as PDF embeds them for Cyrillic, Greek and Vietnamese
letters (Liberation Sans, SIL Open Font License: LiberationSans-LICENSE.txt).
kelvaro.exe contains PostgreSQL's client library (PostgreSQL-COPYRIGHT.txt)
and OpenSSL (OpenSSL-LICENSE.txt), for a register on a database server:
a file kelvaro.ini beside the database names it (see the guide, "Several
desks").
sample-prices.csv is a price list to start from (Settings > Price list... >
Import..., or kelvaro-prices.exe kelvaroDemo.db import sample-prices.csv).
TXT
cp resources/images/app.ico "$stage/setup.ico"

mkdir -p dist
setup="$root/dist/Quarvel-$version-setup.exe"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" tools/installer/quarvel.nsi

zip="$root/dist/Quarvel-$version.zip"
rm -f "$zip"
(cd "$root/dist/stage" && python3 - "$zip" "Quarvel-$version" <<'PY'
import os, sys, zipfile
out, top = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
    for d, _, files in sorted(os.walk(top)):
        for f in sorted(files):
            if f == "setup.ico":
                continue
            z.write(os.path.join(d, f))
PY
)
echo "release: $setup ($(stat -c %s "$setup") bytes)"
echo "release: $zip ($(stat -c %s "$zip") bytes)"
