#!/usr/bin/env python3
"""Start-up and memory figures of the real program under Wine (run by scripts/bench.sh).

1. The default ring of a first start: private bytes and working set once it shows.
2. A full store (scripts/perf_support.py): KIVO_START_RUNS starts (default 5) with the ring's
   cached copies removed and as many with them kept, alternating, each printing where the
   start went (the program writes its timeline to KIVO_START_TIMELINE); medians per phase.
3. The full store after start and after paging through the All Programs group: memory and
   GDI objects."""

import os
import statistics
import time

from perf_support import (KivoSession, close_group, figures, fill_store, open_group,
                          page_through, screen_metrics, settle, wait_until, windows_path)
import kivo  # noqa: E402 (perf_support makes it importable)

MB = 1024 * 1024


def memory_line(label, f):
    return (f"{label}: private {f['private'] / MB:.1f} MB, working set {f['workingset'] / MB:.1f} MB "
            f"(peak {f['peakworkingset'] / MB:.1f} MB), GDI objects {f['gdi']}, windows {f['windows']}")


def timed_start(session, timeline):
    timeline.unlink(missing_ok=True)
    began = time.monotonic()
    program = session.start_program()
    if not wait_until(timeline.exists, timeout=60):
        raise RuntimeError("no timeline was written")
    settle(0.3)
    outside = time.monotonic() - began
    phases, extra = [], {}
    for line in timeline.read_text().splitlines():
        parts = line.rsplit(None, 2)
        if len(parts) == 3 and not line.startswith(("private", "working", "gdi")):
            phases.append((parts[0], float(parts[1]), float(parts[2])))
        else:
            name, value = line.rsplit(None, 1)
            extra[name] = int(value)
    return program, phases, extra, outside


def main():
    runs = int(os.environ.get("KIVO_START_RUNS", "5"))
    load = os.getloadavg()
    print(f"load average at start: {load[0]:.1f} {load[1]:.1f} {load[2]:.1f}")

    with KivoSession() as session:
        code, out, _ = session.run(kivo.CTL, "ownfigures")
        if code == 0:
            own = {k: int(v) for k, v in (part.split("=") for part in out.split())}
            print(f"baseline, a console program of this build (kivoctl): private "
                  f"{own['private'] / MB:.1f} MB, working set {own['workingset'] / MB:.1f} MB")
        session.without_quick_start()
        program = session.start_program()
        settle(2)
        print(memory_line("default ring of a first start, after start", figures(session)))
        session.close_program(program)

    with KivoSession() as session:
        fill_store(session)
        cache = session.data_dir / "KivoIcons" / "cache"
        timeline = session.root / "timeline.txt"
        session.env["KIVO_START_TIMELINE"] = windows_path(timeline)
        # KIVO_COMPARE_EXE names another build of the program (an earlier one, say): its
        # starts alternate with this build's, so both see the same load.
        builds = [("this build", kivo.EXE)]
        if os.environ.get("KIVO_COMPARE_EXE"):
            builds.append(("compared build", os.environ["KIVO_COMPARE_EXE"]))
        modes = [(f"{label}, ring copies {kept}", exe, kept == "removed")
                 for label, exe in builds for kept in ("removed", "kept")]
        results = {mode: [] for mode, _, _ in modes}
        for run in range(runs):
            # Each round in the other order, so neither build always follows the other.
            for mode, exe, remove in (modes if run % 2 == 0 else modes[::-1]):
                if remove and cache.exists():
                    for copy in cache.glob("*.128.px32"):
                        copy.unlink()
                kivo.EXE = exe
                program, phases, extra, outside = timed_start(session, timeline)
                results[mode].append((phases, extra, outside))
                session.close_program(program)
        kivo.EXE = builds[0][1]
        for mode, samples in results.items():
            if not samples:
                continue
            print(f"\nfull store, {mode}: medians of {len(samples)} starts (ms; step, since "
                  f"process start)")
            for i, (name, _, _) in enumerate(samples[0][0]):
                step = statistics.median(s[0][i][1] for s in samples)
                total = statistics.median(s[0][i][2] for s in samples)
                print(f"  {name:<28} {step:8.1f} {total:8.1f}")
            firsts = sorted(s[0][-1][2] for s in samples)
            print(f"  first frame since process start: median {statistics.median(firsts):.0f} ms, "
                  f"all {', '.join(f'{v:.0f}' for v in firsts)}")
            print(f"  seen from outside (wine64 started to kivoctl wait): median "
                  f"{statistics.median(s[2] for s in samples) * 1000:.0f} ms")
            print(f"  at the first frame: private {statistics.median(s[1]['private bytes'] for s in samples) / MB:.1f} MB, "
                  f"working set {statistics.median(s[1]['working set'] for s in samples) / MB:.1f} MB")

        session.env.pop("KIVO_START_TIMELINE")
        program = session.start_program()
        settle(2)
        print("\n" + memory_line("full store, after start", figures(session)))
        m = screen_metrics(session)
        box = open_group(session, m, 3)
        page_through(session, box, int(os.environ.get("KIVO_PAGES", "50")))
        settle(1)
        print(memory_line("full store, list of the All Programs group paged through",
                          figures(session)))
        close_group(session, box)
        settle(1)
        print(memory_line("full store, list closed again", figures(session)))
        session.close_program(program)
    load = os.getloadavg()
    print(f"load average at end: {load[0]:.1f} {load[1]:.1f} {load[2]:.1f}")


if __name__ == "__main__":
    main()
