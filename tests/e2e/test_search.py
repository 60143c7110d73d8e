"""Finding a shortcut by typing: Ctrl+F opens the field on the disc, typing a file name
shows the matching shortcuts in a list beside the disc, Esc leaves the search and closes
the list, and Enter starts the first result."""

import unittest

from kivo import KivoSession, read_store, settings_bytes, settle
from test_dock_input import dock_window
from test_popup import WIDTH, geometry, popup_window
from wineharness import wait_until


class Search(unittest.TestCase):
    def find(self, session, text):
        window = dock_window(session)
        self.assertIsNotNone(window)
        session.xdotool("windowfocus", "--sync", window)
        session.xdotool("key", "ctrl+f")
        settle(0.5)
        session.xdotool("type", "--delay", "120", text)
        return wait_until(lambda: popup_window(session), timeout=10)

    def test_find_leave_and_start(self):
        with KivoSession() as session:
            # Without the quick-start window, which would hold the keyboard.
            session.data_dir.mkdir(parents=True, exist_ok=True)
            session.data_file("KivoCfg.cfg").write_bytes(settings_bytes())
            # A first start builds the default groups; the accessories hold notepad.
            self.assertEqual(session.close_program(session.start_program()), 0)
            items, groups = read_store(session)
            self.assertTrue(any(items[m][4].lower().endswith("notepad.exe")
                                for g in groups.values() for m in g), "notepad is a shortcut")
            session.start_program()
            session.settled_window_count()

            # 1. The list of what "notepad" finds shows beside the disc; Esc closes it.
            list_window = self.find(session, "notepad")
            self.assertTrue(list_window, "the result list shows")
            _, _, w, _ = geometry(session, list_window)
            self.assertEqual(w, WIDTH)
            settle(0.5)
            session.save_screenshot("search-results.png")
            session.xdotool("key", "Escape")
            self.assertTrue(wait_until(lambda: popup_window(session) is None, timeout=10),
                            "Esc closes the list")
            self.assertIsNotNone(dock_window(session), "the dock stays")

            # 2. Typed again, Enter starts the first result, and the list goes.
            self.assertTrue(self.find(session, "notepad"), "the result list shows again")
            settle(0.5)
            session.xdotool("key", "Return")
            notepad = wait_until(lambda: session.visible_windows("Notepad|记事本"), timeout=20)
            self.assertTrue(notepad, "notepad's window appears")
            self.assertTrue(wait_until(lambda: popup_window(session) is None, timeout=10),
                            "the list closed")
            session.run("taskkill", "/im", "notepad.exe")


if __name__ == "__main__":
    unittest.main()
