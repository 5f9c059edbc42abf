"""Shared pieces of Tavrix's artwork generators: the palette, the font, drawing helpers, the logo,
and writers for the exact file formats the programs load (24-bit BMP, DIB-only ICO, baseline JPEG).

Every generator draws with Pillow only and writes no timestamps, so running it twice gives the
same bytes; the committed pictures are its output and the build never runs it.
"""
import argparse
import lzma
import pathlib
import struct

from PIL import Image, ImageDraw, ImageFont

FONT_PATH = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"

# One palette for every picture, so the code can match the artwork (window colour beyond the
# picture, caption colours).
INK = (0x0F, 0x35, 0x60)        # darkest navy: outlines, dark text
NAVY = (0x1A, 0x4F, 0x8F)       # title bar bottom, band under the title strip
BLUE = (0x2D, 0x6D, 0xB5)       # title bar top, primary accent
SKY = (0x5C, 0x9B, 0xE0)        # highlights on dark blue, focus ring
MIST = (0xA9, 0xC9, 0xEC)       # light accent lines
FRAME = (0x8E, 0xB0, 0xD8)      # frames of panels and rows
PALE = (0xDC, 0xE9, 0xF7)       # background mid tone; backdrop behind the button corners
ICE = (0xEE, 0xF5, 0xFC)        # light fills
FIELD = (0xF8, 0xFB, 0xFE)      # field row and panel fill: black text reads on it
WHITE = (0xFF, 0xFF, 0xFF)
AMBER = (0xF0, 0xA0, 0x30)      # the one warm accent: the extension tag, the help balloon's dot
AMBER_DARK = (0xB8, 0x6E, 0x12)
GLASS = (0xCF, 0xE4, 0xFA)      # the magnifier's glass
RED_DARK = (0x9A, 0x2A, 0x26)   # close button border

BG_TOP = (0xEA, 0xF2, 0xFB)     # background gradient, under the title band ...
BG_BOTTOM = (0xC8, 0xDC, 0xF1)  # ... to the bottom edge


def lerp(a, b, t):
    """Colour between a and b; t in 0..1."""
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def ramp(stops, t):
    """Colour at t along stops [(t0, c0), (t1, c1), ...] with t0 < t1 < ..."""
    t = min(max(t, stops[0][0]), stops[-1][0])
    for (ta, ca), (tb, cb) in zip(stops, stops[1:]):
        if t <= tb:
            return lerp(ca, cb, (t - ta) / (tb - ta) if tb > ta else 0)
    return stops[-1][1]


def rgba(c, a=255):
    return (c[0], c[1], c[2], a)


def font(px):
    # The basic layout engine keeps the output independent of whether libraqm is present.
    return ImageFont.truetype(FONT_PATH, px, index=0, layout_engine=ImageFont.Layout.BASIC)


def vgradient(w, h, top, bottom):
    """A w x h RGB picture running from colour top (first row) to bottom (last row)."""
    col = Image.new("RGB", (1, h))
    for y in range(h):
        col.putpixel((0, y), lerp(top, bottom, y / (h - 1) if h > 1 else 0))
    return col.resize((w, h), Image.NEAREST)


def text(img, xy, s, px, fill, bold=False, anchor="la"):
    """Antialiased text at pixel size px. Bold doubles each stroke one pixel to the right, as GDI
    does for fonts without a bold face; the font has none."""
    d = ImageDraw.Draw(img)
    f = font(px)
    d.text(xy, s, font=f, fill=fill, anchor=anchor)
    if bold:
        d.text((xy[0] + 1, xy[1]), s, font=f, fill=fill, anchor=anchor)


def text_width(s, px, bold=False):
    return int(font(px).getlength(s)) + (1 if bold else 0)


