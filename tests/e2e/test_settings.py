"""The settings dialog as a user meets it: opened from the tray menu's "设置", its two pages,
and the slot count changed on the appearance page, which the ring shows at once and the
settings file keeps once the dialog is closed."""

import unittest

from kivo import SETTINGS, KivoSession, settle
from test_ring import brightness, region, ring_geometry, slot_centre
from test_tray import ICON_X, ICON_Y, windows
from wineharness import wait_until

DIALOG = "^Kivo Launcher - 设置$"


def open_settings(test, session):
    """Opens the settings dialog as a user does, from the tray menu ("设置" is its second
    entry), and gives its window."""
    test.assertTrue(wait_until(lambda: session.visible_windows("^Wine System Tray$"),
                               timeout=20), "the tray icon is shown")
    settle(1.0)
    session.xdotool("mousemove", ICON_X, ICON_Y)
    settle(0.3)
    session.xdotool("click", 3)
    menus = wait_until(lambda: windows(session, "#32768"), timeout=10)
    test.assertTrue(menus, "a right click shows the tray menu")
    left, top, right, _, _, _ = menus[0]
    session.xdotool("mousemove", left + (right - left) // 3, top + 30)
    settle(0.3)
    session.xdotool("click", 1)
    dialogs = wait_until(lambda: session.visible_windows(DIALOG), timeout=15)
    test.assertTrue(dialogs, "设置 opens the settings dialog")
    settle(0.5)
    return dialogs[0]
COUNT_INDEX = 4  # IconCountIndex in the settings record


def lit(shot, point):
    return brightness(region(str(shot), point[0], point[1], 24)) > 30


class Settings(unittest.TestCase):
    def test_dialog_opens_from_the_tray_and_sets_the_slot_count(self):
        with KivoSession() as session:
            session.without_quick_start()
            program = session.start_program()
            geometry = ring_geometry(session)
            dialog = open_settings(self, session)
            session.save_screenshot("settings-general.png")

            # The keyboard starts on the tab strip: Right shows the appearance page, then
            # Tab walks its sliders to the slot-count list; Up three times from "24 个图标".
            session.xdotool("windowfocus", "--sync", dialog)
            session.xdotool("key", "Right")
            settle(0.5)
            session.save_screenshot("settings-appearance.png")
            for _ in range(4):
                session.xdotool("key", "Tab")
            for _ in range(3):
                session.xdotool("key", "Up")
                settle(0.2)
            settle(0.5)
            session.save_screenshot("settings-12-chosen.png")

            # Closed with Escape: the ring keeps 12 slots and the file holds index 1.
            session.xdotool("key", "Escape")
            self.assertTrue(wait_until(lambda: not session.visible_windows(DIALOG), timeout=10),
                            "Escape closes the dialog")
            session.xdotool("mousemove", 5, 5)
            settle(1.0)
            shot = session.save_screenshot("settings-12-slots.png")
            for slot in range(1, 13):
                self.assertTrue(lit(shot, slot_centre(geometry, slot, 12)),
                                f"slot {slot} of 12 is drawn")
            # Where slots of the old ring of 24 lay between those of 12, nothing is drawn.
            for slot in (2, 4, 6):
                self.assertFalse(lit(shot, slot_centre(geometry, slot, 24)),
                                 f"no slot where slot {slot} of 24 was")
            record = SETTINGS.unpack(session.data_file("KivoCfg.cfg").read_bytes())
            self.assertEqual(record[COUNT_INDEX], 1, "the settings file holds 12 icons")
            self.assertIsNone(program.poll(), "the program runs on")
            session.close_program(program)


if __name__ == "__main__":
    unittest.main()
