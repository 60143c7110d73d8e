#!/usr/bin/env python3
"""How much processor time the real program takes while nobody touches it, under Wine:
the dock expanded in front, dismissed and lying on the desktop, and hidden. Prints the
share of one core over each period, read from the process's own CPU time (utime + stime
of the Linux process that runs KivoLauncher.exe). A figure, not a test.

Usage: scripts/idle_cpu.py [seconds per state, default 60]   (after a `win` build)"""

import os
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path[:0] = [str(ROOT / "tests/harness"), str(ROOT / "tests/e2e")]
os.environ.setdefault("KIVO_EXE", str(ROOT / "build/win/dist/KivoLauncher/KivoLauncher.exe"))
os.environ.setdefault("KIVO_CTL", str(ROOT / "build/win/tests/win/kivoctl.exe"))

import kivo  # noqa: E402
from kivo import KivoSession, settings_bytes, settle  # noqa: E402
from wineharness import wait_until  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")


def program_pids():
    """Every running KivoLauncher.exe, this run's or another's (a soak run beside it)."""
    found = set()
    for entry in Path("/proc").iterdir():
        if entry.name.isdigit():
            try:
                if "KivoLauncher.exe" in (entry / "cmdline").read_bytes().decode("latin-1"):
                    found.add(int(entry.name))
            except OSError:
                pass
    return found


def start(session):
    """Starts the program; the Linux process of this start (the one that was not there)."""
    others = program_pids()
    program = session.start_program()
    pid = wait_until(lambda: next(iter(program_pids() - others), None), timeout=30)
    if pid is None:
        raise SystemExit("the program's process was not found")
    return program, pid


def cpu_seconds(pid):
    fields = (Path("/proc") / str(pid) / "stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime, stime


def measure(name, seconds, pid):
    start_cpu, start = cpu_seconds(pid), time.monotonic()
    time.sleep(seconds)
    used = cpu_seconds(pid) - start_cpu
    share = 100.0 * used / (time.monotonic() - start)
    print(f"idle, {name:<34} {share:6.2f} % of one core ({used:.2f} s CPU in {seconds} s)")


def main():
    seconds = int(sys.argv[1]) if len(sys.argv) > 1 else 60
    with KivoSession() as session:
        session.without_quick_start()
        program, pid = start(session)
        session.settled_window_count()
        session.xdotool("mousemove", 5, 5)
        settle(3)
        measure("dock expanded, in front", seconds, pid)
        session.xdotool("click", 1)  # on the empty desktop: dismissed, lying there
        settle(3)
        measure("dock dismissed, on the desktop", seconds, pid)
        session.close_program(program)
    with KivoSession() as session:
        session.data_dir.mkdir(parents=True, exist_ok=True)
        session.data_file("KivoCfg.cfg").write_bytes(settings_bytes(auto_hide=True))
        program, pid = start(session)
        session.xdotool("mousemove", 5, 5)
        wait_until(lambda: not session.visible_windows("^Kivo Launcher$"), timeout=30)
        settle(3)
        measure("dock hidden", seconds, pid)
        session.close_program(program)


if __name__ == "__main__":
    main()
