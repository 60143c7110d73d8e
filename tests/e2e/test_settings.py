"""The settings dialog from the tray menu's "设置": the slot count, shown and saved at once."""

import unittest

from kivo import TRAY, KivoSession, brightness, region, settle, slot_point
from test_ring import default_ring
from wineharness import wait_until

DIALOG = "^Kivo Launcher - 设置$"


def open_settings(test, session):
    """Opens the settings dialog from the tray menu ("设置" is its second entry)."""
    test.assertTrue(wait_until(lambda: session.visible_windows(TRAY), timeout=20), "tray icon")
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
            # The keyboard starts on the tab strip: Right shows the appearance page, Tab
            # walks its sliders to the slot-count list; Up three times from "24 个图标".
            session.keys_to(open_settings(self, session), "Right")
            settle(0.5)
            session.xdotool("key", *["Tab"] * 4)
            for _ in range(3):
                session.xdotool("key", "Up")
                settle(0.2)
            session.xdotool("key", "Escape")
            self.assertTrue(wait_until(lambda: not session.visible_windows(DIALOG), timeout=10))
            session.xdotool("mousemove", 5, 5)
            settle(1.0)
            shot = session.save_screenshot("settings-12-slots.png")
            lit = lambda slot, count: brightness(region(shot, *slot_point(m, slot, radius, count),
                                                        24)) > 30
            # Slots 1..12 of 12 are drawn; between them, where the ring of 24 had some, nothing.
            self.assertEqual([lit(s, 12) for s in range(1, 13)] + [lit(s, 24) for s in (2, 4, 6)],
                             [True] * 12 + [False] * 3)
            self.assertEqual(session.saved_settings()[4], 1, "the file holds 12 icons")
            self.assertEqual(session.close_program(program), 0)
