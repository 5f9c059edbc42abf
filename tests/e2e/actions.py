"""Random user actions for the model check, each drawn from the check's seeded generator."""

import model as M
from programs import input_point

PASTES = ["jpg", "MPEG", "Zip", "vxd", "job*", "*", ".jpg", " jpg", "abcdefgh", "中文", "mp3", "XLC", "zi"]
WORDS = ["zip", "z", "JPG", "MPEG", "mpeg", "vxd", "job*", "job", "*", "xlc", "cpe", "Jpg", "b64", "image"]


def random_click_point(rng, m):
    """A client point on something seen, chosen by what lies there: buttons most, the boxes
    often, the web-site buttons and line seldom (each starts the browser recorder), never an
    exit button."""
    weights = {}
    for control in m.controls + m.labels:
        name, kind = control.name, control.kind
        if name in M.EXIT_BUTTONS:
            continue
        if kind == M.BUTTON:
            weights[name] = 0.5 if name in M.WEB_BUTTONS else 3.0
        elif name == "Text1":
            weights[name] = 5.0
        elif name in ("Text2", "guan"):
            weights[name] = 1.5
        else:
            weights[name] = 0.4  # the labels and the picture, the web-site line Label9 among them
    weights[None] = 0.5  # the window's own background
    names = list(weights)
    width, height = m.client_size()
    while True:
        name = rng.choices(names, [weights[n] for n in names])[0]
        if name is None:
            left, top, right, bottom = 0, m.by_name["Image1"].rect[3], width, height
        else:
            left, top, right, bottom = m.client_rect(name)
        if right - left < 3 or bottom - top < 3:
            continue
        for _ in range(40):
            if name == "Text1":
                x, y = input_point(rng, m)
            elif name in ("Text2",):
                left, top, right, bottom = m.text_area(name)
                x, y = rng.randrange(left + 2, right - 2), rng.randrange(top + 2, bottom - 2)
            else:
                x, y = rng.randrange(left + 1, right - 1), rng.randrange(top + 1, bottom - 1)
            target = m.hit_test(x, y)
            if target == name and (name != "Image1" or y < M.pixels(90, m.dpi) or
                                   x < M.pixels(6600, m.dpi)):
                return x, y
            if name is None and target is None:
                return x, y


def random_action(rng, program):
    """One action of a user, as (description, function)."""
    m = program.model
    kind = rng.choices(["click", "char", "word", "backspace", "enter", "paste", "select_all", "tab",
                        "shift_tab", "drag"], [40, 28, 6, 10, 3, 4, 2, 5, 2, 2])[0]
    if kind == "click":
        x, y = random_click_point(rng, m)
        # A person often rests the pointer on something first, long enough for its tip to show.
        rest = None
        if rng.random() < 0.2:
            seen = [c.name for c in m.controls + m.labels if program.is_seen(c.name)]
            rest = (rng.choice(seen), rng.uniform(0, 2))
        return lambda: program.click_at(x, y, rest=rest)
    if kind == "char":
        roll = rng.random()
        if roll < 0.6:
            c = rng.choice("abcdefghijklmnopqrstuvwxyz")
        elif roll < 0.85:
            c = rng.choice("ABCDEFGHIJKLMNOPQRSTUVWXYZ")
        elif roll < 0.9:
            c = rng.choice("0123456789")
        else:
            c = rng.choice("*. ")
        if c == " " and m.focus in M.EXIT_BUTTONS:
            c = "a"  # Space there would end the run before its time
        return lambda: program.type(c)
    if kind == "word":
        word = rng.choice(WORDS + [rng.choice(M.CATALOGUE)[0]])
        word = "".join(c for c in word if c != " ")
        return lambda: program.type(word)
    keys = {"backspace": program.backspace, "enter": program.enter, "select_all": program.select_all,
            "tab": program.tab, "shift_tab": lambda: program.tab(backwards=True)}
    if kind in keys:
        return keys[kind]
    if kind == "paste":
        text = rng.choice(PASTES)
        return lambda: program.paste(text)
    # A drag that keeps the window, at either width, wholly on the screen.
    x0, y0 = m.position
    dx = rng.randrange(-x0, m.screen[0] - M.pixels(M.PANEL_WIDTH, m.dpi) - x0 + 1)
    dy = rng.randrange(-y0, m.screen[1] - m.outer_size()[1] - y0 + 1)
    dx, dy = max(-120, min(120, dx)), max(-90, min(90, dy))
    button = rng.choice([1, 1, 2, 3])
    left, _, right, _ = m.client_rect("Image1")
    x = rng.randrange(left + 2, min(right, M.pixels(6600, m.dpi)))
    return lambda: program.drag(dx, dy, button, x)
