"""The installer and the portable zip, installed, started and removed as a user would."""

import os
import unittest
import zipfile

from kivo import DOCK_WINDOWS, KivoSession
from wineharness import wait_until

PROGRAM_KEY = r"HKCU\SOFTWARE\Kivo Launcher"
SYSTEM_KEY = PROGRAM_KEY + r"\System"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kivo Launcher"


class Installer(unittest.TestCase):
    def run_program(self, session, exe):
        """Starts the program, checks that its ring comes up, and ends it in order."""
        process = session.start_program(exe=exe)
        self.assertGreaterEqual(session.settled_window_count(), DOCK_WINDOWS)
        self.assertEqual(session.close_program(process), 0)

    def state(self, session):
        """FirstRun, the start-up entry, and whether the data and the program's key exist."""
        return (session.reg_value(SYSTEM_KEY, "FirstRun"), session.reg_value(RUN_KEY, "Kivo Launcher"),
                session.data_file("KivoMenu.cfg").is_file(),
                session.run("reg", "query", PROGRAM_KEY)[0] == 0)

    def install(self, session, *switches):
        code, out, err = session.run(os.environ["KIVO_SETUP"], "/S", "/CURRENTUSER", *switches)
        self.assertEqual(code, 0, out + err)
        folder = session.reg_value(UNINSTALL_KEY, "InstallLocation")
        self.assertTrue(folder and folder.endswith(r"AppData\Local\Programs\Kivo Launcher"), folder)
        return folder, session.unix_path(folder) / "KivoLauncher.exe"

    def uninstall(self, session, folder, *switches):
        self.assertEqual(session.run(session.unix_path(folder) / "Uninstall.exe", "/S", *switches)[0], 0)
        # The uninstaller runs on from a copy of itself, so that it can remove its folder.
        self.assertTrue(wait_until(lambda: not session.unix_path(folder).exists(), timeout=30))
        self.assertIsNone(session.reg_value(UNINSTALL_KEY, "InstallLocation"))

    def test_silent_install_start_and_uninstall(self):
        with KivoSession() as session:
            folder, exe = self.install(session)
            entry = f'"{folder}\\KivoLauncher.exe"'
            menu = session.appdata / "Microsoft/Windows/Start Menu/Programs/Kivo Launcher.lnk"
            self.assertTrue(menu.is_file())
            self.assertEqual(self.state(session), ("0", entry, False, True))
            self.run_program(session, exe)
            self.assertEqual(self.state(session), ("1", entry, True, True))
            # A silent uninstall keeps the user's data unless told otherwise.
            self.uninstall(session, folder)
            self.assertFalse(menu.exists())
            self.assertEqual(self.state(session), ("1", None, True, True))
            # Installing again over the kept data leaves the ring alone.
            folder, _ = self.install(session)
            self.assertEqual(self.state(session)[0], "1")
            self.uninstall(session, folder, "/DELETEDATA")
            self.assertEqual(self.state(session), (None, None, False, False))
            # Installed without "start with Windows": the first start leaves it off.
            folder, exe = self.install(session, "/NOAUTORUN")
            self.run_program(session, exe)
            self.assertIsNone(self.state(session)[1])

    def test_portable_copy_keeps_its_data_beside_itself_and_out_of_the_registry(self):
        with KivoSession() as session:
            with zipfile.ZipFile(os.environ["KIVO_PORTABLE_ZIP"]) as archive:
                archive.extractall(session.root / "stick")
            program = session.root / "stick" / "KivoLauncher"
            self.run_program(session, program / "KivoLauncher.exe")
            data = program / "Data"
            self.assertTrue(all((data / n).exists() for n in ("KivoCfg.cfg", "KivoMenu.cfg", "KivoIcons")))
            self.assertIn("HotKey.ShowDock=sz:", (data / "KivoReg.ini").read_text("latin-1"))
            self.assertEqual(self.state(session), (None, None, False, False))
