"""The real program under Wine with a full store, for the start-up figures and the soak run:
1024 items, each with its own 256-pixel PNG icon, the ring's 36 slots in use (4..6 groups of
12, the rest shortcuts) and the All Programs group (slot 3) holding the remaining items."""

import math
import os
import shutil
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BUILD = Path(os.environ.get("KIVO_BUILD_DIR", ROOT / "build" / "win"))
DIST = BUILD / "dist" / "KivoLauncher"
os.environ.setdefault("KIVO_EXE", str(DIST / "KivoLauncher.exe"))
os.environ.setdefault("KIVO_CTL", str(BUILD / "tests" / "win" / "kivoctl.exe"))
sys.path[:0] = [str(ROOT / "tests" / "harness"), str(ROOT / "tests" / "e2e")]

from kivo import CTL, KivoSession, settings_bytes, settle, windows_path  # noqa: E402
from wineharness import wait_until  # noqa: E402

RADIUS = 250
SLOTS = 36  # icon count index 7
GROUP_SLOTS = (3, 4, 5, 6)


def write_settings(session):
    session.data_dir.mkdir(parents=True, exist_ok=True)
    session.data_file("KivoCfg.cfg").write_bytes(
        settings_bytes(icon_size=40, magnified=80, radius=RADIUS, count_index=7))


def fill_store(session):
    """A first start makes the data files; then every item gets a shortcut and an icon."""
    write_settings(session)
    program = session.start_program()
    session.close_program(program)
    icons = session.data_dir / "KivoIcons"
    icons.mkdir(exist_ok=True)
    sources = sorted((DIST / "SysIcons").glob("*.png"))
    for n in range(1, 1025):
        shutil.copy(sources[n % len(sources)], icons / f"{n}.png")
    code, out, err = session.run(CTL, "fillstore", windows_path(session.data_file("KivoMenu.cfg")),
                                 windows_path(icons))
    if code != 0:
        raise RuntimeError(f"kivoctl fillstore: {code} {out}{err}")
    # The first start writes the settings again (the screen's own values); keep ours.
    write_settings(session)


def figures(session):
    """What the running program holds, as it counts it: gdi, user, windows, private,
    workingset, peakworkingset."""
    code, out, err = session.run(CTL, "figures", timeout=60)
    if code != 0:
        raise RuntimeError(f"kivoctl figures: {code} {err}")
    return {key: int(value) for key, value in (part.split("=") for part in out.split())}


def screen_metrics(session):
    _, out, _ = session.run(CTL, "metrics")
    values = dict(part.split("=") for part in out.split())
    width = int(values["cxfullscreen"])
    height = int(values["cyfullscreen"]) + int(values["cycaption"])
    return {"left": int(values["workleft"]), "top": int(values["worktop"]),
            "width": width, "height": height}


def slot_point(m, slot):
    cx, cy = m["left"] + round(m["width"] / 2), m["top"] + round(m["height"] / 2)
    if slot == 0:
        return cx, cy
    angle = (slot - 1) * 2 * math.pi / SLOTS
    return round(cx + RADIUS * math.cos(angle)), round(cy + RADIUS * math.sin(angle))


def popup_box(session):
    """(window, x, y, width, height) of the shown list, or None."""
    for window in session.visible_windows("^Kivo Launcher$"):
        out = session.xdotool("getwindowgeometry", window, check=False)
        if "Geometry: 268x" not in out:
            continue
        x, y = (int(v) for v in out.split("Position: ")[1].split(" ")[0].split(","))
        w, h = (int(v) for v in out.split("Geometry: ")[1].split()[0].split("x"))
        return window, x, y, w, h
    return None


def open_group(session, m, slot):
    session.xdotool("mousemove", *slot_point(m, slot))
    settle(0.3)
    session.xdotool("click", 1)
    box = wait_until(lambda: popup_box(session), timeout=10)
    if not box:
        raise RuntimeError(f"slot {slot}'s list did not open")
    settle(0.8)
    return box


def close_group(session, box):
    session.xdotool("windowfocus", "--sync", box[0], "key", "Escape", check=False)
    wait_until(lambda: popup_box(session) is None, timeout=10)


def page_through(session, box, pages):
    """PgDn `pages` times on the list, then back to its top."""
    session.xdotool("windowfocus", "--sync", box[0])
    for _ in range(pages):
        session.xdotool("key", "Next")
        settle(0.15)
    session.xdotool("key", "Home")
    settle(0.3)
