"""The properties dialog as a user meets it: a right click on a ring shortcut, "属性" from
the item menu, a new title and arguments typed into the dialog, OK. Both are in the store
file once the program has closed."""

import unittest

from kivo import KivoSession, read_store, settle, stored
from test_item_menu import choose
from wineharness import wait_until

DOWNS_TO_PROPERTIES = 7  # "属性" is the last of the seven entries the arrow keys reach.
SLOT = 10
PROGRAM = "C:\\windows\\notepad.exe"


class PropertyDialog(unittest.TestCase):
    def test_title_and_arguments_survive_ok(self):
        with KivoSession() as session:
            session.prepared((SLOT, 1, "Alpha", PROGRAM))
            program = session.start_dock(at_rest=False)
            choose(self, session, SLOT, DOWNS_TO_PROPERTIES)
            self.assertTrue(wait_until(lambda: session.visible_windows("^Properties$"),
                                       timeout=20), "the dialog opens")
            session.keys_to(session.visible_windows("^Properties$")[0])
            settle(0.5)
            # Focus starts on the type option; the title comes next, then the path, the
            # browse button and the arguments. Tabbing into a box selects its text.
            session.xdotool("key", "Tab")
            session.xdotool("type", "--delay", "40", "Gamma Editor")
            for _ in range(3):
                session.xdotool("key", "Tab")
                settle(0.1)
            # xdotool would read a leading "-" as an option of its own.
            session.xdotool("key", "minus")
            session.xdotool("type", "--delay", "40", "n readme.txt")
            settle(0.5)
            session.save_screenshot("property-dialog.png")
            session.xdotool("key", "Return")
            self.assertTrue(wait_until(lambda: not session.visible_windows("^Properties$"),
                                       timeout=20), "OK closes the dialog")
            self.assertTrue(stored(session, lambda items, _: items[SLOT][2] == "Gamma Editor"),
                            "the store is written at once")
            self.assertEqual(session.close_program(program), 0)

            items, _ = read_store(session)
            kind, _, title, link, target, _, arguments = items[SLOT]
            self.assertEqual((kind, title, arguments, link.lower(), target.lower()),
                             (1, "Gamma Editor", "-n readme.txt", PROGRAM.lower(), PROGRAM.lower()))
            self.assertEqual(items[SLOT + 1][0], 2, "the next slot is untouched")


if __name__ == "__main__":
    unittest.main()
