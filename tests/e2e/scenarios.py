"""The scripted scenarios: set paths through both programs that a random run would seldom take,
listed in SCENARIOS in the order they run."""

import collections
import os
import shutil
import subprocess
import tempfile

from drag import FileWatch
from harness import Failure, HELP_CLASS, MAIN_CLASS, PLAIN_CLASS, SCREEN, wait_until, WorkArea
import model as M
from programs import HelpProgram, MainProgram, middle, PlainWindow


def scenario_start(session):
    """Topmost against a plain window and against the help window; 退出 in the panel view. (The
    splash's hand-over: tests/startup; the names a screen reader hears: the windows' tests.)"""
    tavrix = MainProgram(session)
    tavrix.wake()
    scenario_topmost(session, tavrix)
    tavrix.click("Command6")
    tavrix.click("Command7")     # 退出
    tavrix.expect_exit("退出")


def _stacking(session, upper_class, lower_class):
    """Whether the upper window lies above the lower one in the system's stacking order."""
    order = [w["class"] for w in session.inspector.windows()]
    if upper_class not in order or lower_class not in order:
        raise Failure("missing window: %r" % order)
    return order.index(upper_class) < order.index(lower_class)


def _x_above(session, upper_rect, lower_rect):
    """Whether, on the X screen, the window at upper_rect lies above the one at lower_rect."""
    order = session.pointer.x_stacking()
    try:
        return order.index(tuple(upper_rect)) < order.index(tuple(lower_rect))
    except ValueError:
        raise Failure("no such X window: %r %r in %r" % (upper_rect, lower_rect, order))


def scenario_topmost(session, tavrix):
    """Kept above an ordinary window even while that window is active; released below it again.
    Then against the help window, which is itself kept above all others.

    The stacking is read from the system's window order. On the X screen it is checked only where
    Wine without a window manager keeps it: Wine raises the X window of any window it activates
    or shows, topmost or not, so there the system's order is the one that counts."""
    m = tavrix.model
    if session.has("minimal_window"):
        # An ordinary window over the lower right part of the main window.
        plain = PlainWindow(session, 600, 400)
        plain_rect = (600, 400, 920, 600)
        tavrix.elsewhere("a plain window opens", plain.wait_shown)
        wait_until(lambda: _stacking(session, PLAIN_CLASS, MAIN_CLASS), what="the plain window on top")
        tavrix.click("Command13")  # 总在最上面
        wait_until(lambda: _stacking(session, MAIN_CLASS, PLAIN_CLASS), what="the main window on top")
        if not _x_above(session, m.window_rect(), plain_rect):
            raise Failure("on the X screen the topmost main window is not above the plain window")
        # The plain window, now active, stays below the topmost main window.
        tavrix.elsewhere("click the plain window", lambda: session.pointer.click(880, 560))
        if not _stacking(session, MAIN_CLASS, PLAIN_CLASS):
            raise Failure("the topmost main window went below an active ordinary window")
        tavrix.click("Command14")  # 普通
        tavrix.elsewhere("click the plain window", lambda: session.pointer.click(880, 560))
        wait_until(lambda: _stacking(session, PLAIN_CLASS, MAIN_CLASS), what="the plain window on top")
        if not _x_above(session, plain_rect, m.window_rect()):
            raise Failure("on the X screen the plain window is not above the released main window")
        plain.close()
        tavrix.click("Label3")

    # The help window is topmost from the start; a topmost main window goes above it, and the
    # help window above that again once it is activated.
    left = m.position[0]
    tavrix.drag(-left, 0)  # to the screen's left edge: the right part of the help window is uncovered
    helper = tavrix.elsewhere("the help window opens", lambda: HelpProgram(session))
    wait_until(lambda: _stacking(session, HELP_CLASS, MAIN_CLASS), what="the help window on top")
    help_tree = helper.tree
    tavrix.click("Command13")
    wait_until(lambda: _stacking(session, MAIN_CLASS, HELP_CLASS), what="the main window above help")
    if not _x_above(session, m.window_rect(), help_tree["rect"]):
        raise Failure("on the X screen the topmost main window is not above the help window")
    tavrix.elsewhere("click the help window", helper.click_box)
    wait_until(lambda: _stacking(session, HELP_CLASS, MAIN_CLASS), what="the help window above")
    tavrix.click("Command14")
    if _stacking(session, MAIN_CLASS, HELP_CLASS):
        raise Failure("the released main window lies above the topmost help window")
    # The main window, active, covers the help window's buttons on the X screen: the help window
    # is activated where it shows (its box), then its 退出 pressed.
    tavrix.elsewhere("click the help window", helper.click_box)
    helper.click("Command7")
    helper.expect_exit("退出")
    tavrix.click("Label3")
    tavrix.drag(left, 0)


