"""The dock on the screen it is given: at 144 dpi the ring and a group's list are half again
as large as at 96, and a new resolution while the program runs takes the ring to the new work area without a
restart. Rectangles come from kivoctl in real pixels. The resolution changes through RandR
on Xvfb (harness/xrandr_mode.py): Wine's monitor takes the new mode, but Wine does not
broadcast WM_DISPLAYCHANGE for a change made outside it, so kivoctl does, as Windows would."""

import unittest

from kivo import CTL, KivoSession, settle, slot_point
from wineharness import wait_until
import xrandr_mode


def rows(session, *what):
    """kivoctl's answer as rows of numbers."""
    _, out, _ = session.run(CTL, *what)
    return [list(map(int, line.split())) for line in out.splitlines() if line.strip()]


def ring_rect(session):
    """The union of the ring's windows: all the resting ring draws."""
    r = session.windows("KivoLauncherDock")
    return (min(a[0] for a in r), min(a[1] for a in r), max(a[2] for a in r), max(a[3] for a in r))


def veil_and_expected(session):
    """The veil window, and where it belongs: the work area's origin and the size of the
    system metrics (Wine's full-screen height and caption add up to a little more)."""
    m = session.metrics()
    veil = session.windows("KivoLauncherVeil")
    return (veil[0][:4] if veil else None), (m["left"], m["top"], m["left"] + m["width"],
                                             m["top"] + m["height"])


def centre(r):
    return ((r[0] + r[2]) / 2, (r[1] + r[3]) / 2)


def set_dpi(session, dpi):
    for key in (r"HKCU\Control Panel\Desktop",
                r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts"):
        session.reg_add(key, "LogPixels", str(dpi), kind="REG_DWORD")


class Screen(unittest.TestCase):
    def test_dpi_scales_the_ring_and_a_new_resolution_moves_it_to_the_new_work_area(self):
        found = {}
        for dpi in (96, 144):
            with KivoSession(screen="2560x1600x24") as session:
                set_dpi(session, dpi)
                session.without_quick_start()
                program = session.start_dock()
                found[dpi] = ring_rect(session), rows(session, "monitors")
                session.save_screenshot(f"screen-dpi-{dpi}.png")
                if dpi == 96:
                    self.change_resolution(session)
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
                session.prepared()  # a first start builds the default groups
                program = session.start_dock()
                # The accessories' slot, on a ring whose radius is scaled with the dpi.
                m = session.metrics()
                cx, cy = slot_point(m, 0)
                x, y = slot_point(m, 5)
                session.click(round(cx + (x - cx) * dpi / 96), round(cy + (y - cy) * dpi / 96))
                self.assertTrue(wait_until(lambda: session.windows("KivoLauncherPopup"),
                                           timeout=10), f"the list opens at {dpi} dpi")
                settle(1.0)  # the fade-in
                found[dpi] = session.windows("KivoLauncherPopup")[0]
                session.save_screenshot(f"popup-dpi-{dpi}.png")
                self.assertEqual(session.close_program(program), 0)
        size = {dpi: (r[2] - r[0], r[3] - r[1]) for dpi, r in found.items()}
        # 268 x (rows x 38 + 20) at 96 dpi: every piece of a plain list scales exactly.
        self.assertEqual(size[96][0], 268, found)
        self.assertEqual((size[144][0] * 2, size[144][1] * 2),
                         (size[96][0] * 3, size[96][1] * 3), found)

    def change_resolution(self, session):
        """A new resolution while the program runs takes the ring, without a restart, to the
        new work area, and back."""
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


if __name__ == "__main__":
    unittest.main()
