"""A first start builds the default ring from what this system has, and keeps it."""

import unittest

from kivo import KivoSession, read_store, settle


class DefaultRing(unittest.TestCase):
    def test_first_start_builds_and_stores_the_default_groups(self):
        with KivoSession() as session:
            program = session.start_program()
            settle(1.0)
            session.xdotool("mousemove", 5, 5)
            settle(1.0)
            session.save_screenshot("default-ring.png")
            self.assertEqual(session.close_program(program), 0)
            items, groups = read_store(session)
            titles = lambda slot: [items[m][2] for m in groups[slot]]

            # (slot, type when fixed, title it starts with) of the ring's entries.
            for slot, kind, title in ((3, 6, "所有程序组"), (6, None, "Microsoft Office 办公套件组"),
                                      (8, None, "互联网"), (9, None, "电子邮件"), (10, 2, "")):
                self.assertIn(items[slot][0], (kind,) if kind else range(99), slot)
                self.assertTrue(items[slot][2].startswith(title), items[slot][2])
            # System folders and drives: Wine's C: and Z: are fixed drives.
            for title in ("Local Disk (C:)", "Local Disk (Z:)", "Windows Directory"):
                self.assertIn(title, titles(4))
            self.assertEqual(items[4][5].rsplit("\\", 1)[-1], "Library.png")
            self.assertEqual((len(groups[7]), titles(7)[0]), (13, "KivoSoft"))

            # The accessories that Wine has, in their order; the missing ones are skipped.
            accessories = [items[m][3].lower().rsplit("\\", 1)[-1] for m in groups[5]]
            found = [a for a in accessories if a in ("notepad.exe", "cmd.exe", "regedit.exe")]
            self.assertEqual(found, ["notepad.exe", "cmd.exe", "regedit.exe"])
            kind, klass, _, _, _, icon, _ = items[groups[5][accessories.index("notepad.exe")]]
            self.assertEqual((kind, klass), (5, 1), "a program, member of a group")
            self.assertTrue(icon.lower().endswith(".png"))
            self.assertNotIn("SysIcons", icon, "notepad's own icon was extracted")

            # The extracted icons are PNG files in the user icon folder.
            icon_files = list((session.data_dir / "KivoIcons").glob("*.png"))
            self.assertTrue(icon_files)
            for path in icon_files:
                self.assertEqual(path.read_bytes()[:8], b"\x89PNG\r\n\x1a\n", path.name)

            # A second start loads the stored ring instead of building it again.
            self.assertEqual(session.close_program(session.start_program()), 0)
            self.assertEqual(read_store(session), (items, groups))


if __name__ == "__main__":
    unittest.main()
