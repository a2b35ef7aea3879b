#!/usr/bin/env bash
# Runs ctest in a Windows build tree under Wine (inside an X display, which
# tools/test.sh provides with xvfb-run). Extra arguments go to ctest.
set -euo pipefail
build=${1:?usage: wine-ctest.sh BUILD_DIR [ctest args]}
shift
root=$(cd "$(dirname "$0")/.." && pwd)
# A display dpi other than 96 (KV_DPI) runs in a prefix of its own.
prefix=wineprefix
[ "${KV_DPI:-96}" != 96 ] && prefix=wineprefix-$KV_DPI
source "$root/tools/wine-env.sh" "$build" "$prefix"
source "$root/tools/cups.sh"
kv_wine_prefix test
# The print tests need the PDF queue; the scheduler must run before Wine
# starts. Without it they fail with their own message.
kv_cups_start || echo "wine-ctest: no print queue; the print tests will fail" >&2
kv_wine_start
trap 'kv_wine_stop; kv_cups_stop' EXIT
cd "$build"
ctest --output-on-failure "$@"
