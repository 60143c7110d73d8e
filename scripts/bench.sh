#!/usr/bin/env bash
# Builds the Windows benchmarks and runs them under Wine on a virtual display; prints
# frame times of the dock's pipeline and of the straightforward one, and memory figures.
set -euo pipefail
cd "$(dirname "$0")/.."
[[ ${KIVO_SKIP_DEPS:-0} == 1 ]] || scripts/install-deps.sh
cmake --preset win >/dev/null
cmake --build --preset win --target dock_bench
icons="Z:$(pwd | tr / '\\')\\assets\\SysIcons"
PYTHONPATH=tests/harness python3 - "$icons" <<'PY'
import sys
from wineharness import WineSession
with WineSession() as session:
    code, out, err = session.run("build/win/tests/bench/dock_bench.exe", sys.argv[1], timeout=900)
    print(out, end="")
    print(err, end="", file=sys.stderr)
    sys.exit(code)
PY
