"""A reference model of the main window 界面, written from its design rather than from its code:
the controls in stacking order with their places in twips, the two views and two panels, the
stacking of the window, the lookup over the catalogue, the not-shown hint and the commands. It
also models what the system's own controls do with the user's keys (the input box's editing and
its 6-character limit, Tab order, focus going on when a focused control is hidden), since a real
user's keys reach the window through them.

Two things Wine's input box does that the model follows: Ctrl+A, and a key or a paste refused at
the 6-character limit, notify a change although the text stays, so the lookup runs again (and
replaces the not-shown hint with the same lookup's result).

The model knows nothing of the program's control ids: it matches the inspector's controls by
their place in the stacking order, so a control out of place shows up as a difference."""

import math
import re
from fractions import Fraction

from oracle import MAKER, load_catalogue_oracle, load_designs


# ---- data the windows show: the catalogue, the maker's contact values, the designs -------------

def own_words(key):
    """What the model expects where the catalogue words a description itself: the oracle fixes
    no text for it, so the window's first showing of it is taken as it is (as_shown)."""
    return "\0%s\0" % key


_OWN_WORDS = re.compile("\0([^\0]*)\0")
_SHOWN = {}  # key: the catalogue's own words, as the window first showed them


def as_shown(expected, actual):
    """The text expected, the catalogue's own words in it as the window showed them the first
    time: from then on they must be the same, and never empty."""
    found = _OWN_WORDS.search(expected)
    if not found:
        return expected
    before, after = expected[:found.start()], expected[found.end():]
    words = actual[len(before):len(actual) - len(after)]
    if (found.group(1) not in _SHOWN and words and actual.startswith(before)
            and actual.endswith(after)):
        _SHOWN[found.group(1)] = words
    return before + _SHOWN.get(found.group(1), "<the catalogue's own words>") + after


# The 268 (key, description) entries in catalogue order, repeats included.
CATALOGUE = [(key, own_words(key) if text is None else text) for key, text in load_catalogue_oracle()]
_WINDOWS = load_designs()
_MAIN, _HELP = _WINDOWS["main"], _WINDOWS["help"]


def find_description(text):
    """The description of the last entry whose key equals the whole text, or the empty text."""
    result = ""
    for key, description in CATALOGUE:
        if key == text:
            result = description
    return result


def finding(kind, extension, text=None, program=False):
    """What the output box says of a file whose content its name does not tell: what it is and
    its usual extension (a program's as a warning), then the catalogue's text under that
    extension or the kind's own."""
    first = ("警告：这是%s，通常的后缀名是.%s，打开就会运行，并非名字所示的文件" if program
             else "按内容看，这是%s，通常的后缀名是.%s") % (kind, extension)
    return first + "\r\n" + (text or find_description(extension))


HELP_ANSWERS = dict(_HELP["answer"])  # button by button


# ---- the main window's design -----------------------------------------------------------------

BUTTON, EDIT, LABEL, PANEL, PICTURE = "Button", "Edit", "Label", "Panel", "Picture"

# In stacking order, the first on top: name, kind, left, top, width, height (twips), caption,
# shown at start. Inside guan, in the order the design lists them; none overlaps another.
CONTROLS = [tuple(row) for row in _MAIN["control"] if len(row) == 8]
GUAN_LABELS = [tuple(row[:8]) for row in _MAIN["control"] if row[8:] == ["guan"]]
TIPS = dict(_MAIN["tip"])  # by control; the help window has none
TAB_ORDER = _MAIN["tab"]
EXIT_BUTTONS = ("Command7", "Command11", "Command16")
WEB_BUTTONS = ("Command1", "Command5", "Command15")

LOOKUP_WIDTH, PANEL_WIDTH = _MAIN["value"]["LookupWidth"], _MAIN["value"]["PanelWidth"]  # outer, twips
CLIENT_HEIGHT = _MAIN["value"]["ClientHeight"]
INPUT_LIMIT = _MAIN["value"]["InputLimit"]
PROMPT, NOT_SHOWN_HINT = _MAIN["value"]["Prompt"], _MAIN["value"]["NotShownHint"]
CLASS_OF_KIND = {BUTTON: "Button", EDIT: "Edit", LABEL: "Static"}


