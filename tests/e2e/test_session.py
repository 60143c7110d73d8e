"""The tray icon comes back when the shell restarts, the hot keys are taken again when the
user unlocks the session, and what went wrong on the way is written to "Kivo.log" in the
data folder."""

import re
import unittest

from kivo import CTL, KivoSession, settle
from test_tray import KEY_D, MOD_CONTROL_ALT_SHIFT, dock_in_front, windows
from wineharness import wait_until

LOG_LINE = re.compile(rb"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} (INFO|WARN|ERROR) [^\r\n]*\r\n",
                      re.M)


def hot_key_free(session):
    """Ctrl+Alt+Shift+D can be taken (and is let go at once) by another program."""
    return session.run(CTL, "holdhotkey", MOD_CONTROL_ALT_SHIFT, KEY_D, 0)[0] == 0


class SessionAndShell(unittest.TestCase):
    def test_icon_after_shell_restart_hot_keys_after_unlock_and_the_log(self):
        with KivoSession() as session:
            session.without_quick_start()
            holder = session.start(CTL, "holdhotkey", MOD_CONTROL_ALT_SHIFT, KEY_D, 25000)
            self.assertTrue(wait_until(lambda: not hot_key_free(session), timeout=30))
            program = session.start_program()
            tray_shown = lambda: session.visible_windows("^Wine System Tray$")
            self.assertTrue(wait_until(tray_shown, timeout=20), "the icon is in the tray")

            # The combination another program holds leaves a line in the log.
            log = session.data_file("Kivo.log")
            self.assertTrue(wait_until(lambda: log.exists() and b"Shift+D" in log.read_bytes(),
                                       timeout=20), "the taken hot key is logged")
            text = log.read_bytes()
            self.assertEqual(LOG_LINE.sub(b"", text), b"", "every line is stamped and whole")
            self.assertIn(b" WARN Hot key Ctrl+Alt+Shift+D is held by another program\r\n", text)

            # The shell loses the icon and restarts: the broadcast brings the icon back.
            self.assertEqual(session.run(CTL, "tray", "dropicon")[0], 0)
            self.assertTrue(wait_until(lambda: not tray_shown(), timeout=10), "icon gone")
            self.assertEqual(session.run(CTL, "tray", "taskbarcreated")[0], 0)
            self.assertTrue(wait_until(tray_shown, timeout=10), "the icon is added again")

            # The other program lets the combination go; the unlock takes it back.
            self.assertTrue(wait_until(lambda: holder.poll() is not None, timeout=40))
            self.assertTrue(hot_key_free(session))
            self.assertEqual(session.run(CTL, "tray", "unlock")[0], 0)
            self.assertFalse(hot_key_free(session), "the unlock registered the free hot key")
            self.assertIn(b"Ctrl+Alt+Shift+D registered again after an unlock", log.read_bytes())

            # The hot keys held all along still work: Alt+Space hides and shows the dock.
            settle(1.0)
            self.assertTrue(wait_until(lambda: dock_in_front(session), timeout=10))
            session.xdotool("key", "alt+space")
            self.assertTrue(wait_until(lambda: not windows(session, "KivoLauncherDock"),
                                       timeout=10), "Alt+Space hides the dock after the unlock")
            session.xdotool("windowfocus", "--sync", tray_shown()[0])
            session.xdotool("key", "alt+space")
            self.assertTrue(wait_until(lambda: dock_in_front(session), timeout=10),
                            "Alt+Space shows the dock after the unlock")
            self.assertIsNone(program.poll())
            self.assertEqual(session.close_program(program), 0)


if __name__ == "__main__":
    unittest.main()
