#!/usr/bin/python3
"""Prints Tavrix's figures, each beside its yardstick, as ratios measured in one run: start-up
beside the least Win32 window program built the same way (bench/minimal_window.cpp), the
hand-over from the splash to the main window, the cost of a keystroke beside a bare edit control
of the input box's styles, each program file's size, and each program's peak working set beside
the least program's. A benchmark, not a test: it judges nothing, it prints.

  bench/figures.py [--bin DIR] [--shipped build/i686/bin] [--runs 7] [--keystrokes 20000]

The programs run under Wine on a private Xvfb display: by default the build that the test command
runs (the shipped i686 build where this machine runs 32-bit programs, else the x86_64 build of the
same sources). The start-up runs alternate between the programs, so that each sees the same state
of the machine and of Wine's caches; the figures are medians."""

import argparse
import json
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

import harness  # noqa: E402
from harness import HELP_CLASS, MAIN_CLASS, PLAIN_CLASS, SPLASH_CLASS  # noqa: E402

TARGETS = {"first window": 1.1, "keystroke": 1.1, "memory": 1.3,
           "Tavrix.exe": 300 * 1024, "TavrixHelp.exe": 200 * 1024}


def default_bin():
    """The build that the test command runs (scripts/env.sh, tavrix_windows_tests_build)."""
    build = subprocess.run(["bash", "-c", 'source "$1/scripts/env.sh" && tavrix_windows_tests_build',
                            "-", harness.ROOT], capture_output=True, text=True, check=True).stdout.strip()
    return os.path.join(harness.ROOT, "build", build, "bin")


def start_and_watch(session, name, classes, timeout_ms=15000):
    """Starts a program; returns (process, {class: seconds from the start until its window was on
    the screen})."""
    session.inspector.start_watch(timeout_ms, *classes)
    time.sleep(0.05)  # the inspector is watching before the program starts
    started = time.time()
    process = session.start(name)
    seen = session.inspector.end_watch(timeout_ms)
    return process, {cls: (when - started if when else None) for cls, when in seen.items()}


def close(session, process, cls):
    session.inspector.close_window(cls)
    process.wait(timeout=20)


def peak_working_set(session, cls):
    return session.inspector.peak_working_set(session.inspector.tree(cls)["pid"])


def startup_figures(session, runs):
    times = {"minimal": [], "splash": [], "main": [], "help": []}
    memory = {"minimal_window": [], "Tavrix": [], "TavrixHelp": []}
    for _ in range(runs):
        process, seen = start_and_watch(session, "minimal_window", [PLAIN_CLASS])
        times["minimal"].append(seen[PLAIN_CLASS])
        time.sleep(0.3)
        memory["minimal_window"].append(peak_working_set(session, PLAIN_CLASS))
        close(session, process, PLAIN_CLASS)
        process, seen = start_and_watch(session, "Tavrix", [SPLASH_CLASS, MAIN_CLASS])
        times["splash"].append(seen[SPLASH_CLASS])
        times["main"].append(seen[MAIN_CLASS])
        time.sleep(0.3)
        memory["Tavrix"].append(peak_working_set(session, MAIN_CLASS))
        close(session, process, MAIN_CLASS)
        process, seen = start_and_watch(session, "TavrixHelp", [HELP_CLASS])
        times["help"].append(seen[HELP_CLASS])
        time.sleep(0.3)
        memory["TavrixHelp"].append(peak_working_set(session, HELP_CLASS))
        close(session, process, HELP_CLASS)
    return times, memory


def handover(session, runs):
    splash, main = [], []
    for _ in range(runs):
        process, seen = start_and_watch(session, "Tavrix", [SPLASH_CLASS, MAIN_CLASS])
        splash.append(seen[SPLASH_CLASS])
        main.append(seen[MAIN_CLASS])
        close(session, process, MAIN_CLASS)
    return statistics.median(m - s for m, s in zip(main, splash))


def keystroke_figures(session, keystrokes):
    process = session.wine.start(session.exe("keystroke_bench"), str(keystrokes), pipes=True)
    out, _ = process.communicate(timeout=600)
    return json.loads(out.decode("utf-8").strip().splitlines()[-1])


def ms(seconds):
    return "%6.0f ms" % (seconds * 1000)


