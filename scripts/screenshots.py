#!/usr/bin/python3
"""Takes the pictures under docs/ from the programs as they run: Tavrix and TavrixHelp under Wine
on a private Xvfb display, driven by real X input like the end-to-end tests.

  scripts/screenshots.py [--bin build/x86_64/bin] [--out docs]
  scripts/screenshots.py --bin DIR --demo PNG

Pictures: splash.png, lookup-view.png, about-panel.png, instructions-panel.png, topmost.png,
help-window.png. With --demo, only the main window after "jpg" was typed into its input box, as
scripts/run.sh shows Tavrix where there is no display."""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

import harness  # noqa: E402
from harness import Failure, MAIN_CLASS, PLAIN_CLASS, SPLASH_CLASS, wait_until  # noqa: E402
from programs import HelpProgram, MainProgram  # noqa: E402

WELCOME = "欢迎使用Tavrix软件，启动……"
DESKTOP = "#3a6a9a"  # behind the two windows of the topmost picture


def screenshot(display, path, rect):
    """Saves the screen area rect = [left, top, right, bottom] as a PNG."""
    left, top, right, bottom = rect
    full = tempfile.NamedTemporaryFile(suffix=".png", delete=False).name
    try:
        subprocess.run(["import", "-display", display.name, "-window", "root", full], check=True)
        subprocess.run(["convert", full, "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
                        "+repage", "-strip", path], check=True)
    finally:
        os.unlink(full)


def still(session):
    """The pointer off every window, and time for hover looks and tips to go."""
    session.pointer.move(1020, 764)
    time.sleep(1.0)


def shoot(session, path, rect):
    screenshot(session.display, path, rect)
    print("wrote %s (%dx%d)" % (path, rect[2] - rect[0], rect[3] - rect[1]))


def shoot_stacked(session, path, rects):
    """The windows at rects (lowest first) on a plain desktop colour, cropped to their union."""
    left, top = min(r[0] for r in rects), min(r[1] for r in rects)
    right, bottom = max(r[2] for r in rects), max(r[3] for r in rects)
    screen = tempfile.NamedTemporaryFile(suffix=".png", delete=False).name
    try:
        screenshot(session.display, screen, [0, 0, 1024, 768])
        command = ["convert", "-size", "%dx%d" % (right - left, bottom - top), "xc:" + DESKTOP]
        for r in rects:
            command += ["(", screen, "-crop", "%dx%d+%d+%d" % (r[2] - r[0], r[3] - r[1], r[0], r[1]),
                        "+repage", ")", "-geometry", "+%d+%d" % (r[0] - left, r[1] - top), "-composite"]
        subprocess.run(command + ["-strip", path], check=True)
    finally:
        os.unlink(screen)
    print("wrote %s (%dx%d)" % (path, right - left, bottom - top))


def splash(session, out):
    session.inspector.start_watch(15000, SPLASH_CLASS)
    process = session.start("Tavrix")
    session.inspector.end_watch(15000)

    def welcome():
        tree = session.inspector.tree(SPLASH_CLASS)
        return tree if tree and tree["controls"][0]["text"] == WELCOME else None

    tree = wait_until(welcome, timeout=3, interval=0.01, what="the welcome line")
    shoot(session, os.path.join(out, "splash.png"), tree["rect"])
    session.inspector.watch(15000, MAIN_CLASS)
    session.inspector.close_window(MAIN_CLASS)
    process.wait(timeout=10)


def main_window(session, out):
    tavrix = MainProgram(session)
    tavrix.wake()
    tavrix.input("jpg")
    still(session)
    shoot(session, os.path.join(out, "lookup-view.png"), tavrix.model.window_rect())
    tavrix.click("Command6")
    still(session)
    shoot(session, os.path.join(out, "about-panel.png"), tavrix.model.window_rect())
    tavrix.click("Command8")
    still(session)
    shoot(session, os.path.join(out, "instructions-panel.png"), tavrix.model.window_rect())
    tavrix.click("Command10")

    # Kept above an ordinary window that lies under its lower left part.
    plain_rect = (120, 470, 440, 670)
    session.start("minimal_window", *map(str, plain_rect[:2]))
    tavrix.elsewhere("a plain window opens", lambda: session.inspector.watch(10000, PLAIN_CLASS))
    tavrix.click("Command13")
    still(session)
    shoot_stacked(session, os.path.join(out, "topmost.png"), [plain_rect, tavrix.model.window_rect()])
    session.inspector.close_window(PLAIN_CLASS)
    tavrix.click("Command7" if tavrix.model.panel_view else "Command16")
    tavrix.expect_exit("closing")


def demo(session, path):
    tavrix = MainProgram(session)
    tavrix.wake()
    tavrix.input("jpg")
    still(session)
    shoot(session, path, tavrix.model.window_rect())
    tavrix.click("Command16")
    tavrix.expect_exit("the close picture")


def help_window(session, out):
    helper = HelpProgram(session)
    tree = helper.click("Command5")
    still(session)
    shoot(session, os.path.join(out, "help-window.png"), tree["rect"])
    helper.click("Command7")
    helper.expect_exit("退出")


def with_title_bar_glyphs(prefix):
    """Wine draws the title bar's buttons with its Marlett font, which a new prefix does not find
    by itself: the prefix gets a copy."""
    font = "/usr/share/wine/fonts/marlett.ttf"
    target = os.path.join(prefix, "drive_c", "windows", "Fonts", "marlett.ttf")
    if os.path.exists(font) and not os.path.exists(target):
        shutil.copyfile(font, target)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", default=os.path.join(harness.ROOT, "build", "x86_64", "bin"))
    parser.add_argument("--out", default=os.path.join(harness.ROOT, "docs"))
    parser.add_argument("--demo", metavar="PNG", help="only the lookup of \"jpg\", its picture to PNG")
    args = parser.parse_args()
    os.makedirs(args.demo and os.path.dirname(os.path.abspath(args.demo)) or args.out, exist_ok=True)
    # The tests' own prefix at 96 DPI, as the session takes it, with the title bar's glyphs.
    prefix = os.path.join(harness.PREFIXES, "96")
    harness.Wine.prepare_prefix(prefix, 96)
    with_title_bar_glyphs(prefix)
    session = harness.Session(args.bin, own_display=True, dpi=96)
    try:
        if args.demo:
            demo(session, args.demo)
        else:
            splash(session, args.out)
            main_window(session, args.out)
            help_window(session, args.out)
    except Failure as failure:
        print("screenshots: " + str(failure), file=sys.stderr)
        return 1
    finally:
        session.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
