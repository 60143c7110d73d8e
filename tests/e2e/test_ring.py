"""The dock ring on screen: slots magnified under the pointer, all back at rest after."""

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
            cx, cy = at(0)
            lit = [brightness(region(resting, *p, s)) > 30
                   for p, s in ((at(1), 40), (at(7), 40), (at(0), 120),
                                ((cx + radius // 2, cy - radius // 2), 30))]
            self.assertEqual(lit, [True, True, True, False], "slots and disc, empty between")
            # Round the ring across its windows, then away: all exactly as at rest again.
            for slot in (1, 2, 3, 4, 5):
                x, y = at(slot)
                session.xdotool("mousemove", x, y)
                self.assertTrue(wait_until(lambda: session.shot(x, y, 72) != region(
                    resting, x, y, 72), timeout=10), f"slot {slot} is magnified")
            self.assertEqual(session.shot(*at(17), 60), region(resting, *at(17), 60))
            session.xdotool("mousemove", 5, 5)
            ring = 2 * radius + 140
            self.assertTrue(wait_until(lambda: session.shot(cx, cy, ring) == region(
                resting, cx, cy, ring), timeout=10), "leaving the ring brings all of it back")
            self.assertEqual(session.close_program(program), 0)
