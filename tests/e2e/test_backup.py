"""The shortcut backup as a user meets it in the settings dialog: the shortcuts and their
icons saved to a file of the user's choice, the store reset to the default ring, then the
file restored; once the program has closed, the menu file means what it meant before the
backup and every icon it names holds the same picture."""

import shutil
import struct
import unittest
from pathlib import Path

from kivo import EXE, MENU_FILE_SIZE, KivoSession, settle
from test_settings import DIALOG, open_settings
from wineharness import wait_until

SAVE_DIALOG = "^Kivo Launcher - Backup Shortcuts & Icons$"
OPEN_DIALOG = "^Kivo Launcher - Restore Shortcuts & Icons$"
BOX = "^Kivo Launcher$"
PACKAGE = "C:\\shortcuts.bak"

# The menu file read by hand: groups 3..36 (a dimension count, the element count, the lower
# bound, the elements, the member count), then items 0..1024 at their fixed widths.
GROUP_HEAD = struct.Struct("<hii")
ITEM = struct.Struct("<iBhihi255s128s255s255s255s128si")
ITEM_FIELDS = ("type", "class", "system", "command", "reserved", "image", "link", "title",
               "custom_icon", "icon", "target", "arguments", "run_window")
TEXTS = ("link", "title", "custom_icon", "icon", "target", "arguments")
ICON_FIELDS = ("icon", "custom_icon")
SLOTS_WITH_ICONS = (10, 11)
RECYCLE_BIN = 2
# Centres of the buttons in dialog units, from the dialog's resource:
# "备份所有快捷方式和图标", "还原所有快捷方式和图标", "恢复所有默认快捷方式和图标".
BACKUP_SHORTCUTS, RESTORE_SHORTCUTS, RESET_SHORTCUTS = (81, 221), (219, 221), (219, 254)
OK = (269, 285)


def read_menu(data):
    """({group: (dimensions, lower bound, members array, count)}, [item dict, ...])."""
    groups, offset = {}, 0
    for group in range(3, 37):
        dimensions, elements, lower = GROUP_HEAD.unpack_from(data, offset)
        offset += GROUP_HEAD.size
        members = struct.unpack_from(f"<{elements}i", data, offset)
        offset += 4 * elements
        (count,) = struct.unpack_from("<i", data, offset)
        offset += 4
        groups[group] = (dimensions, lower, members, count)
    items = []
    for _ in range(1025):
        item = dict(zip(ITEM_FIELDS, ITEM.unpack_from(data, offset)))
        offset += ITEM.size
        for name in TEXTS:
            # Fixed texts: the ANSI code page (GBK here), blank-padded, cut at a NUL.
            item[name] = item[name].split(b"\0")[0].decode("gbk", "replace").strip(" ")
        items.append(item)
    if offset != len(data):
        raise AssertionError(f"the menu file has {len(data)} bytes, its layout {offset}")
    return groups, items


def to_unix(session, path):
    """A C: or Z: path of the prefix as a Linux path."""
    drive, rest = path[0].upper(), path[2:].replace("\\", "/").lstrip("/")
    return (session.prefix / "drive_c" if drive == "C" else Path("/")) / rest


def to_windows(session, path):
    """A Linux path below the prefix's C: drive as the program names it."""
    return "C:\\" + str(path.relative_to(session.prefix / "drive_c")).replace("/", "\\")


def meaning(number, item):
    """What an item says, without what the running dock rewrites by itself: the recycle-bin
    entry takes the empty- or full-bin template's command and picture every second, so
    those fields follow the bin, not the store."""
    if number == RECYCLE_BIN:
        return {k: v for k, v in item.items() if k not in ("system", "command", "image")}
    return item


