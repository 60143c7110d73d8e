"""Files and a web address dragged from an X file manager (an XDnD drag source) onto a group,
a shortcut and the recycle bin."""

import unittest

from kivo import KivoSession, settle, slot_point
from wineharness import wait_until
from xdnd import drop


class DropFiles(unittest.TestCase):
    def test_drops_on_a_group_a_shortcut_and_the_recycle_bin(self):
        with KivoSession() as session:
            files = session.prefix / "drive_c" / "dropped"
            files.mkdir()
            for name in ("one.txt", "two.txt", "junk.txt"):
                (files / name).write_text(name)
            session.prepared((10, 4, "Docs", ""), (11, 1, "Old", "C:\\windows\\notepad.exe"))
            program = session.start_dock()
            m = session.metrics()

            def drag(slot, *paths, hold=0.3, text=False):
                self.assertTrue(drop(session.display.name, *slot_point(m, slot), paths, text, hold))
                settle(1.0)

            drag(10, session.prefix / "drive_c" / "windows" / "notepad.exe", hold=1.5)
            drag(10, "https://www.example.com/news", text=True)
            # Two files dropped on the shortcut "Old" make a group, named in the input box.
            drag(11, files / "one.txt", files / "two.txt")
            self.assertTrue(session.answer("Add Shortcut Group", "Return", typed="Pair"))
            drag(2, files / "junk.txt")
            self.assertTrue(session.answer("Delete File", "y"), "the bin question is answered")
            trash = session.root / "home" / ".local" / "share" / "Trash" / "files"
            self.assertTrue(wait_until(lambda: (trash / "junk.txt").exists(), timeout=10))
            self.assertFalse((files / "junk.txt").exists())

            self.assertEqual(session.close_program(program), 0)
            items, groups = session.store()
            notepad, web = (items[n] for n in groups[10])
            self.assertIn("www.example.com/news", web[3])
            self.assertEqual(notepad[0], 5)
            self.assertTrue(notepad[3].lower().endswith("\\windows\\notepad.exe"), notepad)
            self.assertTrue(session.unix_path(notepad[5]).exists() and "KivoIcons" in notepad[5])
            # The shortcut became the group "Pair": no target of its own, the old one first.
            self.assertEqual(tuple(items[11][i] for i in (0, 2, 3, 4)), (4, "Pair", "", ""))
            self.assertEqual([items[n][3].lower() for n in groups[11]],
                             ["c:\\windows\\notepad.exe", "c:\\dropped\\one.txt",
                              "c:\\dropped\\two.txt"])