class Canvas:
    """Draws at `scale` times the size and reduces with an area filter: antialiased shapes that
    still land on whole pixels when their coordinates do. Coordinates are in target pixels."""

    def __init__(self, w, h, scale=8, fill=(0, 0, 0, 0)):
        self.s = scale
        self.img = Image.new("RGBA", (w * scale, h * scale), fill)
        self.d = ImageDraw.Draw(self.img)

    def _b(self, box):
        s = self.s
        x0, y0, x1, y1 = box
        # Pillow includes the right/bottom pixel: shrink by one to cover exactly [x0, x1).
        return (round(x0 * s), round(y0 * s), round(x1 * s) - 1, round(y1 * s) - 1)

    def rect(self, box, fill):
        self.d.rectangle(self._b(box), fill=fill)

    def rrect(self, box, r, fill):
        self.d.rounded_rectangle(self._b(box), radius=round(r * self.s), fill=fill)

    def ellipse(self, box, fill):
        self.d.ellipse(self._b(box), fill=fill)

    def polygon(self, pts, fill):
        # Pillow fills both boundary sub-pixels; squeeze the outline by one sub-pixel so a shape from
        # x0 to x1 covers exactly [x0, x1) like the rectangles do.
        s = self.s
        xs, ys = [p[0] for p in pts], [p[1] for p in pts]
        x0, y0, x1, y1 = min(xs), min(ys), max(xs), max(ys)
        kx = (x1 * s - 1 - x0 * s) / ((x1 - x0) * s) if x1 > x0 else 1
        ky = (y1 * s - 1 - y0 * s) / ((y1 - y0) * s) if y1 > y0 else 1
        self.d.polygon([(x0 * s + (x - x0) * s * kx, y0 * s + (y - y0) * s * ky) for x, y in pts], fill=fill)

    def line(self, pts, width, fill):
        s = self.s
        self.d.line([(x * s, y * s) for x, y in pts], fill=fill, width=round(width * s))
        # Round caps.
        r = width * s / 2
        for x, y in (pts[0], pts[-1]):
            self.d.ellipse((x * s - r, y * s - r, x * s + r - 1, y * s + r - 1), fill=fill)

    def ring(self, cx, cy, r_out, r_in, fill):
        s = self.s
        mask = Image.new("L", self.img.size, 0)
        md = ImageDraw.Draw(mask)
        md.ellipse(((cx - r_out) * s, (cy - r_out) * s, (cx + r_out) * s - 1, (cy + r_out) * s - 1), fill=255)
        md.ellipse(((cx - r_in) * s, (cy - r_in) * s, (cx + r_in) * s - 1, (cy + r_in) * s - 1), fill=0)
        self.img.paste(Image.new("RGBA", self.img.size, fill), (0, 0), mask)

    def gradient(self, y0, y1, stops):
        """A full-size layer with a vertical gradient through stops [(t, colour), ...], t from 0
        at y0 to 1 at y1 (clamped beyond). Each target row gets one colour."""
        s = self.s
        grad = Image.new("RGBA", self.img.size, (0, 0, 0, 0))
        gd = ImageDraw.Draw(grad)
        for i in range(self.img.size[1]):
            t = (i // s + 0.5 - y0) / (y1 - y0)
            gd.line([(0, i), (self.img.size[0], i)], fill=rgba(ramp(stops, t)))
        return grad

    def mask(self):
        """An empty L mask at the drawing scale."""
        return Image.new("L", self.img.size, 0)

    def grad_rrect(self, box, r, stops):
        """A rounded rectangle filled with a vertical gradient from its top edge (t 0) to its
        bottom edge (t 1)."""
        mask = self.mask()
        ImageDraw.Draw(mask).rounded_rectangle(self._b(box), radius=round(r * self.s), fill=255)
        self.layer(self.gradient(box[1], box[3], stops), mask)

    def layer(self, img, mask):
        """Pastes a full-size RGBA layer through an L mask (both at the drawing scale)."""
        self.img.alpha_composite(Image.composite(img, Image.new("RGBA", img.size, (0, 0, 0, 0)), mask))

    def result(self):
        # Premultiplied reduction: no dark fringes where colour meets transparency.
        return self.img.convert("RGBa").reduce(self.s).convert("RGBA")


# --- The logo: a document with an extension tag under a magnifier -------------------------------

# 16 x 16 drawn by hand: a reduction of the vector logo blurs at this size. ":" and ";" are
# half-transparent edge pixels.
LOGO16 = [
    "..kkkkkkk:......",
    "..kwwwwwkk:.....",
    "..kwbbbwkfk:....",
    "..kwwwwwkkkk....",
    "..kwbbbbbbwk....",
    "..kwwwwwnnnn....",
    "..kwbbbnlllln...",
    "..kwwwnlWlllln..",
    ";aaaaanWllllln..",
    "aOOOOOnlllllln..",
    "aWOOOOnlllllln..",
    ";aaaaawnlllln...",
    "..kwwwwwnnnnhh:.",
    "..kkkkkkkkkk.hh:",
    ".............:hh",
    "..............:h",
]


def cx_glass_left(u):
    """Left edge of the magnifier glass: the tag's bar stops where the glass covers it anyway."""
    return round(30 * u) - round(12.5 * u)


def pixel_art(rows, colours):
    img = Image.new("RGBA", (len(rows[0]), len(rows)), (0, 0, 0, 0))
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch != ".":
                img.putpixel((x, y), colours[ch])
    return img


def logo(n, light=False):
    """The Tavrix logo as an n x n RGBA picture. light=True draws it for a dark backdrop (the title
    bar): the same shapes with a white document outline."""
    if n == 16 and not light:
        return pixel_art(LOGO16, {
            "k": rgba(INK), "w": rgba(WHITE), "b": rgba(MIST), "f": rgba(MIST), "n": rgba(NAVY),
            "l": rgba(GLASS), "W": rgba(WHITE), "a": rgba(AMBER_DARK), "O": rgba(AMBER), "h": rgba(INK),
            # Soft pixels: antialiasing at 32 bpp, below the 256-colour mask's threshold.
            ":": rgba(INK, 96), ";": rgba(AMBER_DARK, 96),
        })
    c = Canvas(n, n)
    u = n / 48.0                       # design grid: 48 units
    lw = max(1.0, round(n / 28.0))     # outline width, whole pixels
    outline = rgba(WHITE) if light else rgba(INK)

    # Document with a folded corner, outline then paper.
    x0, y0, x1, y1 = round(7 * u), round(3 * u), round(34 * u), round(40 * u)
    fold = round(9 * u)
    paper = [(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]
    c.polygon(paper, outline)
    inner = [(x0 + lw, y0 + lw), (x1 - fold - lw * 0.4, y0 + lw), (x1 - lw, y0 + fold + lw * 0.4),
             (x1 - lw, y1 - lw), (x0 + lw, y1 - lw)]
    paper_fill = rgba(lerp(WHITE, ICE, 0.3)) if not light else rgba((0xE4, 0xEF, 0xFB))
    c.polygon(inner, paper_fill)
    # The fold.
    c.polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], outline)
    c.polygon([(x1 - fold + lw, y0 + lw * 2.2), (x1 - fold + lw, y0 + fold - lw), (x1 - lw * 2.2, y0 + fold - lw)],
              rgba(MIST))
    # Text lines on the paper.
    bar_h = max(1.0, round(2.5 * u))
    for i, (ly, lx1) in enumerate(((10, 23), (16, 29), (22, 20))):
        yy = round(ly * u)
        c.rect((x0 + lw + round(3 * u), yy, round(lx1 * u), yy + bar_h), rgba(MIST if not light else SKY))

    # The extension tag: a rounded label with a dot and a short "ext" bar.
    tx0, ty0, tx1, ty1 = round(1 * u), round(25 * u), round(24 * u), round(37 * u)
    c.rrect((tx0, ty0, tx1, ty1), 2.5 * u, rgba(AMBER_DARK))
    c.rrect((tx0 + lw, ty0 + lw, tx1 - lw, ty1 - lw), 1.8 * u, rgba(AMBER))
    # A period and a bar: ".ext" reduced to what reads at icon sizes, on whole pixels.
    ix0, iy0, ix1, iy1 = tx0 + lw, ty0 + lw, tx1 - lw, ty1 - lw
    ih = iy1 - iy0
    d = max(2, round(ih * 0.4))
    gap = max(1, round(2 * u))
    dx, dy = ix0 + gap, iy1 - max(1, round(1.5 * u)) - d
    if d >= 4:
        c.ellipse((dx, dy, dx + d, dy + d), rgba(WHITE))
    else:
        c.rect((dx, dy, dx + d, dy + d), rgba(WHITE))
    bh = max(2, round(ih * 0.42))
    c.rect((dx + d + gap, dy + d - bh, min(ix1 - gap, cx_glass_left(u)), dy + d), rgba(WHITE))

    # The magnifier: glass, ring, handle.
    # Whole-pixel centre and radii keep the ring's edges crisp.
    cx, cy, ro = round(30 * u), round(29 * u), round(12.5 * u)
    ring_w = max(2, round(3.4 * u))
    c.ellipse((cx - ro, cy - ro, cx + ro, cy + ro), rgba(GLASS))
    # Glint on the glass.
    gl = Image.new("L", c.img.size, 0)
    gd = ImageDraw.Draw(gl)
    s = c.s
    r1 = (ro - ring_w - 2.2 * u) * s
    gd.arc(((cx * s - r1), (cy * s - r1), (cx * s + r1), (cy * s + r1)), 195, 265, fill=255, width=max(s, round(2.2 * u * s)))
    c.layer(Image.new("RGBA", c.img.size, rgba(WHITE, 235)), gl)
    c.ring(cx, cy, ro, ro - ring_w, rgba(NAVY) if not light else rgba(WHITE))
    hw = max(2.2, 5.0 * u)
    a = 0.7071
    c.line([(cx + (ro - 0.5 * u) * a, cy + (ro - 0.5 * u) * a), (44.5 * u, 43.5 * u)], hw, rgba(INK) if not light else rgba(WHITE))
    return c.result()


