"""The dock ring on screen: shown at start, a slot magnified under the pointer, back at rest
when the pointer leaves. Screenshots are kept as test artifacts."""

import unittest

from kivo import KivoSession, brightness, region, slot_point
from wineharness import wait_until


def default_ring(session):
    """The metrics, radius and count of the default ring: 24 slots, radius 300 unless the
    screen is too low for it."""
    m = session.metrics()
    return m, min(round(m["height"] / 2) - 80, 300), 24


class Ring(unittest.TestCase):
    def test_the_ring_shows_magnifies_the_hovered_slot_and_returns_to_rest(self):
        with KivoSession() as session:
            session.without_quick_start()
            program = session.start_dock()
            m, radius, count = default_ring(session)
            at = lambda slot: slot_point(m, slot, radius, count)
            resting = session.save_screenshot("ring-resting.png")
            (x1, y1), (x7, y7), (cx, cy) = at(1), at(7), at(0)
            for point, size, what in ((at(1), 40, "slot 1"), (at(7), 40, "slot 7"),
                                      (at(0), 120, "the centre disc")):
                self.assertGreater(brightness(region(resting, *point, size)), 30, what)
            between = (cx + radius // 2, cy - radius // 2)
            self.assertLess(brightness(region(resting, *between, 30)), 5, "empty between")

            session.xdotool("mousemove", x1, y1)
            self.assertTrue(wait_until(lambda: session.shot(x1, y1, 72) != region(
                resting, x1, y1, 72), timeout=10), "the hovered slot is drawn magnified")
            hovered = session.save_screenshot("ring-hovered.png")
            # The magnified square is larger than the resting one: its edge reaches further.
            self.assertNotEqual(region(hovered, x1 - 30, y1, 4), region(resting, x1 - 30, y1, 4))
            self.assertEqual(region(hovered, x7, y7, 60), region(resting, x7, y7, 60),
                             "the far side of the ring is untouched")

            # On round the ring, across the parts it is split into, and away: each window
            # that showed a magnified slot shows it at rest again, so the whole ring is
            # exactly as it was.
            for slot in (2, 3, 4, 5):
                x, y = at(slot)
                session.xdotool("mousemove", x, y)
                self.assertTrue(wait_until(lambda: session.shot(x, y, 60) != region(
                    resting, x, y, 60), timeout=10), f"slot {slot} is magnified")
            session.xdotool("mousemove", 5, 5)
            ring = 2 * radius + 140
            self.assertTrue(wait_until(lambda: session.shot(cx, cy, ring) == region(
                resting, cx, cy, ring), timeout=10), "leaving the ring brings all of it back")
            self.assertEqual(session.close_program(program), 0)


if __name__ == "__main__":
    unittest.main()