def scenario_close_pictures(session):
    for view, clicks in (("lookup view", ["Command16"]), ("panel view", ["Command6", "Command11"])):
        tavrix = MainProgram(session)
        tavrix.wake()
        for name in clicks:
            tavrix.click(name)
        tavrix.expect_exit("the close picture of the " + view)


def scenario_alt_f4(session):
    """Alt+F4 ends the program, and so it does while a mouse button is held on the title strip:
    the left button runs the system's move loop, the right one the window's own capture."""
    for button in (None, 1, 3):
        tavrix = MainProgram(session)
        tavrix.wake()
        x, y = tavrix.screen(*tavrix.point_on("Image1"))
        press = ["mousedown", button, "sleep", "0.3"] if button else []
        release = ["sleep", "0.3", "mouseup", button] if button else []
        tavrix.pointer.xdotool("mousemove", x, y, *press, "key", "alt+F4", *release)
        tavrix.expect_exit("Alt+F4" + (" during a press of button %d on the title strip" % button
                                       if button else ""))


def scenario_help(session):
    """The help window kept above an ordinary window of another program while that is active
    (beside it: Wine without a window manager raises the X window of whatever it activates, and
    an overlap would take the help window's clicks); then 退出."""
    helper = HelpProgram(session)
    plain = PlainWindow(session, 0, helper.tree["rect"][3] + 2)
    plain.wait_shown()
    helper.expect_above(PLAIN_CLASS)
    plain.close()
    helper.click("Command7")
    helper.expect_exit("退出")


def scenario_help_close_box(session):
    helper = HelpProgram(session)
    helper.close_box()
    helper.expect_exit("the close box")


# ---- tips ----------------------------------------------------------------------------------------

