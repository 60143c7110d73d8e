#!/usr/bin/env python3
"""How much processor time the real program takes while nobody touches it, under Wine:
the dock expanded in front, dismissed and lying on the desktop, and hidden. Prints the
share of one core over each period, read from the process's own CPU time (utime + stime
of the Linux process that runs KivoLauncher.exe), and the GDI objects, USER objects and
windows the program reports at the start and the end of each period. A figure, not a test.

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
from perf_support import figures  # noqa: E402
from kivo import KivoSession, settings_bytes, settle  # noqa: E402
from wineharness import wait_until  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")


def program_pid(session):
    """The Linux process running this session's KivoLauncher.exe: the one whose Wine prefix
    is the session's (a soak run beside it has its own)."""
    prefix = f"WINEPREFIX={session.env['WINEPREFIX']}".encode()
    for entry in Path("/proc").iterdir():
        if entry.name.isdigit():
            try:
                if (b"KivoLauncher.exe" in (entry / "cmdline").read_bytes()
                        and prefix in (entry / "environ").read_bytes().split(b"\0")):
                    return int(entry.name)
            except OSError:
                pass
    return None


def start(session):
    program = session.start_program()
    pid = wait_until(lambda: program_pid(session), timeout=30)
    if pid is None:
        raise SystemExit("the program's process was not found")
    return program, pid


def cpu_seconds(pid):
    fields = (Path("/proc") / str(pid) / "stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime, stime


def measure(name, seconds, pid, session):
    before = figures(session)
    start_cpu, start = cpu_seconds(pid), time.monotonic()
    time.sleep(seconds)
    used = cpu_seconds(pid) - start_cpu
    share = 100.0 * used / (time.monotonic() - start)
    after = figures(session)
    held = ", ".join(f"{key} {before[key]} -> {after[key]}" for key in ("gdi", "user", "windows"))
    print(f"idle, {name:<34} {share:6.2f} % of one core ({used:.2f} s CPU in {seconds} s); "
          f"{held}", flush=True)


def main():
    seconds = int(sys.argv[1]) if len(sys.argv) > 1 else 60
    with KivoSession() as session:
        session.without_quick_start()
        program, pid = start(session)
        session.settled_window_count()
        session.xdotool("mousemove", 5, 5)
        settle(3)
        measure("dock expanded, in front", seconds, pid, session)
        session.xdotool("click", 1)  # on the empty desktop: dismissed, lying there
        settle(3)
        measure("dock dismissed, on the desktop", seconds, pid, session)
        session.close_program(program)
    with KivoSession() as session:
        session.data_dir.mkdir(parents=True, exist_ok=True)
        session.data_file("KivoCfg.cfg").write_bytes(settings_bytes(auto_hide=True))
        program, pid = start(session)
        session.xdotool("mousemove", 5, 5)
        wait_until(lambda: not session.visible_windows("^Kivo Launcher$"), timeout=30)
        settle(3)
        measure("dock hidden", seconds, pid, session)
        session.close_program(program)


if __name__ == "__main__":
    main()
