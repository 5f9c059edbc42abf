#!/usr/bin/python3
"""Writes TavrixHelp's pictures: help.bmp (470 x 267, the window's background), help.ico and
command1-icon.bmp (360 x 20, the icon strip of the "升级建议" button).

Positions are the help window's controls in pixels at 96 DPI (client area 467 x 268).
"""
import math
import pathlib
import sys

from PIL import Image, ImageDraw

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parents[1] / "art"))
import artkit as ak  # noqa: E402

W, H = 470, 267
VISIBLE_W = 467                 # the client area cuts off the last three columns
HEAD_H = 28                     # header strip above the first button row (y 32)
BUTTONS_X = (8, 185)            # the question buttons' column
EXIT_GAP_Y = 224                # between "其他" (ends 217) and "退出" (starts 232)
ANSWER = (200, 32, 457, 257)    # the answer box

# 16 x 16 by hand: the balloon with its question mark, the mark's dot in the family's amber;
# ":" marks half-transparent edge pixels.
HELP16 = [
    "..:kkkkkkkkkk:..",
    ".kkBBBBBBBBBBkk.",
    ":kBBBBWWWWBBBBk:",
    "kBBBBWWBBWWBBBBk",
    "kbbbbbbbbWWbbbbk",
    "kbbbbbbbWWbbbbbk",
    "kbbbbbbWWbbbbbbk",
    "kbbbbbbbbbbbbbbk",
    "kbbbbbbOObbbbbbk",
    ":kbbbbbOObbbbbk:",
    ".kkbbbbbbbbbbkk.",
    "...kbkkkkkkkk.:.",
    "..:kbk..........",
    "..kbk...........",
    ".:kk:...........",
    "................",
]

BALLOON_TOP = (0x5A, 0x98, 0xDC)


def inset_tail(tri, d, top_y):
    """The tail triangle (top-left, top-right, tip) moved inwards by d on its two slanted sides,
    its top edge raised to top_y inside the balloon."""
    (ax, ay), (bx, by), (tx, ty) = tri

    def shifted(px, py, qx, qy, sign):
        # The line p-q moved by d along its normal; sign picks the side (the triangle's inside).
        nx, ny = qy - py, px - qx
        ln = math.hypot(nx, ny)
        return px + sign * d * nx / ln, py + sign * d * ny / ln, qx + sign * d * nx / ln, qy + sign * d * ny / ln

    def at_y(line, y):
        px, py, qx, qy = line
        return px + (qx - px) * (y - py) / (qy - py)

    left = shifted(tx, ty, ax, ay, -1)
    right = shifted(tx, ty, bx, by, 1)
    # The tip: where the two moved sides meet.
    (p1x, p1y, q1x, q1y), (p2x, p2y, q2x, q2y) = left, right
    den = (p1x - q1x) * (p2y - q2y) - (p1y - q1y) * (p2x - q2x)
    t = ((p1x - p2x) * (p2y - q2y) - (p1y - p2y) * (p2x - q2x)) / den
    tip = (p1x + t * (q1x - p1x), p1y + t * (q1y - p1y))
    return [(at_y(left, top_y), top_y), (at_y(right, top_y), top_y), tip]


def balloon(n, light=False):
    """The help program's icon: a blue speech balloon with a white question mark. light=True
    outlines it in white for the dark header strip."""
    edge = ak.rgba(ak.WHITE) if light else ak.rgba(ak.INK)
    if n == 16 and not light:
        return ak.pixel_art(HELP16, {"k": ak.rgba(ak.INK), "B": ak.rgba(BALLOON_TOP), "b": ak.rgba(ak.BLUE),
                                     "W": ak.rgba(ak.WHITE), "O": ak.rgba(ak.AMBER),
                                     ":": ak.rgba(ak.INK, 96)})
    c = ak.Canvas(n, n)
    u = n / 48.0
    lw = max(1.0, round(n / 28.0))
    x0, y0, x1, y1 = round(2 * u), round(4 * u), n - round(2 * u), round(37 * u)
    r = 11 * u
    # The tail: a triangle under the balloon's lower left; its inside is the outline triangle
    # moved in by the outline width and run up into the body so no seam shows where they join.
    tail = [(9 * u, 33 * u), (20 * u, 33 * u), (6 * u, 46 * u)]
    c.rrect((x0, y0, x1, y1), r, edge)
    c.polygon(tail, edge)
    body = c.mask()
    bd = ImageDraw.Draw(body)
    s = c.s
    bd.rounded_rectangle(c._b((x0 + lw, y0 + lw, x1 - lw, y1 - lw)), radius=round((r - lw) * s), fill=255)
    bd.polygon([(x * s, y * s) for x, y in inset_tail(tail, lw * 1.15, y1 - lw - 3 * u)], fill=255)
    stops = [(0, BALLOON_TOP), (0.55, ak.BLUE), (1, ak.NAVY)]
    c.layer(c.gradient(y0 + lw, y1 - lw, stops), body)
    # A soft gloss over the upper half.
    gl = c.mask()
    ImageDraw.Draw(gl).rounded_rectangle(((x0 + lw + 2 * u) * s, (y0 + lw + 1 * u) * s, (x1 - lw - 2 * u) * s, (y0 + 15 * u) * s),
                                         radius=round((r - 2 * u) * s), fill=255)
    c.layer(Image.new("RGBA", c.img.size, ak.rgba(ak.WHITE, 46)), gl)
    # The question mark: a hook, a stem and an amber dot.
    cx, cy, rr = 24 * u, 15.5 * u, 6.2 * u
    w = max(2.0, 4.4 * u)
    mark = c.mask()
    md = ImageDraw.Draw(mark)
    md.arc(((cx - rr - w / 2) * s, (cy - rr - w / 2) * s, (cx + rr + w / 2) * s, (cy + rr + w / 2) * s),
           198, 410, fill=255, width=round(w * s))
    c.layer(Image.new("RGBA", c.img.size, ak.rgba(ak.WHITE)), mark)
    ex, ey = cx + rr * math.cos(math.radians(50)), cy + rr * math.sin(math.radians(50))
    stem = 2.8 if n >= 32 else 1.6     # shorter at 24 px, so the dot keeps clear of it
    c.line([(ex, ey), (cx, cy + rr + 1.5 * u), (cx, cy + rr + stem * u)], w, ak.rgba(ak.WHITE))
    # A round end where the hook starts.
    c.line([(cx - rr * math.cos(math.radians(18)), cy - rr * math.sin(math.radians(18)))] * 2, w, ak.rgba(ak.WHITE))
    # The dot on whole pixels: a blurred dot a few pixels wide reads as a smudge.
    d = max(2, round(5.8 * u))
    dx, dy = round(cx - d / 2), round(cy + rr + 10.2 * u - d / 2)
    (c.ellipse if d >= 4 else c.rect)((dx, dy, dx + d, dy + d), ak.rgba(ak.AMBER))
    return c.result()


