#!/usr/bin/python3
"""Prints Tavrix's figures, each beside its yardsticks, as ratios measured in one run: start-up
beside the least Win32 window program built the same way (bench/minimal_window.cpp) and, for
TavrixHelp, beside the least program that shows the same first paint; the hand-over from the
splash to the main window; the cost of a keystroke beside the least program that does the main
window's job and a bare edit control of the input box's styles; each program file's size; and each
program's peak working set beside the least program that does its job and the least window
program (bench/same_job.h); and a file of this machine dropped on the main window and read for
what it holds, beside a keystroke that changes the output box. A
benchmark, not a test: it judges nothing, it prints, and ends with one line of JSON holding the
figures.

  bench/figures.py [--bin DIR] [--shipped build/i686/bin] [--runs 7] [--keystrokes 5000]

The programs run under Wine on a private Xvfb display: by default the build that the test command
runs (the shipped i686 build where this machine runs 32-bit programs and Wine, else the x86_64
build of the same sources). The start-up runs alternate between the programs, so that each sees
the same state of the machine and of Wine's caches; the figures are medians."""

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

SAME_JOB_MAIN, SAME_JOB_HELP = "SameJobMainWindow", "SameJobHelpWindow"
TARGETS = {"first window": 1.1, "keystroke median": 1.1, "keystroke p99": 1.25, "memory": 1.15, "drop": 1.1,
           "Tavrix.exe": 300 * 1024, "TavrixHelp.exe": 200 * 1024}
