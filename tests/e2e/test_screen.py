"""The ring at 96 and 144 dpi, and moved to the new work area when the resolution changes
while it runs (RandR on Xvfb; Wine sends no WM_DISPLAYCHANGE for that, so kivoctl does)."""

import unittest

from kivo import CTL, KivoSession, settle
from wineharness import wait_until
import xrandr_mode


def ring_and_veil(session):
    """The union of the ring's windows, the veil's rectangle, and where the veil belongs: the
    work area's origin and the size of the system metrics."""
    r, m = session.windows("KivoLauncherDock"), session.metrics()
    veil = session.windows("KivoLauncherVeil")
    return ((min(a[0] for a in r), min(a[1] for a in r), max(a[2] for a in r), max(a[3] for a in r)),
            veil[0][:4] if veil else None,
            (m["left"], m["top"], m["left"] + m["width"], m["top"] + m["height"]))


def centred(r, area):
    """`r` relative to the centre of `area`."""
    return [a - c for a, c in zip(r, ((area[0] + area[2]) / 2, (area[1] + area[3]) / 2) * 2)]


class Screen(unittest.TestCase):
    def test_dpi_scales_the_ring_and_a_new_resolution_moves_it_to_the_new_work_area(self):
        found = {}
        for dpi in (96, 144):
            with KivoSession(screen="2560x1600x24") as session:
                for key in (r"HKCU\Control Panel\Desktop",
                            r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts"):
                    session.reg_add(key, "LogPixels", str(dpi), kind="REG_DWORD")
                session.without_quick_start()
                program = session.start_dock()
                found[dpi], veil, area = ring_and_veil(session)
                self.assertEqual((veil, area[2]), (area, 2560))
                offset = centred(found[dpi], area)
                self.assertAlmostEqual(offset[0], -offset[2], delta=1, msg="centred across")
                for size in ((1600, 1000), (2560, 1600)) if dpi == 96 else ():
                    self.assertTrue(xrandr_mode.set_mode(session.display.name, *size))
                    self.assertTrue(wait_until(lambda: session.run(CTL, "monitors")[1].split()[2:4] ==
                                               [str(n) for n in size], timeout=20))
                    session.run(CTL, "displaychange")
                    self.assertTrue(wait_until(lambda: (lambda r: r[1] == r[2])(
                        ring_and_veil(session)), timeout=20), "the veil covers the new work area")
                    settle(1.0)
                    # The default radius (300) fits both screens: the same ring, new centre.
                    ring, _, area = ring_and_veil(session)
                    self.assertEqual((area[2], centred(ring, area)), (size[0], offset))
                    session.save_screenshot(f"screen-{size[0]}x{size[1]}.png")
                self.assertEqual(session.close_program(program), 0)
        # Radius 300 -> 450, magnified icons 64 -> 96, hot key and title boxes alike.
        for axis in (0, 1):
            ratio = (found[144][axis + 2] - found[144][axis]) / (found[96][axis + 2] - found[96][axis])
            self.assertAlmostEqual(ratio, 1.5, delta=0.03, msg=found)