def pixels(twips, dpi=96):
    """A length in twips (1440 to the inch) in whole pixels at the DPI: the nearest, a half up."""
    return math.floor(Fraction(twips * dpi, 1440) + Fraction(1, 2))


def nearest_inside(wished, size, areas):
    """Along one axis: the place nearest `wished` where a span of that size lies wholly inside the
    first of the areas (low, high) that has room for it; where none has, the last one's low edge."""
    for low, high in areas:
        if size <= high - low:
            return min(range(low, high - size + 1), key=lambda place: abs(place - wished))
    return areas[-1][0]


def widened(work, rect, width):
    """Where a window at `rect` goes as it widens to `width`: the strip it adds (from its right
    edge out, as tall as the window) comes onto the work area. On each axis the window goes back,
    up or left, by as much of the strip as sticks out past the far edge, or, where the strip is
    larger than the work area, past the near one; never right or down."""
    strip = (rect[2], rect[1], rect[0] + width, rect[3])

    def back(i):
        if strip[i + 2] - strip[i] <= work[i + 2] - work[i]:
            return max(strip[i + 2] - work[i + 2], 0)
        return max(strip[i] - work[i], 0)
    return (rect[0] - back(0), rect[1] - back(1))


def opening_place(work, monitor, size):
    """Every window opens centred in the work area (left, top, right, bottom; where the room or the
    overhang is an odd number of pixels, the odd one lies right or below), then goes as little as
    keeps it on the screen, each axis on its own: wholly in the work area where it fits there, else
    wholly on the monitor, over a docked panel; larger than the monitor, at its top-left, the title
    strip in reach."""
    centre = tuple(work[i] + int(Fraction(work[i + 2] - work[i] - size[i], 2)) for i in (0, 1))
    return tuple(nearest_inside(centre[i], size[i], [(work[i], work[i + 2]), (monitor[i], monitor[i + 2])])
                 for i in (0, 1))


class Control:
    def __init__(self, row, dpi, parent=None):
        self.name, self.kind, left, top, width, height, self.caption, self.shown_at_start = row
        self.parent = parent
        x, y = pixels(left, dpi), pixels(top, dpi)
        self.rect = (x, y, x + pixels(width, dpi), y + pixels(height, dpi))