def icon(n, bpp):
    # The same picture at 8 and 32 bpp: the writer reduces it to 256 colours and a mask.
    return balloon(n)


def window_picture():
    img = ak.vgradient(W, H, ak.BG_TOP, ak.BG_BOTTOM)
    img.paste(ak.title_bar(W, HEAD_H), (0, 0))
    d = ImageDraw.Draw(img)
    d.line([(0, HEAD_H), (W, HEAD_H)], fill=(0x9D, 0xBD, 0xE2))
    d.line([(0, HEAD_H + 1), (W, HEAD_H + 1)], fill=(0xCD, 0xDF, 0xF3))
    # Etched lines: one parts "退出" from the questions, one parts the column from the answers.
    x0, x1 = BUTTONS_X
    d.line([(x0, EXIT_GAP_Y), (x1 - 1, EXIT_GAP_Y)], fill=(0xB3, 0xCB, 0xE6))
    d.line([(x0, EXIT_GAP_Y + 1), (x1 - 1, EXIT_GAP_Y + 1)], fill=(0xF6, 0xFA, 0xFE))
    gx = (x1 + ANSWER[0]) // 2
    d.line([(gx, ANSWER[1]), (gx, ANSWER[3] - 1)], fill=(0xB3, 0xCB, 0xE6))
    d.line([(gx + 1, ANSWER[1]), (gx + 1, ANSWER[3] - 1)], fill=(0xF6, 0xFA, 0xFE))

    base = img.convert("RGBA")
    base.alpha_composite(balloon(24, light=True), (8, 2))
    img = base.convert("RGB")
    ak.text(img, (38, 14), "常见问题", 14, ak.WHITE, bold=True, anchor="lm")
    ak.text(img, (VISIBLE_W - 10, 14), "Tavrix 帮助", 12, (0xC4, 0xDC, 0xF5), anchor="rm")
    return img


def command1_icon():
    """The button body as a 177 x 25 button shows it (rows 2..21, the strip centred), with an
    upward arrow at the left; the rest is plain body so it sits on the face without a seam."""
    w, h = 360, 20
    face = ak.slice_frame(ak.button_frame("normal"), 177, 25)
    img = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(img)
    for y in range(h):
        d.line([(0, y), (w, y)], fill=face.getpixel((88, y + 2)))
    c = ak.Canvas(w, h)
    # Arrow: a head and a shaft, blue with a dark edge, 13 px wide.
    ax = 9.5
    head = [(ax, 2), (ax + 6.5, 9), (ax + 2.8, 9), (ax + 2.8, 17), (ax - 2.8, 17), (ax - 2.8, 9), (ax - 6.5, 9)]
    c.polygon(head, ak.rgba(ak.NAVY))
    inner = [(ax, 3.6), (ax + 4.3, 8.2), (ax + 1.8, 8.2), (ax + 1.8, 16), (ax - 1.8, 16), (ax - 1.8, 8.2), (ax - 4.3, 8.2)]
    c.polygon(inner, ak.rgba(ak.SKY))
    base = img.convert("RGBA")
    base.alpha_composite(c.result())
    return base.convert("RGB")


def main():
    out = ak.out_dir(HERE)
    ak.write_bmp24_packed(window_picture(), out / "help.bmp")
    ak.write_ico(icon, out / "help.ico")
    ak.write_bmp24_packed(command1_icon(), out / "command1-icon.bmp")


if __name__ == "__main__":
    main()
