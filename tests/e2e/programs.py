"""The drivers: Tavrix.exe and TavrixHelp.exe, each run with its model beside it and compared after
every action, and an ordinary window of another program to set beside them."""

import collections
import os
import random
import subprocess
import time

from drag import drag_file
from harness import Failure, HELP_CLASS, MAIN_CLASS, PLAIN_CLASS, SCREEN, SPLASH_CLASS, wait_until
import model as M

SETTLE_TIMEOUT = 3.0
KEYSYMS = {" ": "space", "*": "asterisk", ".": "period"}


def middle(rect):
    left, top, right, bottom = rect
    return (left + right) // 2, (top + bottom) // 2


def input_point(rng, m):
    """A point in the input box's text area right of its text, on its seen line: the caret goes
    to that line's end. (The text takes at most 6 characters.)"""
    left, top, right, bottom = m.text_area("Text1")
    return rng.randrange(left + M.pixels(3000, m.dpi), right - 2), (top + bottom) // 2


class Program:
    """One run of a program with its model beside it. Every action goes in as real input, is
    applied to the model, and is followed by a wait until the inspector reads what the model
    expects."""

    def __init__(self, session, model):
        self.session = session
        self.inspector = session.inspector
        self.pointer = session.pointer
        self.model = model
        self.log = []

    def check(self, what, changed=True):
        """Waits until the window shows the model's state; returns the window's tree. An action
        that should change nothing is looked at twice, so that a late effect is not missed."""
        time.sleep(0.02)
        deadline = time.monotonic() + SETTLE_TIMEOUT
        confirmed = changed
        while True:
            reading = self.read()
            differences = self.model.differences(reading)
            if not differences:
                if confirmed:
                    return reading
                confirmed = True
                time.sleep(0.05)
                continue
            if time.monotonic() > deadline:
                windows, foreground = self.inspector.stacking()
                listed = ["%s%s" % (w["class"], " (foreground)" if w["hwnd"] == foreground else "")
                          for w in windows]
                raise Failure("after %s the window differs from the model:\n  %s\nwindows: %s\n"
                              "last actions:\n  %s" % (what, "\n  ".join(differences), ", ".join(listed),
                                                        "\n  ".join(self.log[-16:])))
            time.sleep(0.01)

    def _act(self, what, perform, update):
        self.log.append(what)
        signature = self.model.signature()
        update()
        perform()
        if self.model.ended:
            return None
        return self.check(what, changed=self.model.signature() != signature)

    def elsewhere(self, what, perform):
        """Something done to another program's window (a click, or a start), which becomes the
        active one. Returns what perform returned."""
        results = []
        self._act(what, lambda: results.append(perform()), self.model.deactivate)
        return results[-1]

    def expect_exit(self, what, failed=False):
        """The program ends, with exit code 0 or (failed) another, and leaves no window behind."""
        try:
            code = self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            raise Failure("%s did not end the program" % what)
        if (code != 0) != failed:
            raise Failure("%s ended the program with exit code %d" % (what, code))
        left = [w for w in self.inspector.windows() if w["pid"] == self.pid]
        if left:
            raise Failure("%s left windows behind: %r" % (what, left))

    # -- keys: real keys, and the model told what they do ----------------------------------------

    def type(self, text):
        return self._act("type %r" % text, lambda: self.pointer.key(*[KEYSYMS.get(c, c) for c in text]),
                         lambda: self.model.key_text(text))

    def enter(self):
        return self._act("Enter", lambda: self.pointer.key("Return"), self.model.key_enter)

    def backspace(self, times=1):
        return self._act("BackSpace x%d" % times, lambda: self.pointer.key(*["BackSpace"] * times),
                         lambda: [self.model.key_backspace() for _ in range(times)])

    def select_all(self):
        return self._act("ctrl+a", lambda: self.pointer.key("ctrl+a"), self.model.key_select_all)

    def paste(self, text):
        self.inspector.clipboard(text)
        return self._act("paste %r" % text, lambda: self.pointer.key("ctrl+v"),
                         lambda: self.model.key_paste(text))

    def tab(self, backwards=False):
        return self._act("shift+Tab" if backwards else "Tab",
                         lambda: self.pointer.key("shift+Tab" if backwards else "Tab"),
                         lambda: self.model.key_tab(backwards))


