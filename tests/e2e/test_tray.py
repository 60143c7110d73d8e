"""The tray icon as a user meets it (Wine's "Wine System Tray" window when no desktop shell
runs): a balloon and a log line naming a hot key that another program already holds, a left
click that brings the dock to the front, Alt+Space that hides and shows the dock, the icon
back after the shell restarts, the hot keys taken again when the user unlocks the session,
and the right-click menu whose "退出" ends the program and writes both data files."""

import re
import unittest

from kivo import (CTL, ICON_X, ICON_Y, MENU_FILE_SIZE, SETTINGS_FILE_SIZE, TRAY, KivoSession,
                  brightness, settle)
from wineharness import wait_until

# Ctrl+Alt+Shift+D, the default of "switch the desktop", as RegisterHotKey takes it.
HOT_KEY = (2 | 1 | 4, 0x44)
WS_EX_TRANSPARENT = 0x20
LOG_LINE = re.compile(rb"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} (INFO|WARN|ERROR) [^\r\n]*\r\n",
                      re.M)


def hot_key_free(session):
    """Ctrl+Alt+Shift+D can be taken (and is let go at once) by another program."""
    return session.run(CTL, "holdhotkey", *HOT_KEY, 0)[0] == 0


def dock_in_front(session):
    """The dock is active: its veil darkens the desktop (an inactive dock's veil is clear and
    lets the pointer through) and one of its windows has the focus."""
    veils = session.windows("KivoLauncherVeil")
    return bool(veils) and not veils[0][5] & WS_EX_TRANSPARENT and any(
        w[4] for w in session.windows("KivoLauncherDock"))


class Tray(unittest.TestCase):
    def hide_and_show_with_alt_space(self, session, when):
        self.assertTrue(wait_until(lambda: dock_in_front(session), timeout=10))
        session.xdotool("key", "alt+space")
        self.assertTrue(wait_until(lambda: not session.windows("KivoLauncherDock"), timeout=10),
                        f"Alt+Space hides the active dock {when}")
        session.keys_to(session.visible_windows(TRAY)[0], "alt+space")
        self.assertTrue(wait_until(lambda: dock_in_front(session), timeout=10),
                        f"Alt+Space brings the hidden dock back in front {when}")

    def hold_and_start(self, session, milliseconds):
        """Another program holds Ctrl+Alt+Shift+D, then Kivo Launcher starts."""
        holder = session.start(CTL, "holdhotkey", *HOT_KEY, milliseconds)
        self.assertTrue(wait_until(lambda: not hot_key_free(session), timeout=30),
                        "the other program holds the combination")
        program = session.start_program()
        self.assertTrue(wait_until(lambda: session.visible_windows(TRAY), timeout=20),
                        "the icon is in the tray")
        return holder, program

    def test_icon_balloon_clicks_hot_keys_shell_restart_unlock_and_exit(self):
        with KivoSession() as session:
            session.without_quick_start()
            holder, program = self.hold_and_start(session, 25000)
            # The taken combination is reported once with a balloon from the icon (a
            # balloon tooltip of Wine's tray, below the icon) and a line in the log.
            balloons = wait_until(lambda: [w for w in session.windows("tooltips_class32")
                                           if w[1] < 200 and w[2] - w[0] > 100], timeout=20)
            self.assertTrue(balloons, "a balloon names the hot key that is taken")
            pixels = session.shot(ICON_X, ICON_Y, 12, "tray-balloon.png")
            self.assertGreater(brightness(pixels[2::3]), brightness(pixels[0::3]) + 40,
                               "the program's blue icon is drawn in the tray")
            log = session.data_file("Kivo.log")
            self.assertTrue(wait_until(lambda: log.exists() and b"Shift+D" in log.read_bytes(),
                                       timeout=20), "the taken hot key is logged")
            text = log.read_bytes()
            self.assertEqual(LOG_LINE.sub(b"", text), b"", "every line is stamped and whole")
            self.assertIn(b" WARN Hot key Ctrl+Alt+Shift+D is held by another program\r\n", text)

            # Dismissed with Escape, the dock lies on the desktop; a left click on the icon
            # brings it back to the front, without a menu.
            settle(1.0)
            session.keys_to(session.visible_windows("^Kivo Launcher$")[-1], "Escape")
            self.assertTrue(wait_until(lambda: not dock_in_front(session), timeout=10),
                            "Escape dismissed the dock")
            session.click(ICON_X, ICON_Y)
            self.assertTrue(wait_until(lambda: dock_in_front(session), timeout=10),
                            "a left click on the icon activates the dock")
            self.assertFalse(session.windows("#32768"), "a left click shows no menu")
            self.hide_and_show_with_alt_space(session, "")

            # The data files go; "退出", the last entry of the right-click menu, must write
            # both of them again, and the icon goes with the program.
            for name in ("KivoMenu.cfg", "KivoCfg.cfg"):
                session.data_file(name).unlink(missing_ok=True)
            settle(0.3)
            left, top, right, bottom, _, _ = session.tray_menu()
            session.save_screenshot("tray-menu.png")
            self.assertGreater(bottom - top, 8 * 12, "eight entries")
            session.click(left + (right - left) // 3, bottom - 12)
            self.assertTrue(wait_until(lambda: program.poll() is not None, timeout=30),
                            "退出 ends the program")
            self.assertEqual(session.data_file("KivoMenu.cfg").stat().st_size, MENU_FILE_SIZE)
            self.assertEqual(session.data_file("KivoCfg.cfg").stat().st_size, SETTINGS_FILE_SIZE)
            tray_shown = lambda: session.visible_windows(TRAY)
            self.assertTrue(wait_until(lambda: not tray_shown(), timeout=10),
                            "the icon is removed at the end")

            # Started again: the shell loses the icon and restarts, and the broadcast brings
            # the icon back (Wine's tray then draws it nowhere a click would find it).
            self.assertTrue(wait_until(lambda: holder.poll() is not None, timeout=40))
            holder, program = self.hold_and_start(session, 20000)
            self.assertEqual(session.run(CTL, "tray", "dropicon")[0], 0)
            self.assertTrue(wait_until(lambda: not tray_shown(), timeout=10), "icon gone")
            self.assertEqual(session.run(CTL, "tray", "taskbarcreated")[0], 0)
            self.assertTrue(wait_until(tray_shown, timeout=10), "the icon is added again")

            # The other program lets the combination go; the unlock takes it back, and the
            # hot keys held all along still work.
            self.assertTrue(wait_until(lambda: holder.poll() is not None, timeout=40))
            self.assertTrue(hot_key_free(session))
            self.assertEqual(session.run(CTL, "tray", "unlock")[0], 0)
            self.assertFalse(hot_key_free(session), "the unlock registered the free hot key")
            self.assertIn(b"Ctrl+Alt+Shift+D registered again after an unlock", log.read_bytes())
            settle(1.0)
            self.hide_and_show_with_alt_space(session, "after the unlock")
            self.assertEqual(session.close_program(program), 0)


if __name__ == "__main__":
    unittest.main()
