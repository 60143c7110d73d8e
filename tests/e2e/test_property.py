"""The properties dialog as a user meets it: a right click on a ring shortcut, "属性" from
the item menu, a new title and arguments typed into the dialog, OK. Both are in the store
file once the program has closed."""

import unittest

from kivo import CTL, KivoSession, read_store, settings_bytes, settle, windows_path
from test_dock_input import metrics, slot_point
from test_item_menu import menu_at
from wineharness import wait_until

# "属性" is the last of the seven entries the arrow keys reach.
DOWNS_TO_PROPERTIES = 7
SLOT = 10
PROGRAM = "C:\\windows\\notepad.exe"


class PropertyDialog(unittest.TestCase):
    def test_title_and_arguments_survive_ok(self):
        with KivoSession() as session:
            session.data_dir.mkdir(parents=True, exist_ok=True)
            session.data_file("KivoCfg.cfg").write_bytes(settings_bytes())
            program = session.start_program()
            self.assertEqual(session.close_program(program), 0)
            menu_file = windows_path(session.data_file("KivoMenu.cfg"))
            code, _, err = session.run(CTL, "setitem", menu_file, str(SLOT), "1", "Alpha",
                                       PROGRAM)
            self.assertEqual(code, 0, err)

            program = session.start_program()
            m = metrics(session)
            session.settled_window_count()
            x, y = slot_point(m, SLOT)
            session.xdotool("mousemove", x, y)
            settle(0.4)
            session.xdotool("click", 3)
            self.assertTrue(wait_until(lambda: menu_at(session, x, y) is not None, timeout=10),
                            "the menu opens at the pointer")
            for _ in range(DOWNS_TO_PROPERTIES):
                session.xdotool("key", "Down")
                settle(0.15)
            session.xdotool("key", "Return")
            self.assertTrue(wait_until(lambda: session.visible_windows("^Properties$"),
                                       timeout=20), "the dialog opens")
            dialog = session.visible_windows("^Properties$")[0]
            session.xdotool("windowfocus", "--sync", dialog)
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

            def saved():
                items, _ = read_store(session)
                return items[SLOT][2] == "Gamma Editor"

            self.assertTrue(wait_until(saved, timeout=10), "the store is written at once")
            self.assertEqual(session.close_program(program), 0)

            items, _ = read_store(session)
            kind, _, title, link, target, _, arguments = items[SLOT]
            self.assertEqual((kind, title, arguments), (1, "Gamma Editor", "-n readme.txt"))
            self.assertEqual(link.lower(), PROGRAM.lower())
            self.assertEqual(target.lower(), PROGRAM.lower())
            self.assertEqual(items[SLOT + 1][0], 2, "the next slot is untouched")


if __name__ == "__main__":
    unittest.main()
