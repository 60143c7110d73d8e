"""The dock on the screen it is given: at 144 dpi the ring is half again as large as at 96,
and a monitor that changes its resolution while the program runs takes the ring to the
new work area without a restart. Window rectangles come from kivoctl, in real pixels.
The resolution is changed through RandR on Xvfb (tests/harness/xrandr_mode.py): Xvfb keeps
its frame buffer, but its output takes the new mode and Wine's monitor with it."""

import unittest

from kivo import CTL, KivoSession, settle
from wineharness import wait_until
import xrandr_mode

DPI_KEYS = (r"HKCU\Control Panel\Desktop",
            r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts")


def ring_rect(session):
    """The union of the ring's visible windows (the main ring window and its tiles):
    everything the resting ring draws, as (left, top, right, bottom)."""
    _, out, _ = session.run(CTL, "windows", "KivoLauncherDock")
    rects = [tuple(map(int, line.split()[1:5])) for line in out.splitlines()
             if len(line.split()) >= 5]
    if not rects:
        return None
    return (min(r[0] for r in rects), min(r[1] for r in rects),
            max(r[2] for r in rects), max(r[3] for r in rects))


def veil_rect(session):
    """The veil window: it covers the work area the dock lies on."""
    _, out, _ = session.run(CTL, "windows", "KivoLauncherVeil")
    lines = [line.split() for line in out.splitlines() if len(line.split()) >= 5]
    return tuple(map(int, lines[0][1:5])) if lines else None


def expected_veil(session):
    """Where the dock's windows go on the primary monitor: the work area's origin, the
    size the system metrics give (Wine's full-screen height and caption add up to a little
    more than the screen)."""
    _, out, _ = session.run(CTL, "metrics")
    v = {k: int(n) for k, n in (part.split("=") for part in out.split())}
    return (v["workleft"], v["worktop"], v["workleft"] + v["cxfullscreen"],
            v["worktop"] + v["cyfullscreen"] + v["cycaption"])


def monitors(session):
    _, out, _ = session.run(CTL, "monitors")
    return [list(map(int, line.split())) for line in out.splitlines() if line.strip()]


def centre(rect):
    return ((rect[0] + rect[2]) / 2, (rect[1] + rect[3]) / 2)


class Screen(unittest.TestCase):
    def resting_ring(self, dpi):
        """Starts the program on a 2560 x 1600 screen at `dpi` and returns the ring's
        rectangle and the monitors the program sees."""
        with KivoSession(screen="2560x1600x24") as session:
            if dpi != 96:
                for key in DPI_KEYS:
                    session.reg_add(key, "LogPixels", str(dpi), kind="REG_DWORD")
            session.without_quick_start()
            program = session.start_program()
            self.assertGreaterEqual(session.settled_window_count(), 2, "the veil and the ring")
            session.xdotool("mousemove", 5, 5)
            settle(1.0)
            rect = ring_rect(session)
            seen = monitors(session)
            session.save_screenshot(f"screen-dpi-{dpi}.png")
            self.assertEqual(session.close_program(program), 0)
            return rect, seen

    def test_at_144_dpi_the_ring_is_half_again_as_large(self):
        normal, seen96 = self.resting_ring(96)
        large, seen144 = self.resting_ring(144)
        self.assertEqual([m[8] for m in seen96], [96], seen96)
        self.assertEqual([m[8] for m in seen144], [144], seen144)
        width, height = normal[2] - normal[0], normal[3] - normal[1]
        large_width, large_height = large[2] - large[0], large[3] - large[1]
        # Radius 300 -> 450, icons 64 -> 96 when magnified, hotkey boxes alike: every part of
        # the extent grows by the same factor, to a pixel or two of rounding.
        self.assertAlmostEqual(large_width / width, 1.5, delta=0.02, msg=(normal, large))
        self.assertAlmostEqual(large_height / height, 1.5, delta=0.03, msg=(normal, large))
        # Both rings are centred across the same screen.
        self.assertAlmostEqual(centre(normal)[0], 1280, delta=1, msg=normal)
        self.assertAlmostEqual(centre(large)[0], 1280, delta=1, msg=large)

    def test_a_new_resolution_moves_the_ring_to_the_new_work_area(self):
        with KivoSession(screen="2560x1600x24") as session:
            session.without_quick_start()
            program = session.start_program()
            self.assertGreaterEqual(session.settled_window_count(), 2, "the veil and the ring")
            session.xdotool("mousemove", 5, 5)
            settle(1.0)
            before = ring_rect(session)
            first = expected_veil(session)
            self.assertEqual(veil_rect(session), first)
            self.assertEqual(first[2], 2560)
            # The ring is centred on the window (the titles below the disc make it a little
            # taller downwards): its place relative to the window's centre.
            self.assertAlmostEqual(centre(before)[0], centre(first)[0], delta=2)
            offset = [b - c for b, c in zip(before, centre(first) * 2)]

            self.assertTrue(xrandr_mode.set_mode(session.display.name, 1600, 1000),
                            "the server takes the new mode")
            # Wine takes the new mode (monitor, work area and metrics change) but, unlike
            # Windows, does not broadcast WM_DISPLAYCHANGE for a change made outside it:
            # the broadcast comes from kivoctl, as Windows would send it.
            self.assertTrue(wait_until(lambda: monitors(session)[0][2:4] == [1600, 1000],
                                       timeout=20), monitors(session))
            session.run(CTL, "displaychange")
            second = expected_veil(session)
            self.assertEqual(second[2], 1600, second)
            moved = wait_until(lambda: veil_rect(session) == second, timeout=20)
            self.assertTrue(moved, f"the veil covers the new work area: {veil_rect(session)}")
            settle(1.0)
            after = ring_rect(session)
            session.save_screenshot("screen-resized.png")
            # The default radius (300) fits both screens: the same ring, on the new centre.
            self.assertEqual([a - c for a, c in zip(after, centre(second) * 2)], offset,
                             (before, after, first, second))

            # And back: the program follows every change.
            self.assertTrue(xrandr_mode.set_mode(session.display.name, 2560, 1600))
            self.assertTrue(wait_until(lambda: monitors(session)[0][2:4] == [2560, 1600],
                                       timeout=20), monitors(session))
            session.run(CTL, "displaychange")
            self.assertTrue(wait_until(lambda: veil_rect(session) == first, timeout=20),
                            veil_rect(session))
            settle(1.0)
            self.assertEqual(ring_rect(session), before)
            self.assertEqual(session.close_program(program), 0)


if __name__ == "__main__":
    unittest.main()
