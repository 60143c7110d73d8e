"""The soak run of scripts/soak.sh (see there)."""

import os
import random
import statistics
import subprocess
import sys
import time

from perf_support import (CTL, GROUP_SLOTS, SLOTS, KivoSession, close_group, figures,
                          fill_store, open_group, screen_metrics, settle, slot_point,
                          windows_path)

MB = 1024 * 1024
CYCLE = 12  # actions in one scripted cycle (one xdotool call)


def cycle_commands(rng, m, boxes, pace):
    """One cycle: three hovers, a click on a group, its list paged by wheel and keys, hovers
    over its rows, and the list closed. Returns xdotool's arguments and the action count.
    The pauses are multiplied by `pace` (KIVO_SOAK_PACE)."""
    def pause(seconds):
        return ["sleep", f"{seconds * pace:.3f}"]
    args = []
    for _ in range(3):
        args += ["mousemove", *slot_point(m, rng.randint(1, SLOTS)), *pause(0.04)]
    slot = rng.choice(GROUP_SLOTS)
    window, x, y, w, h = boxes[slot]
    args += ["mousemove", *slot_point(m, slot), *pause(0.1), "click", "1", *pause(0.5)]
    args += ["mousemove", x + w // 2, y + h // 2, *pause(0.05)]
    args += ["click", "5", *pause(0.05), "click", "5", *pause(0.05), "click", "4", *pause(0.05)]
    args += ["windowfocus", "--sync", window, "key", "Next", *pause(0.05), "key", "Prior",
             *pause(0.05)]
    args += ["mousemove", x + w // 2, y + 60, *pause(0.05)]
    args += ["key", "Escape", *pause(0.3)]
    return args, CYCLE


def snapshot(session, done, began):
    f = figures(session)
    print(f"{done:6d} actions {time.monotonic() - began:7.0f} s  gdi {f['gdi']:5d}  "
          f"user {f['user']:5d}  windows {f['windows']:4d}  private {f['private'] / MB:7.2f} MB  "
          f"working set {f['workingset'] / MB:7.2f} MB", flush=True)
    return f


def main():
    actions = int(os.environ.get("KIVO_SOAK_ACTIONS", "10000"))
    gdi_tolerance = int(os.environ.get("KIVO_SOAK_GDI_TOLERANCE", "5"))
    private_tolerance = float(os.environ.get("KIVO_SOAK_PRIVATE_TOLERANCE_MB", "2")) * MB
    samples = int(os.environ.get("KIVO_SOAK_SAMPLES", "20"))
    pace = float(os.environ.get("KIVO_SOAK_PACE", "1"))
    print(f"load average: {' '.join(f'{v:.1f}' for v in os.getloadavg())}")
    rng = random.Random(int(os.environ.get("KIVO_SOAK_SEED", "1")))
    with KivoSession() as session:
        fill_store(session)
        # One start and end first, so the data files are in the program's own form: what
        # the run compares is then what the actions themselves changed. It runs a few
        # seconds, so the recycle bin's watch (every second) has given the bin entry the
        # picture of the bin's state, which the program keeps in the menu file.
        warm = session.start_program()
        settle(3)
        session.close_program(warm)
        menu = session.data_file("KivoMenu.cfg").read_bytes()
        config = session.data_file("KivoCfg.cfg").read_bytes()
        program = session.start_program()
        settle(2)
        m = screen_metrics(session)
        # Where each group's list opens (it opens at the same place each time).
        boxes = {}
        for slot in GROUP_SLOTS:
            boxes[slot] = open_group(session, m, slot)
            close_group(session, boxes[slot])
        settle(1)

        began = time.monotonic()
        history = [(0, snapshot(session, 0, began))]
        every = max(CYCLE, actions // samples)
        done, next_sample = 0, every
        while done < actions:
            args, count = cycle_commands(rng, m, boxes, pace)
            subprocess.run(["xdotool", *map(str, args)], env=session.env, timeout=60,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            done += count
            if program.poll() is not None:
                print(f"the program ended after {done} actions (exit {program.returncode})")
                return 1
            if done >= next_sample or done >= actions:
                settle(0.5)
                history.append((done, snapshot(session, done, began)))
                next_sample += every
        elapsed = time.monotonic() - began
        session.close_program(program)
        same_menu = session.data_file("KivoMenu.cfg").read_bytes() == menu
        same_config = session.data_file("KivoCfg.cfg").read_bytes() == config
        if not same_menu:
            # What changed, as kivoctl reads the two files.
            before = session.root / "KivoMenu.before"
            before.write_bytes(menu)
            old = set(session.run(CTL, "store", windows_path(before))[1].splitlines())
            new = set(session.run(CTL, "store", windows_path(session.data_file("KivoMenu.cfg")))[1]
                      .splitlines())
            for line in sorted(old - new)[:10]:
                print(f"  before: {line}")
            for line in sorted(new - old)[:10]:
                print(f"  after:  {line}")
            now = session.data_file("KivoMenu.cfg").read_bytes()
            offsets = [i for i in range(min(len(now), len(menu))) if now[i] != menu[i]]
            print(f"  {len(offsets)} bytes differ (sizes {len(menu)}, {len(now)}); first at "
                  f"{offsets[:8]} (item records are 1297 bytes, item 0 first)")

    # Warm-up: the first quarter of the samples (caches of the lists filled, heaps grown).
    settled = history[max(1, len(history) // 4):]
    gdi = [f["gdi"] for _, f in settled]
    private = [f["private"] for _, f in settled]
    gdi_flat = all(abs(v - statistics.median(gdi)) <= gdi_tolerance for v in gdi)
    private_flat = all(abs(v - statistics.median(private)) <= private_tolerance for v in private)
    print(f"{done} actions in {elapsed:.0f} s ({elapsed / done * 1000:.0f} ms an action)")
    print(f"after warm-up ({len(settled)} samples): GDI objects {min(gdi)}..{max(gdi)} "
          f"(median ± {gdi_tolerance}: {'flat' if gdi_flat else 'NOT flat'}); private bytes "
          f"{min(private) / MB:.2f}..{max(private) / MB:.2f} MB (median ± "
          f"{private_tolerance / MB:.0f} MB: {'flat' if private_flat else 'NOT flat'})")
    print(f"menu file unchanged: {'yes' if same_menu else 'NO'}; settings file unchanged: "
          f"{'yes' if same_config else 'NO'}")
    print(f"load average: {' '.join(f'{v:.1f}' for v in os.getloadavg())}")
    return 0 if gdi_flat and private_flat and same_menu and same_config else 1


if __name__ == "__main__":
    sys.exit(main())
