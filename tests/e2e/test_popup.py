"""A group's list: beside its slot, a row launches, paging, Esc, a member dragged off, a folder
row; and the search (Ctrl+F), whose matches show in the same list."""

import unittest

from kivo import NOTEPAD, KivoSession, settle, slot_point
from wineharness import wait_until

ROW, WIDTH, DESKTOP_FILES = 38, 268, 30


def popup_window(session):
    """Of the windows named "Kivo Launcher", the one as wide as the list."""
    return next((w for w in session.visible_windows("^Kivo Launcher$")
                 if session.geometry(w)[2] == WIDTH), None)


def row_point(box, row):
    return box[0] + 134, box[1] + 10 + (row - 1) * ROW + ROW // 2


def launches_notepad(test, session):
    test.assertTrue(wait_until(lambda: session.visible_windows(NOTEPAD), timeout=20))
    test.assertIsNone(popup_window(session), "the list closed")
    session.run("taskkill", "/im", "notepad.exe")
    test.assertTrue(wait_until(lambda: not session.visible_windows(NOTEPAD), timeout=15))


class Popup(unittest.TestCase):
    def open_group(self, session, slot, count):
        """Opens a slot's list, checks that it lies beside the slot inside the work area;
        its window and rectangle."""
        m, (sx, sy) = self.m, slot_point(self.m, slot)
        session.xdotool("mousemove", 5, 5)
        settle(0.5)
        session.click(sx, sy)
        window = wait_until(lambda: popup_window(session), timeout=10)
        settle(0.8)  # the fade-in
        x, y, w, h = box = session.geometry(window)
        self.assertEqual(h, count * ROW + 20 if count <= self.rows else self.rows * ROW + 80)
        # Right of the slot, centred on it unless the work area's edge is in the way.
        bottom = m["top"] + m["height"]
        self.assertTrue(sx < x <= sx + 40 and m["top"] <= y and y + h <= bottom, (box, sx, sy))
        self.assertTrue(y in (m["top"], bottom - h) or abs(y + h // 2 - sy) <= 2, (box, sx, sy))
        return window, box

    def close_with_escape(self, session, window):
        session.keys_to(window, "Escape")
        self.assertTrue(wait_until(lambda: popup_window(session) is None, timeout=5))

    def test_open_launch_page_drag_off_and_folder(self):
        with KivoSession() as session:
            # The desktop is a link into a shared folder in a fresh prefix: give this
            # prefix its own, with the files the all-programs group is filled from.
            desktop = session.user_dir / "Desktop"
            desktop.unlink()
            desktop.mkdir()
            for n in range(1, DESKTOP_FILES + 1):
                (desktop / f"Report {n:02d}.txt").write_text(f"report {n}\n")
            session.prepared()
            items, groups = session.store()
            program = session.start_dock(at_rest=False)
            self.m = m = session.metrics()
            self.rows = min((m["height"] - 76) // ROW - 1, 18)

            # The accessories' first row (notepad) starts notepad, and the list goes.
            accessories = groups[5]
            _, box = self.open_group(session, 5, len(accessories))
            session.click(*row_point(box, 1))
            launches_notepad(self, session)

            # The all-programs group pages: the wheel and PgDn show other rows.
            window, (x, y, _, _) = self.open_group(session, 3, DESKTOP_FILES)
            session.xdotool("mousemove", x + WIDTH // 2, y + 4)  # the top edge, over no row
            settle(0.5)
            rows = lambda: session.shot(x + 134, y + 40 + self.rows * ROW // 2, 240)
            first = rows()
            session.xdotool("click", 5)  # the wheel towards the user: one row down
            self.assertTrue(wait_until(lambda: rows() != first, timeout=5), "the wheel scrolls")
            after_wheel = rows()
            session.keys_to(window, "Next")
            self.assertTrue(wait_until(lambda: rows() not in (first, after_wheel), timeout=5))
            self.close_with_escape(session, window)

            # A member dropped on another row stays; dragged off, it goes with its icon file.
            doomed_row, doomed = next((row, n) for row, n in enumerate(accessories, 1)
                                      if row > 1 and "\\kivoicons\\" in items[n][5].lower())
            doomed_icon, kept_icon = (session.unix_path(items[n][5]) for n in (doomed, accessories[0]))
            _, box = self.open_group(session, 5, len(accessories))
            session.drag(row_point(box, doomed_row), row_point(box, 1))
            settle(1.0)
            self.assertTrue(doomed_icon.exists(), "a drop on a row deletes nothing")
            session.drag(row_point(box, doomed_row), (m["left"] + 60, m["top"] + 60))
            self.assertTrue(wait_until(lambda: not doomed_icon.exists(), timeout=5))
            self.assertTrue(kept_icon.exists(), "the other members keep theirs")
            height = lambda: (lambda w: w and session.geometry(w)[3])(popup_window(session))
            self.assertTrue(wait_until(lambda: height() == (len(accessories) - 1) * ROW + 20,
                                       timeout=5), "the list is one row shorter")
            self.close_with_escape(session, popup_window(session))

            # A folder of the system-folders group opens in a file manager.
            folder_row = next(row for row, n in enumerate(groups[4], 1)
                              if items[n][2] == "Windows Directory")
            before = set(session.visible_windows())
            window, box = self.open_group(session, 4, len(groups[4]))
            session.click(*row_point(box, folder_row))
            names = lambda: [session.xdotool("getwindowname", w, check=False).strip()
                             for w in set(session.visible_windows()) - before - {window}]
            self.assertTrue(wait_until(lambda: any("windows" in n.lower() and "Kivo" not in n
                                                   for n in names()), timeout=20), names())
            self.assertEqual(session.close_program(program), 0)
            self.assertEqual(session.store()[1][5], [n for n in accessories if n != doomed],
                             "the member left the stored group, the others kept their order")


class Search(unittest.TestCase):
    def test_search_finds_leaves_and_starts(self):
        with KivoSession() as session:
            session.prepared()  # the default groups: the accessories hold notepad
            session.start_dock(at_rest=False)
            for key in ("Escape", "Return"):
                session.keys_to(session.dock_window(), "ctrl+f")
                settle(0.5)
                session.xdotool("type", "--delay", "120", "notepad")
                self.assertTrue(wait_until(lambda: popup_window(session), timeout=10))
                settle(0.5)
                session.xdotool("key", key)
                self.assertTrue(wait_until(lambda: popup_window(session) is None, timeout=10))
                self.assertTrue(key == "Return" or session.dock_window(), "Esc keeps the dock")
            launches_notepad(self, session)
