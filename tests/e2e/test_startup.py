"""Start-up and orderly exit of the real program: data files, single instance, safety copies."""

import time
import unittest

from kivo import DOCK_WINDOWS, MENU_FILE_SIZE, SETTINGS, SETTINGS_FILE_SIZE, KivoSession, settings_bytes, settle
from wineharness import wait_until


class FirstStart(unittest.TestCase):
    def test_first_start_creates_the_data_files_and_a_second_start_ends_at_once(self):
        with KivoSession() as session:
            program = session.start_program()
            self.assertTrue(session.data_dir.is_dir())
            self.assertTrue((session.data_dir / "KivoIcons").is_dir())
            # A first start shows the dock and the quick-start window, and nothing else.
            self.assertTrue(wait_until(
                lambda: session.visible_windows("^Kivo Launcher 快速入门$"), timeout=20))
            shown = DOCK_WINDOWS + 1
            self.assertEqual(session.settled_window_count(shown), shown)

            # A second copy ends by itself, quickly, without a window or a message.
            started = time.monotonic()
            second = session.start(session_exe())
            self.assertTrue(wait_until(lambda: second.poll() is not None, timeout=20))
            self.assertLess(time.monotonic() - started, 20)
            self.assertEqual(second.returncode, 0)
            self.assertIsNone(program.poll(), "the first copy keeps running")
            self.assertEqual(session.settled_window_count(shown), shown)

            self.assertEqual(session.close_program(program), 0)
            self.assertIsNotNone(program.poll())
            for name, size in (("KivoMenu.cfg", MENU_FILE_SIZE), ("KivoCfg.cfg", SETTINGS_FILE_SIZE)):
                live = session.data_file(name)
                copy = session.data_file(name + ".bak")
                self.assertEqual(live.stat().st_size, size, name)
                self.assertEqual(live.read_bytes(), copy.read_bytes(), name)
            leftovers = [p.name for p in session.data_dir.iterdir() if p.suffix == ".tmp"]
            self.assertEqual(leftovers, [])

    def test_settings_survive_a_start_and_an_exit(self):
        with KivoSession() as session:
            session.data_dir.mkdir(parents=True)
            session.data_file("KivoCfg.cfg").write_bytes(settings_bytes())
            program = session.start_program()
            self.assertEqual(session.close_program(program), 0)
            saved = SETTINGS.unpack(session.data_file("KivoCfg.cfg").read_bytes())
            self.assertEqual(saved[0], 40)           # icon size
            self.assertEqual(saved[2], 80)           # magnified size
            self.assertEqual(saved[3], 250)          # ring radius
            self.assertEqual(saved[4], 5)            # icon count index
            self.assertEqual(saved[5][3], 150)       # backdrop alpha
            self.assertEqual(saved[15], -1)          # quick start turned off


class Damage(unittest.TestCase):
    def test_damaged_live_files_come_back_from_their_safety_copies(self):
        with KivoSession() as session:
            session.data_dir.mkdir(parents=True)
            session.data_file("KivoCfg.cfg.bak").write_bytes(settings_bytes(icon_size=56, magnified=72))
            for _ in range(2):  # the second run saves what it loaded: a fixed point
                program = session.start_program()
                self.assertEqual(session.close_program(program), 0)
            menu = session.data_file("KivoMenu.cfg").read_bytes()

            session.data_file("KivoMenu.cfg").write_bytes(menu[:70000])
            session.data_file("KivoCfg.cfg").write_bytes(b"\xff" * 100)
            program = session.start_program()
            self.assertEqual(session.settled_window_count(), DOCK_WINDOWS, "falling back is silent")
            self.assertEqual(session.close_program(program), 0)

            self.assertEqual(session.data_file("KivoMenu.cfg").read_bytes(), menu)
            saved = SETTINGS.unpack(session.data_file("KivoCfg.cfg").read_bytes())
            self.assertEqual((saved[0], saved[2]), (56, 72))
            self.assertEqual(session.data_file("KivoMenu.cfg.damaged").read_bytes(), menu[:70000])
            self.assertEqual(session.data_file("KivoCfg.cfg.damaged").read_bytes(), b"\xff" * 100)

    def test_both_copies_damaged_start_from_defaults_keep_the_files_and_tell_the_user(self):
        with KivoSession() as session:
            session.data_dir.mkdir(parents=True)
            session.data_file("KivoMenu.cfg").write_bytes(b"garbage")
            session.data_file("KivoMenu.cfg.bak").write_bytes(b"\0" * MENU_FILE_SIZE)
            program = session.start(session_exe())
            message = wait_until(lambda: session.visible_windows("^Kivo Launcher$"), timeout=30)
            self.assertTrue(message, "a message tells the user")
            session.save_screenshot("damaged-files-message.png")
            session.xdotool("windowfocus", "--sync", message[0])
            session.xdotool("key", "Return")
            self.assertEqual(session.run(session_ctl(), "wait", "30000")[0], 0)
            self.assertEqual(session.close_program(program), 0)
            self.assertEqual(session.data_file("KivoMenu.cfg.damaged").read_bytes(), b"garbage")
            self.assertEqual(session.data_file("KivoMenu.cfg.bak.damaged").read_bytes(),
                             b"\0" * MENU_FILE_SIZE)
            self.assertEqual(session.data_file("KivoMenu.cfg").stat().st_size, MENU_FILE_SIZE)


class LogOff(unittest.TestCase):
    def test_the_data_is_saved_when_windows_ends_the_session(self):
        with KivoSession() as session:
            program = session.start_program()
            self.assertFalse(session.data_file("KivoMenu.cfg").exists())
            self.assertEqual(session.run(session_ctl(), "endsession")[0], 0)
            self.assertEqual(session.data_file("KivoMenu.cfg").stat().st_size, MENU_FILE_SIZE)
            self.assertEqual(session.data_file("KivoCfg.cfg").stat().st_size, SETTINGS_FILE_SIZE)
            settle()
            program.kill()


def session_exe():
    from kivo import EXE
    return EXE


def session_ctl():
    from kivo import CTL
    return CTL


if __name__ == "__main__":
    unittest.main()
