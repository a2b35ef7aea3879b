#!/usr/bin/env bash
# Pictures of the real windows for the help page, made by playing the
# journey's order (tests/journey/journey_driver) on the build's program with
# a fresh database under Xvfb, so they stay current with the windows:
#   tools/make-help-pictures.sh [BUILD_DIR]   (default build/win)
# Writes resources/help/images/*.png (8-bit palette PNG).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export CCACHE_DIR="${CCACHE_DIR:-$root/.cache/ccache}"
build=${1:-build/win}

if [ -z "${KV_PICTURES_DISPLAY:-}" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j 2 --target kelvaro kelvaro-mkdb kelvaro-prices journey_driver
  # Again inside a virtual display of its own.
  exec env KV_PICTURES_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build"
fi

source tools/wine-env.sh "$build" wineprefix-pictures
kv_wine_prefix virtual   # Wine draws the windows' own frames and captions
kv_wine_start
trap kv_wine_stop EXIT

work="$WINEPREFIX/drive_c/pictures"
rm -rf "$work"
mkdir -p "$work/shots"
wine "$build/bin/kelvaro-mkdb.exe" --demo 'C:\pictures\kelvaroDemo.db' </dev/null >/dev/null 2>&1
# The sample price list, so that the designer shows its line.
cp tools/sample-prices.csv "$work/prices.csv"
wine "$build/bin/kelvaro-prices.exe" 'C:\pictures\kelvaroDemo.db' import 'C:\pictures\prices.csv' </dev/null >/dev/null 2>&1
timeout 240 wine "$build/bin/journey_driver.exe" --exe "$(winepath -w "$build/bin/kelvaro.exe")" --cwd 'C:\pictures' \
  --shots 'C:\pictures\shots' --no-print </dev/null >"$work/driver.log" 2>/dev/null \
  || { tr -d '\r' <"$work/driver.log"; echo "make-help-pictures: the driver failed" >&2; exit 1; }
tr -d '\r' <"$work/driver.log" | grep '^picture:'

out=resources/help/images
mkdir -p "$out"
for bmp in "$work"/shots/*.bmp; do
  png="$out/$(basename "${bmp%.bmp}").png"
  convert "$bmp" -strip -colors 128 -define png:compression-level=9 PNG8:"$png"
  echo "$png: $(stat -c %s "$png") bytes"
done
