"""The item context menu as a user meets it: a right click on a ring slot opens the menu
at the pointer, "上移" swaps the entry with the one before it, and "删除快捷方式", answered
Yes, turns the entry into a blank slot. Both changes are in the store file at once."""

import re
import subprocess
import unittest

from kivo import KivoSession, read_store, settle, slot_point, stored
from wineharness import wait_until

# The menu's entries from the top, as the arrow keys reach them: the keys stop on greyed
# entries too and pass over the separators.
DOWNS_TO_DELETE, DOWNS_TO_MOVE_UP = 2, 3


def menu_at(session, x, y):
    """The visible window whose top-left corner is at the pointer (x, y): the pop-up menu."""
    for window in session.xdotool("search", "--onlyvisible", "--name", "^$", check=False).split():
        geometry = session.xdotool("getwindowgeometry", window, check=False)
        match = re.search(r"Position: (-?\d+),(-?\d+)", geometry)
        if match and abs(int(match.group(1)) - x) <= 2 and abs(int(match.group(2)) - y) <= 2:
            return window
    return None


def choose(test, session, slot, downs):
    """Right-clicks the slot, walks `downs` entries down the program's menu that opens at the
    pointer, and takes the entry."""
    x, y = slot_point(session.metrics(), slot)
    session.click(x, y, 3)
    test.assertTrue(wait_until(lambda: menu_at(session, x, y), timeout=10),
                    "the menu opens at the pointer")
    owner = subprocess.run(["xprop", "-id", menu_at(session, x, y), "WM_CLASS"], env=session.env,
                           capture_output=True, text=True).stdout
    test.assertIn("kivolauncher", owner.lower(), "the menu belongs to the program")
    for _ in range(downs):
        session.xdotool("key", "Down")
        settle(0.15)
    settle(0.4)
    session.xdotool("key", "Return")
    test.assertTrue(wait_until(lambda: menu_at(session, x, y) is None, timeout=10))


class ItemMenu(unittest.TestCase):
    def test_move_up_and_delete_from_the_menu(self):
        with KivoSession() as session:
            session.prepared((10, 1, "Alpha", "C:\\nowhere\\alpha.exe"),
                             (11, 1, "Beta", "C:\\nowhere\\beta.exe"))
            program = session.start_dock(at_rest=False)

            # "上移" on slot 11: Beta and Alpha change places, and the store is written.
            choose(self, session, 11, DOWNS_TO_MOVE_UP)
            self.assertTrue(stored(session, lambda items, _: (items[10][2], items[11][2]) ==
                                   ("Beta", "Alpha")), "slots 10 and 11 swapped in the store")
            items, _ = read_store(session)
            self.assertEqual((items[10][0], items[11][0], items[10][4], items[12][0]),
                             (1, 1, "C:\\nowhere\\beta.exe", 2))

            # "删除快捷方式" on slot 10 (Beta now), answered Yes: the slot is blank.
            choose(self, session, 10, DOWNS_TO_DELETE)
            self.assertTrue(session.answer("Delete Shortcut", "y"), "the question is asked")
            self.assertTrue(stored(session, lambda items, _: items[10][0] == 2 and
                                   items[11][2] == "Alpha"), "slot 10 is blank, 11 stays")
            self.assertEqual(session.close_program(program), 0)


if __name__ == "__main__":
    unittest.main()
