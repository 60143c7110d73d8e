"""The settings dialog as a user meets it: opened from the tray menu's "设置", its two pages,
and the slot count changed on the appearance page, which the ring shows at once and the
settings file keeps once the dialog is closed."""

import unittest

from kivo import SETTINGS, TRAY, KivoSession, brightness, region, settle, slot_point
from test_ring import default_ring
from wineharness import wait_until

DIALOG = "^Kivo Launcher - 设置$"
COUNT_INDEX = 4  # IconCountIndex in the settings record


def open_settings(test, session):
    """Opens the settings dialog as a user does, from the tray menu ("设置" is its second
    entry), and gives its window."""
    test.assertTrue(wait_until(lambda: session.visible_windows(TRAY), timeout=20),
                    "the tray icon is shown")
    settle(1.0)
    left, top, right, _, _, _ = session.tray_menu()
    session.click(left + (right - left) // 3, top + 30)
    dialogs = wait_until(lambda: session.visible_windows(DIALOG), timeout=15)
    test.assertTrue(dialogs, "设置 opens the settings dialog")
    settle(0.5)
    return dialogs[0]


class Settings(unittest.TestCase):
    def test_dialog_opens_from_the_tray_and_sets_the_slot_count(self):
        with KivoSession() as session:
            session.without_quick_start()
            program = session.start_program()
            m, radius, _ = default_ring(session)
            dialog = open_settings(self, session)
            session.save_screenshot("settings-general.png")

            # The keyboard starts on the tab strip: Right shows the appearance page, then
            # Tab walks its sliders to the slot-count list; Up three times from "24 个图标".
            session.keys_to(dialog, "Right")
            settle(0.5)
            session.save_screenshot("settings-appearance.png")
            session.xdotool("key", *["Tab"] * 4)
            for _ in range(3):
                session.xdotool("key", "Up")
                settle(0.2)

            # Closed with Escape: the ring keeps 12 slots and the file holds index 1.
            session.xdotool("key", "Escape")
            self.assertTrue(wait_until(lambda: not session.visible_windows(DIALOG), timeout=10),
                            "Escape closes the dialog")
            session.xdotool("mousemove", 5, 5)
            settle(1.0)
            shot = session.save_screenshot("settings-12-slots.png")
            lit = lambda slot, count: brightness(region(shot, *slot_point(m, slot, radius, count),
                                                        24)) > 30
            # Slots 1..12 of 12 are drawn; where slots of the old ring of 24 lay between
            # them, nothing is.
            self.assertEqual([lit(slot, 12) for slot in range(1, 13)], [True] * 12)
            self.assertEqual([lit(slot, 24) for slot in (2, 4, 6)], [False] * 3)
            record = SETTINGS.unpack(session.data_file("KivoCfg.cfg").read_bytes())
            self.assertEqual(record[COUNT_INDEX], 1, "the settings file holds 12 icons")
            self.assertEqual(session.close_program(program), 0)


if __name__ == "__main__":
    unittest.main()
