#!/usr/bin/python3
"""The Wine side of the scripts and tests, once for bash and Python: the settings of wine.env, the
prefixes' folder, the loader that runs a program file, and the private Xvfb display. scripts/env.sh
runs this file; tests/e2e/harness.py and the others import it. Standard library only.

  wine.py loader PROGRAM.exe   prints the Wine loader for the program
  wine.py display              starts a private Xvfb and prints its name and process id
"""

import os
import re
import struct
import subprocess
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))


def read_wine_env(path=os.path.join(ROOT, "scripts", "wine.env")):
    """Plain NAME=value lines, no quoting, no expansion."""
    settings = {}
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            m = re.match(r"([A-Z_0-9]+)=(.*)$", line.rstrip("\n"))
            if m:
                settings[m.group(1)] = m.group(2)
    return settings


WINE_ENV = read_wine_env()
WINE64, WINE32 = WINE_ENV["TAVRIX_WINE64"], WINE_ENV["TAVRIX_WINE32"]
WINESERVER = WINE_ENV["TAVRIX_WINESERVER"]
SCREEN = tuple(int(n) for n in WINE_ENV["TAVRIX_SCREEN"].split("x")[:2])
# Every Wine prefix of the project, one per DPI and use, as scripts/env.sh places them.
PREFIXES = os.path.join(os.environ.get("TAVRIX_BUILD") or os.path.join(ROOT, "build"), "wine")

I386 = 0x014C  # the PE machine type of a 32-bit x86 program


def pe_machine(path):
    """The machine type in the program file's PE header."""
    with open(path, "rb") as program:
        header = program.read(4096)
    pe = struct.unpack_from("<I", header, 60)[0]
    return struct.unpack_from("<H", header, pe + 4)[0]


def loader_for(exe):
    return WINE32 if pe_machine(exe) == I386 else WINE64


def start_display():
    """A private Xvfb of the project's screen size, left running: (its name, its process)."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", WINE_ENV["TAVRIX_SCREEN"],
                             "-nolisten", "tcp", "-noreset"],
                            pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        return ":" + numbers.readline().strip(), xvfb


if __name__ == "__main__":
    if sys.argv[1:2] == ["loader"] and len(sys.argv) == 3:
        print(loader_for(sys.argv[2]))
    elif sys.argv[1:] == ["display"]:
        name, xvfb = start_display()
        print(name, xvfb.pid)
    else:
        sys.exit(__doc__)