# --- Files ----------------------------------------------------------------------------------------

def out_dir(default):
    """The folder to write into: the generator's own folder, or --out DIR (the check writes to a
    scratch folder and compares)."""
    ap = argparse.ArgumentParser()
    ap.add_argument("--out", type=pathlib.Path, default=pathlib.Path(default))
    d = ap.parse_args().out
    d.mkdir(parents=True, exist_ok=True)
    return d


def _rows_bottom_up(img, bpp_bytes, pixel):
    w, h = img.size
    stride = (w * bpp_bytes + 3) & ~3
    px = img.load()
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            row += pixel(px[x, y])
        out += row + bytes(stride - len(row))
    return bytes(out)


def _mask_rows(alpha_ok):
    """AND mask, bottom-up, 1 bit a pixel, rows padded to 32 bits: 1 where the pixel is transparent."""
    h = len(alpha_ok)
    w = len(alpha_ok[0])
    stride = ((w + 31) // 32) * 4
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if not alpha_ok[y][x]:
                row[x >> 3] |= 0x80 >> (x & 7)
        out += row
    return bytes(out)


def bmp24_bytes(img):
    img = img.convert("RGB")
    w, h = img.size
    data = _rows_bottom_up(img, 3, lambda p: bytes((p[2], p[1], p[0])))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 3780, 3780, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return head + info + data


def write_bmp24(img, path):
    pathlib.Path(path).write_bytes(bmp24_bytes(img))


# The programs carry their pictures packed: the bytes of the 24-bit .bmp file, compressed with
# LZMA (the .lzma format: 5 property bytes, the unpacked size as 8 bytes little-endian, the
# stream), and unpack them at start-up with the LZMA SDK's decoder. The same bytes on every run.
LZMA_FILTER = {"id": lzma.FILTER_LZMA1, "preset": 9 | lzma.PRESET_EXTREME}


def packed_bytes(data):
    stream = lzma.compress(data, format=lzma.FORMAT_ALONE, filters=[LZMA_FILTER])
    return stream[:5] + struct.pack("<Q", len(data)) + stream[13:]


def unpacked_bytes(packed):
    return lzma.decompress(packed[:5] + b"\xff" * 8 + packed[13:], format=lzma.FORMAT_ALONE)


def write_packed(data, path):
    pathlib.Path(path).write_bytes(packed_bytes(data))


def write_bmp24_packed(img, path):
    """The picture as a .bmp file, and that file packed beside it (path + ".lzma")."""
    write_bmp24(img, path)
    write_packed(bmp24_bytes(img), str(path) + ".lzma")


def _icon_dib_32(img):
    w, h = img.size
    xor = _rows_bottom_up(img, 4, lambda p: bytes((p[2], p[1], p[0], p[3])))
    a = img.getchannel("A").load()
    mask = _mask_rows([[a[x, y] >= 128 for x in range(w)] for y in range(h)])
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def _icon_dib_8(img):
    """256 colours with a 1-bit mask: pixels at least half opaque keep their colour, the rest are
    transparent (black in the colour plane, set in the mask)."""
    w, h = img.size
    a = img.getchannel("A").load()
    solid = [[a[x, y] >= 128 for x in range(w)] for y in range(h)]
    rgb = Image.new("RGB", img.size, (0, 0, 0))
    rgb.paste(img.convert("RGB"), (0, 0), img.getchannel("A").point(lambda v: 255 if v >= 128 else 0))
    q = rgb.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal = q.getpalette()[: 3 * 255]
    pal += [0] * (3 * 255 - len(pal))
    pal += [0, 0, 0]                   # index 255: black, the colour plane of transparent pixels
    qp = q.load()
    idx = Image.new("P", img.size)
    ip = idx.load()
    for y in range(h):
        for x in range(w):
            ip[x, y] = qp[x, y] if solid[y][x] else 255
    palette = b"".join(bytes((pal[3 * i + 2], pal[3 * i + 1], pal[3 * i], 0)) for i in range(256))
    xor = _rows_bottom_up(idx, 1, lambda p: bytes((p,)))
    mask = _mask_rows(solid)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 8, 0, len(xor) + len(mask), 0, 0, 256, 0)
    return info + palette + xor + mask


