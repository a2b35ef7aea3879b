#!/usr/bin/env bash
# Builds the Windows program and runs it under Wine on the demo database, in
# the folder run/ (the database kelvaroDemo.db, with a few demo orders, is
# made there when missing).
# Without a display it says so and uses a virtual one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export CCACHE_DIR="${CCACHE_DIR:-$root/.cache/ccache}"

tools/setup.sh
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win --target kelvaro kelvaro-mkdb

source tools/wine-env.sh build/win wineprefix-run
kv_wine_prefix
mkdir -p run
cd run
if [ ! -f kelvaroDemo.db ]; then
  wine "$root/build/win/bin/kelvaro-mkdb.exe" --demo kelvaroDemo.db
fi

bin="$root/build/win/bin/kelvaro.exe"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  wine "$bin"
else
  echo "run: no display found; running in a virtual display (Xvfb) - nothing will be visible."
  echo "run: take a screenshot with: import -display <display> -window root shot.png"
  xvfb-run -a -s "-screen 0 1280x1024x24" wine "$bin"
fi
