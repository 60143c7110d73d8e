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

            def titles(slot):
                return [items[m][2] for m in groups[slot]]

            def links(slot):
                return [items[m][3].lower() for m in groups[slot]]

            self.assertEqual(items[3][0], 6, "slot 3 is the all-programs group")
            self.assertTrue(items[3][2].startswith("所有程序组"))

            # System folders and drives: Wine's C: and Z: are fixed drives.
            self.assertIn("Local Disk (C:)", titles(4))
            self.assertIn("Local Disk (Z:)", titles(4))
            self.assertIn("Windows Directory", titles(4))
            self.assertEqual(items[4][5].rsplit("\\", 1)[-1], "Library.png")

            # The accessories that Wine has, in their order; the missing ones are skipped.
            accessories = [link.rsplit("\\", 1)[-1] for link in links(5)]
            for program_name in ("notepad.exe", "cmd.exe", "regedit.exe"):
                self.assertIn(program_name, accessories)
            self.assertLess(accessories.index("notepad.exe"), accessories.index("cmd.exe"))
            self.assertLess(accessories.index("cmd.exe"), accessories.index("regedit.exe"))
            notepad = next(m for m in groups[5] if items[m][3].lower().endswith("notepad.exe"))
            self.assertEqual(items[notepad][0], 5, "a group member")
            self.assertEqual(items[notepad][1], 1, "a program")
            icon = items[notepad][5]
            self.assertTrue(icon.lower().endswith(".png"))
            self.assertNotIn("SysIcons", icon, "notepad's own icon was extracted")

            self.assertTrue(items[6][2].startswith("Microsoft Office 办公套件组"))
            self.assertEqual(len(groups[7]), 13)
            self.assertEqual(titles(7)[0], "KivoSoft")
            self.assertEqual(items[8][2], "互联网")
            self.assertEqual(items[9][2], "电子邮件")
            self.assertEqual(items[10][0], 2, "slot 10 is blank")

            # The extracted icons are PNG files in the user icon folder.
            icon_files = list((session.data_dir / "KivoIcons").glob("*.png"))
            self.assertTrue(icon_files)
            for path in icon_files:
                self.assertEqual(path.read_bytes()[:8], b"\x89PNG\r\n\x1a\n", path.name)

            # A second start loads the stored ring instead of building it again.
            program = session.start_program()
            settle(1.0)
            self.assertEqual(session.close_program(program), 0)
            self.assertEqual(read_store(session), (items, groups))


if __name__ == "__main__":
    unittest.main()