# The nine images of both programs' icons, in file order: (size, bits per pixel).
ICON_IMAGES = [(16, 8), (16, 32), (24, 32), (32, 8), (32, 32), (48, 8), (48, 32), (64, 32), (72, 32)]


def ico_bytes(draw):
    """An ICO of ICON_IMAGES, every image a DIB. draw(size, bpp) gives the RGBA picture, so small
    and 256-colour images can be drawn apart from the large ones."""
    dibs = []
    for n, bpp in ICON_IMAGES:
        img = draw(n, bpp).convert("RGBA")
        assert img.size == (n, n)
        dibs.append((n, bpp, _icon_dib_8(img) if bpp == 8 else _icon_dib_32(img)))
    out = struct.pack("<HHH", 0, 1, len(dibs))
    offset = 6 + 16 * len(dibs)
    for n, bpp, dib in dibs:
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, bpp, len(dib), offset)
        offset += len(dib)
    return out + b"".join(d for _, _, d in dibs)


def write_ico(draw, path):
    pathlib.Path(path).write_bytes(ico_bytes(draw))


def write_jpeg(img, path, quality):
    # Baseline with full-resolution colour (4:4:4): small text and thin coloured rules stay clean.
    # No EXIF, no timestamp: the same bytes on every run.
    img.convert("RGB").save(path, "JPEG", quality=quality, progressive=False, optimize=True,
                            subsampling=0, dpi=(96, 96))


