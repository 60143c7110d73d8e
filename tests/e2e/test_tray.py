"""The tray icon as a user meets it: the icon in the notification area (Wine's "Wine System
Tray" window when no desktop shell runs), a balloon naming a hot key that another program
already holds, a left click that brings the dock to the front, Alt+Space that hides and
shows the dock, and the right-click menu whose "退出" ends the program and writes both data
files."""

import unittest

from kivo import CTL, MENU_FILE_SIZE, SETTINGS_FILE_SIZE, KivoSession, settle
from test_ring import brightness, region
from wineharness import wait_until

# Ctrl+Alt+Shift+D, the default of "switch the desktop", as RegisterHotKey takes it.
MOD_CONTROL_ALT_SHIFT = 2 | 1 | 4
KEY_D = 0x44

# Wine draws tray icon n at about x = 13 + 20 n, y = 32 (its tray window is at the top left).
ICON_X, ICON_Y = 13, 32


def windows(session, class_name):
    """The visible top-level windows of a class:
    [(left, top, right, bottom, foreground, extended style)]."""
    _, out, _ = session.run(CTL, "windows", class_name)
    found = []
    for line in out.splitlines():
        parts = line.split()
        if len(parts) == 7:
            found.append(tuple(int(p) for p in parts[1:]))
    return found


WS_EX_TRANSPARENT = 0x20


def dock_in_front(session):
    """The dock is active: its veil darkens the desktop (an inactive dock's veil is clear and
    lets the pointer through) and one of its windows has the focus."""
    veils = windows(session, "KivoLauncherVeil")
    return bool(veils) and not veils[0][5] & WS_EX_TRANSPARENT and any(
        w[4] for w in windows(session, "KivoLauncherDock"))


class Tray(unittest.TestCase):
    def test_icon_balloon_clicks_hot_key_and_exit(self):
        with KivoSession() as session:
            session.without_quick_start()
            # Another program holds Ctrl+Alt+Shift+D before Kivo Launcher starts.
            session.start(CTL, "holdhotkey", MOD_CONTROL_ALT_SHIFT, KEY_D, 120000)
            self.assertTrue(wait_until(
                lambda: session.run(CTL, "holdhotkey", MOD_CONTROL_ALT_SHIFT, KEY_D, 0)[0] == 4,
                timeout=30), "the other program holds the combination")
            program = session.start_program()

            # The icon is in Wine's tray window, with our picture at the first place.
            self.assertTrue(wait_until(
                lambda: session.visible_windows("^Wine System Tray$"), timeout=20),
                "Wine's tray window shows an icon")

            # The taken combination is reported once with a balloon from the icon (a
            # balloon tooltip of Wine's tray, below the icon); the program goes on.
            balloons = wait_until(lambda: [w for w in windows(session, "tooltips_class32")
                                           if w[1] < 200 and w[2] - w[0] > 100], timeout=20)
            self.assertTrue(balloons, "a balloon names the hot key that is taken")
            shot = session.save_screenshot("tray-balloon.png")
            pixels = region(shot, ICON_X, ICON_Y, 12)
            red, blue = brightness(pixels[0::3]), brightness(pixels[2::3])
            self.assertGreater(blue, red + 40, "the program's blue icon is drawn in the tray")
            self.assertIsNone(program.poll(), "the program runs on")

            # Dismissed with Escape, the dock lies on the desktop; a left click on the icon
            # brings it back to the front.
            settle(1.0)
            ring = session.visible_windows("^Kivo Launcher$")[-1]
            session.xdotool("windowfocus", "--sync", ring)
            session.xdotool("key", "Escape")
            self.assertTrue(wait_until(lambda: not dock_in_front(session), timeout=10),
                            "Escape dismissed the dock")
            session.xdotool("mousemove", ICON_X, ICON_Y)
            settle(0.3)
            session.xdotool("click", 1)
            self.assertTrue(wait_until(lambda: dock_in_front(session), timeout=10),
                            "a left click on the icon activates the dock")
            self.assertFalse(windows(session, "#32768"), "a left click shows no menu")

            # Alt+Space hides the active dock and shows it again.
            session.xdotool("key", "alt+space")
            self.assertTrue(wait_until(lambda: not windows(session, "KivoLauncherDock"),
                                       timeout=10), "Alt+Space hides the active dock")
            session.xdotool("windowfocus", "--sync", session.visible_windows("^Wine System Tray$")[0])
            session.xdotool("key", "alt+space")
            self.assertTrue(wait_until(lambda: dock_in_front(session), timeout=10),
                            "Alt+Space brings the hidden dock back in front")

            # The data files go; "退出" must write both of them again.
            for name in ("KivoMenu.cfg", "KivoCfg.cfg"):
                session.data_file(name).unlink(missing_ok=True)

            # A right click shows the menu; its last entry is "退出".
            session.xdotool("mousemove", ICON_X, ICON_Y)
            settle(0.3)
            session.xdotool("click", 3)
            menus = wait_until(lambda: windows(session, "#32768"), timeout=10)
            self.assertTrue(menus, "a right click shows the tray menu")
            self.assertIsNone(program.poll())
            session.save_screenshot("tray-menu.png")
            left, top, right, bottom, _, _ = menus[0]
            self.assertGreater(bottom - top, 8 * 12, "eight entries")
            session.xdotool("mousemove", left + (right - left) // 3, bottom - 12)
            settle(0.3)
            session.xdotool("click", 1)
            self.assertTrue(wait_until(lambda: program.poll() is not None, timeout=30),
                            "退出 ends the program")
            self.assertEqual(session.data_file("KivoMenu.cfg").stat().st_size, MENU_FILE_SIZE)
            self.assertEqual(session.data_file("KivoCfg.cfg").stat().st_size, SETTINGS_FILE_SIZE)
            # The icon went with the program: Wine's tray has nothing left to show.
            self.assertTrue(wait_until(
                lambda: not session.visible_windows("^Wine System Tray$"), timeout=10),
                "the icon is removed at the end")


if __name__ == "__main__":
    unittest.main()
