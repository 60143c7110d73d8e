"""The tray icon (Wine's "Wine System Tray"): a taken hot key reported, clicks, Alt+Space,
"退出", the icon back after the shell restarts, hot keys taken again after an unlock."""

import unittest

from kivo import CTL, ICON_X, ICON_Y, MENU_FILE_SIZE, TRAY, KivoSession, settle
from wineharness import wait_until

HOT_KEY = (2 | 1 | 4, 0x44)  # Ctrl+Alt+Shift+D, "switch the desktop", as RegisterHotKey takes it


def hot_key_free(session):
    """Ctrl+Alt+Shift+D can be taken (and is let go at once) by another program."""
    return session.run(CTL, "holdhotkey", *HOT_KEY, 0)[0] == 0


def dock_in_front(session):
    """The veil darkens the desktop (an inactive dock's veil is clear and lets the pointer
    through: WS_EX_TRANSPARENT) and one of the dock's windows has the focus."""
    veils = session.windows("KivoLauncherVeil")
    return bool(veils) and not veils[0][5] & 0x20 and any(
        w[4] for w in session.windows("KivoLauncherDock"))


class Tray(unittest.TestCase):
    def hide_and_show_with_alt_space(self, session):
        self.assertTrue(wait_until(lambda: dock_in_front(session), timeout=10))
        session.xdotool("key", "alt+space")
        self.assertTrue(wait_until(lambda: not session.windows("KivoLauncherDock"), timeout=10))
        session.keys_to(session.visible_windows(TRAY)[0], "alt+space")
        self.assertTrue(wait_until(lambda: dock_in_front(session), timeout=10), "back in front")

    def hold_and_start(self, session, milliseconds):
        """Another program holds Ctrl+Alt+Shift+D, then Kivo Launcher starts."""
        holder = session.start(CTL, "holdhotkey", *HOT_KEY, milliseconds)
        self.assertTrue(wait_until(lambda: not hot_key_free(session), timeout=30))
        program = session.start_program()
        self.assertTrue(wait_until(lambda: session.visible_windows(TRAY), timeout=20))
        return holder, program

    def test_icon_balloon_clicks_hot_keys_exit_shell_restart_and_unlock(self):
        with KivoSession() as session:
            session.without_quick_start()
            holder, program = self.hold_and_start(session, 25000)
            # The taken combination is reported with a balloon below the icon and logged.
            self.assertTrue(wait_until(lambda: [w for w in session.windows("tooltips_class32")
                                                if w[1] < 200 and w[2] - w[0] > 100], timeout=20))
            log = session.data_file("Kivo.log")
            self.assertTrue(wait_until(lambda: log.exists() and b"Shift+D" in log.read_bytes(), 20))
            # Dismissed with Escape, the dock comes to the front again by a left click.
            settle(1.0)
            session.keys_to(session.dock_window(), "Escape")
            self.assertTrue(wait_until(lambda: not dock_in_front(session), timeout=10))
            session.click(ICON_X, ICON_Y)
            self.assertTrue(wait_until(lambda: dock_in_front(session), timeout=10))
            self.assertFalse(session.windows("#32768"), "a left click shows no menu")
            self.hide_and_show_with_alt_space(session)

            # "退出", the last of eight entries, writes both (deleted) data files and ends.
            for name in ("KivoMenu.cfg", "KivoCfg.cfg"):
                session.data_file(name).unlink(missing_ok=True)
            left, top, right, bottom, _, _ = session.tray_menu()
            self.assertGreater(bottom - top, 8 * 12, "eight entries")
            session.click(left + (right - left) // 3, bottom - 12)
            self.assertTrue(wait_until(lambda: program.poll() is not None, timeout=30))
            self.assertEqual([session.data_file(n).stat().st_size for n in ("KivoMenu.cfg", "KivoCfg.cfg")],
                             [MENU_FILE_SIZE, 564])
            tray_shown = lambda: session.visible_windows(TRAY)
            self.assertTrue(wait_until(lambda: not tray_shown(), timeout=10), "the icon goes")

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
            settle(1.0)
            self.hide_and_show_with_alt_space(session)
            self.assertEqual(session.close_program(program), 0)
