"""The item context menu as a user meets it: a right click on a ring slot opens the menu
at the pointer, "上移" swaps the entry with the one before it, and "删除快捷方式", answered
Yes, turns the entry into a blank slot. Both changes are in the store file at once."""

import re
import subprocess
import unittest

from kivo import CTL, KivoSession, read_store, settings_bytes, settle, windows_path
from test_dock_input import metrics, slot_point
from wineharness import wait_until

# The menu's entries from the top, as the arrow keys reach them: the keys stop on greyed
# entries too and pass over the separators.
DOWNS_TO_DELETE = 2
DOWNS_TO_MOVE_UP = 3


def window_class(session, window):
    result = subprocess.run(["xprop", "-id", str(window), "WM_CLASS"], env=session.env,
                            capture_output=True, text=True, check=False)
    return result.stdout


def menu_at(session, x, y):
    """The visible window whose top-left corner is at the pointer (x, y): the pop-up menu."""
    for window in session.xdotool("search", "--onlyvisible", "--name", "^$", check=False).split():
        geometry = session.xdotool("getwindowgeometry", window, check=False)
        match = re.search(r"Position: (-?\d+),(-?\d+)", geometry)
        if match and abs(int(match.group(1)) - x) <= 2 and abs(int(match.group(2)) - y) <= 2:
            return window
    return None


class ItemMenu(unittest.TestCase):
    def open_menu(self, session, x, y):
        session.xdotool("mousemove", x, y)
        settle(0.4)
        session.xdotool("click", 3)
        self.assertTrue(wait_until(lambda: menu_at(session, x, y) is not None, timeout=10),
                        "the menu opens at the pointer")
        return menu_at(session, x, y)

    def highlight(self, session, downs):
        for _ in range(downs):
            session.xdotool("key", "Down")
            settle(0.15)

    def test_move_up_and_delete_from_the_menu(self):
        with KivoSession() as session:
            session.data_dir.mkdir(parents=True, exist_ok=True)
            session.data_file("KivoCfg.cfg").write_bytes(settings_bytes())
            program = session.start_program()
            self.assertEqual(session.close_program(program), 0)
            menu_file = windows_path(session.data_file("KivoMenu.cfg"))
            for args in (["10", "1", "Alpha", "C:\\nowhere\\alpha.exe"],
                         ["11", "1", "Beta", "C:\\nowhere\\beta.exe"]):
                code, _, err = session.run(CTL, "setitem", menu_file, *args)
                self.assertEqual(code, 0, err)

            program = session.start_program()
            m = metrics(session)
            session.settled_window_count()

            # "上移" on slot 11: Beta and Alpha change places, and the store is written.
            x, y = slot_point(m, 11)
            menu = self.open_menu(session, x, y)
            self.assertIn("kivolauncher", window_class(session, menu).lower(),
                          "the menu belongs to the program")
            self.highlight(session, DOWNS_TO_MOVE_UP)
            settle(0.4)
            session.save_screenshot("item-menu.png")
            session.xdotool("key", "Return")
            self.assertTrue(wait_until(lambda: menu_at(session, x, y) is None, timeout=10))

            def moved():
                items, _ = read_store(session)
                return items[10][2] == "Beta" and items[11][2] == "Alpha"

            self.assertTrue(wait_until(moved, timeout=10), "slots 10 and 11 swapped in the store")
            items, groups = read_store(session)
            self.assertEqual((items[10][0], items[11][0]), (1, 1))
            self.assertEqual(items[10][4], "C:\\nowhere\\beta.exe")
            self.assertEqual(items[12][0], 2, "the next slot is untouched")

            # "删除快捷方式" on slot 10 (Beta now), answered Yes: the slot is blank.
            x, y = slot_point(m, 10)
            self.open_menu(session, x, y)
            self.highlight(session, DOWNS_TO_DELETE)
            session.xdotool("key", "Return")
            self.assertTrue(wait_until(lambda: session.visible_windows("^Delete Shortcut$"),
                                       timeout=20), "the question is asked")
            box = session.visible_windows("^Delete Shortcut$")[0]
            session.xdotool("windowfocus", "--sync", box)
            session.xdotool("key", "y")
            self.assertTrue(wait_until(lambda: not session.visible_windows("^Delete Shortcut$"),
                                       timeout=20))

            def deleted():
                items, _ = read_store(session)
                return items[10][0] == 2

            self.assertTrue(wait_until(deleted, timeout=10), "slot 10 is a blank slot")
            items, _ = read_store(session)
            self.assertEqual(items[11][2], "Alpha", "its neighbour stays")
            self.assertEqual(session.close_program(program), 0)


if __name__ == "__main__":
    unittest.main()
