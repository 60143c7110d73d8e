"""The item menu of a ring slot: "上移", "删除快捷方式" and the properties dialog of "属性",
each change in the store file at once."""

import re
import unittest

from kivo import KivoSession, settle, slot_point
from wineharness import wait_until

# Entries from the top as the arrow keys reach them (greyed ones too, separators passed over).
DOWNS_TO_DELETE, DOWNS_TO_MOVE_UP, DOWNS_TO_PROPERTIES = 2, 3, 7
PROGRAM = "C:\\windows\\notepad.exe"


def choose(test, session, slot, downs):
    """Right-clicks the slot, walks `downs` entries down the menu that opens with its top-left
    corner at the pointer, and takes the entry."""
    x, y = slot_point(session.metrics(), slot)

    def menu():
        for window in session.xdotool("search", "--onlyvisible", "--name", "^$", check=False).split():
            found = re.search(r"Position: (-?\d+),(-?\d+)", session.xdotool(
                "getwindowgeometry", window, check=False))
            if found and abs(int(found[1]) - x) <= 2 and abs(int(found[2]) - y) <= 2:
                return window
        return None

    session.click(x, y, 3)
    test.assertTrue(wait_until(menu, timeout=10), "the menu opens at the pointer")
    for _ in range(downs):
        session.xdotool("key", "Down")
        settle(0.15)
    settle(0.4)
    session.xdotool("key", "Return")
    test.assertTrue(wait_until(lambda: menu() is None, timeout=10))


class ItemMenu(unittest.TestCase):
    def test_move_up_and_delete_from_the_menu(self):
        with KivoSession() as session:
            session.prepared((10, 1, "Alpha", "C:\\nowhere\\alpha.exe"),
                             (11, 1, "Beta", "C:\\nowhere\\beta.exe"))
            program = session.start_dock(at_rest=False)
            choose(self, session, 11, DOWNS_TO_MOVE_UP)
            swapped = [(1, "Beta", "C:\\nowhere\\beta.exe"), (1, "Alpha", "C:\\nowhere\\alpha.exe")]
            self.assertTrue(session.stored(lambda items, _: [(items[n][0], items[n][2], items[n][4])
                                                             for n in (10, 11)] == swapped))
            choose(self, session, 10, DOWNS_TO_DELETE)
            self.assertTrue(session.answer("Delete Shortcut", "y"), "the question is asked")
            self.assertTrue(session.stored(lambda items, _: items[10][0] == 2 and
                                           items[11][2] == "Alpha"), "slot 10 is blank, 11 stays")
            self.assertEqual(session.close_program(program), 0)


class PropertyDialog(unittest.TestCase):
    def test_title_and_arguments_survive_ok(self):
        with KivoSession() as session:
            session.prepared((10, 1, "Alpha", PROGRAM))
            program = session.start_dock(at_rest=False)
            choose(self, session, 10, DOWNS_TO_PROPERTIES)
            self.assertTrue(wait_until(lambda: session.visible_windows("^Properties$"), timeout=20))
            session.keys_to(session.visible_windows("^Properties$")[0])
            settle(0.5)
            # Focus starts on the type option; the title comes next, then the path, the
            # browse button and the arguments. Tabbing into a box selects its text.
            session.xdotool("key", "Tab")
            session.xdotool("type", "--delay", "40", "Gamma Editor")
            session.xdotool("key", "--delay", "100", "Tab", "Tab", "Tab", "minus")
            session.xdotool("type", "--delay", "40", "n readme.txt")  # xdotool takes "-" as an option
            settle(0.5)
            session.xdotool("key", "Return")
            self.assertTrue(wait_until(lambda: not session.visible_windows("^Properties$"), timeout=20))
            self.assertTrue(session.stored(lambda items, _: items[10][2] == "Gamma Editor"),
                            "the store is written at once")
            self.assertEqual(session.close_program(program), 0)
            kind, _, title, link, target, _, arguments = session.store()[0][10]
            self.assertEqual((kind, title, arguments, link.lower(), target.lower()),
                             (1, "Gamma Editor", "-n readme.txt", PROGRAM.lower(), PROGRAM.lower()))
