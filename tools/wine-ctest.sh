#!/usr/bin/env bash
# Runs ctest in a Windows build tree under Wine (inside an X display, which
# tools/test.sh provides with xvfb-run). Extra arguments go to ctest.
set -euo pipefail
build=${1:?usage: wine-ctest.sh BUILD_DIR [ctest args]}
shift
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/wine-env.sh" "$build"
kv_wine_prefix test
kv_wine_start
trap kv_wine_stop EXIT
cd "$build"
ctest --output-on-failure "$@"
