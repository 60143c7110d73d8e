"""Files dragged from an X file manager (an XDnD drag source) onto the ring: a file dropped
on a group becomes a member with its own icon, two files dropped on a shortcut make a
group that holds the old shortcut too, and a file dropped on the recycle bin, answered Yes,
goes to the bin."""

import os
import subprocess
import unittest

from kivo import CTL, KivoSession, read_store, settings_bytes, settle, windows_path
from test_dock_input import dock_window, metrics, slot_point
from wineharness import wait_until

XDND = os.environ.get("KIVO_XDND", "")


def drag(session, point, *paths, hold=300, text=False):
    """Starts the drag source: it drags `paths` (or, with `text`, one text) to `point`,
    waits `hold` ms, drops."""
    return subprocess.Popen([XDND, "--hold", str(hold), *(["--text"] if text else []),
                             str(point[0]), str(point[1]), *map(str, paths)], env=session.env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def answer(session, title, key):
    """Waits for the box titled `title` and answers it with `key`."""
    pattern = f"^{title}$"
    if not wait_until(lambda: session.visible_windows(pattern), timeout=20):
        return False
    box = session.visible_windows(pattern)[0]
    session.xdotool("windowfocus", "--sync", box)
    session.xdotool("key", key)
    return wait_until(lambda: not session.visible_windows(pattern), timeout=20)


class DropFiles(unittest.TestCase):
    def test_drops_on_a_group_a_shortcut_and_the_recycle_bin(self):
        self.assertTrue(XDND, "KIVO_XDND names the drag source")
        with KivoSession() as session:
            session.data_dir.mkdir(parents=True, exist_ok=True)
            session.data_file("KivoCfg.cfg").write_bytes(settings_bytes())
            self.assertEqual(session.close_program(session.start_program()), 0)
            files = session.prefix / "drive_c" / "dropped"
            files.mkdir()
            for name in ("one.txt", "two.txt", "junk.txt"):
                (files / name).write_text(name)
            notepad = session.prefix / "drive_c" / "windows" / "notepad.exe"
            menu = windows_path(session.data_file("KivoMenu.cfg"))
            for args in (["10", "4", "Docs", ""],
                         ["11", "1", "Old", "C:\\windows\\notepad.exe", "--old"]):
                code, _, err = session.run(CTL, "setitem", menu, *args)
                self.assertEqual(code, 0, err)

            program = session.start_program()
            m = metrics(session)
            session.settled_window_count()
            session.xdotool("mousemove", 5, 5)
            settle(1.0)

            # A program dropped on the group "Docs": the badge while over it, then a member.
            source = drag(session, slot_point(m, 10), notepad, hold=1500)
            settle(1.0)
            session.save_screenshot("drop-badge.png")
            self.assertEqual(source.wait(timeout=30), 0, source.stderr.read())
            settle(1.0)

            # A web address dragged from a browser joins the group as a web shortcut.
            source = drag(session, slot_point(m, 10), "https://www.example.com/news", text=True)
            self.assertEqual(source.wait(timeout=30), 0, source.stderr.read())
            settle(1.0)

            # Two files dropped on the shortcut "Old" make a group, named in the input box.
            source = drag(session, slot_point(m, 11), files / "one.txt", files / "two.txt")
            self.assertEqual(source.wait(timeout=30), 0, source.stderr.read())
            title = "^Add Shortcut Group$"
            self.assertTrue(wait_until(lambda: session.visible_windows(title), timeout=20),
                            "the group's name is asked for")
            box = session.visible_windows(title)[0]
            session.xdotool("windowfocus", "--sync", box)
            session.xdotool("type", "Pair")
            session.xdotool("key", "Return")
            self.assertTrue(wait_until(lambda: not session.visible_windows(title), timeout=20))
            settle(1.0)
            session.save_screenshot("drop-group-made.png")

            # A file dropped on the recycle bin, answered Yes, is in the bin afterwards.
            junk = files / "junk.txt"
            source = drag(session, slot_point(m, 2), junk)
            self.assertEqual(source.wait(timeout=30), 0, source.stderr.read())
            self.assertTrue(answer(session, "Delete File", "y"), "the bin question is answered")
            trash = session.root / "home" / ".local" / "share" / "Trash" / "files"
            self.assertTrue(wait_until(lambda: not junk.exists(), timeout=10), "moved away")
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
            kind, _, title, link, target, _, _ = items[11]
            self.assertEqual((kind, title, link, target), (4, "Pair", "", ""))
            members = [items[n][3].lower() for n in groups[11]]
            # (The drag source's Linux paths under drive_c reach the program on drive C:.)
            self.assertEqual(members, ["c:\\windows\\notepad.exe", "c:\\dropped\\one.txt",
                                       "c:\\dropped\\two.txt"])


if __name__ == "__main__":
    unittest.main()
