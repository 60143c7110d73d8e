"""A group's list as a user meets it: a click on a group slot opens it beside the slot, a
row starts its program, a long group pages by wheel and PgDn and closes with Esc, a member
dragged off the list is deleted with its icon file, and a folder row opens a file manager."""

import unittest

from kivo import KivoSession, read_store, settle, slot_point
from wineharness import wait_until

ROW = 38
WIDTH = 268
DESKTOP_FILES = 30
NOTEPAD = "Notepad|记事本"


def popup_window(session):
    """The list's window while it is shown: of the windows named "Kivo Launcher" the one
    as wide as the list (the dock's two cover the work area)."""
    return next((w for w in session.visible_windows("^Kivo Launcher$")
                 if session.geometry(w)[2] == WIDTH), None)


def row_point(box, row, paging=False):
    """The middle of list row `row` (1-based) of the list at `box`."""
    return box[0] + 10 + 124, box[1] + (40 if paging else 10) + (row - 1) * ROW + ROW // 2


class Popup(unittest.TestCase):
    def open_group(self, session, slot, count):
        """Opens a slot's list and checks that it lies beside the slot, inside the work
        area; its window and rectangle."""
        m = self.m
        session.xdotool("mousemove", 5, 5)
        settle(0.5)
        session.click(*slot_point(m, slot))
        self.assertTrue(wait_until(lambda: popup_window(session), timeout=10),
                        f"slot {slot}'s list opens")
        settle(0.8)  # the fade-in
        window = popup_window(session)
        x, y, w, h = box = session.geometry(window)
        sx, sy = slot_point(m, slot)
        self.assertEqual((w, h), (WIDTH, count * ROW + 20 if count <= self.rows else
                                  self.rows * ROW + 80))
        # Right of the screen's centre the list opens to the right of the slot, centred on it
        # unless an edge of the work area is in the way.
        self.assertTrue(sx < x <= sx + 40, f"list at x={x}, slot at {sx}")
        clamped = y == m["top"] or y + h == m["top"] + m["height"]
        self.assertTrue(clamped or abs(y + h // 2 - sy) <= 2, f"list at y={y}+{h}, slot {sy}")
        self.assertTrue(m["left"] <= x and x + w <= m["left"] + m["width"], box)
        self.assertTrue(m["top"] <= y and y + h <= m["top"] + m["height"], box)
        return window, box

    def close_with_escape(self, session, window):
        session.keys_to(window, "Escape")
        self.assertTrue(wait_until(lambda: popup_window(session) is None, timeout=5),
                        "Esc closes the list")

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
            items, groups = read_store(session)
            self.assertEqual(len(groups[3]), DESKTOP_FILES, "the desktop's files")
            program = session.start_dock(at_rest=False)
            self.m = m = session.metrics()
            self.rows = min((m["height"] - 76) // ROW - 1, 18)

            # The accessories' first row starts notepad, and the list goes.
            accessories = groups[5]
            self.assertTrue(items[accessories[0]][4].lower().endswith("notepad.exe"))
            _, box = self.open_group(session, 5, len(accessories))
            session.save_screenshot("popup-plain.png")
            session.click(*row_point(box, 1))
            self.assertTrue(wait_until(lambda: session.visible_windows(NOTEPAD), timeout=20),
                            "notepad's window appears")
            self.assertIsNone(popup_window(session), "the list closed")
            session.run("taskkill", "/im", "notepad.exe")
            self.assertTrue(wait_until(lambda: not session.visible_windows(NOTEPAD),
                                       timeout=15), "notepad closed")

            # The all-programs group pages: the wheel and PgDn show other rows.
            window, (x, y, _, _) = self.open_group(session, 3, DESKTOP_FILES)
            # The pointer rests on the list's top edge, over no row.
            session.xdotool("mousemove", x + WIDTH // 2, y + 4)
            settle(0.5)
            rows = lambda: session.shot(x + 10 + 124, y + 40 + self.rows * ROW // 2, 240)
            first = rows()
            session.xdotool("click", 5)  # the wheel towards the user: one row down
            self.assertTrue(wait_until(lambda: rows() != first, timeout=5), "the wheel scrolls")
            after_wheel = rows()
            session.keys_to(window, "Next")
            self.assertTrue(wait_until(lambda: rows() not in (first, after_wheel), timeout=5),
                            "PgDn shows the next page")
            self.close_with_escape(session, window)
            self.assertIsNotNone(session.dock_window(), "the dock stays")

            # A member carried off the list and let go far from it and the ring goes,
            # with the icon file the program made for it; let go on another row, it stays.
            doomed_row, doomed = next(
                (row, member) for row, member in enumerate(accessories, 1)
                if row > 1 and "\\kivoicons\\" in items[member][5].lower())
            doomed_icon = session.unix_path(items[doomed][5])
            kept_icon = session.unix_path(items[accessories[0]][5])
            self.assertTrue(doomed_icon.exists() and kept_icon.exists())
            _, box = self.open_group(session, 5, len(accessories))
            session.drag(row_point(box, doomed_row), row_point(box, 1))
            settle(1.0)
            self.assertTrue(doomed_icon.exists(), "a drop on a row deletes nothing")
            self.assertEqual(session.geometry(popup_window(session)), box)
            session.drag(row_point(box, doomed_row), (m["left"] + 60, m["top"] + 60),
                         screenshot="popup-dragging.png")
            self.assertTrue(wait_until(lambda: not doomed_icon.exists(), timeout=5),
                            "the member's own icon file is deleted")
            self.assertTrue(kept_icon.exists(), "the other members keep theirs")
            height = lambda: (lambda w: w and session.geometry(w)[3])(popup_window(session))
            self.assertTrue(wait_until(lambda: height() == (len(accessories) - 1) * ROW + 20,
                                       timeout=5), "the list is one row shorter")
            self.close_with_escape(session, popup_window(session))

            # A folder of the system-folders group opens in a file manager.
            folder_row = next(row for row, member in enumerate(groups[4], 1)
                              if items[member][2] == "Windows Directory")
            before = set(session.visible_windows())
            window, box = self.open_group(session, 4, len(groups[4]))
            session.click(*row_point(box, folder_row))
            names = lambda: [session.xdotool("getwindowname", w, check=False).strip()
                             for w in set(session.visible_windows()) - before - {window}]
            self.assertTrue(wait_until(lambda: any("windows" in n.lower() and "Kivo" not in n
                                                   for n in names()), timeout=20), names())
            session.save_screenshot("popup-folder-opened.png")

            self.assertEqual(session.close_program(program), 0)
            _, groups_after = read_store(session)
            self.assertEqual(groups_after[5], [n for n in accessories if n != doomed],
                             "the member left the stored group, the others kept their order")
            self.assertEqual(groups_after[3], groups[3])


if __name__ == "__main__":
    unittest.main()
