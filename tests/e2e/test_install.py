"""The installer and the portable zip: installed, started and removed again as a user would,
and the portable copy keeping everything beside itself."""

import os
import unittest
import zipfile
from pathlib import Path

from kivo import DOCK_WINDOWS, KivoSession
from wineharness import wait_until

SETUP = os.environ.get("KIVO_SETUP", "")
PORTABLE_ZIP = os.environ.get("KIVO_PORTABLE_ZIP", "")
PROGRAM_KEY = r"HKCU\SOFTWARE\Kivo Launcher"
SYSTEM_KEY = PROGRAM_KEY + r"\System"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kivo Launcher"


def key_exists(session, key):
    return session.run("reg", "query", key)[0] == 0


def run_program(session, exe):
    """Starts the program, checks that its ring comes up, and ends it in order."""
    process = session.start_program(exe=exe)
    if session.settled_window_count(DOCK_WINDOWS) < DOCK_WINDOWS:
        raise AssertionError("the ring's windows did not appear")
    return session.close_program(process)


class Installer(unittest.TestCase):
    def install(self, session, *switches):
        code, out, err = session.run(SETUP, "/S", "/CURRENTUSER", *switches, timeout=120)
        self.assertEqual(code, 0, out + err)
        folder = session.reg_value(UNINSTALL_KEY, "InstallLocation")
        self.assertTrue(folder and folder.endswith(r"AppData\Local\Programs\Kivo Launcher"), folder)
        return folder, session.unix_path(folder)

    def uninstall(self, session, folder, *switches):
        code, _, _ = session.run(session.unix_path(folder) / "Uninstall.exe", "/S", *switches)
        self.assertEqual(code, 0)
        # The uninstaller runs on from a copy of itself, so that it can remove its folder.
        self.assertTrue(wait_until(lambda: not session.unix_path(folder).exists(), timeout=30))
        self.assertTrue(wait_until(lambda: not key_exists(session, UNINSTALL_KEY), timeout=10))

    def test_silent_install_start_and_uninstall(self):
        with KivoSession() as session:
            folder, unix = self.install(session)
            exe = unix / "KivoLauncher.exe"
            self.assertTrue(exe.is_file())
            self.assertTrue(any((unix / "SysIcons").glob("*.png")))
            self.assertEqual(session.reg_value(SYSTEM_KEY, "FirstRun"), "0")
            self.assertEqual(session.reg_value(RUN_KEY, "Kivo Launcher"),
                             f'"{folder}\\KivoLauncher.exe"')
            menu = session.appdata / "Microsoft/Windows/Start Menu/Programs/Kivo Launcher.lnk"
            self.assertTrue(menu.is_file())

            self.assertEqual(run_program(session, exe), 0)
            self.assertEqual(session.reg_value(SYSTEM_KEY, "FirstRun"), "1")
            self.assertTrue(session.data_file("KivoMenu.cfg").is_file())

            self.uninstall(session, folder)
            self.assertIsNone(session.reg_value(RUN_KEY, "Kivo Launcher"))
            self.assertIsNone(session.reg_value(SYSTEM_KEY, "APP_PATH"))
            self.assertFalse(menu.exists())
            # A silent uninstall keeps the user's data unless told otherwise.
            self.assertTrue(session.data_file("KivoMenu.cfg").is_file())
            self.assertTrue(key_exists(session, SYSTEM_KEY))

            # Installing again over the kept data leaves the ring alone.
            folder, _ = self.install(session)
            self.assertEqual(session.reg_value(SYSTEM_KEY, "FirstRun"), "1")
            self.uninstall(session, folder, "/DELETEDATA")
            self.assertFalse(session.data_dir.exists())
            self.assertFalse(key_exists(session, PROGRAM_KEY))

            # Installed without "start with Windows": the first start leaves it off.
            folder, unix = self.install(session, "/NOAUTORUN")
            self.assertIsNone(session.reg_value(RUN_KEY, "Kivo Launcher"))
            self.assertEqual(run_program(session, unix / "KivoLauncher.exe"), 0)
            self.assertIsNone(session.reg_value(RUN_KEY, "Kivo Launcher"))


class Portable(unittest.TestCase):
    def test_portable_copy_keeps_its_data_beside_itself_and_out_of_the_registry(self):
        with KivoSession() as session:
            stick = Path(session.root) / "stick"
            with zipfile.ZipFile(PORTABLE_ZIP) as archive:
                archive.extractall(stick)
            program = stick / "KivoLauncher"
            self.assertTrue((program / "portable.ini").is_file())

            self.assertEqual(run_program(session, program / "KivoLauncher.exe"), 0)
            data = program / "Data"
            for name in ("KivoCfg.cfg", "KivoMenu.cfg", "KivoReg.ini", "KivoIcons"):
                self.assertTrue((data / name).exists(), name)
            self.assertIn("HotKey.ShowDock=sz:", (data / "KivoReg.ini").read_text("latin-1"))
            self.assertFalse(session.data_dir.exists())
            self.assertFalse(key_exists(session, PROGRAM_KEY))
            self.assertIsNone(session.reg_value(RUN_KEY, "Kivo Launcher"))


if __name__ == "__main__":
    unittest.main()
