"""The dock driven as a user drives it: clicks launch, keys launch, a missing target is
reported, the centre collapses the dock and the disc brings it back, an icon dragged off the
ring is deleted, the recycle bin's picture follows the bin, and auto-hide hides the dock."""

import math
import os
import shutil
import time
import unittest
from pathlib import Path

from kivo import (ARTIFACTS, CTL, KivoSession, read_store, settings_bytes, settle,
                  windows_path)
from test_ring import brightness, region
from wineharness import wait_until

PROBE = os.environ.get("KIVO_PROBE", "")
RADIUS = 250
COUNT = 28  # icon count index 5


def metrics(session):
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
    angle = (slot - 1) * 2 * math.pi / COUNT
    return round(cx + RADIUS * math.cos(angle)), round(cy + RADIUS * math.sin(angle))


def click(session, x, y, button=1):
    session.xdotool("mousemove", x, y)
    settle(0.3)
    session.xdotool("click", button)


def dock_window(session):
    found = session.visible_windows("^Kivo Launcher$")
    return found[-1] if found else None


class DockInput(unittest.TestCase):
    def prepare(self, session, **settings):
        """A first start makes the data files; then the ring's slots 10..12 get our items."""
        session.data_dir.mkdir(parents=True, exist_ok=True)
        session.data_file("KivoCfg.cfg").write_bytes(settings_bytes(**settings))
        program = session.start_program()
        self.assertEqual(session.close_program(program), 0)
        tools = session.root / "tools"
        tools.mkdir(exist_ok=True)
        shutil.copy(PROBE, tools / "probe.exe")
        self.probe = windows_path(tools / "probe.exe")
        self.tools = windows_path(tools)
        self.out = session.root / "probe-out.txt"
        icons = session.data_dir / "KivoIcons"
        icons.mkdir(exist_ok=True)
        self.icon = icons / "900.png"
        shutil.copy(Path(os.environ["KIVO_EXE"]).parent / "SysIcons" / "Application.png", self.icon)
        menu = windows_path(session.data_file("KivoMenu.cfg"))
        for args in (["10", "1", "Probe", self.probe, f'record "{windows_path(self.out)}" hello'],
                     ["11", "1", "Gone", "C:\\nowhere\\gone.exe"],
                     ["12", "1", "Doomed", self.probe, "", "0", self.c_drive_path(session, self.icon)]):
            code, _, err = session.run(CTL, "setitem", menu, *args)
            self.assertEqual(code, 0, err)

    @staticmethod
    def c_drive_path(session, path):
        """The path as the program knows its own data folder: on drive C:."""
        return "C:\\" + str(path.relative_to(session.prefix / "drive_c")).replace("/", "\\")

    def probe_output(self):
        if not wait_until(self.out.exists, timeout=15):
            return None
        time.sleep(0.3)
        return self.out.read_text(encoding="utf-8").splitlines()

    def test_clicks_keys_missing_targets_collapse_drag_and_recycle_bin(self):
        with KivoSession() as session:
            self.prepare(session, minimized_position=8)
            program = session.start_program()
            m = metrics(session)
            session.settled_window_count()
            session.xdotool("mousemove", 5, 5)
            settle(1.0)

            # While the dock is in front, a key launches the slot it names (slot 10 carries
            # "9"). Launching dismisses the dock; the hot key that brings it back comes with
            # the tray.
            window = dock_window(session)
            self.assertIsNotNone(window)
            session.xdotool("windowfocus", "--sync", window)
            session.xdotool("key", "9")
            self.assertIsNotNone(self.probe_output(), "key 9 started slot 10's program")
            self.out.unlink()

            # A click on a shortcut starts its program in the program's own folder.
            click(session, *slot_point(m, 10))
            lines = self.probe_output()
            self.assertIsNotNone(lines, "the click started the program")
            self.assertEqual(lines[0].lower(), self.tools.lower())
            self.assertEqual(lines[1:], ["hello"], "with the shortcut's arguments")
            self.out.unlink()

            # A target that is gone: the message, and the dock back at rest afterwards.
            click(session, *slot_point(m, 11))
            self.assertTrue(wait_until(
                lambda: session.visible_windows("^Problem with Shortcut$"), timeout=20),
                "the missing target is reported")
            session.save_screenshot("dock-problem-with-shortcut.png")
            box = session.visible_windows("^Problem with Shortcut$")[0]
            session.xdotool("windowfocus", "--sync", box)
            session.xdotool("key", "Return")
            self.assertTrue(wait_until(
                lambda: not session.visible_windows("^Problem with Shortcut$"), timeout=20))
            self.assertIsNotNone(dock_window(session), "the dock stays on the desktop")

            # The recycle bin's slot shows the full bin within two seconds of a file going in.
            session.xdotool("mousemove", 5, 5)
            settle(1.5)
            x2, y2 = slot_point(m, 2)
            before = region(str(session.save_screenshot("dock-bin-empty.png")), x2, y2, 36)
            junk = session.root / "junk.txt"
            junk.write_text("x")
            self.assertEqual(session.run(CTL, "recycle", windows_path(junk))[0], 0)
            changed = wait_until(lambda: region(str(session.screenshot(session.root / "r.png")),
                                                x2, y2, 36) != before, timeout=4)
            session.save_screenshot("dock-bin-full.png")
            self.assertTrue(changed, "slot 2 shows the full bin")

            # Dragging slot 12 onto slot 13 changes nothing; off the ring it deletes it.
            x12, y12 = slot_point(m, 12)
            # (Off the ring, but below Wine's tray window at the top left.)
            for target in (slot_point(m, 13), (m["left"] + 40, m["top"] + 120)):
                session.xdotool("mousemove", x12, y12)
                settle(0.4)
                session.xdotool("mousedown", 1)
                for step in range(1, 9):
                    session.xdotool("mousemove", x12 + (target[0] - x12) * step // 8,
                                    y12 + (target[1] - y12) * step // 8)
                    settle(0.05)
                settle(0.3)
                session.xdotool("mouseup", 1)
                settle(1.0)
                if target != slot_point(m, 13):
                    continue
                self.assertTrue(self.icon.exists(), "a drop on a slot deletes nothing")

            self.assertTrue(wait_until(lambda: not self.icon.exists(), timeout=5),
                            "the dragged-off shortcut's icon file is deleted")
            # Its slot shows the blank slot's picture, like its neighbour 13, once the delete
            # animation is over (a busy machine shows its frames late).
            def like_neighbour():
                gone = str(session.save_screenshot("dock-deleted.png"))
                return region(gone, *slot_point(m, 12), 30) == region(gone, *slot_point(m, 13), 30)
            self.assertTrue(wait_until(like_neighbour, timeout=5), "slot 12 shows a blank slot")

            # The centre collapses the dock to the disc at the bottom right; the disc expands it.
            # (Wine on a virtual display sometimes takes a second or two to restack windows.)
            cx, cy = slot_point(m, 0)
            disc = (m["left"] + m["width"] - 2 - 95, m["top"] + m["height"] - 2 - 95)
            shot = lambda: str(session.screenshot(session.root / "c.png"))
            click(session, cx, cy)
            self.assertTrue(wait_until(lambda: brightness(region(shot(), *disc, 100)) > 30,
                                       timeout=10), "the disc at the bottom right")
            collapsed = str(session.save_screenshot("dock-collapsed.png"))
            self.assertLess(brightness(region(collapsed, cx, cy, 100)), 5, "no ring")
            click(session, *disc)
            self.assertTrue(wait_until(lambda: brightness(region(shot(), cx, cy, 100)) > 30,
                                       timeout=10), "the ring is back")
            session.save_screenshot("dock-expanded-again.png")

            self.assertEqual(session.close_program(program), 0)
            items, _ = read_store(session)
            self.assertEqual(items[12][0], 2, "slot 12 is blank in the saved store")
            self.assertEqual(items[10][4], self.probe, "slot 10 is unchanged")

    def test_f1_shows_the_quick_start_window_which_pages(self):
        with KivoSession() as session:
            session.without_quick_start()
            program = session.start_program()
            session.settled_window_count()
            session.xdotool("windowfocus", "--sync", dock_window(session))
            session.xdotool("key", "F1")
            title = "^Kivo Launcher 快速入门$"
            self.assertTrue(wait_until(lambda: session.visible_windows(title), timeout=20),
                            "F1 shows the quick-start window")
            box = session.visible_windows(title)[0]
            geometry = session.xdotool("getwindowgeometry", box)
            x, y = (int(v) for v in geometry.split("Position: ")[1].split(" ")[0].split(","))
            w, h = (int(v) for v in geometry.split("Geometry: ")[1].split()[0].split("x"))
            # The page's caption, under its picture.
            picture = lambda: region(str(session.screenshot(session.root / "q.png")),
                                     x + w // 2, y + round(h * 0.82), 100)
            first = picture()
            session.save_screenshot("quick-start-page-1.png")
            # "下一条 >>" lies at the same place of the dialog whatever its font's size: its
            # layout is in dialog units.
            click(session, x + round(w * 0.70), y + round(h * 0.94))
            self.assertTrue(wait_until(lambda: picture() != first, timeout=10),
                            "下一条 >> shows the next page")
            session.save_screenshot("quick-start-page-2.png")
            self.assertEqual(session.close_program(program), 0)

    def test_auto_hide_hides_the_dock_after_seven_idle_seconds(self):
        with KivoSession() as session:
            session.data_dir.mkdir(parents=True, exist_ok=True)
            session.data_file("KivoCfg.cfg").write_bytes(settings_bytes(auto_hide=True))
            program = session.start_program()
            session.settled_window_count()
            session.xdotool("mousemove", 5, 5)
            self.assertTrue(dock_window(session))
            started = time.monotonic()
            self.assertTrue(wait_until(lambda: not dock_window(session), timeout=20),
                            "the dock hides by itself")
            self.assertGreaterEqual(time.monotonic() - started, 5.5)
            ARTIFACTS.mkdir(parents=True, exist_ok=True)
            session.save_screenshot("dock-auto-hidden.png")
            self.assertEqual(session.close_program(program), 0)


if __name__ == "__main__":
    unittest.main()