# --- Push-button skins ----------------------------------------------------------------------------

# The five frames of a skin, in file order.
STATES = ("normal", "hover", "pressed", "focused", "disabled")

BUTTON_W, BUTTON_H = 63, 23
BUTTON_EDGE = 4   # the control keeps this many pixels of each side unstretched

# Per state: border colour, body gradient stops, inner top highlight, inner ring (focus) or None.
BUTTON_STYLE = {
    "normal": dict(border=(0x5A, 0x86, 0xB8), ring=None, light=(0xFF, 0xFF, 0xFF),
                   body=[(0, (0xFA, 0xFC, 0xFF)), (0.48, (0xE8, 0xF1, 0xFB)),
                         (0.52, (0xDC, 0xE9, 0xF8)), (1, (0xC9, 0xDD, 0xF3))]),
    "hover": dict(border=(0x3C, 0x8A, 0xD8), ring=None, light=(0xFF, 0xFF, 0xFF),
                  body=[(0, (0xFF, 0xFF, 0xFF)), (0.48, (0xF1, 0xF7, 0xFE)),
                        (0.52, (0xE4, 0xF0, 0xFD)), (1, (0xD2, 0xE6, 0xFB))]),
    "pressed": dict(border=(0x2E, 0x5F, 0x96), ring=None, light=(0xA8, 0xC2, 0xE0),
                    body=[(0, (0xBF, 0xD5, 0xEE)), (0.5, (0xCB, 0xDD, 0xF2)), (1, (0xD9, 0xE7, 0xF6))]),
    "focused": dict(border=(0x2D, 0x6D, 0xB5), ring=(0x7F, 0xB5, 0xEC), light=None,
                    body=[(0, (0xFA, 0xFC, 0xFF)), (0.48, (0xE8, 0xF1, 0xFB)),
                          (0.52, (0xDC, 0xE9, 0xF8)), (1, (0xC9, 0xDD, 0xF3))]),
    "disabled": dict(border=(0xA9, 0xB3, 0xBE), ring=None, light=(0xFA, 0xFA, 0xFB),
                     body=[(0, (0xF3, 0xF4, 0xF6)), (1, (0xE0, 0xE4, 0xE8))]),
}


