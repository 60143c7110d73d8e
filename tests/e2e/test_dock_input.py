"""The dock driven as a user drives it: keys and clicks launch, the recycle bin's picture,
drag off the ring, collapse to the disc and back, F1, auto-hide."""

import os
import shutil
import time
import unittest

from kivo import CTL, EXE, KivoSession, brightness, region, settings_bytes, slot_point, windows_path
from wineharness import wait_until


class DockInput(unittest.TestCase):
    def test_keys_clicks_recycle_bin_drag_off_collapse_and_f1(self):
        with KivoSession() as session:
            shutil.copy(os.environ["KIVO_PROBE"], session.root / "probe.exe")
            probe, out = windows_path(session.root / "probe.exe"), session.root / "out.txt"
            icon = session.data_dir / "KivoIcons" / "900.png"
            session.prepared((10, 1, "Probe", probe, f'record "{windows_path(out)}" hello'),
                             (12, 1, "Doomed", probe, "", 0, session.c_path(icon)),
                             minimized_position=8)  # the disc at the bottom right
            shutil.copy(os.path.join(os.path.dirname(EXE), "SysIcons", "Application.png"), icon)
            program = session.start_dock()
            m = session.metrics()
            at = lambda slot: slot_point(m, slot)
            # Key "9" (slot 10's) and a click start the program in its own folder.
            for act in (lambda: session.keys_to(session.dock_window(), "9"),
                        lambda: session.click(*at(10))):
                act()
                self.assertTrue(wait_until(out.exists, timeout=15), "the probe ran")
                self.assertEqual(out.read_text().lower().splitlines(),
                                 [windows_path(session.root).lower(), "hello"])
                out.unlink()

            # The recycle bin's slot shows the full bin within two seconds of a file going in.
            session.xdotool("mousemove", 5, 5)
            time.sleep(1.5)
            before = session.shot(*at(2), 36)
            (session.root / "junk.txt").write_text("x")
            self.assertEqual(session.run(CTL, "recycle", windows_path(session.root / "junk.txt"))[0], 0)
            self.assertTrue(wait_until(lambda: session.shot(*at(2), 36) != before, timeout=4))

            # Dropped on slot 13, slot 12 stays; off the ring it goes with its icon file.
            session.drag(at(12), at(13), steps=8)
            time.sleep(1.0)
            self.assertTrue(icon.exists(), "a drop on a slot deletes nothing")
            session.drag(at(12), (m["left"] + 40, m["top"] + 120), steps=8)
            self.assertTrue(wait_until(lambda: not icon.exists(), timeout=6))
            like_neighbour = lambda: (lambda s: region(s, *at(12), 30) == region(s, *at(13), 30))(
                session.save_screenshot("dock-deleted.png"))
            self.assertTrue(wait_until(like_neighbour, timeout=5), "slot 12 shows a blank slot")

            # The centre collapses the dock to the disc at the bottom right, and back.
            disc = (m["left"] + m["width"] - 97, m["top"] + m["height"] - 97)
            lit = lambda point: brightness(session.shot(*point, 100)) > 30
            session.click(*at(0))
            self.assertTrue(wait_until(lambda: lit(disc) and not lit(at(0)), timeout=10))
            session.click(*disc)
            self.assertTrue(wait_until(lambda: lit(at(0)), timeout=10), "the ring is back")

            session.keys_to(session.dock_window(), "F1")
            self.assertTrue(wait_until(lambda: session.visible_windows("^Kivo Launcher 快速入门$"),
                                       timeout=20), "F1 shows the quick-start window")
            self.assertEqual(session.close_program(program), 0)
            items, _ = session.store()
            self.assertEqual((items[12][0], items[10][4]), (2, probe), "12 blank, 10 unchanged")

    def test_auto_hide_hides_the_dock_after_seven_idle_seconds(self):
        with KivoSession() as session:
            session.write_settings(settings_bytes(auto_hide=True))
            program = session.start_dock(at_rest=False)
            session.xdotool("mousemove", 5, 5)
            started = time.monotonic()
            self.assertTrue(session.dock_window())
            self.assertTrue(wait_until(lambda: not session.dock_window(), timeout=20))
            self.assertGreaterEqual(time.monotonic() - started, 5.5)
            self.assertEqual(session.close_program(program), 0)
