"""The settings dialog's backup, reset and restore of the shortcuts: once the program has
closed, the store means what it meant before and every icon holds the same picture."""

import hashlib
import shutil
import unittest
from pathlib import Path

from kivo import DOCK, EXE, KivoSession
from test_settings import DIALOG, open_settings
from wineharness import wait_until

PACKAGE = "C:\\shortcuts.bak"
# Button centres in the dialog's 300 x 300 units: backup, restore, reset to defaults, OK.
BACKUP, RESTORE, RESET, OK = (81, 221), (219, 221), (219, 254), (269, 285)


def meaning(session):
    """The store with each user icon as its picture: a restore writes the package's icons
    under fresh names."""
    items, groups = session.store()
    picture = lambda p: (hashlib.sha1(session.unix_path(p).read_bytes()).hexdigest()
                         if "\\kivoicons\\" in p.lower() else p)
    return {n: item[:5] + (picture(item[5]),) + item[6:] for n, item in items.items()}, groups


class Backup(unittest.TestCase):
    def test_backup_reset_and_restore_give_back_the_store(self):
        with KivoSession() as session:
            session.prepared()
            icons = session.data_dir / "KivoIcons"
            for slot, picture in ((10, "Application.png"), (11, "Library.png")):
                shutil.copy(Path(EXE).parent / "SysIcons" / picture, icons / f"mine{slot}.png")
                session.set_items((slot, 1, f"Mine {slot}", "C:\\windows\\notepad.exe", "", 0,
                                   session.c_path(icons / f"mine{slot}.png")))
            before = meaning(session)
            program = session.start_program()
            dialog = open_settings(self, session)
            known = set(session.visible_windows(DOCK))
            x, y, w, h = session.geometry(dialog)

            def press(button, *steps):
                session.click(x + w * button[0] // 300, y + h * button[1] // 300)
                for title, key, typed in steps:
                    self.assertTrue(session.answer(title, key, typed=typed, known=known), title)

            box = "Kivo Launcher"
            press(BACKUP, ("Kivo Launcher - Backup Shortcuts & Icons", "Return", PACKAGE),
                  (box, "Return", None))
            press(RESET, (box, "y", None), (box, "Return", None))
            self.assertNotIn("Mine 10", str(session.store()[0].get(10)), "the default ring")
            press(RESTORE, ("Kivo Launcher - Restore Shortcuts & Icons", "Return", PACKAGE),
                  (box, "Return", None))
            press(OK)
            self.assertTrue(wait_until(lambda: not session.visible_windows(DIALOG), timeout=10))
            self.assertEqual(session.close_program(program), 0)
            self.assertEqual(meaning(session), before)
