#!/usr/bin/env bash
# Builds everything and runs every test: the portable core natively under ASan/UBSan, the
# Win32 tests and the end-to-end tests under Wine, and a short run of each fuzzer.
# Environment: KIVO_FUZZ_SECONDS (default 20) per fuzzer; KIVO_SKIP_DEPS=1 skips installing.
set -euo pipefail
cd "$(dirname "$0")/.."

[[ ${KIVO_SKIP_DEPS:-0} == 1 ]] || scripts/install-deps.sh

status=0
step() { echo; echo "=== $*"; }

step "Style"
scripts/format.sh --check || status=1

step "Native build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native -j2 || status=1

step "Windows build, Win32 tests and end-to-end tests under Wine"
cmake --preset win >/dev/null
cmake --build --preset win
ctest --preset win || status=1

step "Fuzzers (short run)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
seconds=${KIVO_FUZZ_SECONDS:-20}
fuzz_passed=0
fuzz_failed=0
for fuzzer in store_file_fuzzer settings_file_fuzzer ico_directory_fuzzer group_icon_fuzzer \
    link_files_fuzzer shell_link_fuzzer shortcut_package_fuzzer; do
  corpus=$(mktemp -d)
  if build/fuzz/fuzz/$fuzzer -max_total_time="$seconds" -print_final_stats=1 "$corpus" \
      >"build/fuzz/$fuzzer.log" 2>&1; then
    echo "$fuzzer: $(grep -o 'Done [0-9]* runs' "build/fuzz/$fuzzer.log"), no findings"
    fuzz_passed=$((fuzz_passed + 1))
  else
    echo "$fuzzer: FAILED"; tail -40 "build/fuzz/$fuzzer.log"
    fuzz_failed=$((fuzz_failed + 1))
    status=1
  fi
  rm -rf "$corpus"
done
echo "fuzz: $fuzz_passed passed, $fuzz_failed failed"

exit $status
