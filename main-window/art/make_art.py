#!/usr/bin/python3
"""Writes the main window's pictures: background.bmp (605 x 424), title.bmp (608 x 30) and the
lookup program's icon tavrix.ico.

Positions below are the window's control rectangles in pixels at 96 DPI; the picture is drawn
unscaled, so the decoration lines up with the controls there.
"""
import pathlib
import sys

from PIL import Image, ImageDraw

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parents[1] / "art"))
import artkit as ak  # noqa: E402

W, H = 605, 424
LOOKUP_W = 472        # client width of the lookup view: everything left of it must look finished
PANEL_X = 476         # the right-hand panel ("用户设置") starts here
ROW = (16, 76, 465, 102)        # field row behind the version and date labels (y 80..97), as wide
                                # as the text boxes below it (x 16..465)
ROW_DIVIDER_X = 216             # between the two labels (145 .. 288)
PANEL = (479, 76, 601, 419)     # right-hand panel; its buttons stand at x 488..593
PANEL_HEAD_H = 26
FOOTER_Y = 386                  # groove above the "没有显示" button (y 392..417)
TOOLBAR_Y = 69                  # groove under the top row of buttons (y 40..60)


def groove(d, x0, x1, y):
    """An etched line: a shade row with a highlight row under it."""
    d.line([(x0, y), (x1 - 1, y)], fill=(0xB3, 0xCB, 0xE6))
    d.line([(x0, y + 1), (x1 - 1, y + 1)], fill=(0xF6, 0xFA, 0xFE))


def background():
    img = ak.vgradient(W, H, ak.BG_TOP, ak.BG_BOTTOM)
    img.paste(ak.title_bar(W), (0, 0))
    d = ImageDraw.Draw(img)
    # A soft shadow under the title strip.
    d.line([(0, 30), (W, 30)], fill=(0x9D, 0xBD, 0xE2))
    d.line([(0, 31), (W, 31)], fill=(0xCD, 0xDF, 0xF3))

    groove(d, ROW[0], ROW[2], TOOLBAR_Y)
    groove(d, ROW[0], ROW[2], FOOTER_Y)

    c = ak.Canvas(W, H)
    # Field row: a light rounded frame the labels' black text reads on.
    x0, y0, x1, y1 = ROW
    c.rrect(ROW, 4, ak.rgba(ak.FRAME))
    c.rrect((x0 + 1, y0 + 1, x1 - 1, y1 - 1), 3, ak.rgba(ak.WHITE))
    c.grad_rrect((x0 + 1, y0 + 2, x1 - 1, y1 - 1), 3, [(0, ak.FIELD), (1, (0xEB, 0xF3, 0xFC))])
    c.rect((ROW_DIVIDER_X, y0 + 5, ROW_DIVIDER_X + 1, y1 - 5), ak.rgba(ak.MIST))
    c.rect((ROW_DIVIDER_X + 1, y0 + 5, ROW_DIVIDER_X + 2, y1 - 5), ak.rgba(ak.WHITE))
    for bx in (31, 280):          # a small marker before each label
        c.rrect((bx, 86, bx + 5, 91), 1.5, ak.rgba(ak.BLUE))

    # Right-hand panel: a framed column with a blue head carrying its name.
    px0, py0, px1, py1 = PANEL
    c.rrect(PANEL, 5, ak.rgba(ak.FRAME))
    c.grad_rrect((px0 + 1, py0 + 1, px1 - 1, py1 - 1), 4, [(0, ak.FIELD), (1, (0xE4, 0xEE, 0xFA))])
    c.grad_rrect((px0 + 1, py0 + 1, px1 - 1, py0 + PANEL_HEAD_H), 4,
                 [(0, (0x4A, 0x8A, 0xD2)), (1, (0x2A, 0x64, 0xA8))])
    c.rect((px0 + 1, py0 + PANEL_HEAD_H - 5, px1 - 1, py0 + PANEL_HEAD_H), ak.rgba((0x2A, 0x64, 0xA8)))
    c.rect((px0 + 1, py0 + PANEL_HEAD_H, px1 - 1, py0 + PANEL_HEAD_H + 1), ak.rgba(ak.NAVY))
    base = img.convert("RGBA")
    base.alpha_composite(c.result())
    img = base.convert("RGB")

    # A faint logo in the panel's empty middle (between the buttons at y 201 and y 352).
    # Tinted to the panel's blue so the amber tag does not turn muddy when faded.
    mark = ak.logo(72)
    lum = mark.convert("L")
    faded = Image.merge("RGBA", [lum.point(lambda v, k=k: ak.lerp(ak.NAVY, ak.WHITE, v / 255)[k]) for k in range(3)]
                        + [mark.getchannel("A").point(lambda v: v * 40 // 255)])
    base = img.convert("RGBA")
    base.alpha_composite(faded, ((px0 + px1) // 2 - 36, 240))
    img = base.convert("RGB")

    ak.text(img, ((px0 + px1) // 2, py0 + PANEL_HEAD_H // 2), "用户设置", 13, ak.WHITE, bold=True, anchor="mm")
    return img


def title():
    w = 608
    bar = ak.title_bar(w).convert("RGBA")
    bar.alpha_composite(ak.logo(24, light=True), (6, 3))
    img = bar.convert("RGB")
    ak.text(img, (36, 15), "Tavrix", 17, ak.WHITE, bold=True, anchor="lm")
    x = 36 + ak.text_width("Tavrix", 17, bold=True) + 10
    ak.text(img, (x, 16), "后缀名查询工具", 12, (0xC4, 0xDC, 0xF5), anchor="lm")
    # The close buttons stand at x 448..467 and 576..595, y 8..27: nothing drawn there.
    return img


def icon(n, bpp):
    # The same picture at 8 and 32 bpp: the writer reduces it to 256 colours and a mask.
    return ak.logo(n)


def main():
    out = ak.out_dir(HERE)
    ak.write_bmp24_packed(background(), out / "background.bmp")
    ak.write_bmp24_packed(title(), out / "title.bmp")
    ak.write_ico(icon, out / "tavrix.ico")


if __name__ == "__main__":
    main()
