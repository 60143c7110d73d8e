#!/usr/bin/env bash
# Builds the Windows benchmarks and runs them under Wine on a virtual display; prints
# frame times of the dock's pipeline and of the straightforward one, memory figures, and
# the icon figures (extraction, the default ring, start-up and popup loading), and the
# processor time the idle program takes (scripts/idle_cpu.py; KIVO_IDLE_SECONDS per state),
# and the start of the real program with a full store (scripts/start_bench.py).
set -euo pipefail
cd "$(dirname "$0")/.."
[[ ${KIVO_SKIP_DEPS:-0} == 1 ]] || scripts/install-deps.sh
cmake --preset win >/dev/null
cmake --build --preset win --target dock_bench icon_bench popup_bench backup_bench KivoLauncher kivoctl
icons="Z:$(pwd | tr / '\\')\\assets\\SysIcons"
PYTHONPATH=tests/harness python3 - "$icons" <<'PY'
import sys
from wineharness import WineSession
# Each screen size on a display of that size, so the dock's windows lie on the screen.
runs = [("1920x1080x24", "dock_bench", ["1080"]), ("3840x2160x24", "dock_bench", ["2160"]),
        ("1920x1080x24", "icon_bench", []), ("1920x1080x24", "popup_bench", []),
        ("1920x1080x24", "backup_bench", [])]
status = 0
for screen, bench, args in runs:
    with WineSession(screen=screen) as session:
        code, out, err = session.run(f"build/win/bench/{bench}.exe", sys.argv[1], *args,
                                     timeout=900)
        print(out, end="")
        print(err, end="", file=sys.stderr)
        status = status or code
sys.exit(status)
PY
scripts/idle_cpu.py "${KIVO_IDLE_SECONDS:-60}"
python3 scripts/start_bench.py
