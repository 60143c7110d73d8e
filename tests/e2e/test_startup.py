"""Start-up and orderly exit of the real program: data files, single instance, safety copies,
the save when Windows ends the session."""

import unittest

from kivo import CTL, DOCK_WINDOWS, EXE, MENU_FILE_SIZE, KivoSession, settings_bytes
from wineharness import wait_until

SIZES = {"KivoMenu.cfg": MENU_FILE_SIZE, "KivoCfg.cfg": 564}


class Startup(unittest.TestCase):
    def sizes(self, session):
        return {n: session.data_file(n).stat().st_size for n in SIZES if session.data_file(n).exists()}

    def test_first_start_single_instance_end_of_session_and_exit(self):
        with KivoSession() as session:
            program = session.start_program()
            self.assertTrue((session.data_dir / "KivoIcons").is_dir())
            self.assertEqual(self.sizes(session), {}, "nothing is saved before it must be")
            # The dock and the quick-start window; a second copy ends quietly by itself.
            self.assertTrue(wait_until(lambda: session.visible_windows("^Kivo Launcher 快速入门$"), 20))
            self.assertEqual(session.settled_window_count(DOCK_WINDOWS + 1), DOCK_WINDOWS + 1)
            second = session.start(EXE)
            self.assertEqual(wait_until(lambda: second.poll() is not None and (second.returncode,), 20), (0,))
            self.assertIsNone(program.poll(), "the first copy keeps running")
            self.assertEqual(session.settled_window_count(DOCK_WINDOWS + 1), DOCK_WINDOWS + 1)
            # Windows ending the session has the data saved at once.
            self.assertEqual(session.run(CTL, "endsession")[0], 0)
            self.assertEqual(self.sizes(session), SIZES)
            self.assertEqual(session.close_program(program), 0)
            self.assertEqual(self.sizes(session), SIZES)
            for name in SIZES:
                self.assertEqual(session.data_file(name).read_bytes(),
                                 session.data_file(name + ".bak").read_bytes(), name)
            self.assertEqual([p for p in session.data_dir.iterdir() if p.suffix == ".tmp"], [])

    def test_damaged_live_files_come_back_from_their_safety_copies(self):
        with KivoSession() as session:
            session.data_dir.mkdir(parents=True)
            session.data_file("KivoCfg.cfg.bak").write_bytes(settings_bytes(icon_size=56, magnified=72))
            for _ in range(2):  # the second run saves what it loaded: a fixed point
                self.assertEqual(session.close_program(session.start_program()), 0)
            menu = session.data_file("KivoMenu.cfg").read_bytes()
            damaged = {"KivoMenu.cfg": menu[:70000], "KivoCfg.cfg": b"\xff" * 100}
            for name, data in damaged.items():
                session.data_file(name).write_bytes(data)
            program = session.start_program()
            self.assertEqual(session.settled_window_count(), DOCK_WINDOWS, "falling back is silent")
            self.assertEqual(session.close_program(program), 0)
            self.assertEqual(session.data_file("KivoMenu.cfg").read_bytes(), menu)
            self.assertEqual(session.saved_settings()[0:3:2], (56, 72))
            for name, data in damaged.items():
                self.assertEqual(session.data_file(name + ".damaged").read_bytes(), data)

    def test_both_copies_damaged_start_from_defaults_keep_the_files_and_tell_the_user(self):
        with KivoSession() as session:
            session.data_dir.mkdir(parents=True)
            session.data_file("KivoMenu.cfg").write_bytes(b"garbage")
            session.data_file("KivoMenu.cfg.bak").write_bytes(b"\0" * MENU_FILE_SIZE)
            program = session.start_program(wait=False)
            message = wait_until(lambda: session.visible_windows("^Kivo Launcher$"), timeout=30)
            self.assertTrue(message, "a message tells the user")
            session.keys_to(message[0], "Return")
            self.assertEqual(session.run(CTL, "wait", "30000")[0], 0)
            self.assertEqual(session.close_program(program), 0)
            self.assertEqual(session.data_file("KivoMenu.cfg.damaged").read_bytes(), b"garbage")
            self.assertEqual(session.data_file("KivoMenu.cfg.bak.damaged").read_bytes(),
                             b"\0" * MENU_FILE_SIZE)
            self.assertEqual(session.data_file("KivoMenu.cfg").stat().st_size, MENU_FILE_SIZE)