def points_under(tavrix, tip, name):
    """The controls seen under a tip's screen rectangle, other than its own: for each, a client
    point inside the rectangle (the middle one of those there) where the model knows what a click
    does; in a text box, inside its text area, right of the input's text."""
    m = tavrix.model
    ox, oy = m.client_origin()
    left, top, right, bottom = tip
    found = {}
    for y in range(top - oy, bottom - oy):
        for x in range(left - ox, right - ox):
            target = m.hit_test(x, y)
            if target in (None, "outside", name):
                continue
            if target in ("Text1", "Text2"):
                l, t, r, b = m.text_area(target)
                l += M.pixels(3000, m.dpi) if target == "Text1" else 2
                if not (l <= x < r - 2 and t <= y < b):
                    continue
            found.setdefault(target, []).append((x, y))
    return {target: points[len(points) // 2] for target, points in found.items()}


def sweep_view(session, tavrix, view, prepare):
    """In one view, every control with a tip: the pointer rests on it until its tip shows, then
    each control under the tip is clicked inside the tip, and must act as the model says (the
    title strip is pressed and dragged). A click that ends the program starts it again."""
    started = []

    def ready():
        nonlocal tavrix
        if tavrix is None:
            tavrix = MainProgram(session)
            started.append((tavrix, len(session.wine.opened_addresses())))
            tavrix.wake()
        prepare(tavrix)
        return tavrix

    ready()
    for name in [n for n in M.TIPS if tavrix.is_seen(n)]:
        tip = tavrix.tip_of(name)["rect"]
        for target, (x, y) in sorted(points_under(tavrix, tip, name).items(),
                                     key=lambda item: item[0] in M.EXIT_BUTTONS):
            what = "%s: click %s at %d,%d under the tip of %s" % (view, target, x, y, name)
            ready().tip_of(name)
            if target == "Image1":
                tavrix.drag(9, 0, x=x, y=y)
                tavrix.drag(-9, 0, x=x + 9, y=y)
            else:
                tavrix.click_at(x, y, what)
            if tavrix.model.ended:
                tavrix.expect_exit(what)
                tavrix = None
    return tavrix, started


def scenario_tips(session):
    """A click on any control lands whatever tip stands over it: swept in each view, for every
    control with a tip and every control that its tip covers. (That the help window has none:
    tests/help/help_window_test.cpp.)"""
    tavrix, programs = None, []

    def lookup(program):
        if program.model.panel_view:
            program.click("Command10")
        if program.model.topmost:
            program.click("Command14")

    def panel(program):  # kept on top, so that "普通" and its tip are seen
        if not program.model.panel_view:
            program.click("Command6")
        if not program.model.topmost:
            program.click("Command13")

    for view, prepare in (("lookup view", lookup), ("panel view", panel)):
        tavrix, started = sweep_view(session, tavrix, view, prepare)
        programs += started
    if tavrix is not None:
        tavrix.click("Command11" if tavrix.model.panel_view else "Command16")
        tavrix.expect_exit("the close picture")
    # The web pages that the clicks opened, all programs' together: each started after the last.
    wanted = collections.Counter(a for program, _ in programs for a in program.model.opened)
    first = programs[0][1]
    wait_until(lambda: collections.Counter(session.wine.opened_addresses()[first:]) == wanted,
               timeout=20, interval=0.1, what="the browser record of %r" % dict(wanted))



# ---- the error report ----------------------------------------------------------------------------

def close_control(program, name):
    """Closes one of the program's controls from outside: the system destroys it, and the next
    handler that reads or writes it fails as if the control had gone wrong."""
    tree = program.read()
    control = program.controls(tree)[name]
    count = len(tree["controls"])
    program.inspector.close_control(control["hwnd"])
    wait_until(lambda: len(program.inspector.tree(tree["class"])["controls"]) == count - 1,
               what=name + " to go")


def expect_error_report(session, program, what):
    """The program's report of a failure: a message box of its process, topmost, above every
    other window of the program and in the foreground, so that it cannot be hidden behind the
    program's own topmost window. Return, typed into it as a user would, ends the program with a
    failing exit code and no window left."""
    def report():
        windows, foreground = session.inspector.stacking()
        boxes = [w for w in windows if w["class"] == "#32770" and w["pid"] == program.pid]
        return boxes and (boxes[0], windows, foreground)
    box, windows, foreground = wait_until(report, timeout=10, what="the error report after " + what)
    wrong = []
    if not box["topmost"]:
        wrong.append("it is not topmost")
    above = [w["class"] for w in windows[:windows.index(box)] if w["pid"] == program.pid]
    if above:
        wrong.append("it lies below the program's %s" % ", ".join(above))
    if foreground != box["hwnd"]:
        wrong.append("it is not the foreground window (%s is)" %
                     next((w["class"] for w in windows if w["hwnd"] == foreground), foreground))
    if wrong:
        raise Failure("the error report after %s: %s; windows: %s" % (
            what, "; ".join(wrong), ", ".join("%s%s" % (w["class"], " (topmost)" if w["topmost"] else "")
                                             for w in windows)))
    session.pointer.focus_under(*middle(box["rect"]))
    session.pointer.key("Return")
    program.expect_exit("Return in the error report", failed=True)


def scenario_error_report_main(session):
    """The main window kept on top; its output box goes; a key typed into the input box runs the
    lookup, whose write into the output box fails."""
    tavrix = MainProgram(session)
    tavrix.wake()
    tavrix.click("Command13")  # 总在最上面
    tavrix.click("Text1")
    close_control(tavrix, "Text2")
    session.pointer.key("a")
    expect_error_report(session, tavrix, "a key into the input box without its output box")


def scenario_error_report_help(session):
    """The help window (always on top) loses its box; a question button's answer then fails."""
    helper = HelpProgram(session)
    close_control(helper, "Text1")
    session.pointer.click(*middle(helper.screen_rect("Command1")))
    expect_error_report(session, helper, "a question without the answer box")


# ---- a file handed to the window: dropped on it, or named on the command line ---------------------

def windows_path(path):
    """A Linux path as Wine's programs see it, on drive Z:."""
    return "Z:" + path.replace("/", "\\")


# What the window says of a file whose content its name does not tell (model.finding's words).
PNG = M.finding("PNG图片", "png", "可移植网络图形(PNG)图片，无损压缩，支持透明，画图、浏览器和各种看图软件都能打开")
TEXT = M.finding("文本文件", "txt")
ZIP = M.finding("ZIP压缩文件", "zip")
PROGRAM = M.finding("Windows程序", "exe", program=True)


class Samples:
    """Real files in a folder of their own, made by the programs that make them and named rightly
    or without an extension; a program named as a picture, a folder named as an archive, and a
    pipe named as a picture (whatever opens it would wait for a writer). Each is seen to be as it
    was afterwards: its bytes and times, and nothing opened the pipe. (Every format and every
    name the rules know: tests/catalogue.)"""

    def __init__(self, session, prefix):
        self.folder = tempfile.mkdtemp(prefix=prefix)
        made = lambda *command: subprocess.run(command, cwd=self.folder, check=True)
        made("convert", "-size", "8x8", "xc:red", "picture.png")
        with open(self.path("README"), "w") as notes:
            notes.write("天气很好\n")
        made("zip", "-q", "archive.zip", "README")
        for made_as, named in (("picture.png", "picture"), ("archive.zip", "archive")):
            os.rename(self.path(made_as), self.path(named))
        shutil.copy(session.exe("inspector"), self.path("照片.jpg"))
        os.mkdir(self.path("x.zip"))
        os.mkfifo(self.path("x.jpg"))
        self.pipe = FileWatch(self.path("x.jpg"))
        self.files = {}  # their bytes, read before their times are set: reading may set one
        for name in os.listdir(self.folder):
            if os.path.isfile(self.path(name)):
                self.files[name] = self.bytes(name)
                os.utime(self.path(name), (self.TIME, self.TIME))

    TIME = 1_000_000_000  # whole seconds, which the system keeps exactly

    def path(self, name):
        return os.path.join(self.folder, name)

    def bytes(self, name):
        with open(self.path(name), "rb") as file:
            return file.read()

    def untouched(self):
        """Their times first, then their bytes."""
        times = {name: (status.st_mtime_ns, status.st_atime_ns) for name in self.files
                 for status in [os.stat(self.path(name))]}
        changed = [name for name, data in self.files.items()
                   if times[name] != (self.TIME * 10**9,) * 2 or self.bytes(name) != data]
        if changed or self.pipe.touched(wait=0.1):
            raise Failure("files were changed: %r, or the pipe was opened" % changed)

    def close(self):
        self.pipe.close()
        shutil.rmtree(self.folder)


# A file (a folder: ending in "/") dragged from another program and dropped on a control, what the
# input box gets (the catalogue's spelling, else lower case; None: nothing to look up), and what
# the output box says of its content (None: the lookup's own answer). A drop on the panel view
# goes back to the lookup view.
DROPS = [("picture", "Text1", "png", PNG), ("README", "guan", "txt", TEXT),
         ("照片.jpg", "Text2", "jpg", PROGRAM), ("x.zip/", "Text2", None, None), ("x.jpg", "Text2", "jpg", None)]


def scenario_drop(session):
    """Files dragged from another program onto either view, read for what they hold where they are
    plain files; the files stay as they were, and the window answers keys afterwards."""
    files = Samples(session, "tavrix drop ")
    try:
        tavrix = MainProgram(session)
        tavrix.wake()
        for name, on, extension, content in DROPS:
            if on == "guan" and not tavrix.model.panel_view:
                tavrix.click("Command6")
            tavrix.drop(files.path(name.rstrip("/")), on, extension, content)
        tavrix.input("zip")  # the window still answers
        files.untouched()
    finally:
        files.close()


def scenario_command_line(session):
    """Started as Windows starts a program: by "Open with" a real file in a folder whose name has
    a blank (Wine quotes such an argument, as the shell does), a name in Chinese, and the program
    itself unquoted from a folder whose name has a blank, as Run keys and schedulers start it.
    Each comes up with the extension and what the file holds, then answers a key; the files stay
    as they were. (The rule of the command line itself: tests/catalogue/file_name_test.cpp.)"""
    files = Samples(session, "tavrix open with ")
    program = files.path("my tools")
    os.mkdir(program)
    shutil.copy(session.exe("Tavrix"), program)
    exe = windows_path(os.path.join(program, "Tavrix.exe"))
    starts = [([windows_path(files.path("picture"))], None, "png", PNG),
              ([windows_path(files.path("照片.jpg"))], None, "jpg", PROGRAM),
              ((), (exe, '%s "%s"' % (exe, windows_path(files.path("archive")))), "zip", ZIP)]
    try:
        for args, line, extension, content in starts:
            try:
                tavrix = MainProgram(session, args, extension, content, line=line)
                tavrix.wake()
                tavrix.input("z")
            except Failure as failure:
                raise Failure("started with %r: %s" % (line or args, failure))
            session.end_processes()
        files.untouched()
    finally:
        files.close()


# ---- the output box as a screen reader hears it ----------------------------------------------------

def scenario_live_region(session):
    """Each change of the output box is told to screen readers of other programs at once, with
    the new text there to read; a key that leaves the box as it was tells nothing."""
    tavrix = MainProgram(session)
    tavrix.wake()
    tavrix.input("zi")
    tree = tavrix.read()
    output = next(c for c in tree["controls"] if c["z"] == 0 and c["parent"] == tree["hwnd"])
    m = tavrix.model
    for key, update in (("x", lambda: m.key_text("x")), ("BackSpace", m.key_backspace),
                        ("p", lambda: m.key_text("p")), ("BackSpace", m.key_backspace)):
        before = m.text2
        events = tavrix.key_heard(key, update)
        wanted = [m.text2] if m.text2 != before else []
        heard = [e for e in events
                 if e["hwnd"] == output["hwnd"] and m.text2 in (e.get("value"), e.get("name"))]
        if len(events) != len(wanted) or len(heard) != len(wanted):
            raise Failure("%s into %r: screen readers were told %r, expected %d event(s) for the "
                          "output box %s holding %r"
                          % (key, m.text1, events, len(wanted), output["hwnd"], wanted[:1]))
    # "没有显示" with the input in capitals writes the hint, then the lookup its answer: heard once.
    tavrix.input("JPG")
    events = tavrix.click_heard("Command2")
    if [(e["hwnd"], m.text2 in (e.get("value"), e.get("name"))) for e in events] != [(output["hwnd"], True)]:
        raise Failure("没有显示 with JPG: screen readers were told %r, expected one event for the output box "
                      "holding the description of jpg" % events)


# ---- where the windows open, with a panel docked at an edge of the screen --------------------------

# The work area that each panel leaves, and where the main window then lies at 144 DPI, which
# leaves it no room there: the view, the side of its rectangle, the place.
PANELS = [("left", (150, 0, 1024, 768), ("panel view", 0, 116)),
          ("top", (0, 150, 1024, 768), ("lookup view", 1, 130))]


def expect_inside(what, rect, work):
    """A window that fits into the work area lies inside it; else inside the screen."""
    fits = rect[2] - rect[0] <= work[2] - work[0] and rect[3] - rect[1] <= work[3] - work[1]
    area = work if fits else (0, 0) + SCREEN
    if not (area[0] <= rect[0] and area[1] <= rect[1] and rect[2] <= area[2] and rect[3] <= area[3]):
        raise Failure("%s lies at %r, outside %r" % (what, rect, area))


def scenario_placement(session):
    """Each window opens where a docked panel leaves room, else on the screen; so does the main
    window when it grows to the panel view. The main window's places are its model's; the
    splash and the help window are centred in the work area."""
    area = WorkArea(session.display)
    try:
        for side, work, (view, axis, place) in PANELS:
            area.set(*work)
            session.restart_wine()
            tavrix = MainProgram(session, work=work, read_splash=True)
            rect = tuple(tavrix.splash["rect"])
            if rect[:2] != M.opening_place(work, (0, 0) + SCREEN, (rect[2] - rect[0], rect[3] - rect[1])):
                raise Failure("in the work area %r the splash opens at %r" % (work, rect))
            tavrix.wake()
            rects = {"lookup view": tavrix.model.window_rect()}
            tavrix.click("Command2")  # 没有显示: on the screen
            rects["panel view"] = tuple(tavrix.click("Command6")["rect"])
            tavrix.click("Command10")
            for name, rect in rects.items():
                expect_inside("with a panel on the %s the %s" % (side, name), rect, work)
            if rects[view][axis] != place:
                raise Failure("with a panel on the %s the %s lies at %r" % (side, view, rects[view]))
            tavrix.click("Command16")
            tavrix.expect_exit("the close picture")
            helper = HelpProgram(session, work)  # centred in the work area
            helper.click("Command7")
            helper.expect_exit("退出")
    finally:
        session.end_processes()
        area.clear()
        session.restart_wine()
        area.close()


SCENARIOS = [
    ("start, topmost, 退出", scenario_start),
    ("the close pictures of both views", scenario_close_pictures),
    ("Alt+F4, also during a press on the title strip", scenario_alt_f4),
    ("tips: a click on whatever a tip covers lands", scenario_tips),
    ("help: above an active window, 退出", scenario_help),
    ("help: the close box", scenario_help_close_box),
    ("the error report of the main window", scenario_error_report_main),
    ("the error report of the help window", scenario_error_report_help),
    ("a file dropped from another program", scenario_drop),
    ("started with a file or an extension", scenario_command_line),
    ("the output box heard by screen readers", scenario_live_region),
    ("placement beside docked panels", scenario_placement, 144),
]