class MainWindow:
    """The state of 界面 and what each user action does to it. The keys go into the box Text1
    while it has the focus, edited as _replace_selection and _backspace say; Space presses a
    focused button."""

    def __init__(self, dpi=96, screen=(1024, 768), work=None):
        """`work`: the work area, where panels docked at the screen's edges leave less than the
        screen (None: the whole screen)."""
        self.dpi = dpi
        self.screen = screen
        self.work = work
        self.controls = [Control(row, dpi) for row in CONTROLS]
        self.labels = [Control(row, dpi, "guan") for row in GUAN_LABELS]
        self.by_name = {c.name: c for c in self.controls + self.labels}
        # The start state: the load handler has run, the window opened at the lookup width.
        self.shown = {c.name: c.shown_at_start for c in self.controls + self.labels}
        self.text1, self.text2, self.sm = PROMPT, "", ""
        self.selection = (0, 0)
        self.first_line = 0
        self.panel_view = False
        self.topmost = False
        self.focus = TAB_ORDER[0]  # activation focuses the first control in tab order
        self.active = True
        self.focus_when_active = None
        monitor = (0, 0) + tuple(screen)
        self.position = opening_place(work or monitor, monitor, self.outer_size())
        self.opened = []
        self.ended = False
        # Where the edit controls' texts lie, inside their borders and scroll bars: the system's
        # metrics, not the design, so read from the window (see learn_text_areas).
        self.text_areas = {}

    # -- geometry ---------------------------------------------------------------------------

    def outer_size(self):
        return (pixels(PANEL_WIDTH if self.panel_view else LOOKUP_WIDTH, self.dpi),
                pixels(CLIENT_HEIGHT, self.dpi) + 2)

    def window_rect(self):
        width, height = self.outer_size()
        return (self.position[0], self.position[1], self.position[0] + width, self.position[1] + height)

    def client_origin(self):
        return (self.position[0] + 1, self.position[1] + 1)  # inside the 1-pixel frame

    def client_size(self):
        width, height = self.outer_size()
        return (width - 2, height - 2)

    def hit_test(self, x, y):
        """The control that is seen and gets the mouse at a client point of the window: the
        uppermost shown control there, a label of guan before guan itself; None for the window."""
        width, height = self.client_size()
        if not (0 <= x < width and 0 <= y < height):
            return "outside"
        for control in self.controls:
            left, top, right, bottom = control.rect
            if not (self.shown[control.name] and left <= x < right and top <= y < bottom):
                continue
            if control.name == "guan":
                for label in self.labels:
                    l, t, r, b = label.rect
                    if self.shown[label.name] and l <= x - left < r and t <= y - top < b:
                        return label.name
            return control.name
        return None

    # -- focus, as the window's tab order and the system's controls move it -----------------

    def can_focus(self, name):
        return name in TAB_ORDER and self.shown[name] and not self.covered(name)

    def covered(self, name):
        """Whether a shown control above it covers it wholly: then it is not seen and takes no
        focus (guan under the output box, "总在最上面" under "普通")."""
        left, top, right, bottom = self.by_name[name].rect
        for control in self.controls:
            if control.name == name:
                return False
            l, t, r, b = control.rect
            if self.shown[control.name] and l <= left and t <= top and right <= r and bottom <= b:
                return True
        return False

    def move_focus(self, start_from, backwards=False):
        """Tab: the focus goes to the next control after start_from in the tab order that can take
        it, wrapping round; Shift+Tab to the one before. From outside the order it starts at the
        order's first (Shift+Tab: last). Where none other can take it, a control that goes leaves
        no focus behind."""
        order = TAB_ORDER[::-1] if backwards else TAB_ORDER
        if start_from in order:
            at = order.index(start_from)
            order = order[at + 1:] + order[:at]
        self.focus = next((name for name in order if self.can_focus(name)),
                          None if self.focus == start_from else self.focus)

    def set_shown(self, name, shown):
        # Keyboard input does not stay with a control that nobody sees: one that is hidden, or
        # covered by the control shown.
        if not shown and self.focus == name:
            self.move_focus(name)
        self.shown[name] = shown
        if shown and self.focus in TAB_ORDER and not self.can_focus(self.focus):
            self.move_focus(self.focus)

    def activate(self):
        """Active again: the control that had the focus gets it back."""
        if not self.active:
            self.active = True
            saved = self.focus_when_active
            self.focus = saved if saved and self.can_focus(saved) else next(
                (name for name in TAB_ORDER if self.can_focus(name)), None)

    # -- the input box and the lookup ----------------------------------------------------------

    def lookup(self):
        self.text2 = find_description(self.text1)

    def _edit(self, start, end, inserted):
        text = self.text1[:start] + inserted + self.text1[end:]
        caret = start + len(inserted)
        self.selection = (caret, caret)
        self.first_line = text[:caret].count("\r\n")  # the box scrolls to keep the caret seen
        if text != self.text1:
            self.text1 = text
            self.lookup()

    def _replace_selection(self, inserted):
        start, end = self.selection
        room = INPUT_LIMIT - (len(self.text1) - (end - start))
        fitting = inserted[:max(room, 0)]  # what does not fit is dropped
        if not fitting and start == end:
            if inserted:
                self.lookup()  # refused at the limit, yet notified as a change
            return
        self._edit(start, end, fitting)

    def _backspace(self):
        start, end = self.selection
        if start != end:
            self._edit(start, end, "")
        elif start > 0:
            # A line break goes as one.
            width = 2 if self.text1[start - 2:start] == "\r\n" else 1
            self._edit(start - width, start, "")

    # -- user actions ------------------------------------------------------------------------

    def click(self, x, y):
        """A click (left button pressed and released) at a client point."""
        target = self.hit_test(x, y)
        if target == "outside":
            return
        self.activate()
        if target is None:
            return
        if self.by_name[target].kind == BUTTON:
            self.focus = target  # a button takes the focus as it is pressed
            self.command(target)
        elif target == "Text1":
            self.focus = target
            # Clicked right of the text on its seen line: the caret goes to that line's end.
            lines = self.text1.split("\r\n")
            line = min(self.first_line, len(lines) - 1)
            caret = sum(len(l) + 2 for l in lines[:line]) + len(lines[line])
            self.selection = (caret, caret)
        elif target in ("Text2", "guan"):
            self.focus = target
        elif target == "Label9":
            self.command(target)
        # A press on the title strip Image1 drags the window; without motion it stays put.

    def drag(self, dx, dy):
        """Any mouse button pressed on the title strip, moved and released."""
        self.activate()
        self.position = (self.position[0] + dx, self.position[1] + dy)

    def deactivate(self):
        """Another window became the active one: no control of this window has the focus."""
        if self.active:
            self.active, self.focus_when_active, self.focus = False, self.focus, None

    def key_text(self, text):
        """Printable characters typed one by one (a space included)."""
        for character in text:
            if self.focus == "Text1":
                self._replace_selection(character)
            elif character == " " and self.focus and self.by_name[self.focus].kind == BUTTON:
                self.command(self.focus)
            if self.ended:
                return

    def key_enter(self):
        if self.focus == "Text1":
            self._replace_selection("\r\n")

    def key_backspace(self):
        if self.focus == "Text1":
            self._backspace()

    def key_paste(self, clipboard):
        if self.focus == "Text1":
            self._replace_selection(clipboard)

    def key_select_all(self):
        if self.focus == "Text1":  # the box does not scroll for it
            self.selection = (0, len(self.text1))
            self.lookup()  # notified as a change, though the text stays

    def key_tab(self, backwards=False):
        self.move_focus(self.focus, backwards)

    # -- the commands ------------------------------------------------------------------------

    def command(self, name):
        getattr(self, "on_" + name)()

    def on_Command6(self):  # "→": the panel view, about panel
        self.set_shown("Text1", False)
        self.set_shown("Text2", False)
        self.set_shown("Command6", False)
        self.set_shown("Command10", True)
        lookup = self.window_rect()
        self.panel_view = True
        # Its right column comes onto the work area (at 144 DPI on 1024 wide, beside a panel
        # docked on the left, or dragged towards an edge).
        work = self.work or (0, 0) + tuple(self.screen)
        self.position = widened(work, lookup, self.outer_size()[0])
        self.set_shown("Command16", False)
        self.set_shown("Command2", False)
        self.set_shown("guan", True)

    def put_extension(self, text, content=None):
        """A file's extension handed to the window, dropped on it or named on its command line:
        `text` into the input box, in the lookup view, and looked up even if the box held it
        already; None (nothing to look up) changes nothing. Where the file's content tells more
        than its name (`content`: a finding()), the output box says that instead."""
        if text is None:
            return
        if self.panel_view:
            self.on_Command10()
        if text != self.text1:  # typed over the whole text: the caret after it
            self.text1, self.selection, self.first_line = text, (len(text), len(text)), 0
        self.lookup()
        if content:
            self.text2 = content

    def on_Command10(self):  # "←": back to the lookup view
        self.set_shown("Text1", True)
        self.set_shown("Text2", True)
        self.set_shown("Command6", True)
        self.set_shown("Command10", False)
        self.panel_view = False
        self.set_shown("Command16", True)
        self.set_shown("Command2", True)
        self.set_shown("sm", False)
        self.set_shown("guan", False)

    def on_Command4(self):  # "关于"
        self.set_shown("guan", True)

    def on_Command8(self):  # "漫游Tavrix"
        self.sm = _MAIN["value"]["Instructions"]
        self.set_shown("sm", True)
        self.set_shown("guan", False)

    def on_Command13(self):  # "总在最上面"
        self.topmost = True
        self.set_shown("Command14", True)

    def on_Command14(self):  # "普通"
        self.topmost = False
        self.set_shown("Command14", False)

    def on_Command2(self):  # "没有显示"
        self.text2 = NOT_SHOWN_HINT
        if self.text1 != self.text1.lower():  # a write of the same text is no change
            self.text1, self.selection, self.first_line = self.text1.lower(), (0, 0), 0
            self.lookup()

    def on_Command1(self):
        self.opened.append(MAKER["BLOG_PAGE"])

    on_Command5 = on_Command15 = on_Command1

    def on_Label9(self):
        self.opened.append(MAKER["LINKED_SITE"])

    def on_Command7(self):
        self.ended = True

    on_Command11 = on_Command16 = on_Command7

    def signature(self):
        """Everything an action may change: an action that leaves it alone changes nothing."""
        return (self.text1, self.text2, self.sm, self.selection, self.first_line,
                tuple(sorted(self.shown.items())), self.panel_view, self.topmost, self.focus,
                self.active, self.position, self.ended)

    # -- what can be seen, and comparing with the inspector ----------------------------------

    def client_rect(self, name):
        """The control's rectangle in the window's client area, cut to what the window shows."""
        control = self.by_name[name]
        ox, oy = self.by_name[control.parent].rect[:2] if control.parent else (0, 0)
        left, top, right, bottom = control.rect
        width, height = self.client_size()
        return (max(left + ox, 0), max(top + oy, 0), min(right + ox, width), min(bottom + oy, height))

    def text_area(self, name):
        return self.text_areas[name]

    def learn_text_areas(self, tree):
        self.text_areas = {name: tuple(c["client"]) for name, c in self.match(tree, []).items()
                           if "client" in c}

    def match(self, tree, found):
        """The inspector's controls by the model's names, matched by their places in the
        stacking order; a count that differs goes into found."""
        children = sorted((c for c in tree["controls"] if c["parent"] == tree["hwnd"]), key=lambda c: c["z"])
        by_name = {}
        if len(children) != len(self.controls):
            found.append("%d controls, expected %d" % (len(children), len(self.controls)))
        for control, actual in zip(self.controls, children):
            by_name[control.name] = actual
        if "guan" in by_name:
            inner = sorted((c for c in tree["controls"] if c["parent"] == by_name["guan"]["hwnd"]),
                           key=lambda c: c["z"])
            if len(inner) != len(self.labels):
                found.append("guan holds %d labels, expected %d" % (len(inner), len(self.labels)))
            for control, actual in zip(self.labels, inner):
                by_name[control.name] = actual
        return by_name

    def differences(self, tree):
        """What the inspector's reading of the window shows that the model does not expect."""
        found = []

        def expect(what, actual, wanted):
            if actual != wanted:
                found.append("%s: %r, expected %r" % (what, actual, wanted))
        if tree is None:
            return ["the main window is gone"]
        expect("window rectangle", tuple(tree["rect"]), self.window_rect())
        expect("topmost", tree["topmost"], self.topmost)
        expect("window visible", tree["visible"], True)
        top_hwnd = tree["hwnd"]
        by_name = self.match(tree, found)
        for control in self.controls + self.labels:
            actual = by_name.get(control.name)
            if actual is None:
                continue
            name = control.name
            if control.kind in CLASS_OF_KIND:
                expect(name + " class", actual["class"], CLASS_OF_KIND[control.kind])
            expect(name + " rectangle", tuple(actual["rect"]), control.rect)
            expect(name + " shown", actual["visible"], self.shown[name])
            text = {"Text1": self.text1, "Text2": self.text2, "sm": self.sm}.get(name, control.caption)
            if text is not None:
                expect(name + " text", actual["text"], as_shown(text, actual["text"]))
            elif control.kind == LABEL:
                expect(name + " has a text", bool(actual["text"]), True)
        if "Text1" in by_name:
            expect("Text1 selection", tuple(by_name["Text1"]["selection"]), self.selection)
            expect("Text1 first visible line", by_name["Text1"]["first_line"], self.first_line)
        names = {c["hwnd"]: n for n, c in by_name.items()}
        names.update({"0x0": None, top_hwnd: None})  # no control has the focus
        focus = names.get(tree["focus"], tree["focus"])
        expect("focus", focus, self.focus)
        return found


# ---- the help window: only its controls' names, in stacking order (the rest: tests/help) ----------

HELP_CONTROLS = [tuple(row) for row in _HELP["control"]]