# Each program, the window whose coming counts, and the one to close it by.
PROGRAMS = [("minimal_window", [PLAIN_CLASS], PLAIN_CLASS), ("Tavrix", [SPLASH_CLASS, MAIN_CLASS], MAIN_CLASS),
            ("TavrixHelp", [HELP_CLASS], HELP_CLASS), ("same_job_help", [SAME_JOB_HELP], SAME_JOB_HELP),
            ("same_job_main", [SAME_JOB_MAIN], SAME_JOB_MAIN)]


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
    """Seconds from each program's start to its windows on the screen, and its peak working set
    once shown: lists of the runs, by window class and by program."""
    times = {cls: [] for _, classes, _ in PROGRAMS for cls in classes}
    memory = {name: [] for name, _, _ in PROGRAMS}
    for _ in range(runs):
        for name, classes, last in PROGRAMS:
            process, seen = start_and_watch(session, name, classes)
            for cls in classes:
                times[cls].append(seen[cls])
            time.sleep(0.3)
            memory[name].append(peak_working_set(session, last))
            close(session, process, last)
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
    """The keystroke benchmark's figures. Its time follows its work: each key is typed into three
    windows, and a slow machine takes 20 ms over a key there."""
    process = session.wine.start(session.exe("keystroke_bench"), str(keystrokes), pipes=True)
    out, _ = process.communicate(timeout=120 + keystrokes * 0.1)
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
    parser.add_argument("--keystrokes", type=int, default=5000)
    args = parser.parse_args()

    session = harness.Session(args.bin, own_display=True, dpi=96)
    try:
        # One run first that nobody counts: Wine's first start of a program reads more from disk.
        for name, classes, last in PROGRAMS:
            process, _ = start_and_watch(session, name, classes)
            close(session, process, last)
        times, memory = startup_figures(session, args.runs)
        keys = keystroke_figures(session, args.keystrokes)
    finally:
        session.close()
    managed = harness.Session(args.bin, own_display=True, dpi=96, managed=True)
    try:
        handover_managed = handover(managed, max(3, args.runs // 2))
    finally:
        managed.close()

    figures = {}
    m = {cls: statistics.median(values) for cls, values in times.items()}
    print("Build: %s, under Wine on Xvfb; medians of %d alternating runs." % (args.bin, args.runs))
    print("Start-up (process start to window on the screen):")
    print("  least Win32 window program         %s" % ms(m[PLAIN_CLASS]))
    print("  least program of the help's paint  %s   %.2f x the least program"
          % (ms(m[SAME_JOB_HELP]), m[SAME_JOB_HELP] / m[PLAIN_CLASS]))
    figures["splash_first_window_ratio"] = m[SPLASH_CLASS] / m[PLAIN_CLASS]
    figures["help_first_window_ratio"] = m[HELP_CLASS] / m[PLAIN_CLASS]
    figures["help_first_window_same_job_ratio"] = m[HELP_CLASS] / m[SAME_JOB_HELP]
    target = TARGETS["first window"]
    print("  Tavrix splash                      %s   %.2f x the least program (aim %.1f: %s)"
          % (ms(m[SPLASH_CLASS]), figures["splash_first_window_ratio"], target,
             verdict(figures["splash_first_window_ratio"], target)))
    print("  TavrixHelp window                  %s   %.2f x the least program of the same first paint "
          "(aim %.1f: %s); %.2f x the least program"
          % (ms(m[HELP_CLASS]), figures["help_first_window_same_job_ratio"], target,
             verdict(figures["help_first_window_same_job_ratio"], target), figures["help_first_window_ratio"]))
    for cls in (PLAIN_CLASS, SPLASH_CLASS, SAME_JOB_HELP, HELP_CLASS):
        print("  runs (ms) %-18s %s" % (cls, " ".join("%.0f" % (x * 1000) for x in times[cls])))
    handover_tests = statistics.median(w - s for w, s in zip(times[MAIN_CLASS], times[SPLASH_CLASS]))
    figures["handover_ms"] = round(handover_tests * 1000)
    figures["handover_managed_ms"] = round(handover_managed * 1000)
    print("Hand-over, splash on the screen to the main window on the screen (designed: about 1 s):")
    print("  the tests' prefix (windows not handed to a window manager)  %s" % ms(handover_tests))
    print("  a prefix with Wine's default settings (managed windows)     %s" % ms(handover_managed))

    lookup, same, bare = keys["main_window"], keys["same_job"], keys["bare_edit"]
    figures["keystroke_same_job_median_ratio"] = lookup["median_us"] / same["median_us"]
    figures["keystroke_same_job_p99_ratio"] = lookup["p99_us"] / same["p99_us"]
    figures["keystroke_bare_edit_median_ratio"] = lookup["median_us"] / bare["median_us"]
    print("Keystroke, from the key reaching the input box to the output box holding its final text "
          "(%d keys each, in process, word by word in turn):" % lookup["keystrokes"])
    for name, k in (("main window", lookup), ("same-job window", same), ("bare edit", bare)):
        print("  %-16s median %7.1f us, 99th percentile %7.1f us, output box changed by %d keys"
              % (name, k["median_us"], k["p99_us"], k["changes_output"]))
    print("  against the same job: median %.2f (aim %.1f: %s), 99th percentile %.2f (aim %.2f: %s)"
          % (figures["keystroke_same_job_median_ratio"], TARGETS["keystroke median"],
             verdict(figures["keystroke_same_job_median_ratio"], TARGETS["keystroke median"]),
             figures["keystroke_same_job_p99_ratio"], TARGETS["keystroke p99"],
             verdict(figures["keystroke_same_job_p99_ratio"], TARGETS["keystroke p99"])))
    print("  against the bare edit: median %.2f, 99th percentile %.2f"
          % (figures["keystroke_bare_edit_median_ratio"], lookup["p99_us"] / bare["p99_us"]))
    drop = keys["drop"]
    figures["drop_median_us"] = drop["median_us"]
    figures["drop_keystroke_median_ratio"] = drop["median_us"] / lookup["median_us"]
    figures["drop_changing_keystroke_ratio"] = drop["median_us"] / lookup["changing_median_us"]
    print("A file of this machine dropped on the window and read, from its arrival to the output box "
          "holding what the window says of it (%d drops, each showing another text):" % drop["drops"])
    print("  median %7.1f us, 99th percentile %7.1f us: %.2f x a keystroke that changes the output box "
          "(%.1f us; aim %.1f: %s), %.2f x a keystroke's median"
          % (drop["median_us"], drop["p99_us"], figures["drop_changing_keystroke_ratio"],
             lookup["changing_median_us"], TARGETS["drop"],
             verdict(figures["drop_changing_keystroke_ratio"], TARGETS["drop"]),
             figures["drop_keystroke_median_ratio"]))

    print("Program files (i686, shipped):")
    for name, key in (("Tavrix.exe", "tavrix_bytes"), ("TavrixHelp.exe", "help_bytes")):
        path = os.path.join(args.shipped, name)
        if os.path.exists(path):
            figures[key] = os.path.getsize(path)
            print("  %-15s %8d bytes (%.0f KB; at most %d KB: %s)" % (
                name, figures[key], figures[key] / 1024, TARGETS[name] // 1024,
                verdict(figures[key], TARGETS[name])))
    mem = {name: statistics.median(values) for name, values in memory.items()}
    print("Peak working set (GetProcessMemoryInfo; under Wine it includes Wine's own libraries):")
    print("  least window program  %6.1f MB" % (mem["minimal_window"] / 1048576))
    for name, same_job, key in (("Tavrix", "same_job_main", "memory_same_job_ratio_tavrix"),
                                ("TavrixHelp", "same_job_help", "memory_same_job_ratio_help")):
        figures[key] = mem[name] / mem[same_job]
        print("  %-11s %6.1f MB   %.2f x the least program of its job (%.1f MB; aim %.2f: %s), "
              "%.2f x the least window program"
              % (name, mem[name] / 1048576, figures[key], mem[same_job] / 1048576, TARGETS["memory"],
                 verdict(figures[key], TARGETS["memory"]), mem[name] / mem["minimal_window"]))
    print(json.dumps({k: round(v, 3) if isinstance(v, float) else v for k, v in figures.items()}))
    return 0


if __name__ == "__main__":
    sys.exit(main())
