#!/usr/bin/env python3
"""Screenshots of our own program for the quick-start pages: Kivo Launcher started under
Wine on a virtual display with a small ring, once at rest and once with the pointer on a
slot. Writes src/ring.png and src/ring-hover.png (the ring's part of the screen).

    python3 assets/quickstart/capture.py build/win/dist/KivoLauncher/KivoLauncher.exe \
        build/win/tests/win/kivoctl.exe

Needs a `win` build. The pictures of the pages are made from these by make_pages.py, which
needs no Wine; run this only to take new screenshots."""

import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent.parent / "tests" / "harness"))
sys.path.insert(0, str(HERE.parent.parent / "tests" / "e2e"))

from wineharness import WineSession  # noqa: E402
import kivo  # noqa: E402

SCREEN = (1920, 1080)
# What the crop keeps around the screen's centre: the ring of radius 200 with its titles.
CROP = (880, 550)


def main():
    exe, ctl = sys.argv[1], sys.argv[2]
    kivo.EXE, kivo.CTL = exe, ctl
    with kivo.KivoSession(screen=f"{SCREEN[0]}x{SCREEN[1]}x24") as session:
        session.data_dir.mkdir(parents=True, exist_ok=True)
        session.data_file("KivoCfg.cfg").write_bytes(
            kivo.settings_bytes(icon_size=48, magnified=64, radius=200, count_index=4,
                                started_page=-1))
        process = session.start_program()
        time.sleep(4)
        left = (SCREEN[0] - CROP[0]) // 2
        top = (SCREEN[1] - CROP[1]) // 2
        geometry = f"{CROP[0]}x{CROP[1]}+{left}+{top}"
        full = session.root / "full.png"
        session.xdotool("mousemove", 5, 5)
        time.sleep(1.5)
        session.screenshot(full)
        subprocess.run(["/usr/bin/convert", str(full), "-crop", geometry, "+repage", "-strip",
                        str(HERE / "src" / "ring.png")], check=True)
        # The slot straight to the right of the centre, magnified.
        session.xdotool("mousemove", SCREEN[0] // 2 + 200, SCREEN[1] // 2)
        time.sleep(2.5)
        session.screenshot(full)
        subprocess.run(["/usr/bin/convert", str(full), "-crop", geometry, "+repage", "-strip",
                        str(HERE / "src" / "ring-hover.png")], check=True)
        session.close_program(process)


if __name__ == "__main__":
    main()