def button_frame(state, w=BUTTON_W, h=BUTTON_H, backdrop=PALE):
    """One frame of the captioned-button skin: 1-pixel rounded border, a 1-pixel inner highlight
    (or, when focused, an inner ring) and a two-tone vertical gradient. Corners are blended over
    backdrop, the light blue the buttons stand on."""
    st = BUTTON_STYLE[state]
    c = Canvas(w, h)
    c.rrect((0, 0, w, h), 3, rgba(st["border"]))
    inner = st["ring"] or st["light"]
    c.rrect((1, 1, w - 1, h - 1), 2, rgba(inner))
    if st["ring"]:
        c.grad_rrect((2, 2, w - 2, h - 2), 1, st["body"])
    elif state == "pressed":
        # Inset: the shade along the top edge, no highlight below it.
        c.grad_rrect((1, 2, w - 1, h - 1), 2, st["body"])
    else:
        c.grad_rrect((2, 2, w - 2, h - 2), 1, st["body"])
        # Only the top and left get the highlight; the bottom inner row carries the body's end colour.
        c.rect((2, h - 2, w - 2, h - 1), rgba(ramp(st["body"], 1)))
    out = Image.new("RGBA", (w, h), rgba(backdrop))
    out.alpha_composite(c.result())
    return out.convert("RGB")


def skin_of(frame, w, h):
    """A skin: the frame of each state side by side, in the order of STATES."""
    skin = Image.new("RGB", (w * len(STATES), h))
    for i, st in enumerate(STATES):
        skin.paste(frame(st), (i * w, 0))
    return skin


def button_skin():
    return skin_of(button_frame, BUTTON_W, BUTTON_H)


CLOSE = 19

