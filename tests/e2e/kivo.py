"""The real Kivo Launcher under Wine, as the end-to-end tests see it."""

import os
import re
import struct
import time
from pathlib import Path

from wineharness import WineSession, wait_until

EXE = os.environ.get("KIVO_EXE", "")
CTL = os.environ.get("KIVO_CTL", "")
ARTIFACTS = Path(os.environ.get("KIVO_ARTIFACTS", "test-artifacts"))

# The dock shows two named windows: the veil and the ring's main window above it (the
# ring's other tile windows carry no name and are not counted).
DOCK_WINDOWS = 2

MENU_FILE_SIZE = 1_338_885
SETTINGS_FILE_SIZE = 564

# The settings file: icon size, max icon size, magnified size, radius, icon count index,
# backdrop colour, reserved, AutoRun, two texts, then positions and small fields.
SETTINGS = struct.Struct("<iiiii4shh255s255siiiihhBBBBBB")
SETTINGS_AUTO_RUN = 7


def settings_bytes(icon_size=40, magnified=80, radius=250, count_index=5, started_page=-1,
                   auto_run=False, auto_hide=False, minimized_position=0, lock_dragging=False):
    return SETTINGS.pack(icon_size, 128, magnified, radius, count_index, bytes([0, 0, 0, 150]), 0,
                         -1 if auto_run else 0, b" " * 255, b" " * 255, 0, 1000, 1000, 0,
                         -1 if lock_dragging else 0, started_page, 0, 1 if auto_hide else 0, 0,
                         minimized_position, 0, 0)



def default_settings_bytes():
    """The program's own defaults (radius 0 is out of range: the screen's default radius),
    with the quick-start window turned off so that it does not cover the ring."""
    return settings_bytes(icon_size=48, magnified=64, radius=0, count_index=4)


class KivoSession(WineSession):
    """A prefix with the program: start it, wait for it, close it, look at its files."""

    @property
    def data_dir(self) -> Path:
        return self.appdata / "KivoSoft" / "Kivo Launcher"

    def data_file(self, name) -> Path:
        return self.data_dir / name

    def without_quick_start(self):
        """Settings as a first start has them, but without the quick-start window."""
        self.data_dir.mkdir(parents=True, exist_ok=True)
        self.data_file("KivoCfg.cfg").write_bytes(default_settings_bytes())

    def start_program(self, wait=True):
        process = self.start(EXE)
        if wait:
            code, _, _ = self.run(CTL, "wait", "30000", timeout=60)
            if code != 0:
                raise AssertionError(f"the program did not start (kivoctl wait: {code})")
        return process

    def close_program(self, process, timeout=30):
        code, _, _ = self.run(CTL, "close", str(timeout * 1000), timeout=timeout + 30)
        wait_until(lambda: process.poll() is not None, timeout=timeout)
        return code

    def reg_value(self, key, value):
        """The data of a registry value as `reg query` prints it, or None when it is missing;
        unlike `reg_query` this copes with value names that contain blanks."""
        code, out, _ = self.run("reg", "query", key, "/v", value)
        if code != 0:
            return None
        for line in out.splitlines():
            match = re.match(r"^ {4}(.+?) {4}(REG_[A-Z_]+)(?: {4}(.*))?$", line)
            if match and match.group(1).lower() == value.lower():
                return match.group(3) or ""
        return None

    def reg_delete(self, key, value):
        self.run("reg", "delete", key, "/v", value, "/f")

    def visible_windows(self, name=None):
        args = ["search", "--onlyvisible"]
        args += ["--name", name] if name else ["--name", "."]
        out = self.xdotool(*args, check=False)
        return [line for line in out.split() if line.strip()]

    def program_windows(self):
        """The visible named windows, without Wine's own tray window (which shows the
        program's icon when no desktop shell runs)."""
        tray = set(self.visible_windows("^Wine System Tray$"))
        return [window for window in self.visible_windows() if window not in tray]

    def settled_window_count(self, expected=DOCK_WINDOWS, timeout=10):
        """How many windows are visible once X has mapped the dock's (a busy machine maps
        them a little after the program shows them); a third window would be a message."""
        wait_until(lambda: len(self.program_windows()) >= expected, timeout=timeout)
        time.sleep(0.5)
        return len(self.program_windows())

    def save_screenshot(self, name):
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        path = ARTIFACTS / name
        self.screenshot(path)
        return path


def settle(seconds=0.5):
    time.sleep(seconds)


def windows_path(path: Path) -> str:
    """A Linux path as the program sees it through Wine's Z: drive."""
    return "Z:" + str(path).replace("/", "\\")


def read_store(session, name="KivoMenu.cfg"):
    """The items and ring groups of a menu file, as kivoctl reads it:
    ({number: (type, class, title, link, target, icon, arguments)}, {slot: [member, ...]})."""
    code, out, err = session.run(CTL, "store", windows_path(session.data_file(name)))
    if code != 0:
        raise AssertionError(f"kivoctl store: {code} {err}")
    items, groups = {}, {}
    for line in out.splitlines():
        parts = line.split("|")
        if parts[0] == "item":
            items[int(parts[1])] = (int(parts[2]), int(parts[3]), *parts[4:9])
        elif parts[0] == "group":
            groups[int(parts[1])] = [int(m) for m in parts[3].split(",") if m]
    return items, groups
