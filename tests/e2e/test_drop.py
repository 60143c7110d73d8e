"""Files dragged from an X file manager (an XDnD drag source) onto the ring: a file dropped
on a group becomes a member with its own icon, a web address joins it as a web shortcut, two
files dropped on a shortcut make a group that holds the old shortcut too, and a file dropped
on the recycle bin, answered Yes, goes to the bin."""

import os
import subprocess
import unittest

from kivo import KivoSession, read_store, settle, slot_point
from wineharness import wait_until

XDND = os.environ.get("KIVO_XDND", "")


class DropFiles(unittest.TestCase):
    def drag(self, session, point, *paths, hold=300, text=False):
        """The drag source drags `paths` (or, with `text`, one text) to `point`, waits
        `hold` ms, drops."""
        source = subprocess.run([XDND, "--hold", str(hold), *(["--text"] if text else []),
                                 str(point[0]), str(point[1]), *map(str, paths)],
                                env=session.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.PIPE, timeout=30)
        self.assertEqual(source.returncode, 0, source.stderr)

    def test_drops_on_a_group_a_shortcut_and_the_recycle_bin(self):
        self.assertTrue(XDND, "KIVO_XDND names the drag source")
        with KivoSession() as session:
            files = session.prefix / "drive_c" / "dropped"
            files.mkdir()
            for name in ("one.txt", "two.txt", "junk.txt"):
                (files / name).write_text(name)
            notepad = session.prefix / "drive_c" / "windows" / "notepad.exe"
            session.prepared((10, 4, "Docs", ""),
                             (11, 1, "Old", "C:\\windows\\notepad.exe", "--old"))
            program = session.start_dock()
            at = lambda slot: slot_point(session.metrics(), slot)

            # A program dropped on the group "Docs" becomes a member, then a web address
            # dragged from a browser joins the group as a web shortcut.
            self.drag(session, at(10), notepad, hold=1500)
            settle(1.0)
            self.drag(session, at(10), "https://www.example.com/news", text=True)
            settle(1.0)

            # Two files dropped on the shortcut "Old" make a group, named in the input box.
            self.drag(session, at(11), files / "one.txt", files / "two.txt")
            self.assertTrue(session.answer("Add Shortcut Group", "Return", typed="Pair"),
                            "the group's name is asked for")
            settle(1.0)
            session.save_screenshot("drop-group-made.png")

            # A file dropped on the recycle bin, answered Yes, is in the bin afterwards.
            junk = files / "junk.txt"
            self.drag(session, at(2), junk)
            self.assertTrue(session.answer("Delete File", "y"), "the bin question is answered")
            self.assertTrue(wait_until(lambda: not junk.exists(), timeout=10), "moved away")
            trash = session.root / "home" / ".local" / "share" / "Trash" / "files"
            self.assertTrue((trash / "junk.txt").exists(), "into the recycle bin")

            self.assertEqual(session.close_program(program), 0)
            items, groups = read_store(session)
            # The group holds notepad with an icon of its own, made from the program.
            self.assertEqual(len(groups[10]), 2)
            self.assertIn("www.example.com/news", items[groups[10][1]][3])
            kind, _, _, link, _, icon, _ = items[groups[10][0]]
            self.assertEqual(kind, 5)
            self.assertTrue(link.lower().endswith("\\windows\\notepad.exe"), link)
            self.assertIn("KivoIcons", icon)
            self.assertTrue(session.unix_path(icon).exists(), icon)
            # The shortcut became the group "Pair": no target of its own, the old one first.
            # (The drag source's Linux paths under drive_c reach the program on drive C:.)
            self.assertEqual(tuple(items[11][i] for i in (0, 2, 3, 4)), (4, "Pair", "", ""))
            self.assertEqual([items[n][3].lower() for n in groups[11]],
                             ["c:\\windows\\notepad.exe", "c:\\dropped\\one.txt",
                              "c:\\dropped\\two.txt"])


if __name__ == "__main__":
    unittest.main()
