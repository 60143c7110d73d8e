"""The real Kivo Launcher under Wine, as the end-to-end tests see it, and the user's ways of
acting on it: clicks on slots, keys to its windows, answers to its message boxes."""

import math
import os
import re
import struct
import subprocess
import time
from pathlib import Path

from wineharness import WineSession, wait_until

EXE = os.environ.get("KIVO_EXE", "")
CTL = os.environ.get("KIVO_CTL", "")
ARTIFACTS = Path(os.environ.get("KIVO_ARTIFACTS", "test-artifacts"))

# The dock shows two named windows: the veil and the ring's main window above it.
DOCK_WINDOWS = 2
DOCK = "^Kivo Launcher$"
TRAY = "^Wine System Tray$"
NOTEPAD = "Notepad|记事本"
MENU_FILE_SIZE = 1_338_885

# The settings file: icon, max icon and magnified size, radius, count index, backdrop, ...
SETTINGS = struct.Struct("<iiiii4shh255s255siiiihhBBBBBB")
RADIUS, COUNT = 250, 28  # the test settings' ring: radius 250, icon count index 5


def settings_bytes(icon_size=40, magnified=80, radius=250, count_index=5, started_page=-1,
                   auto_run=False, auto_hide=False, minimized_position=0):
    return SETTINGS.pack(icon_size, 128, magnified, radius, count_index, bytes([0, 0, 0, 150]), 0,
                         -1 if auto_run else 0, b" " * 255, b" " * 255, 0, 1000, 1000, 0, 0,
                         started_page, 0, 1 if auto_hide else 0, 0, minimized_position, 0, 0)


