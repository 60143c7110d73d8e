#!/usr/bin/env bash
# Builds the Windows benchmarks and runs them under Wine on a virtual display; prints
# frame times of the dock's pipeline and of the straightforward one, memory figures, and
# the icon figures (extraction, the default ring, start-up and popup loading).
set -euo pipefail
cd "$(dirname "$0")/.."
[[ ${KIVO_SKIP_DEPS:-0} == 1 ]] || scripts/install-deps.sh
cmake --preset win >/dev/null
cmake --build --preset win --target dock_bench icon_bench
icons="Z:$(pwd | tr / '\\')\\assets\\SysIcons"
PYTHONPATH=tests/harness python3 - "$icons" <<'PY'
import sys
from wineharness import WineSession
with WineSession() as session:
    status = 0
    for bench in ("dock_bench", "icon_bench"):
        code, out, err = session.run(f"build/win/tests/bench/{bench}.exe", sys.argv[1],
                                     timeout=900)
        print(out, end="")
        print(err, end="", file=sys.stderr)
        status = status or code
    sys.exit(status)
PY