class MainProgram(Program):
    """One run of Tavrix.exe with the model of its main window: started with the arguments `args`
    (or, as Windows starts programs, the program `line[0]` with the command line `line[1]` whole),
    coming up with `extension` in the input box (None: nothing to look up) and `content` as the
    output box's word on the file (None: the lookup's own answer); on a screen whose work area is
    `work` (None: the whole screen). With `read_splash`, the splash is read while it shows:
    self.splash its tree."""

    def __init__(self, session, args=(), extension=None, content=None, work=None, read_splash=False,
                 line=None):
        super().__init__(session, M.MainWindow(session.dpi, SCREEN, work))
        self.model.put_extension(extension, content)
        self.process = session.start_as_windows(*line) if line else session.start("Tavrix", *args)
        if read_splash:
            self.seen = self.inspector.watch(15000, SPLASH_CLASS)
            self.splash = self.inspector.tree(SPLASH_CLASS)
            if not self.splash:
                raise Failure("the splash went before it could be read")
            self.seen.update(self.inspector.watch(15000, MAIN_CLASS))
        else:
            self.seen = self.inspector.watch(15000, SPLASH_CLASS, MAIN_CLASS)
        if not self.seen[MAIN_CLASS]:
            if self.process.poll() is not None:
                raise Failure("Tavrix ended with exit code %d before its main window"
                              % self.process.returncode)
            raise Failure("the main window did not appear")
        start = self.check("the start state")
        self.pid = start["pid"]
        self.model.learn_text_areas(start)

    def tree(self):
        return self.inspector.tree(MAIN_CLASS)

    read = tree

    def controls(self, tree):
        return self.model.match(tree, [])

    # -- actions -----------------------------------------------------------------------------

    def screen(self, x, y):
        ox, oy = self.model.client_origin()
        return ox + x, oy + y

    def point_on(self, name):
        """A client point where the control is seen: its middle when that is seen, else a seen
        point found at random."""
        left, top, right, bottom = self.model.client_rect(name)
        candidates = [middle((left, top, right, bottom))]
        rng = random.Random(name)
        for _ in range(80):
            candidates.append((rng.randrange(left, max(right, left + 1)),
                               rng.randrange(top, max(bottom, top + 1))))
        for x, y in candidates:
            if self.model.hit_test(x, y) == name:
                return x, y
        raise Failure("%s is not seen anywhere" % name)

    def is_seen(self, name):
        """Whether the control is seen anywhere in the window now."""
        try:
            return bool(self.point_on(name))
        except Failure:
            return False

    def tip_of(self, name):
        """Rests the pointer on a control until its tip shows, and returns the tip's reading. The
        pointer first goes where no control is, until no tip stands: the tip that shows then is
        this control's."""
        self.pointer.move(*self.screen(2, self.model.client_size()[1] - 3))
        wait_until(lambda: not self.session.tips(self.pid), timeout=5, what="no tip")
        self.pointer.move(*self.screen(*self.point_on(name)))
        try:
            return wait_until(lambda: self.session.tips(self.pid), timeout=5, what="the tip")[0]
        except Failure:
            raise Failure("the tip of %s did not show where the pointer rested" % name)

    def click_at(self, x, y, what=None, rest=None):
        """A click at a client point, the moment the pointer gets there; before it, the pointer may
        rest on a control for a while (rest: name, seconds), and its tip may stand over the point."""
        sx, sy = self.screen(x, y)
        target = self.model.hit_test(x, y)
        if rest:
            self.pointer.move(*self.screen(*self.point_on(rest[0])))
            time.sleep(rest[1])
        rested = " after %.1f s on %s" % (rest[1], rest[0]) if rest else ""
        return self._act(what or "click %s at %d,%d%s" % (target, x, y, rested),
                         lambda: self.pointer.click(sx, sy), lambda: self.model.click(x, y))

    def click(self, name):
        x, y = input_point(random.Random(0), self.model) if name == "Text1" else self.point_on(name)
        return self.click_at(x, y, "click " + name)

    def drag(self, dx, dy, button=1, x=None, y=3):
        """Presses a mouse button on the title strip, moves by dx, dy and lets go."""
        if x is None:
            x = self.model.client_rect("Image1")[0] + 60
        sx, sy = self.screen(x, y)
        tree = self._act("drag with button %d by %d,%d" % (button, dx, dy),
                         lambda: self.pointer.drag(sx, sy, dx, dy, button),
                         lambda: self.model.drag(dx, dy))
        self._let_go(button, sx + dx, sy + dy)
        return tree

    def _let_go(self, button, x, y):
        """The window must stay where the button was released, whatever the pointer does next (the
        system's move loop ends only when the left button goes up: after another button the window
        follows the pointer itself)."""
        self.pointer.move(x + 9, y + 7)
        time.sleep(0.1)
        if tuple(self.tree()["rect"]) != self.model.window_rect():
            raise Failure("after a drag with button %d the window still follows the pointer" % button)
        self.pointer.move(x, y)

    def drop(self, path, on, extension, content=None):
        """Drags the file from a window of another program and drops it on a control; the input
        box gets `extension` (None: nothing to look up), the output box `content` where given."""
        point = self.screen(*self.point_on(on))
        return self._act("drop %s on %s" % (os.path.basename(path), on),
                         lambda: drag_file(path, point, display=self.session.display.name),
                         lambda: self.model.put_extension(extension, content))

    def heard(self, what, perform, update, listen_ms=600):
        """Something done while listening for listen_ms as a screen reader does, the model told
        by update(); returns what the program told of its live regions."""
        events = []

        def listened():
            self.inspector.start_hearing(listen_ms, self.pid)
            perform()
            events.extend(self.inspector.end_hearing(listen_ms))
        self._act("%s, listened to" % what, listened, update)
        return events

    def key_heard(self, key, update):
        """A key (an xdotool key name) typed, listened to."""
        return self.heard(key, lambda: self.pointer.key(key), update)

    def click_heard(self, name):
        """A click on a control in its middle, listened to."""
        x, y = self.point_on(name)
        return self.heard("click " + name, lambda: self.pointer.click(*self.screen(x, y)),
                          lambda: self.model.click(x, y))

    def wake(self):
        """Makes sure that the new window has the X keyboard focus before the first key, as a user
        who looks at it would: without a window manager only Wine gives it, to the window that it
        brings to the foreground."""
        self.pointer.focus_under(*self.screen(*self.point_on("Label3")))

    def input(self, text):
        """Replaces the input box's text by typing, as a user does."""
        if self.model.focus != "Text1":
            self.click("Text1")
        self.select_all()
        if text:
            self.type(text)
        else:
            self.backspace()

    # -- the end -----------------------------------------------------------------------------

    def expect_opened(self, before):
        """The browser recorder got exactly the addresses that the model expects (the shell starts
        the browser asynchronously: the record is polled)."""
        wanted = collections.Counter(self.model.opened)
        try:
            wait_until(lambda: collections.Counter(self.session.wine.opened_addresses()[before:]) == wanted,
                       timeout=20, interval=0.1, what="the browser record")
        except Failure:
            raise Failure("the shell opened %r, expected %r"
                          % (self.session.wine.opened_addresses()[before:], self.model.opened))


