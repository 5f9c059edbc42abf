#!/usr/bin/python3
"""The release ZIP as a user receives it: packed from this build, unpacked into a fresh folder,
holding the two programs and the readme and nothing else; each program started from there shows
its window and, closed, ends with exit code 0.

  release_zip.py --build DIR      DIR: a Windows build folder (its bin/ holds the inspector)
"""

import argparse
import glob
import os
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

import harness  # noqa: E402
from harness import Failure, HELP_CLASS, MAIN_CLASS, wait_until  # noqa: E402


def pack(build):
    for old in glob.glob(os.path.join(build, "Tavrix-*.zip")):
        os.remove(old)
    subprocess.run(["cpack", "-G", "ZIP"], cwd=build, check=True, stdout=subprocess.DEVNULL)
    zips = glob.glob(os.path.join(build, "Tavrix-*.zip"))
    if len(zips) != 1:
        raise Failure("cpack made %r" % zips)
    return zips[0]


def run_from(session, folder, program, window_class):
    """Starts the program from the unpacked folder, waits for its window, closes it."""
    process = session.start(os.path.join(folder, program))
    seen = session.inspector.watch(20000, window_class)
    if not seen[window_class]:
        raise Failure("%s from the ZIP showed no window" % program)
    session.inspector.close_window(window_class)
    try:
        code = process.wait(timeout=20)
    except subprocess.TimeoutExpired:
        raise Failure("%s from the ZIP did not end when its window closed" % program)
    if code != 0:
        raise Failure("%s from the ZIP ended with exit code %d" % (program, code))
    wait_until(lambda: not session.inspector.tree(window_class), what=program + "'s window to go")


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", required=True)
    args = parser.parse_args()

    archive = pack(args.build)
    with tempfile.TemporaryDirectory() as folder:
        with zipfile.ZipFile(archive) as package:
            names = sorted(name.split("/", 1)[-1] for name in package.namelist() if not name.endswith("/"))
            if names != ["Tavrix.exe", "TavrixHelp.exe", "readme.txt"]:
                raise Failure("the ZIP holds %r" % names)
            package.extractall(folder)
        top = [os.path.join(folder, entry) for entry in os.listdir(folder)]
        unpacked = top[0] if len(top) == 1 and os.path.isdir(top[0]) else folder
        session = harness.Session(os.path.join(args.build, "bin"))
        try:
            run_from(session, unpacked, "Tavrix.exe", MAIN_CLASS)
            run_from(session, unpacked, "TavrixHelp.exe", HELP_CLASS)
        finally:
            session.close()
    print("release ZIP %s: unpacked, both programs showed their windows and ended with 0"
          % os.path.basename(archive))
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Failure as failure:
        print("FAIL:", failure)
        sys.exit(1)
