#!/usr/bin/python3
"""Writes the splash picture splash.jpg (309 x 67, baseline JPEG).

The status label draws black text transparently at x 112..297, y 8..25, so that strip stays light.
"""
import pathlib
import sys

from PIL import Image, ImageDraw

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parents[1] / "art"))
import artkit as ak  # noqa: E402

W, H = 309, 67
BLUE_W = 98          # the blue block with the logo, left of the label (x 112)
QUALITY = 98         # about 16 KB


def splash():
    img = ak.vgradient(W, H, ak.FIELD, ak.PALE)
    c = ak.Canvas(W, H)
    # The blue block, its right side a gentle curve, with an amber rule along it.
    c.layer(c.gradient(0, H, ak.TITLE_STOPS), _curved_block(c, BLUE_W + 4))
    band = _curved_block(c, BLUE_W + 4)
    band.paste(0, (0, 0), _curved_block(c, BLUE_W + 1))
    c.layer(Image.new("RGBA", c.img.size, ak.rgba(ak.AMBER)), band)
    base = img.convert("RGBA")
    base.alpha_composite(c.result())
    base.alpha_composite(ak.logo(48, light=True), ((BLUE_W - 48) // 2 - 2, (H - 48) // 2))
    img = base.convert("RGB")

    d = ImageDraw.Draw(img)
    # A hairline under the label's strip, and a thin frame round the whole picture.
    d.line([(112, 28), (W - 12, 28)], fill=ak.MIST)
    ak.text(img, (112, 47), "Tavrix", 26, ak.NAVY, bold=True, anchor="ls")
    x = 112 + ak.text_width("Tavrix", 26, bold=True) + 12
    ak.text(img, (x, 46), "后缀名查询工具", 13, ak.BLUE, anchor="ls")
    ak.text(img, (W - 12, 60), "让生活简单化", 11, (0x6F, 0x8F, 0xB5), anchor="rs")
    d.rectangle((0, 0, W - 1, H - 1), outline=ak.NAVY)
    return img


def _curved_block(c, right):
    """Mask of the area left of a shallow arc whose widest point, `right`, is at mid height."""
    s = c.s
    m = c.mask()
    r = 3 * H
    ImageDraw.Draw(m).ellipse(((right - 2 * r) * s, (H / 2 - r) * s, right * s, (H / 2 + r) * s), fill=255)
    return m


def main():
    out = ak.out_dir(HERE)
    ak.write_jpeg(splash(), out / "splash.jpg", QUALITY)
    # The program carries the JPEG's pixels packed, decoded here by the same library as the
    # platform's picture decoder uses: no JPEG decoding, and no OLE, at start-up.
    from PIL import Image
    ak.write_packed(ak.bmp24_bytes(Image.open(out / "splash.jpg").convert("RGB")), out / "splash.bmp.lzma")


if __name__ == "__main__":
    main()
