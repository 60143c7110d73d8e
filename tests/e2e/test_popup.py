"""A group's list as a user meets it: a click on a group slot opens it beside the slot, a
row starts its program, a long group pages by wheel and PgDn and closes with Esc, a member
dragged off the list is deleted with its icon file, and a folder row opens a file manager."""

import unittest

from kivo import KivoSession, read_store, settings_bytes, settle
from test_dock_input import click, dock_window, metrics, slot_point
from test_ring import region
from wineharness import wait_until

ROW = 38
WIDTH = 268
DESKTOP_FILES = 30


def popup_window(session):
    """The list's window while it is shown: of the windows named "Kivo Launcher" the one
    as wide as the list (the dock's two cover the work area)."""
    for window in session.visible_windows("^Kivo Launcher$"):
        if geometry(session, window)[2] == WIDTH:
            return window
    return None


def geometry(session, window):
    out = session.xdotool("getwindowgeometry", window)
    x, y = (int(v) for v in out.split("Position: ")[1].split(" ")[0].split(","))
    w, h = (int(v) for v in out.split("Geometry: ")[1].split()[0].split("x"))
    return x, y, w, h


def row_point(box, row, paging=False):
    """The middle of list row `row` (1-based) of the list at `box`."""
    x, y, _, _ = box
    return x + 10 + 124, y + (40 if paging else 10) + (row - 1) * ROW + ROW // 2


