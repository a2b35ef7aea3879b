#!/usr/bin/env bash
# Builds everything and runs every test: the portable core natively under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the Windows build
# (the same portable tests plus the Win32 tests) under Wine in a virtual
# display. Installs what it needs first (tools/setup.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export CCACHE_DIR="${CCACHE_DIR:-$root/.cache/ccache}"

tools/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)
summary=()

run_ctest() {  # NAME LOGFILE COMMAND...: runs, keeps the log, remembers the counts
  local name=$1 log=$2
  shift 2
  local rc=0
  "$@" 2>&1 | tee "$log" || rc=$?
  local line
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1 || true)
  summary+=("$name: ${line:-no result}")
  return $rc
}

echo "== native build (sanitizers)"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON >/dev/null
cmake --build build/native -j "$jobs"
native_rc=0
run_ctest native build/native/ctest.log ctest --test-dir build/native --output-on-failure || native_rc=$?

echo "== fuzz targets (clang, libFuzzer), short runs"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKV_FUZZ=ON >/dev/null
fuzz_targets=$(grep -ho '^kv_fuzz_target([a-z_]*' tests/fuzz/CMakeLists.txt | sed 's/kv_fuzz_target(//')
cmake --build build/fuzz -j "$jobs" --target $fuzz_targets
fuzz_rc=0
run_ctest fuzz build/fuzz/ctest.log ctest --test-dir build/fuzz -R '_fuzz_short$' --output-on-failure \
  || fuzz_rc=$?

echo "== Windows build (mingw-w64)"
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j "$jobs"
win_rc=0
run_ctest windows build/win/ctest.log \
  xvfb-run -a -s "-screen 0 1280x1024x24" tools/wine-ctest.sh build/win -LE dpi || win_rc=$?

echo "== the windows at 150 % (144 dpi) under Wine"
dpi_rc=0
run_ctest "windows at 144 dpi" build/win/ctest-dpi.log \
  env KV_DPI=144 xvfb-run -a -s "-screen 0 2560x1600x24" tools/wine-ctest.sh build/win -L dpi || dpi_rc=$?

run_script() {  # NAME LOGFILE COMMAND...: a script that ends with "NAME: P passed, F failed"
  local name=$1 log=$2
  shift 2
  local rc=0
  "$@" 2>&1 | tee "$log" || rc=$?
  local line
  line=$(grep -E "^$name: [0-9]+ passed, [0-9]+ failed" "$log" | tail -n1 || true)
  if [[ $line =~ ([0-9]+)\ passed,\ ([0-9]+)\ failed ]]; then
    summary+=("$name: $((BASH_REMATCH[2])) tests failed out of $((BASH_REMATCH[1] + BASH_REMATCH[2]))")
  else
    summary+=("$name: no result")
    rc=1
  fi
  return $rc
}

echo "== release files and the installer under Wine"
install_rc=0
tools/release.sh build/win 2>&1 | tee build/win/release.log || install_rc=$?
setup_exe=$(ls dist/Quarvel-*-setup.exe 2>/dev/null | head -n1)
run_script installer build/win/installer.log \
  xvfb-run -a -s "-screen 0 1280x1024x24" tests/installer/install_test.sh build/win "$setup_exe" || install_rc=$?

echo "== the whole journey under Wine (installed program, driven from outside)"
journey_rc=0
run_script journey build/win/journey.log \
  xvfb-run -a -s "-screen 0 1280x1024x24" tests/journey/journey_test.sh build/win "$setup_exe" || journey_rc=$?
echo "== the journey again with the display at 150 % (144 dpi): the same printout"
run_script journey build/win/journey-144.log \
  env KV_DPI=144 xvfb-run -a -s "-screen 0 2560x1600x24" tests/journey/journey_test.sh build/win "$setup_exe" \
  || journey_rc=$?

echo "== the order as PDF and the register as CSV, read back by other programs"
exports_rc=0
run_script exports build/win/exports.log \
  xvfb-run -a -s "-screen 0 1280x1024x24" tests/exports/exports_test.sh build/win || exports_rc=$?

echo "== the PostgreSQL client of both builds against a private server"
server_rc=0
run_script server build/win/server.log \
  xvfb-run -a -s "-screen 0 1280x1024x24" tests/server/server_test.sh build/native build/win || server_rc=$?

echo "== summary"
passed=0 failed=0
for s in "${summary[@]}"; do
  echo "$s"
  if [[ $s =~ ([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+) ]]; then
    failed=$((failed + BASH_REMATCH[1]))
    passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
  fi
done
echo "$passed passed, $failed failed"
[ $native_rc -eq 0 ] && [ $fuzz_rc -eq 0 ] && [ $win_rc -eq 0 ] && [ $dpi_rc -eq 0 ] && [ $install_rc -eq 0 ] && [ $journey_rc -eq 0 ] && [ $exports_rc -eq 0 ] && [ $server_rc -eq 0 ]
