"""The world the end-to-end tests act in: a private X display, a Wine prefix of the project's own,
the programs started under Wine, the inspector that reads their windows from outside, and real
X input through xdotool. Standard library only."""

import json
import os
import re
import select
import shutil
import subprocess
import sys
import time

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
from wine import loader_for, PREFIXES, SCREEN, start_display, WINE_ENV, WINESERVER  # noqa: E402

# What Wine itself reads from the environment (the TAVRIX_ names are the scripts' own).
WINE_VARIABLES = {name: value for name, value in WINE_ENV.items() if not name.startswith("TAVRIX_")}

MAIN_CLASS = "TavrixMainWindow"
SPLASH_CLASS = "TavrixSplash"
HELP_CLASS = "TavrixHelpWindow"
PLAIN_CLASS = "MinimalWindow"


class Failure(AssertionError):
    pass


def wait_until(check, timeout=5.0, interval=0.02, what="condition"):
    """Polls check() until it returns something true; returns it, or raises after the timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = check()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(interval)


class Display:
    """The X display: the one given in DISPLAY, or a private Xvfb of the project's screen size
    started here."""

    def __init__(self, own=None):
        self.xvfb = None
        if own or not os.environ.get("DISPLAY"):
            self.name, self.xvfb = start_display()
        else:
            self.name = os.environ["DISPLAY"]

    def close(self):
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait()


class Wine:
    """Starts Windows programs in one prefix on one display."""

    def __init__(self, prefix, display):
        self.prefix = prefix
        self.env = dict(os.environ)
        self.env.update(WINE_VARIABLES, WINEPREFIX=prefix, DISPLAY=display.name)
        self.env.pop("WINELOADER", None)
        self.server_started = False

    @staticmethod
    def prepare_prefix(prefix, dpi=96, managed=False):
        """Creates the prefix as the test command does: Chinese fonts, the browser recorder, and
        unless `managed`, no window manager expected (managed: Wine's default, as users have it)."""
        mode = "record" if managed else "record unmanaged"
        subprocess.run(["bash", "-c", 'source "$1/scripts/env.sh" && tavrix_wine_prefix "$2" "$3" "$4"',
                        "-", ROOT, prefix, str(dpi), mode], check=True)

    def keep_server(self):
        """Keeps the prefix's wineserver running between programs: each then starts much faster."""
        result = subprocess.run([WINESERVER, "-p"], env=self.env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.server_started = result.returncode == 0

    def stop_server(self):
        if self.server_started:
            subprocess.run([WINESERVER, "-k"], env=self.env, stderr=subprocess.DEVNULL)

    def restart_server(self):
        """Ends every program of the prefix with its server and starts the server again: Wine
        reads the screen's work area only as its server starts. The server may be the test
        command's own, kept running from before: it goes whoever started it."""
        subprocess.run([WINESERVER, "-k"], env=self.env, stderr=subprocess.DEVNULL)
        subprocess.run([WINESERVER, "-w"], env=self.env, stderr=subprocess.DEVNULL)
        self.keep_server()

    def start(self, exe, *args, pipes=False):
        return subprocess.Popen([loader_for(exe), exe, *args], env=self.env,
                                stdin=subprocess.PIPE if pipes else subprocess.DEVNULL,
                                stdout=subprocess.PIPE if pipes else subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def opened_addresses(self):
        try:
            with open(os.path.join(self.prefix, "opened-addresses.log"), encoding="utf-8") as log:
                return [line.rstrip("\n") for line in log]
        except FileNotFoundError:
            return []


class Inspector:
    """The long-lived inspector: one command per line, one JSON answer per line."""

    def __init__(self, wine, exe):
        self.process = wine.start(exe, pipes=True)
        self._buffer = b""
        ready = self._read(timeout=30)
        if not ready.get("ready"):
            raise Failure("the inspector did not start: %r" % ready)
        self.dpi = ready["dpi"]

    def _read(self, timeout=10):
        deadline = time.monotonic() + timeout
        fd = self.process.stdout.fileno()
        while b"\n" not in self._buffer:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([fd], [], [], left)[0]:
                raise Failure("the inspector did not answer")
            chunk = os.read(fd, 65536)
            if not chunk:
                raise Failure("the inspector ended")
            self._buffer += chunk
        line, self._buffer = self._buffer.split(b"\n", 1)
        return json.loads(line.decode("utf-8"))

    def send(self, *words):
        words = [str(word) for word in words]
        if any(c in word for word in words for c in "\t\r\n"):
            raise Failure("an inspector command holds a tab or a line end: %r" % words)
        self.process.stdin.write(("\t".join(words) + "\n").encode("utf-8"))
        self.process.stdin.flush()

    def ask(self, *words, timeout=10):
        self.send(*words)
        return self.answer(timeout)

    def answer(self, timeout=10):
        answer = self._read(timeout)
        if not answer.get("ok"):
            raise Failure("inspector: %s" % answer.get("error"))
        return answer

    def tree(self, cls):
        answer = self.ask("tree", cls)
        return answer if answer["found"] else None

    def windows(self):
        return self.stacking()[0]

    def stacking(self):
        """The visible top-level windows, top first, and the foreground window's handle."""
        answer = self.ask("windows")
        return answer["windows"], answer["foreground"]

    def clipboard(self, text):
        self.ask("clipboard", text)

    def close_window(self, cls):
        self.ask("close", cls)

    def close_control(self, hwnd):
        self.ask("close", hwnd)

    def watch(self, timeout_ms, *classes):
        self.start_watch(timeout_ms, *classes)
        return self.end_watch(timeout_ms)

    def start_watch(self, timeout_ms, *classes):
        """Starts watching for the windows to become visible; end_watch() tells when each did
        (seconds since 1970, on the clock of time.time()), or None."""
        self.send("watch", timeout_ms, *classes)

    def end_watch(self, timeout_ms):
        answer = self.answer(timeout=timeout_ms / 1000 + 10)
        return answer["seen"]

    def start_hearing(self, timeout_ms, pid):
        """Listens for timeout_ms to what the process tells screen readers of its live regions;
        returns once listening. end_hearing() gives each event heard, with what its object offers
        (value and name, None where it offers none)."""
        self.send("hear", timeout_ms, pid)
        self.answer()

    def end_hearing(self, timeout_ms):
        return self.answer(timeout=timeout_ms / 1000 + 10)["events"]

    def peak_working_set(self, pid):
        return self.ask("memory", pid)["peak_working_set"]

    def close(self):
        try:
            self.process.stdin.close()
            self.process.wait(timeout=10)
        except (OSError, subprocess.TimeoutExpired):
            self.process.kill()


class Pointer:
    """Real X input: one xdotool that reads its commands from a pipe, so that an action costs no
    program start. Two clicks on one spot are spaced out so that the system never takes them for a
    double click, even with clicks elsewhere (in another program's window) between them: a
    program's window takes the second for a double click whatever the other program saw."""

    DOUBLE_CLICK_GAP = 0.6  # seconds: more than the system's double-click time

    def __init__(self, display):
        self.env = dict(os.environ, DISPLAY=display.name)
        self._clicks = []  # (time, x, y) of the clicks within the double-click time
        self._spawn()

    def _spawn(self):
        self._xdotool = subprocess.Popen(["xdotool", "-"], env=self.env, stdin=subprocess.PIPE,
                                         stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)

    def _ask(self, line):
        """Sends a command line and the location question; the answer line, or "" if xdotool ended."""
        try:
            self._xdotool.stdin.write(line + "\ngetmouselocation\n")
            self._xdotool.stdin.flush()
        except BrokenPipeError:
            return ""
        return self._xdotool.stdout.readline()

    def xdotool(self, *args):
        """Runs one xdotool command line and waits until it is done: the pointer's location,
        asked for after it, comes back only then. Returns that location as a dict (x, y, window)."""
        line = " ".join(str(a) for a in args)
        if self._xdotool.poll() is not None:
            self._spawn()
        answer = self._ask(line)
        if not answer:
            # An X error ends xdotool, typically BadWindow when the window under the pointer went
            # away with the click that closed it: the command itself ran. Start a new one and ask
            # again where the pointer is; a failure of the new one is real.
            error = self._xdotool.stderr.read().strip()
            self._spawn()
            if "BadWindow" not in error:
                answer = self._ask(line)
            else:
                answer = self._ask("sleep 0")
            if not answer:
                raise Failure("xdotool %s: %s / %s" % (line, error, self._xdotool.stderr.read().strip()))
        fields = [field.split(":", 1) for field in answer.split()]
        if not all(len(field) == 2 for field in fields):
            raise Failure("xdotool %s answered %r" % (line, answer))
        return dict(fields)

    def close(self):
        self._xdotool.stdin.close()
        self._xdotool.wait()

    def move(self, x, y):
        self.xdotool("mousemove", x, y)

    def focus_under(self, x, y):
        """Gives the X keyboard focus to the window under the point: without a window manager
        nothing else would."""
        window = self.xdotool("mousemove", x, y).get("window")
        if window:
            self.xdotool("windowfocus", window)

    def _space_out(self, x, y):
        now = time.monotonic()
        self._clicks = [c for c in self._clicks if now - c[0] < self.DOUBLE_CLICK_GAP]
        near = [when for when, cx, cy in self._clicks if abs(x - cx) <= 8 and abs(y - cy) <= 8]
        if near:
            time.sleep(self.DOUBLE_CLICK_GAP - (now - max(near)))

    def _clicked(self, x, y):
        self._clicks.append((time.monotonic(), x, y))

    def click(self, x, y, button=1):
        self._space_out(x, y)
        self.xdotool("mousemove", x, y, "click", "--delay", 0, button)
        self._clicked(x, y)

    def drag(self, x, y, dx, dy, button=1, steps=4):
        self._space_out(x, y)
        args = ["mousemove", x, y, "mousedown", button]
        for i in range(1, steps + 1):
            args += ["sleep", "0.03", "mousemove", x + dx * i // steps, y + dy * i // steps]
        args += ["sleep", "0.05", "mouseup", button]
        self.xdotool(*args)
        self._clicked(x, y)
        self._clicked(x + dx, y + dy)

    def key(self, *keys):
        self.xdotool("key", "--delay", 8, *keys)

    def x_stacking(self):
        """The rectangles (left, top, right, bottom) of the X screen's windows, top first."""
        out = subprocess.run(["xwininfo", "-root", "-children"], env=self.env, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True).stdout
        rects = []
        for line in out.splitlines():
            m = re.search(r"\s(\d+)x(\d+)\+(-?\d+)\+(-?\d+)\s", line + " ")
            if m and line.strip().startswith("0x"):
                w, h, x, y = map(int, m.groups())
                rects.append((x, y, x + w, y + h))
        return rects



class StartedByWindows:
    """A program that the inspector started with CreateProcess, seen as a process is."""

    def __init__(self, inspector, program, line):
        self.inspector = inspector
        self.pid = inspector.ask("start", program, line)["pid"]
        self.returncode = None

    def poll(self):
        if self.returncode is None and not self.inspector.ask("running", self.pid)["running"]:
            self.returncode = 0
        return self.returncode

    def kill(self):
        self.inspector.ask("end", self.pid)
        self.returncode = 1

    def wait(self, timeout=None):
        return self.returncode


class Session:
    """Display, prefix, wineserver and inspector for one run; closes what it started."""

    def __init__(self, bin_dir, own_display=False, dpi=96, managed=False):
        """The prefix is the one in WINEPREFIX, else the tests' own of that DPI; either must run
        at the DPI. `managed`: a prefix of its own with Wine's default, windows handed to a window
        manager."""
        self.bin = bin_dir
        self.dpi = dpi
        self.prefix = (None if managed else os.environ.get("WINEPREFIX")) or \
            os.path.join(PREFIXES, str(self.dpi) + ("-managed" if managed else ""))
        self.processes = []
        self.display = self.wine = self.pointer = self.inspector = None
        try:
            self.display = Display(own_display)
            Wine.prepare_prefix(self.prefix, self.dpi, managed)
            self.wine = Wine(self.prefix, self.display)
            self.wine.keep_server()
            self.pointer = Pointer(self.display)
            self.inspector = Inspector(self.wine, self.exe("inspector"))
            if self.inspector.dpi != self.dpi:
                raise Failure("the prefix %s runs at %d DPI, not %d"
                              % (self.prefix, self.inspector.dpi, self.dpi))
        except BaseException:
            self.close()
            raise

    def exe(self, name):
        path = os.path.join(self.bin, name + ".exe")
        if not os.path.exists(path):
            raise Failure("missing program: " + path)
        return path

    def has(self, name):
        return os.path.exists(os.path.join(self.bin, name + ".exe"))

    def start(self, program, *args):
        """A program of the build by its name, or any program file by its path; it is ended at
        the latest with the session's other programs."""
        process = self.wine.start(program if os.sep in program else self.exe(program), *args)
        self.processes.append(process)
        return process

    def start_as_windows(self, program, line):
        """A program started as Windows starts one with a command line of another's making,
        unquoted blanks and all (Run keys, schedulers, installers)."""
        process = StartedByWindows(self.inspector, program, line)
        self.processes.append(process)
        return process

    TIP_CLASS = "tooltips_class32"

    def tips(self, pid):
        """The tips of a process that stand on the screen now: their windows' readings."""
        return [w for w in self.inspector.windows() if w["class"] == self.TIP_CLASS and w["pid"] == pid]

    def end_processes(self):
        """Kills whatever it started that still runs; the display and prefix stay for the next."""
        for process in self.processes:
            if process.poll() is None:
                process.kill()
                process.wait()
        self.processes.clear()

    def restart_wine(self):
        """Every program of the prefix ended, its server started again, and a new inspector."""
        self.end_processes()
        self.inspector.close()
        self.wine.restart_server()
        self.inspector = Inspector(self.wine, self.exe("inspector"))

    def close(self):
        self.end_processes()
        for part, closing in ((self.inspector, "close"), (self.pointer, "close"),
                              (self.wine, "stop_server"), (self.display, "close")):
            if part is not None:
                getattr(part, closing)()


class WorkArea:
    """The screen's work area as docked panels leave it, told to Wine through the root window's
    _NET_WORKAREA (the display keeps it: it never resets)."""

    def __init__(self, display):
        self.env = dict(os.environ, DISPLAY=display.name)

    def _xprop(self, *args):
        subprocess.run(["xprop", "-root", *args], env=self.env, check=True)

    def set(self, left, top, right, bottom):
        self._xprop("-f", "_NET_WORKAREA", "32c", "-set", "_NET_WORKAREA",
                    "%d,%d,%d,%d" % (left, top, right - left, bottom - top))

    def clear(self):
        self._xprop("-remove", "_NET_WORKAREA")

    def close(self):
        pass


def which(tool):
    if not shutil.which(tool):
        raise Failure("needs %s (scripts/setup.sh installs it)" % tool)
