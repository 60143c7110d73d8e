"""A first start builds the default ring from what this system has, and keeps it."""

import unittest

from kivo import KivoSession, settle


class DefaultRing(unittest.TestCase):
    def test_first_start_builds_and_stores_the_default_groups(self):
        with KivoSession() as session:
            program = session.start_program()
            settle(1.0)
            session.save_screenshot("default-ring.png")
            self.assertEqual(session.close_program(program), 0)
            items, groups = store = session.store()
            titles = lambda slot: [items[m][2] for m in groups[slot]]
            # (slot, type when fixed, title it starts with) of the ring's entries.
            for slot, kind, title in ((3, 6, "所有程序组"), (6, None, "Microsoft Office 办公套件组"),
                                      (8, None, "互联网"), (9, None, "电子邮件"), (10, 2, "")):
                self.assertIn(items[slot][0], (kind,) if kind else range(99), slot)
                self.assertTrue(items[slot][2].startswith(title), items[slot][2])
            # System folders and drives: Wine's C: and Z: are fixed drives.
            self.assertLessEqual({"Local Disk (C:)", "Local Disk (Z:)", "Windows Directory"},
                                 set(titles(4)))
            self.assertEqual((len(groups[7]), titles(7)[0]), (13, "KivoSoft"))
            # The accessories Wine has, in order, their own icons extracted into PNG files.
            found = [items[m] for m in groups[5] if items[m][3].lower().rsplit("\\", 1)[-1] in
                     ("notepad.exe", "cmd.exe", "regedit.exe")]
            self.assertEqual([item[3].lower().rsplit("\\", 1)[-1] for item in found],
                             ["notepad.exe", "cmd.exe", "regedit.exe"])
            self.assertEqual(found[0][:2], (5, 1), "a program, member of a group")
            self.assertEqual(session.unix_path(found[0][5]).read_bytes()[:8], b"\x89PNG\r\n\x1a\n")
            self.assertIn("KivoIcons", found[0][5], "notepad's own icon was extracted")
            # A second start loads the stored ring instead of building it again.
            self.assertEqual(session.close_program(session.start_program()), 0)
            self.assertEqual(session.store(), store)
