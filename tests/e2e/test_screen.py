"""The dock on the screen it is given: at 144 dpi the ring and a group's list are half again
as large as at 96, and a new resolution while the program runs takes the ring to the new work area without a
restart. Rectangles come from kivoctl in real pixels. The resolution changes through RandR
on Xvfb (harness/xrandr_mode.py): Wine's monitor takes the new mode, but Wine does not
broadcast WM_DISPLAYCHANGE for a change made outside it, so kivoctl does, as Windows would."""

import unittest

from kivo import CTL, KivoSession, settings_bytes, settle
from test_dock_input import click, metrics, slot_point
from wineharness import wait_until
import xrandr_mode


def rows(session, *what):
    """kivoctl's answer as rows of numbers."""
    _, out, _ = session.run(CTL, *what)
    return [list(map(int, line.split())) for line in out.splitlines() if line.strip()]


def rects(session, window_class):
    """The visible top-level windows of a class as (left, top, right, bottom)."""
    return [tuple(row[1:5]) for row in rows(session, "windows", window_class)]


def ring_rect(session):
    """The union of the ring's windows: all the resting ring draws."""
    r = rects(session, "KivoLauncherDock")
    return (min(a[0] for a in r), min(a[1] for a in r), max(a[2] for a in r), max(a[3] for a in r))


def veil_and_expected(session):
    """The veil window, and where it belongs: the work area's origin and the size of the
    system metrics (Wine's full-screen height and caption add up to a little more)."""
    _, out, _ = session.run(CTL, "metrics")
    v = {k: int(n) for k, n in (part.split("=") for part in out.split())}
    expected = (v["workleft"], v["worktop"], v["workleft"] + v["cxfullscreen"],
                v["worktop"] + v["cyfullscreen"] + v["cycaption"])
    veil = rects(session, "KivoLauncherVeil")
    return (veil[0] if veil else None), expected


def centre(r):
    return ((r[0] + r[2]) / 2, (r[1] + r[3]) / 2)


def set_dpi(session, dpi):
    for key in (r"HKCU\Control Panel\Desktop",
                r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts"):
        session.reg_add(key, "LogPixels", str(dpi), kind="REG_DWORD")


class Screen(unittest.TestCase):
    def start(self, session, dpi=96):
        set_dpi(session, dpi)
        session.without_quick_start()
        program = session.start_program()
        self.assertGreaterEqual(session.settled_window_count(), 2, "the veil and the ring")
        session.xdotool("mousemove", 5, 5)
        settle(1.0)
        return program

    def test_at_144_dpi_the_ring_is_half_again_as_large(self):
        found = {}
        for dpi in (96, 144):
            with KivoSession(screen="2560x1600x24") as session:
                program = self.start(session, dpi)
                found[dpi] = ring_rect(session), rows(session, "monitors")
                session.save_screenshot(f"screen-dpi-{dpi}.png")
                self.assertEqual(session.close_program(program), 0)
        (normal, monitors96), (large, monitors144) = found[96], found[144]
        # One monitor each time, at the dpi the prefix gives.
        self.assertEqual([m[8] for m in monitors96 + monitors144], [96, 144])
        # Radius 300 -> 450, magnified icons 64 -> 96, hotkey and title boxes alike.
        for axis in (0, 1):
            ratio = (large[axis + 2] - large[axis]) / (normal[axis + 2] - normal[axis])
            self.assertAlmostEqual(ratio, 1.5, delta=0.03, msg=(normal, large))
        for r in (normal, large):
            self.assertAlmostEqual(centre(r)[0], 1280, delta=1, msg=r)

    def test_at_144_dpi_a_groups_list_is_half_again_as_large(self):
        found = {}
        for dpi in (96, 144):
            with KivoSession(screen="2560x1600x24") as session:
                set_dpi(session, dpi)
                session.data_dir.mkdir(parents=True, exist_ok=True)
                session.data_file("KivoCfg.cfg").write_bytes(settings_bytes())
                # A first start builds the default groups.
                self.assertEqual(session.close_program(session.start_program()), 0)
                program = session.start_program()
                session.settled_window_count()
                session.xdotool("mousemove", 5, 5)
                settle(1.0)
                # The accessories' slot, on a ring whose radius is scaled with the dpi.
                m = metrics(session)
                cx, cy = slot_point(m, 0)
                x, y = slot_point(m, 5)
                click(session, round(cx + (x - cx) * dpi / 96), round(cy + (y - cy) * dpi / 96))
                self.assertTrue(wait_until(lambda: rects(session, "KivoLauncherPopup"),
                                           timeout=10), f"the list opens at {dpi} dpi")
                settle(1.0)  # the fade-in
                found[dpi] = rects(session, "KivoLauncherPopup")[0]
                session.save_screenshot(f"popup-dpi-{dpi}.png")
                self.assertEqual(session.close_program(program), 0)
        size = {dpi: (r[2] - r[0], r[3] - r[1]) for dpi, r in found.items()}
        # 268 x (rows x 38 + 20) at 96 dpi: every piece of a plain list scales exactly.
        self.assertEqual(size[96][0], 268, found)
        self.assertEqual((size[144][0] * 2, size[144][1] * 2),
                         (size[96][0] * 3, size[96][1] * 3), found)

    def test_a_new_resolution_moves_the_ring_to_the_new_work_area(self):
        with KivoSession(screen="2560x1600x24") as session:
            program = self.start(session)
            before = ring_rect(session)
            veil, first = veil_and_expected(session)
            self.assertEqual((veil, first[2]), (first, 2560))
            # The ring's place relative to the window's centre (titles make it taller below).
            offset = [b - c for b, c in zip(before, centre(first) * 2)]
            self.assertAlmostEqual(offset[0], -offset[2], delta=1)

            for size in ((1600, 1000), (2560, 1600)):
                self.assertTrue(xrandr_mode.set_mode(session.display.name, *size))
                self.assertTrue(wait_until(
                    lambda: rows(session, "monitors")[0][2:4] == list(size), timeout=20))
                session.run(CTL, "displaychange")
                self.assertTrue(wait_until(lambda: (lambda v: v[0] == v[1])(
                    veil_and_expected(session)), timeout=20), veil_and_expected(session))
                _, expected = veil_and_expected(session)
                self.assertEqual(expected[2], size[0])
                settle(1.0)
                # The default radius (300) fits both screens: the same ring, on the new centre.
                after = ring_rect(session)
                self.assertEqual([a - c for a, c in zip(after, centre(expected) * 2)], offset)
                session.save_screenshot(f"screen-{size[0]}x{size[1]}.png")
            self.assertEqual(session.close_program(program), 0)


if __name__ == "__main__":
    unittest.main()