def verdict(value, target):
    return "within" if value <= target else "NOT within"


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", default=default_bin())
    parser.add_argument("--shipped", default=os.path.join(harness.ROOT, "build", "i686", "bin"))
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--keystrokes", type=int, default=20000)
    args = parser.parse_args()

    session = harness.Session(args.bin, own_display=True, dpi=96)
    try:
        # One run first that nobody counts: Wine's first start of a program reads more from disk.
        for name, cls in (("minimal_window", PLAIN_CLASS), ("Tavrix", MAIN_CLASS), ("TavrixHelp", HELP_CLASS)):
            process, _ = start_and_watch(session, name, [cls])
            close(session, process, cls)
        times, memory = startup_figures(session, args.runs)
        keys = keystroke_figures(session, args.keystrokes)
    finally:
        session.close()
    managed = harness.Session(args.bin, own_display=True, dpi=96, managed=True)
    try:
        handover_managed = handover(managed, max(3, args.runs // 2))
    finally:
        managed.close()

    m = {name: statistics.median(values) for name, values in times.items()}
    print("Build: %s, under Wine on Xvfb; medians of %d alternating runs." % (args.bin, args.runs))
    print("Start-up (process start to window on the screen):")
    print("  least Win32 window program %s" % ms(m["minimal"]))
    ratio = m["splash"] / m["minimal"]
    print("  Tavrix splash              %s   %.2f x the least program (target %.1f: %s)"
          % (ms(m["splash"]), ratio, TARGETS["first window"], verdict(ratio, TARGETS["first window"])))
    print("  TavrixHelp window          %s   %.2f x the least program"
          % (ms(m["help"]), m["help"] / m["minimal"]))
    print("  runs (ms): least %s | splash %s"
          % (" ".join("%.0f" % (x * 1000) for x in times["minimal"]),
             " ".join("%.0f" % (x * 1000) for x in times["splash"])))
    handover_tests = statistics.median(w - s for w, s in zip(times["main"], times["splash"]))
    print("Hand-over, splash on the screen to the main window on the screen (designed: about 1 s):")
    print("  the tests' prefix (windows not handed to a window manager)  %s" % ms(handover_tests))
    print("  a prefix with Wine's default settings (managed windows)     %s" % ms(handover_managed))

    lookup, bare = keys["main_window"], keys["bare_edit"]
    median, p99 = lookup["median_us"] / bare["median_us"], lookup["p99_us"] / bare["p99_us"]
    print("Keystroke, from the key reaching the input box to the output box holding its final text "
          "(%d keys, in process):" % lookup["keystrokes"])
    print("  main window  median %7.1f us, 99th percentile %7.1f us" % (lookup["median_us"], lookup["p99_us"]))
    print("  bare edit    median %7.1f us, 99th percentile %7.1f us" % (bare["median_us"], bare["p99_us"]))
    print("  ratio        median %.2f (%s %.1f), 99th percentile %.2f (%s %.1f)"
          % (median, verdict(median, TARGETS["keystroke"]), TARGETS["keystroke"], p99,
             verdict(p99, TARGETS["keystroke"]), TARGETS["keystroke"]))
    print("  keystrokes that change the output box: %d of %d; the others alone: median %.1f us, "
          "%.2f x the bare edit's" % (lookup["changes_output"], lookup["keystrokes"],
                                     lookup["steady_median_us"], lookup["steady_median_us"] / bare["median_us"]))

    print("Program files (i686, shipped):")
    for name in ("Tavrix.exe", "TavrixHelp.exe"):
        path = os.path.join(args.shipped, name)
        if os.path.exists(path):
            size = os.path.getsize(path)
            print("  %-15s %8d bytes (%.0f KB; target %d KB: %s)" % (
                name, size, size / 1024, TARGETS[name] // 1024, verdict(size, TARGETS[name])))
    mem = {name: statistics.median(values) for name, values in memory.items()}
    print("Peak working set (GetProcessMemoryInfo; under Wine it includes Wine's own libraries):")
    print("  least program  %6.1f MB" % (mem["minimal_window"] / 1048576))
    for name in ("Tavrix", "TavrixHelp"):
        ratio = mem[name] / mem["minimal_window"]
        print("  %-14s %6.1f MB   %.2f x the least program (target %.1f: %s)"
              % (name, mem[name] / 1048576, ratio, TARGETS["memory"], verdict(ratio, TARGETS["memory"])))
    return 0


if __name__ == "__main__":
    sys.exit(main())
