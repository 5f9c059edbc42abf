#!/usr/bin/python3
"""Prints Tavrix's figures: start-up beside a minimal Win32 window program built the same way,
the cost of a keystroke measured in process, each program file's size and each program's peak
working set. A benchmark, not a test: it judges nothing, it prints.

  bench/figures.py [--bin build/x86_64/bin] [--shipped build/i686/bin] [--runs 7]

The programs run under 64-bit Wine (the x86_64 build: same sources as the shipped i686 programs)
on a private Xvfb display, in the Wine prefix build/e2e-wine/96 unless WINEPREFIX names one."""

import argparse
import json
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

import harness  # noqa: E402
from harness import HELP_CLASS, MAIN_CLASS, PLAIN_CLASS, SPLASH_CLASS  # noqa: E402


def start_and_watch(session, name, classes, timeout_ms=15000):
    """Starts a program and returns (process, {class: seconds from the start until its window was
    on the screen})."""
    session.inspector.start_watch(timeout_ms, *classes)
    time.sleep(0.05)  # the inspector is watching before the program starts
    started = time.time()
    process = session.start(name)
    seen = session.inspector.end_watch(timeout_ms)
    return process, {cls: (when - started if when else None) for cls, when in seen.items()}


def close(session, process, cls):
    session.inspector.close_window(cls)
    process.wait(timeout=10)


def peak_working_set(session, cls):
    tree = session.inspector.tree(cls)
    return session.inspector.peak_working_set(tree["pid"])


def startup_figures(session, runs):
    minimal, splash, main = [], [], []
    memory = {}
    for run in range(runs):
        # Alternating, so that both see the same state of the machine and of Wine's caches.
        process, seen = start_and_watch(session, "minimal_window", [PLAIN_CLASS])
        minimal.append(seen[PLAIN_CLASS])
        memory["minimal_window"] = peak_working_set(session, PLAIN_CLASS)
        close(session, process, PLAIN_CLASS)
        process, seen = start_and_watch(session, "Tavrix", [SPLASH_CLASS, MAIN_CLASS])
        splash.append(seen[SPLASH_CLASS])
        main.append(seen[MAIN_CLASS])
        time.sleep(0.3)
        memory["Tavrix"] = peak_working_set(session, MAIN_CLASS)
        close(session, process, MAIN_CLASS)
    process, _ = start_and_watch(session, "TavrixHelp", [HELP_CLASS])
    time.sleep(0.3)
    memory["TavrixHelp"] = peak_working_set(session, HELP_CLASS)
    close(session, process, HELP_CLASS)
    return minimal, splash, main, memory


def keystroke_figures(session, keystrokes):
    process = session.wine.start(session.exe("keystroke_bench"), str(keystrokes), pipes=True)
    out, _ = process.communicate(timeout=300)
    return json.loads(out.decode("utf-8").strip().splitlines()[-1])


def ms(seconds):
    return "%7.0f ms" % (seconds * 1000)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", default=os.path.join(harness.ROOT, "build", "x86_64", "bin"))
    parser.add_argument("--shipped", default=os.path.join(harness.ROOT, "build", "i686", "bin"))
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--keystrokes", type=int, default=20000)
    args = parser.parse_args()

    session = harness.Session(args.bin, own_display=True)
    try:
        # One run first that nobody counts: Wine's first start of a program reads more from disk.
        for name, cls in (("minimal_window", PLAIN_CLASS), ("Tavrix", MAIN_CLASS)):
            process, _ = start_and_watch(session, name, [cls])
            close(session, process, cls)
        minimal, splash, main_window, memory = startup_figures(session, args.runs)
        keys = keystroke_figures(session, args.keystrokes)
    finally:
        session.close()

    m, s, w = statistics.median(minimal), statistics.median(splash), statistics.median(main_window)
    print("Start-up under Wine 64-bit on Xvfb, median of %d runs (process start to window on screen):"
          % args.runs)
    print("  minimal Win32 window  %s" % ms(m))
    print("  Tavrix splash         %s   %.2f x the minimal program (target: 1.2 at most)" % (ms(s), s / m))
    print("  Tavrix main window    %s   %s after the splash (designed: about 1 s)"
          % (ms(w), ms(w - s).strip()))
    print("  runs: minimal %s; splash %s; main %s" % (
        " ".join("%.0f" % (x * 1000) for x in minimal), " ".join("%.0f" % (x * 1000) for x in splash),
        " ".join("%.0f" % (x * 1000) for x in main_window)))
    print("Keystroke, from WM_CHAR reaching Text1 to Text2 holding its final text, in process, %d keys:"
          % keys["main_window"]["keystrokes"])
    lookup, bare = keys["main_window"], keys["bare_edit"]
    print("  median %.1f us, 99th percentile %.1f us, max %.1f us (target: under 500 us)"
          % (lookup["median_us"], lookup["p99_us"], lookup["max_us"]))
    print("  the same keys into a bare edit control of the input box's styles: median %.1f us, "
          "99th percentile %.1f us" % (bare["median_us"], bare["p99_us"]))
    print("Program files:")
    for folder, label in ((args.shipped, "i686, shipped"), (args.bin, "x86_64")):
        for name in ("Tavrix", "TavrixHelp"):
            path = os.path.join(folder, name + ".exe")
            size = "%9d bytes" % os.path.getsize(path) if os.path.exists(path) else "  (not built)"
            print("  %-15s %-14s %s" % (name + ".exe", label, size))
    print("Peak working set (GetProcessMemoryInfo; under Wine it includes Wine's own libraries):")
    for name in ("minimal_window", "Tavrix", "TavrixHelp"):
        print("  %-15s %6.1f MB" % (name, memory[name] / 1048576))
    return 0


if __name__ == "__main__":
    sys.exit(main())