CLOSE_STYLE = {
    "normal": dict(border=RED_DARK, body=[(0, (0xE4, 0x5C, 0x55)), (1, (0xC2, 0x3A, 0x35))],
                   light=(0xEE, 0x86, 0x80), cross=WHITE, ring=None),
    "hover": dict(border=(0xA8, 0x30, 0x2B), body=[(0, (0xF4, 0x74, 0x6C)), (1, (0xDA, 0x48, 0x42))],
                  light=(0xFA, 0xA0, 0x99), cross=WHITE, ring=None),
    "pressed": dict(border=(0x7A, 0x1E, 0x1B), body=[(0, (0xA4, 0x2C, 0x28)), (1, (0xBE, 0x3A, 0x35))],
                    light=(0x96, 0x26, 0x22), cross=(0xF6, 0xE6, 0xE5), ring=None),
    "focused": dict(border=RED_DARK, body=[(0, (0xE4, 0x5C, 0x55)), (1, (0xC2, 0x3A, 0x35))],
                    light=None, cross=WHITE, ring=(0xFF, 0xD9, 0xD6)),
    "disabled": dict(border=(0x8E, 0x74, 0x72), body=[(0, (0xC6, 0xA9, 0xA7)), (1, (0xB2, 0x94, 0x92))],
                     light=(0xD4, 0xBF, 0xBD), cross=(0xEE, 0xE6, 0xE5), ring=None),
}


def close_frame(state):
    """A red square with a white cross; pressed moves the cross one pixel down and right."""
    st = CLOSE_STYLE[state]
    n = CLOSE
    c = Canvas(n, n)
    c.rect((0, 0, n, n), rgba(st["border"]))
    c.rect((1, 1, n - 1, n - 1), rgba(st["ring"] or st["light"]))
    top = 2 if (st["ring"] or state != "pressed") else 1
    c.grad_rrect((2 if st["ring"] else 1, top, n - (2 if st["ring"] else 1), n - (2 if st["ring"] else 1)), 0, st["body"])
    o = 1.0 if state == "pressed" else 0.0
    a, b = 5.5 + o, 13.5 + o
    c.line([(a, a), (b, b)], 2.2, rgba(st["cross"]))
    c.line([(a, b), (b, a)], 2.2, rgba(st["cross"]))
    out = Image.new("RGBA", (n, n), rgba(st["border"]))
    out.alpha_composite(c.result())
    return out.convert("RGB")


def close_skin():
    return skin_of(close_frame, CLOSE, CLOSE)


def slice_frame(frame, w, h, edge=BUTTON_EDGE):
    """The frame stretched to w x h as the push button draws it: the outer `edge` pixels of each
    side keep their size, the middle stretches (nearest neighbour, as StretchBlt's default)."""
    fw, fh = frame.size
    ex, ey = min(edge, w // 2), min(edge, h // 2)
    out = Image.new("RGB", (w, h))
    xs = [(0, ex, 0, ex), (ex, fw - ex, ex, w - ex), (fw - ex, fw, w - ex, w)]
    ys = [(0, ey, 0, ey), (ey, fh - ey, ey, h - ey), (fh - ey, fh, h - ey, h)]
    for sx0, sx1, dx0, dx1 in xs:
        for sy0, sy1, dy0, dy1 in ys:
            if dx1 > dx0 and dy1 > dy0:
                part = frame.crop((sx0, sy0, sx1, sy1)).resize((dx1 - dx0, dy1 - dy0), Image.NEAREST)
                out.paste(part, (dx0, dy0))
    return out


# --- The title bar --------------------------------------------------------------------------------

TITLE_H = 30
# Vertical ramp of the title bar (and of the band under it), top row to bottom row.
TITLE_STOPS = [(0, (0x3B, 0x7E, 0xCB)), (0.5, BLUE), (1, NAVY)]


def title_bar(w, h=TITLE_H):
    """The plain bar: a highlight row, the blue ramp, a dark bottom row."""
    bar = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(bar)
    for y in range(h):
        d.line([(0, y), (w, y)], fill=ramp(TITLE_STOPS, y / (h - 1)))
    d.line([(0, 0), (w, 0)], fill=(0x6A, 0xA4, 0xE4))
    d.line([(0, h - 1), (w, h - 1)], fill=INK)
    return bar
