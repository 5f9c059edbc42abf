#!/usr/bin/python3
"""Tavrix and TavrixHelp as a user meets them: the programs started under Wine on an X display,
driven only by real X input (keys, clicks, drags through xdotool) and read from outside by the
inspector. After every action the window is compared with its reference model (model.py).

  e2e.py --bin DIR                        every scenario, then the model check of the main
                                          window with the fixed seed
  e2e.py --bin DIR --model --actions 5000 --seed 7
                                          only the model check: a longer random run
  e2e.py --bin DIR --seeds 101,202,303 --actions 2000
                                          long runs: every seed to its end, with figures per
                                          seed and in total
  e2e.py --bin DIR --dpi 144 ...          in a Wine prefix at 144 DPI
Without DISPLAY (or with --own-display) a private Xvfb is started; without WINEPREFIX the prefix
is build/wine/DPI (96 unless --dpi says otherwise); a prefix must run at that DPI. A dropped
click or key is a failure: nothing is given again. Exit status 0 when everything held."""

import argparse
import os
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import harness  # noqa: E402
from harness import Failure  # noqa: E402
from model_check import FIXED_ACTIONS, FIXED_SEED, long_runs, timed_model_check  # noqa: E402
from scenarios import SCENARIOS  # noqa: E402


def run_parts(session, parts):
    """Runs each (title, function) part, whatever the others did; the number that failed."""
    failed = 0
    for title, run in parts:
        began = time.monotonic()
        try:
            run(session)
            print("ok    %s (%.1f s)" % (title, time.monotonic() - began), flush=True)
        except Failure as failure:
            failed += 1
            print("FAIL  %s: %s" % (title, failure), flush=True)
        finally:
            session.end_processes()
    return failed


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", default=os.path.join(harness.ROOT, "build", "x86_64", "bin"),
                        help="folder with Tavrix.exe, TavrixHelp.exe and inspector.exe")
    parser.add_argument("--model", action="store_true", help="only the model check")
    parser.add_argument("--scenario", help="only the scenarios whose title holds this text")
    parser.add_argument("--actions", type=int, default=FIXED_ACTIONS,
                        help="actions per model check (default %d)" % FIXED_ACTIONS)
    parser.add_argument("--seed", type=int, default=FIXED_SEED)
    parser.add_argument("--seeds", help="long runs: comma-separated seeds, each run to its end")
    parser.add_argument("--own-display", action="store_true", help="start a private Xvfb")
    parser.add_argument("--dpi", type=int, default=96,
                        help="the DPI the Wine prefix runs at (default 96)")
    parser.add_argument("--managed", action="store_true", help="in a prefix of its own with Wine's "
                        "default settings, its windows handed to a window manager")
    args = parser.parse_args()

    for tool in ("xdotool", "xwininfo", "xprop", "Xvfb"):
        harness.which(tool)
    # Ended from outside (a long run stopped), it still closes its display, server and programs.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    started = time.monotonic()
    session = harness.Session(args.bin, own_display=args.own_display, dpi=args.dpi, managed=args.managed)
    try:
        if args.seeds:
            seeds = [int(seed) for seed in args.seeds.split(",")]
            failed = long_runs(session, seeds, args.actions)
        else:
            # A scenario that names a DPI runs only in a prefix of that DPI.
            parts = [] if args.model else [(title, run) for title, run, *dpi in SCENARIOS
                                           if (args.scenario is None or args.scenario in title)
                                           and dpi in ([], [args.dpi])]
            if args.scenario is None:
                parts.append(("model check, seed %d, %d actions" % (args.seed, args.actions),
                              timed_model_check(args.actions, args.seed)))
            failed = run_parts(session, parts)
    finally:
        session.close()
    print("%s in %.1f s" % ("%d failed" % failed if failed else "all passed", time.monotonic() - started))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