class HelpProgram(Program):
    """One run of TavrixHelp.exe, read from outside for what only another process sees: where its
    window opens (centred in the work area `work`, None: the screen), its names as a screen reader
    hears them, that it stays above other programs' windows, how it ends. (Its design, answers and
    keys: tests/help.)"""

    def __init__(self, session, work=None):
        super().__init__(session, None)
        self.process = session.start("TavrixHelp")
        if not self.inspector.watch(10000, HELP_CLASS)[HELP_CLASS]:
            raise Failure("the help window did not appear")
        self.tree = self.wait_for(lambda tree: tree["foreground"] == tree["hwnd"], "the help window active")
        self.pid = self.tree["pid"]
        rect, monitor = tuple(self.tree["rect"]), (0, 0) + SCREEN
        if rect[:2] != M.opening_place(work or monitor, monitor, (rect[2] - rect[0], rect[3] - rect[1])):
            raise Failure("in the work area %r the help window opens at %r" % (work or monitor, rect))
        left, top, _, _ = rect
        self.edge, self.band = self.tree["client_screen"][0] - left, self.tree["client_screen"][1] - top
        self.pointer.focus_under(left + self.band * 3, top + self.band // 2)

    def read(self):
        return self.inspector.tree(HELP_CLASS)

    def wait_for(self, holds, what):
        """The window's tree once holds(tree), as a person sees it before the next click."""
        def reading():
            tree = self.read()
            return tree if tree and holds(tree) else None
        return wait_until(reading, what=what)

    def controls(self, tree):
        """The window's controls by their names, matched by their places in the stacking order."""
        children = sorted((c for c in tree["controls"] if c["parent"] == tree["hwnd"]), key=lambda c: c["z"])
        return {row[0]: control for row, control in zip(M.HELP_CONTROLS, children)}

    def screen_rect(self, name):
        ox, oy = self.tree["client_screen"][:2]
        left, top, right, bottom = self.controls(self.tree)[name]["rect"]
        return ox + left, oy + top, ox + right, oy + bottom

    def click(self, name):
        """Clicks a button in its middle; a question's answer is waited for. Returns the tree."""
        self.pointer.click(*middle(self.screen_rect(name)))
        if name not in M.HELP_ANSWERS:
            return None
        return self.wait_for(lambda tree: self.controls(tree)["Text1"]["text"] == M.HELP_ANSWERS[name],
                             "the answer of " + name)

    def click_box(self):
        """Clicks into the box at its right edge, near its bottom: below the last line of its text."""
        ox, oy = self.tree["client_screen"][:2]
        _, _, right, bottom = self.controls(self.tree)["Text1"]["client"]  # inside the border and scroll bar
        self.pointer.click(ox + right - 2, oy + bottom - 1 - M.pixels(200, self.session.dpi))

    def close_box(self):
        """Clicks the close box at the right end of the title bar."""
        _, top, right, _ = self.tree["rect"]
        title = self.band - self.edge  # the title bar's height
        self.pointer.click(right - self.edge - title // 2 - 1, top + self.edge + title // 2)

    def expect_above(self, *classes):
        """Above every window of these classes, kept on top."""
        windows = [w["class"] for w in self.inspector.windows()]
        below = [c for c in classes if c in windows and windows.index(c) < windows.index(HELP_CLASS)]
        if below or not self.read()["topmost"]:
            raise Failure("the help window lies below %r (windows, top first: %r)" % (below, windows))


class PlainWindow:
    """An ordinary window of another program (minimal_window), with its top-left corner at x, y."""

    def __init__(self, session, x, y):
        self.session = session
        self.process = session.start("minimal_window", str(x), str(y))

    def wait_shown(self):
        """Until it is on the screen and active, as a person sees it before the next click: a click
        on another window while its activation is still under way would go astray."""
        if not self.session.inspector.watch(10000, PLAIN_CLASS)[PLAIN_CLASS]:
            raise Failure("the plain window did not appear")
        tree = self.session.inspector.tree(PLAIN_CLASS)
        wait_until(lambda: self.session.inspector.stacking()[1] == tree["hwnd"],
                   what="the plain window active")

    def close(self):
        self.session.inspector.close_window(PLAIN_CLASS)
        if self.process.wait(timeout=10) != 0:
            raise Failure("the plain window did not close")
