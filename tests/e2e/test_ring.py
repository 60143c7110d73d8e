"""The dock ring on screen: shown at start, a slot magnified under the pointer, back at rest
when the pointer leaves. Screenshots are kept as test artifacts."""

import math
import subprocess
import unittest

from kivo import CTL, KivoSession, settle
from wineharness import wait_until


def ring_geometry(session):
    """Where the program puts the centre and slot 1, from the metrics Wine reports."""
    _, out, _ = session.run(CTL, "metrics")
    values = dict(part.split("=") for part in out.split())
    width = int(values["cxfullscreen"])
    height = int(values["cyfullscreen"]) + int(values["cycaption"])
    cx, cy = round(width / 2), round(height / 2)
    radius = min(cy - 80, 300)
    left, top = int(values["workleft"]), int(values["worktop"])
    return {"centre": (left + cx, top + cy), "slot1": (left + cx + radius, top + cy),
            "slot7": (left + cx - radius, top + cy), "radius": radius}


def slot_centre(geometry, slot, count=24):
    """Where slot `slot` of a ring of `count` slots (the default) lies: clockwise from slot 1."""
    angle = (slot - 1) * 2 * math.pi / count
    cx, cy = geometry["centre"]
    return (round(cx + geometry["radius"] * math.cos(angle)),
            round(cy + geometry["radius"] * math.sin(angle)))


def region(path, x, y, size):
    """The pixels of a square of a screenshot as bytes (RGB)."""
    geometry = f"{size}x{size}+{x - size // 2}+{y - size // 2}"
    # The ImageMagick program itself: a "convert" earlier on the PATH may be another tool.
    return subprocess.run(["/usr/bin/convert", path, "-crop", geometry, "+repage", "-depth", "8", "rgb:-"],
                          capture_output=True, check=True).stdout


def brightness(pixels):
    return sum(pixels) / max(len(pixels), 1)


class Ring(unittest.TestCase):
    def test_the_ring_shows_magnifies_the_hovered_slot_and_returns_to_rest(self):
        with KivoSession() as session:
            session.without_quick_start()
            program = session.start_program()
            geometry = ring_geometry(session)
            self.assertTrue(wait_until(lambda: len(session.visible_windows("^Kivo Launcher$")) >= 2,
                                       timeout=20), "the veil and the ring are shown")
            session.xdotool("mousemove", 5, 5)
            settle(1.0)
            resting = str(session.save_screenshot("ring-resting.png"))

            x1, y1 = geometry["slot1"]
            x7, y7 = geometry["slot7"]
            cx, cy = geometry["centre"]
            self.assertGreater(brightness(region(resting, x1, y1, 40)), 30, "slot 1 is drawn")
            self.assertGreater(brightness(region(resting, x7, y7, 40)), 30, "slot 7 is drawn")
            self.assertGreater(brightness(region(resting, cx, cy, 120)), 30, "the centre disc")
            between = (cx + geometry["radius"] // 2, cy - geometry["radius"] // 2)
            self.assertLess(brightness(region(resting, *between, 30)), 5, "empty between")

            session.xdotool("mousemove", x1, y1)
            hovered_ok = wait_until(
                lambda: region(str(session.screenshot(session.root / "h.png")), x1, y1, 72)
                != region(resting, x1, y1, 72), timeout=10)
            self.assertTrue(hovered_ok, "the hovered slot is drawn magnified")
            hovered = str(session.save_screenshot("ring-hovered.png"))
            # The magnified square is larger than the resting one: its edge reaches further.
            edge = (x1 - 30, y1)
            self.assertNotEqual(region(hovered, *edge, 4), region(resting, *edge, 4))
            self.assertEqual(region(hovered, x7, y7, 60), region(resting, x7, y7, 60),
                             "the far side of the ring is untouched")

            # On round the ring, across the parts it is split into, and away: each window
            # that showed a magnified slot shows it at rest again, so the whole ring is
            # exactly as it was.
            for slot in (2, 3, 4, 5):
                x, y = slot_centre(geometry, slot)
                session.xdotool("mousemove", x, y)
                self.assertTrue(wait_until(
                    lambda: region(str(session.screenshot(session.root / "s.png")), x, y, 60)
                    != region(resting, x, y, 60), timeout=10), f"slot {slot} is magnified")
            session.xdotool("mousemove", 5, 5)
            ring = 2 * geometry["radius"] + 140
            back = wait_until(
                lambda: region(str(session.screenshot(session.root / "b.png")), cx, cy, ring)
                == region(resting, cx, cy, ring), timeout=10)
            self.assertTrue(back, "leaving the ring brings all of it back to rest")
            self.assertEqual(session.close_program(program), 0)


if __name__ == "__main__":
    unittest.main()