class KivoSession(WineSession):
    """A prefix with the program: start it, wait for it, close it, look at its files."""

    @property
    def data_dir(self) -> Path:
        return self.appdata / "KivoSoft" / "Kivo Launcher"

    def data_file(self, name) -> Path:
        return self.data_dir / name

    def write_settings(self, data):
        self.data_dir.mkdir(parents=True, exist_ok=True)
        self.data_file("KivoCfg.cfg").write_bytes(data)

    def saved_settings(self):
        return SETTINGS.unpack(self.data_file("KivoCfg.cfg").read_bytes())

    def without_quick_start(self):
        """The program's own defaults (radius 0: the screen's default radius), but without
        the quick-start window, which would cover the ring."""
        self.write_settings(settings_bytes(icon_size=48, magnified=64, radius=0, count_index=4))

    def prepared(self, *items, **settings):
        """The test settings, the data files of a first start, then `items` (kivoctl setitem
        arguments) written into the menu file."""
        self.write_settings(settings_bytes(**settings))
        assert self.close_program(self.start_program()) == 0, "the first start ended in order"
        self.set_items(*items)

    def set_items(self, *items):
        for args in items:
            self.run(CTL, "setitem", windows_path(self.data_file("KivoMenu.cfg")), *args, check=True)

    def start_program(self, wait=True, exe=None):
        process = self.start(exe or EXE)
        if wait and self.run(CTL, "wait", "30000", timeout=60)[0] != 0:
            raise AssertionError("the program did not start")
        return process

    def close_program(self, process):
        code = self.run(CTL, "close", "30000", timeout=60)[0]
        wait_until(lambda: process.poll() is not None, timeout=30)
        return code

    def visible_windows(self, name=None):
        return self.xdotool("search", "--onlyvisible", "--name", name or ".", check=False).split()

    def settled_window_count(self, expected=DOCK_WINDOWS, timeout=10):
        """How many named windows are visible, without Wine's own tray window, once X has
        mapped the dock's (a busy machine maps them late); a third would be a message."""
        count = lambda: len(set(self.visible_windows()) - set(self.visible_windows(TRAY)))
        wait_until(lambda: count() >= expected, timeout=timeout)
        time.sleep(0.5)
        return count()

    def save_screenshot(self, name):
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        return self.screenshot(ARTIFACTS / name)

    def shot(self, x, y, size, name=None):
        """A square of a fresh screenshot (kept as an artifact when named)."""
        return region(self.save_screenshot(name) if name else self.screenshot(self.root / "s.png"),
                      x, y, size)

    def click(self, x, y, button=1):
        self.xdotool("mousemove", x, y)
        settle(0.3)
        self.xdotool("click", button)

    def drag(self, start, end, steps=10):
        """The left button held on `start` and let go on `end`, after moving in steps."""
        self.xdotool("mousemove", *start)
        settle(0.4)
        self.xdotool("mousedown", 1)
        for step in range(1, steps + 1):
            self.xdotool("mousemove", *(a + (b - a) * step // steps for a, b in zip(start, end)))
            settle(0.05)
        settle(0.3)
        self.xdotool("mouseup", 1)

    def keys_to(self, window, *keys):
        self.xdotool("windowfocus", "--sync", window)
        if keys:
            self.xdotool("key", *keys)

    def answer(self, title, *keys, typed=None, known=()):
        """Waits for a window titled `title` that is not in `known`, types `typed` and `keys`
        into it; True once it has gone."""
        shown = lambda: [w for w in self.visible_windows(f"^{title}$") if w not in known]
        if not wait_until(shown, timeout=30):
            return False
        self.keys_to(shown()[0])
        settle(0.6)
        if typed:
            self.xdotool("key", "Home", "shift+End")
            self.xdotool("type", "--delay", "30", typed)
            settle(0.3)
        self.xdotool("key", *keys)
        return bool(wait_until(lambda: not shown(), timeout=30))

    def geometry(self, window):
        return tuple(map(int, re.search(r"Position: (-?\d+),(-?\d+).*Geometry: (\d+)x(\d+)",
                                        self.xdotool("getwindowgeometry", window), re.S).groups()))

    def windows(self, class_name):
        """The visible top-level windows of a class, from kivoctl:
        [(left, top, right, bottom, foreground, extended style)]."""
        _, out, _ = self.run(CTL, "windows", class_name)
        return [tuple(int(p) for p in line.split()[1:]) for line in out.splitlines()
                if len(line.split()) == 7]

    def metrics(self):
        """The work area's origin and the dock's size, from the metrics Wine reports."""
        _, out, _ = self.run(CTL, "metrics")
        v = {k: int(n) for k, n in (part.split("=") for part in out.split())}
        return {"left": v["workleft"], "top": v["worktop"], "width": v["cxfullscreen"],
                "height": v["cyfullscreen"] + v["cycaption"]}

    def start_dock(self, at_rest=True):
        """Starts the program, waits for the dock's windows, and moves the pointer away."""
        program = self.start_program()
        self.settled_window_count()
        if at_rest:
            self.xdotool("mousemove", 5, 5)
            settle(1.0)
        return program

    def dock_window(self):
        return (self.visible_windows(DOCK) or [None])[-1]

    def tray_menu(self):
        """Right-clicks the tray icon; the menu's rectangle."""
        self.click(ICON_X, ICON_Y, 3)
        return wait_until(lambda: self.windows("#32768"), timeout=10)[0]

    def store(self, name="KivoMenu.cfg"):
        """The items and ring groups of a menu file, as kivoctl reads it:
        ({number: (type, class, title, link, target, icon, arguments)}, {slot: [member, ...]})."""
        _, out, _ = self.run(CTL, "store", windows_path(self.data_file(name)), check=True)
        items, groups = {}, {}
        for parts in (line.split("|") for line in out.splitlines()):
            if parts[0] == "item":
                items[int(parts[1])] = (int(parts[2]), int(parts[3]), *parts[4:9])
            elif parts[0] == "group":
                groups[int(parts[1])] = [int(m) for m in parts[3].split(",") if m]
        return items, groups

    def stored(self, predicate):
        """Waits until the store file satisfies `predicate(items, groups)`."""
        return wait_until(lambda: predicate(*self.store()), timeout=10)


# Wine draws tray icon n at about x = 13 + 20 n, y = 32 (its tray window is at the top left).
ICON_X, ICON_Y = 13, 32


def slot_point(m, slot, radius=RADIUS, count=COUNT):
    """Where slot `slot` lies (0: the centre), clockwise from slot 1 at the right."""
    cx, cy = m["left"] + round(m["width"] / 2), m["top"] + round(m["height"] / 2)
    angle = (slot - 1) * 2 * math.pi / count
    return (cx, cy) if slot == 0 else (round(cx + radius * math.cos(angle)),
                                       round(cy + radius * math.sin(angle)))


def region(path, x, y, size):
    """The pixels of a square of a screenshot as bytes (RGB)."""
    # The ImageMagick program itself: a "convert" earlier on the PATH may be another tool.
    return subprocess.run(["/usr/bin/convert", str(path), "-crop",
                           f"{size}x{size}+{x - size // 2}+{y - size // 2}", "+repage", "-depth",
                           "8", "rgb:-"], capture_output=True, check=True).stdout


def brightness(pixels):
    return sum(pixels) / max(len(pixels), 1)


def settle(seconds=0.5):
    time.sleep(seconds)


def windows_path(path: Path) -> str:
    """A Linux path as the program sees it through Wine's Z: drive."""
    return "Z:" + str(path).replace("/", "\\")