def drag(session, start, end, screenshot=None):
    """The left button held on `start` and let go on `end`, after moving in steps."""
    session.xdotool("mousemove", *start)
    settle(0.4)
    session.xdotool("mousedown", 1)
    for step in range(1, 11):
        session.xdotool("mousemove", start[0] + (end[0] - start[0]) * step // 10,
                        start[1] + (end[1] - start[1]) * step // 10)
        settle(0.05)
    settle(0.3)
    if screenshot:
        session.save_screenshot(screenshot)
    session.xdotool("mouseup", 1)


class Popup(unittest.TestCase):
    def open_group(self, session, m, slot):
        session.xdotool("mousemove", 5, 5)
        settle(0.5)
        click(session, *slot_point(m, slot))
        self.assertTrue(wait_until(lambda: popup_window(session), timeout=10),
                        f"slot {slot}'s list opens")
        settle(0.8)  # the fade-in
        return popup_window(session)

    def assert_beside_slot(self, m, box, slot, count):
        x, y, w, h = box
        sx, sy = slot_point(m, slot)
        self.assertEqual((w, h), (WIDTH, count * ROW + 20 if count <= self.rows else
                                  self.rows * ROW + 80))
        # Right of the screen's centre the list opens to the right of the slot, centred on it
        # unless an edge of the work area is in the way.
        self.assertTrue(sx < x <= sx + 40, f"list at x={x}, slot at {sx}")
        clamped = y == m["top"] or y + h == m["top"] + m["height"]
        self.assertTrue(clamped or abs(y + h // 2 - sy) <= 2, f"list at y={y}+{h}, slot {sy}")
        self.assertGreaterEqual(x, m["left"])
        self.assertGreaterEqual(y, m["top"])
        self.assertLessEqual(x + w, m["left"] + m["width"])
        self.assertLessEqual(y + h, m["top"] + m["height"])

    def test_open_launch_page_drag_off_and_folder(self):
        with KivoSession() as session:
            # The desktop is a link into a shared folder in a fresh prefix: give this
            # prefix its own, with the files the all-programs group is filled from.
            desktop = session.user_dir / "Desktop"
            desktop.unlink()
            desktop.mkdir()
            for n in range(1, DESKTOP_FILES + 1):
                (desktop / f"Report {n:02d}.txt").write_text(f"report {n}\n")
            session.data_dir.mkdir(parents=True, exist_ok=True)
            session.data_file("KivoCfg.cfg").write_bytes(settings_bytes())
            # A first start builds the default groups and stores them at its end.
            self.assertEqual(session.close_program(session.start_program()), 0)
            items, groups = read_store(session)
            program = session.start_program()
            m = metrics(session)
            self.rows = min((m["height"] - 76) // ROW - 1, 18)
            session.settled_window_count()
            self.assertEqual(len(groups[3]), DESKTOP_FILES, "the desktop's files")

            # 1. The accessories open beside slot 5, inside the screen.
            window = self.open_group(session, m, 5)
            box = geometry(session, window)
            self.assert_beside_slot(m, box, 5, len(groups[5]))
            session.save_screenshot("popup-plain.png")
            session.xdotool("mousemove", *row_point(box, 2))
            settle(0.5)
            session.save_screenshot("popup-plain-hovered.png")

            # 2. Its first row starts notepad, and the list goes.
            self.assertTrue(items[groups[5][0]][4].lower().endswith("notepad.exe"))
            click(session, *row_point(box, 1))
            notepad = wait_until(lambda: session.visible_windows("Notepad|记事本"), timeout=20)
            self.assertTrue(notepad, "notepad's window appears")
            self.assertIsNone(popup_window(session), "the list closed")
            session.run("taskkill", "/im", "notepad.exe")
            self.assertTrue(wait_until(lambda: not session.visible_windows("Notepad|记事本"),
                                       timeout=15), "notepad closed")

            # 3. The all-programs group pages: the wheel and PgDn show other rows.
            window = self.open_group(session, m, 3)
            box = geometry(session, window)
            self.assert_beside_slot(m, box, 3, DESKTOP_FILES)
            x, y, _, _ = box
            # The pointer rests on the list's top edge, over no row.
            session.xdotool("mousemove", x + WIDTH // 2, y + 4)
            settle(0.5)
            rows = lambda: region(str(session.screenshot(session.root / "p.png")),
                                  x + 10 + 124, y + 40 + self.rows * ROW // 2, 240)
            first = rows()
            session.save_screenshot("popup-paging.png")
            session.xdotool("click", 5)  # the wheel towards the user: one row down
            self.assertTrue(wait_until(lambda: rows() != first, timeout=5), "the wheel scrolls")
            after_wheel = rows()
            session.xdotool("windowfocus", "--sync", window)
            session.xdotool("key", "Next")
            self.assertTrue(wait_until(lambda: rows() not in (first, after_wheel), timeout=5),
                            "PgDn shows the next page")
            session.xdotool("mousemove", *row_point(box, 3, paging=True))
            settle(0.5)
            session.save_screenshot("popup-paging-hovered.png")
            session.xdotool("windowfocus", "--sync", window)
            session.xdotool("key", "Escape")
            self.assertTrue(wait_until(lambda: popup_window(session) is None, timeout=5),
                            "Esc closes the list")
            self.assertIsNotNone(dock_window(session), "the dock stays")

            # 4. A member carried off the list and let go far from it and the ring goes,
            # with the icon file the program made for it.
            accessories = groups[5]
            doomed_row, doomed = next(
                (row, member) for row, member in enumerate(accessories, 1)
                if row > 1 and "\\kivoicons\\" in items[member][5].lower())
            doomed_icon = session.unix_path(items[doomed][5])
            kept_icon = session.unix_path(items[accessories[0]][5])
            self.assertTrue(doomed_icon.exists() and kept_icon.exists())
            window = self.open_group(session, m, 5)
            box = geometry(session, window)
            # Let go on another row, it stays.
            drag(session, row_point(box, doomed_row), row_point(box, 1))
            settle(1.0)
            self.assertTrue(doomed_icon.exists(), "a drop on a row deletes nothing")
            self.assertEqual(geometry(session, popup_window(session)), box)
            drag(session, row_point(box, doomed_row), (m["left"] + 60, m["top"] + 60),
                 "popup-dragging.png")
            self.assertTrue(wait_until(lambda: not doomed_icon.exists(), timeout=5),
                            "the member's own icon file is deleted")
            self.assertTrue(kept_icon.exists(), "the other members keep theirs")
            shrunk = lambda: geometry(session, popup_window(session))[3] if \
                popup_window(session) else None
            self.assertTrue(wait_until(lambda: shrunk() == (len(accessories) - 1) * ROW + 20,
                                       timeout=5), "the list is one row shorter")
            session.xdotool("windowfocus", "--sync", popup_window(session))
            session.xdotool("key", "Escape")
            wait_until(lambda: popup_window(session) is None, timeout=5)

            # 5. A folder of the system-folders group opens in a file manager.
            folder_row = next(row for row, member in enumerate(groups[4], 1)
                              if items[member][2] == "Windows Directory")
            before = set(session.visible_windows())
            window = self.open_group(session, m, 4)
            box = geometry(session, window)
            self.assert_beside_slot(m, box, 4, len(groups[4]))
            click(session, *row_point(box, folder_row))
            opened = lambda: [w for w in set(session.visible_windows()) - before
                              if w != window and "Kivo" not in
                              session.xdotool("getwindowname", w, check=False)]
            self.assertTrue(wait_until(opened, timeout=20), "a file manager's window appears")
            names = [session.xdotool("getwindowname", w).strip() for w in opened()]
            self.assertTrue(any("windows" in n.lower() for n in names), names)
            session.save_screenshot("popup-folder-opened.png")

            self.assertEqual(session.close_program(program), 0)
            items_after, groups_after = read_store(session)
            self.assertEqual(groups_after[5], [n for n in accessories if n != doomed],
                             "the member left the stored group, the others kept their order")
            self.assertEqual(groups_after[3], groups[3])


if __name__ == "__main__":
    unittest.main()
