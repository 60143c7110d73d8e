"""Finding a shortcut by typing: Ctrl+F opens the field on the disc, typing a file name
shows the matching shortcuts in a list beside the disc, Esc leaves the search and closes
the list, and Enter starts the first result."""

import unittest

from kivo import KivoSession, read_store, settle
from test_popup import NOTEPAD, popup_window
from wineharness import wait_until


class Search(unittest.TestCase):
    def find(self, session, text):
        session.keys_to(session.dock_window(), "ctrl+f")
        settle(0.5)
        session.xdotool("type", "--delay", "120", text)
        self.assertTrue(wait_until(lambda: popup_window(session), timeout=10),
                        "the result list shows")
        settle(0.5)

    def test_find_leave_and_start(self):
        with KivoSession() as session:
            # The test settings leave out the quick-start window, which would hold the
            # keyboard; a first start builds the default groups, whose accessories hold
            # notepad.
            session.prepared()
            items, groups = read_store(session)
            self.assertTrue(any(items[m][4].lower().endswith("notepad.exe")
                                for g in groups.values() for m in g), "notepad is a shortcut")
            session.start_dock(at_rest=False)

            # The list of what "notepad" finds shows beside the disc; Esc closes it.
            self.find(session, "notepad")
            session.xdotool("key", "Escape")
            self.assertTrue(wait_until(lambda: popup_window(session) is None, timeout=10),
                            "Esc closes the list")
            self.assertIsNotNone(session.dock_window(), "the dock stays")

            # Typed again, Enter starts the first result, and the list goes.
            self.find(session, "notepad")
            session.xdotool("key", "Return")
            self.assertTrue(wait_until(lambda: session.visible_windows(NOTEPAD), timeout=20),
                            "notepad's window appears")
            self.assertTrue(wait_until(lambda: popup_window(session) is None, timeout=10),
                            "the list closed")
            session.run("taskkill", "/im", "notepad.exe")


if __name__ == "__main__":
    unittest.main()
