"""The program's registry values at start: where and which version it is, the first-run
mark left by an installer, and the start-with-Windows entry."""

import os
import unittest

from kivo import DOCK_WINDOWS, EXE, MENU_FILE_SIZE, SETTINGS, SETTINGS_AUTO_RUN, SETTINGS_FILE_SIZE, KivoSession, settings_bytes

PROGRAM_KEY = r"HKCU\SOFTWARE\Kivo Launcher\System"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
RUN_VALUE = "Kivo Launcher"


def saved(session):
    return SETTINGS.unpack(session.data_file("KivoCfg.cfg").read_bytes())


def start_and_close(test, session):
    test.assertEqual(session.close_program(session.start_program()), 0)


class ProgramInfo(unittest.TestCase):
    def test_a_start_records_the_program_and_keeps_the_start_up_entry_current(self):
        with KivoSession() as session:
            session.reg_add(RUN_KEY, "Other Program", r"C:\other.exe")
            session.reg_add(RUN_KEY, RUN_VALUE, r"C:\Old Place\KivoLauncher.exe")
            start_and_close(self, session)
            # Wine maps the Linux root to drive Z:.
            path = "Z:" + os.path.abspath(EXE).replace("/", "\\")
            version = os.environ["KIVO_VERSION"]
            for value, expected in (("APP_PATH", path), ("APP_VER", version),
                                    ("APP_BUILD", version.split(".")[2])):
                self.assertEqual(session.reg_value(PROGRAM_KEY, value).lower(), expected.lower())
            # No settings file: AutoRun is on by default, so the stale entry now starts
            # this program, and the setting stays on.
            self.assertEqual(session.reg_value(RUN_KEY, RUN_VALUE).lower(), f'"{path.lower()}"')
            self.assertEqual(session.reg_value(RUN_KEY, "Other Program"), r"C:\other.exe")
            self.assertEqual(saved(session)[SETTINGS_AUTO_RUN], -1)

            # With AutoRun off in the settings, a start leaves the entry alone.
            session.run("reg", "delete", RUN_KEY, "/v", RUN_VALUE, "/f")
            session.write_settings(settings_bytes(auto_run=False))
            start_and_close(self, session)
            self.assertIsNone(session.reg_value(RUN_KEY, RUN_VALUE))
            self.assertEqual(saved(session)[SETTINGS_AUTO_RUN], 0)


class FirstRun(unittest.TestCase):
    def test_the_first_run_mark_wipes_the_data_files_once(self):
        with KivoSession() as session:
            icons = session.data_dir / "KivoIcons"
            icons.mkdir(parents=True)
            for name in ("KivoMenu.cfg", "KivoMenu.cfg.bak", "KivoCfg.cfg", "KivoCfg.cfg.bak"):
                session.data_file(name).write_bytes(b"from an earlier installation")
            (icons / "x.png").write_bytes(b"png")
            (icons / "User Icon.ico").write_bytes(b"ico")
            session.reg_add(PROGRAM_KEY, "FirstRun", "0")

            # Had the old files been read, they would be damaged ones, with a message.
            program = session.start_program()
            self.assertEqual(session.reg_value(PROGRAM_KEY, "FirstRun"), "1")
            self.assertFalse((icons / "x.png").exists())
            self.assertTrue((icons / "User Icon.ico").exists(), "only the icon PNGs go")
            # Fresh defaults: the dock and the quick-start window.
            self.assertEqual(session.settled_window_count(DOCK_WINDOWS + 1), DOCK_WINDOWS + 1)
            self.assertEqual(session.close_program(program), 0)
            self.assertEqual(session.data_file("KivoMenu.cfg").stat().st_size, MENU_FILE_SIZE)
            self.assertEqual(session.data_file("KivoCfg.cfg").stat().st_size, SETTINGS_FILE_SIZE)
            self.assertEqual([p.name for p in session.data_dir.iterdir() if "damaged" in p.name], [])

            # Handled once: the next start keeps everything, the settings through a start
            # and an exit too (icon and magnified size, radius, count, backdrop alpha, the
            # quick start turned off).
            (icons / "y.png").write_bytes(b"png")
            session.write_settings(settings_bytes(icon_size=56, magnified=72))
            start_and_close(self, session)
            self.assertTrue((icons / "y.png").exists())
            s = saved(session)
            self.assertEqual((s[0], s[2], s[3], s[4], s[5][3], s[15]), (56, 72, 250, 5, 150, -1))
            self.assertEqual(session.reg_value(PROGRAM_KEY, "FirstRun"), "1")


if __name__ == "__main__":
    unittest.main()