class Backup(unittest.TestCase):
    def icon_bytes(self, session, items):
        """The bytes of each icon file an item names: {(item, field): bytes or None}."""
        paths = {(n, f): to_unix(session, item[f]) for n, item in enumerate(items)
                 for f in ICON_FIELDS if item[f]}
        return {k: p.read_bytes() if p.is_file() else None for k, p in paths.items()}

    def click(self, session, dialog, centre):
        """Clicks a button of the settings dialog at its centre in dialog units: the dialog
        is 300 by 300 units, and its window is its client area (no window manager draws a
        frame)."""
        x, y, w, h = session.geometry(dialog)
        session.click(x + w * centre[0] // 300, y + h * centre[1] // 300)

    def answer(self, session, key, what):
        """Answers the message box that appears with `key`. The dock's own window bears the
        same name as the boxes, so a box is a window of that name that was not there."""
        boxes = lambda: [w for w in session.visible_windows(BOX) if w not in self.program_named]
        shown = wait_until(boxes, timeout=30)
        self.assertTrue(shown, what)
        session.keys_to(shown[0])
        settle(0.3)
        session.xdotool("key", key)
        self.assertTrue(wait_until(lambda: not boxes(), timeout=30), f"{what}: answered")

    def choose_file(self, session, pattern, what):
        dialogs = wait_until(lambda: session.visible_windows(pattern), timeout=30)
        self.assertTrue(dialogs, what)
        session.keys_to(dialogs[0])
        settle(0.8)
        # The name box has the focus and holds the proposed name: replace it.
        session.xdotool("key", "Home", "shift+End")
        session.xdotool("type", "--delay", "30", PACKAGE)
        settle(0.3)
        session.xdotool("key", "Return")
        self.assertTrue(wait_until(lambda: not session.visible_windows(pattern), timeout=30),
                        f"{what}: the file is taken")

    def test_backup_reset_and_restore_give_back_the_store(self):
        with KivoSession() as session:
            session.prepared()
            # Two ring shortcuts with pictures of their own in the user icon folder.
            icons = session.data_dir / "KivoIcons"
            pictures = Path(EXE).parent / "SysIcons"
            for slot, picture in zip(SLOTS_WITH_ICONS, ("Application.png", "Library.png")):
                shutil.copy(pictures / picture, icons / f"mine{slot}.png")
                session.set_items((slot, 1, f"Mine {slot}", "C:\\windows\\notepad.exe", "", 0,
                                   to_windows(session, icons / f"mine{slot}.png")))
            before_bytes = session.data_file("KivoMenu.cfg").read_bytes()
            groups_before, items_before = read_menu(before_bytes)
            icons_before = self.icon_bytes(session, items_before)
            for slot in SLOTS_WITH_ICONS:
                self.assertIsNotNone(icons_before[(slot, "icon")], "the test's icons are there")

            program = session.start_program()
            dialog = open_settings(self, session)
            self.program_named = set(session.visible_windows(BOX))

            self.click(session, dialog, BACKUP_SHORTCUTS)
            self.choose_file(session, SAVE_DIALOG, "the backup asks for a file")
            self.answer(session, "Return", "the backup reports success")
            package = to_unix(session, PACKAGE)
            _, packaged = read_menu(package.read_bytes()[:MENU_FILE_SIZE])
            self.assertEqual([n for n, (a, b) in enumerate(zip(items_before, packaged))
                              if meaning(n, a) != meaning(n, b)], [],
                             "the package starts with the store as it was")

            # The reset, answered Yes, builds the default ring again.
            self.click(session, dialog, RESET_SHORTCUTS)
            self.answer(session, "y", "the reset asks first")
            self.answer(session, "Return", "the reset reports success")
            settle(0.5)
            _, reset_items = read_menu(session.data_file("KivoMenu.cfg").read_bytes())
            self.assertEqual([reset_items[slot]["title"] == f"Mine {slot}"
                              for slot in SLOTS_WITH_ICONS], [False, False],
                             "the reset gives the default ring")

            self.click(session, dialog, RESTORE_SHORTCUTS)
            self.choose_file(session, OPEN_DIALOG, "the restore asks for a file")
            self.answer(session, "Return", "the restore reports success")
            self.click(session, dialog, OK)
            self.assertTrue(wait_until(lambda: not session.visible_windows(DIALOG), timeout=10),
                            "确定 closes the dialog")
            self.assertEqual(session.close_program(program), 0)

            groups_after, items_after = read_menu(session.data_file("KivoMenu.cfg").read_bytes())
            self.assertEqual(groups_after, groups_before, "the groups are as before")
            icons_after = self.icon_bytes(session, items_after)
            user_folder = to_windows(session, icons).upper()
            for number, (old, new) in enumerate(zip(items_before, items_after)):
                for field in ICON_FIELDS:
                    if old[field].upper().startswith(user_folder + "\\"):
                        # A restore writes the package's icons under fresh names, so an
                        # icon of the user folder is the same when its picture is.
                        self.assertEqual(icons_after.get((number, field)),
                                         icons_before[(number, field)],
                                         f"item {number} {field}: the same picture")
                        old, new = dict(old, **{field: ""}), dict(new, **{field: ""})
                self.assertEqual(meaning(number, new), meaning(number, old),
                                 f"item {number} is as before")


if __name__ == "__main__":
    unittest.main()
