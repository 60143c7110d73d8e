"""The dock driven as a user drives it: clicks launch, keys launch, a missing target is
reported, the centre collapses the dock and the disc brings it back, an icon dragged off the
ring is deleted, the recycle bin's picture follows the bin, F1 shows the quick-start window,
and auto-hide hides the dock."""

import os
import shutil
import time
import unittest

from kivo import CTL, KivoSession, brightness, read_store, region, settings_bytes, slot_point, windows_path
from wineharness import wait_until

PROBE = os.environ.get("KIVO_PROBE", "")


class DockInput(unittest.TestCase):
    def probe_output(self):
        if not wait_until(self.out.exists, timeout=15):
            return None
        time.sleep(0.3)
        lines = self.out.read_text(encoding="utf-8").splitlines()
        self.out.unlink()
        return lines

    def test_clicks_keys_missing_targets_collapse_drag_and_recycle_bin(self):
        with KivoSession() as session:
            tools = session.root / "tools"
            tools.mkdir()
            shutil.copy(PROBE, tools / "probe.exe")
            probe = windows_path(tools / "probe.exe")
            self.out = session.root / "probe-out.txt"
            icon = session.data_dir / "KivoIcons" / "900.png"
            c_icon = "C:\\" + str(icon.relative_to(session.prefix / "drive_c")).replace("/", "\\")
            session.prepared(
                (10, 1, "Probe", probe, f'record "{windows_path(self.out)}" hello'),
                (11, 1, "Gone", "C:\\nowhere\\gone.exe"), (12, 1, "Doomed", probe, "", 0, c_icon),
                minimized_position=8)
            shutil.copy(os.path.join(os.path.dirname(os.environ["KIVO_EXE"]), "SysIcons",
                                     "Application.png"), icon)
            program = session.start_dock()
            m = session.metrics()
            at = lambda slot: slot_point(m, slot)

            # While the dock is in front, a key launches the slot it names (slot 10 carries
            # "9"). Launching dismisses the dock.
            session.keys_to(session.dock_window(), "9")
            self.assertIsNotNone(self.probe_output(), "key 9 started slot 10's program")

            # A click on a shortcut starts its program in the program's own folder.
            session.click(*at(10))
            lines = self.probe_output()
            self.assertIsNotNone(lines, "the click started the program")
            self.assertEqual([lines[0].lower()] + lines[1:], [windows_path(tools).lower(), "hello"])

            # A target that is gone: the message, and the dock back at rest afterwards.
            session.click(*at(11))
            self.assertTrue(session.answer("Problem with Shortcut", "Return"),
                            "the missing target is reported")
            self.assertIsNotNone(session.dock_window(), "the dock stays on the desktop")

            # The recycle bin's slot shows the full bin within two seconds of a file going in.
            session.xdotool("mousemove", 5, 5)
            time.sleep(1.5)
            before = session.shot(*at(2), 36)
            junk = session.root / "junk.txt"
            junk.write_text("x")
            self.assertEqual(session.run(CTL, "recycle", windows_path(junk))[0], 0)
            self.assertTrue(wait_until(lambda: session.shot(*at(2), 36) != before, timeout=4),
                            "slot 2 shows the full bin")

            # Dragging slot 12 onto slot 13 changes nothing; off the ring (but below Wine's
            # tray window at the top left) it deletes it, and its slot shows the blank slot's
            # picture like its neighbour 13 once the delete animation is over.
            session.drag(at(12), at(13), steps=8)
            time.sleep(1.0)
            self.assertTrue(icon.exists(), "a drop on a slot deletes nothing")
            session.drag(at(12), (m["left"] + 40, m["top"] + 120), steps=8)
            self.assertTrue(wait_until(lambda: not icon.exists(), timeout=6),
                            "the dragged-off shortcut's icon file is deleted")
            like_neighbour = lambda: (lambda s: region(s, *at(12), 30) == region(s, *at(13), 30))(
                session.save_screenshot("dock-deleted.png"))
            self.assertTrue(wait_until(like_neighbour, timeout=5), "slot 12 shows a blank slot")

            # The centre collapses the dock to the disc at the bottom right; the disc expands it.
            # (Wine on a virtual display sometimes takes a second or two to restack windows.)
            disc = (m["left"] + m["width"] - 2 - 95, m["top"] + m["height"] - 2 - 95)
            lit = lambda point: brightness(session.shot(*point, 100)) > 30
            session.click(*at(0))
            self.assertTrue(wait_until(lambda: lit(disc), timeout=10), "the disc at the bottom right")
            self.assertLess(brightness(session.shot(*at(0), 100, "dock-collapsed.png")), 5, "no ring")
            session.click(*disc)
            self.assertTrue(wait_until(lambda: lit(at(0)), timeout=10), "the ring is back")

            self.assertEqual(session.close_program(program), 0)
            items, _ = read_store(session)
            self.assertEqual(items[12][0], 2, "slot 12 is blank in the saved store")
            self.assertEqual(items[10][4], probe, "slot 10 is unchanged")

    def test_f1_shows_the_quick_start_window_which_pages(self):
        with KivoSession() as session:
            session.without_quick_start()
            program = session.start_dock(at_rest=False)
            session.keys_to(session.dock_window(), "F1")
            title = "^Kivo Launcher 快速入门$"
            self.assertTrue(wait_until(lambda: session.visible_windows(title), timeout=20),
                            "F1 shows the quick-start window")
            x, y, w, h = session.geometry(session.visible_windows(title)[0])
            # The page's caption, under its picture.
            caption = lambda: session.shot(x + w // 2, y + round(h * 0.82), 100)
            first = caption()
            # "下一条 >>" lies at the same place of the dialog whatever its font's size: its
            # layout is in dialog units.
            session.click(x + round(w * 0.70), y + round(h * 0.94))
            self.assertTrue(wait_until(lambda: caption() != first, timeout=10),
                            "下一条 >> shows the next page")
            self.assertEqual(session.close_program(program), 0)

    def test_auto_hide_hides_the_dock_after_seven_idle_seconds(self):
        with KivoSession() as session:
            session.write_settings(settings_bytes(auto_hide=True))
            program = session.start_dock(at_rest=False)
            session.xdotool("mousemove", 5, 5)
            self.assertTrue(session.dock_window())
            started = time.monotonic()
            self.assertTrue(wait_until(lambda: not session.dock_window(), timeout=20),
                            "the dock hides by itself")
            self.assertGreaterEqual(time.monotonic() - started, 5.5)
            self.assertEqual(session.close_program(program), 0)


if __name__ == "__main__":
    unittest.main()
