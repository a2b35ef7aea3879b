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

# A real display has a window manager; a virtual one has none, and a prefix
# of its own tells Wine not to wait for one (as the tests' prefix does).
virtual=1
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then virtual=0; fi
if [ $virtual -eq 1 ]; then
  # Started first: Wine takes the screen's size when it makes the prefix.
  n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  export DISPLAY=":$n"
  sleep 1
  source tools/wine-env.sh build/win wineprefix-virtual
  kv_wine_prefix virtual
else
  source tools/wine-env.sh build/win wineprefix-run
  kv_wine_prefix
fi
mkdir -p run
cd run
if [ ! -f kelvaroDemo.db ]; then
  wine "$root/build/win/bin/kelvaro-mkdb.exe" --demo kelvaroDemo.db
fi

bin="$root/build/win/bin/kelvaro.exe"
if [ $virtual -eq 0 ]; then
  wine "$bin"
else
  echo "run: no display found; the program runs in the virtual display $DISPLAY (Xvfb)."
  echo "run: to look at it: import -display $DISPLAY -window root shot.png"
  wine "$bin"
fi
