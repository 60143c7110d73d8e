"""The program's registry values at start: where and which version it is, the first-run mark
left by an installer, and the start-with-Windows entry."""

import os
import unittest

from kivo import DOCK_WINDOWS, EXE, MENU_FILE_SIZE, KivoSession, settings_bytes

PROGRAM_KEY = r"HKCU\SOFTWARE\Kivo Launcher\System"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"


class ProgramInfo(unittest.TestCase):
    def test_a_start_records_the_program_and_keeps_the_start_up_entry_current(self):
        with KivoSession() as session:
            session.reg_add(RUN_KEY, "Other Program", r"C:\other.exe")
            session.reg_add(RUN_KEY, "Kivo Launcher", r"C:\Old Place\KivoLauncher.exe")
            self.assertEqual(session.close_program(session.start_program()), 0)
            path, version = "Z:" + os.path.abspath(EXE).replace("/", "\\"), os.environ["KIVO_VERSION"]
            values = (session.reg_value(PROGRAM_KEY, v) for v in ("APP_PATH", "APP_VER", "APP_BUILD"))
            self.assertEqual([v.lower() for v in values], [path.lower(), version, version.split(".")[2]])
            # No settings file: AutoRun is on, so the stale entry now starts this program.
            self.assertEqual((session.reg_value(RUN_KEY, "Kivo Launcher").lower(),
                              session.reg_value(RUN_KEY, "Other Program"), session.saved_settings()[7]),
                             (f'"{path.lower()}"', r"C:\other.exe", -1))
            # With AutoRun off in the settings, a start leaves the entry alone.
            session.run("reg", "delete", RUN_KEY, "/v", "Kivo Launcher", "/f")
            session.write_settings(settings_bytes(auto_run=False))
            self.assertEqual(session.close_program(session.start_program()), 0)
            self.assertEqual((session.reg_value(RUN_KEY, "Kivo Launcher"), session.saved_settings()[7]),
                             (None, 0))

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
            self.assertEqual([(icons / n).exists() for n in ("x.png", "User Icon.ico")],
                             [False, True], "only the icon PNGs go")
            # Fresh defaults: the dock and the quick-start window.
            self.assertEqual(session.settled_window_count(DOCK_WINDOWS + 1), DOCK_WINDOWS + 1)
            self.assertEqual(session.close_program(program), 0)
            self.assertEqual(session.data_file("KivoMenu.cfg").stat().st_size, MENU_FILE_SIZE)
            self.assertFalse([p for p in session.data_dir.iterdir() if "damaged" in p.name])
            # Handled once: the next start keeps everything.
            (icons / "y.png").write_bytes(b"png")
            session.write_settings(settings_bytes(icon_size=56, magnified=72))
            self.assertEqual(session.close_program(session.start_program()), 0)
            self.assertTrue((icons / "y.png").exists())
            s = session.saved_settings()
            self.assertEqual((s[0], s[2], s[3], s[4], s[5][3], s[15]), (56, 72, 250, 5, 150, -1))
