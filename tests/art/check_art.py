#!/usr/bin/env python3
"""Checks the committed artwork: every picture has the size and format the programs load, and the
generators still reproduce it byte for byte.

    python3 tests/art/check_art.py

The format checks read the files' headers directly, so they need no imaging library; the
reproduction step runs the generators with a Python that has Pillow (this one, or /usr/bin/python3).
"""
import filecmp
import lzma
import pathlib
import struct
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]

BMP24 = {  # path: (width, height)
    "main-window/art/background.bmp": (605, 424),
    "main-window/art/title.bmp": (608, 30),
    "controls/art/button.bmp": (315, 23),
    "controls/art/close.bmp": (95, 19),
    "help/art/help.bmp": (470, 267),
    "help/art/command1-icon.bmp": (360, 20),
}
ICONS = ["main-window/art/tavrix.ico", "help/art/help.ico"]
ICON_IMAGES = [(16, 8), (16, 32), (24, 32), (32, 8), (32, 32), (48, 8), (48, 32), (64, 32), (72, 32)]
ICON_BYTES = 63550
JPEG = ("startup/art/splash.jpg", (309, 67), (10_000, 25_000))
GENERATORS = ["main-window/art/make_art.py", "controls/art/make_art.py",
              "help/art/make_art.py", "startup/art/make_art.py"]

failures = []


def check(cond, what):
    if not cond:
        failures.append(what)
    return cond


def check_bmp24(rel, size):
    data = (ROOT / rel).read_bytes()
    if not check(data[:2] == b"BM" and len(data) >= 54, f"{rel}: not a BMP"):
        return
    file_size, offset = struct.unpack_from("<I4xI", data, 2)
    hsize, w, h, planes, bpp, comp = struct.unpack_from("<IiiHHI", data, 14)
    check(hsize == 40, f"{rel}: header is {hsize} bytes, not a BITMAPINFOHEADER")
    check((w, h) == size, f"{rel}: {w} x {h}, expected {size[0]} x {size[1]} (bottom-up)")
    check((planes, bpp, comp) == (1, 24, 0), f"{rel}: planes {planes}, {bpp} bpp, compression {comp}")
    expected = 54 + ((size[0] * 3 + 3) & ~3) * size[1]
    check(offset == 54 and file_size == len(data) == expected,
          f"{rel}: {len(data)} bytes (header says {file_size}), expected {expected}")


def check_packed(rel):
    """The packed copy that the programs carry (rel + ".lzma") unpacks into the picture itself."""
    packed = (ROOT / (rel + ".lzma")).read_bytes()
    size = struct.unpack_from("<Q", packed, 5)[0]
    try:
        unpacked = lzma.decompress(packed[:5] + b"\xff" * 8 + packed[13:], format=lzma.FORMAT_ALONE)
    except lzma.LZMAError as error:
        check(False, f"{rel}.lzma: {error}")
        return
    check(size == len(unpacked) and unpacked == (ROOT / rel).read_bytes(),
          f"{rel}.lzma: does not unpack into {rel}")


def check_ico(rel):
    """The icon's images, each checked."""
    data = (ROOT / rel).read_bytes()
    check(len(data) == ICON_BYTES, f"{rel}: {len(data)} bytes, expected {ICON_BYTES}")
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if not check((reserved, kind, count) == (0, 1, len(ICON_IMAGES)), f"{rel}: header {reserved}, {kind}, {count}"):
        return []
    end, images = 6 + 16 * count, []
    for i, (n, bpp) in enumerate(ICON_IMAGES):
        w, h, colours, _, planes, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        where = f"{rel} image {i} ({n} x {n} at {bpp} bpp)"
        check((w, h, planes, bits) == (n, n, 1, bpp), f"{where}: entry says {w} x {h}, {planes} planes, {bits} bpp")
        check(offset == end, f"{where}: at {offset}, expected right after the previous image ({end})")
        end = offset + length
        dib = data[offset:offset + length]
        images.append(dib)
        if not check(dib[:4] == struct.pack("<I", 40), f"{where}: not a DIB (PNG or other)"):
            continue
        _, dw, dh, dplanes, dbits, comp = struct.unpack_from("<IiiHHI", dib)
        check((dw, dh, dplanes, dbits, comp) == (n, 2 * n, 1, bpp, 0),
              f"{where}: DIB header {dw} x {dh}, {dbits} bpp, compression {comp}")
        palette = 256 * 4 if bpp == 8 else 0
        xor = ((n * bpp + 31) // 32) * 4 * n
        mask = ((n + 31) // 32) * 4 * n
        check(length == 40 + palette + xor + mask, f"{where}: {length} bytes, expected {40 + palette + xor + mask}")
        pixels = dib[40 + palette:40 + palette + xor]
        if bpp == 32:
            alphas = pixels[3::4]
            check(0 < sum(a == 255 for a in alphas) < n * n and any(0 < a < 255 for a in alphas),
                  f"{where}: expected opaque, transparent and antialiased pixels")
        else:
            bits_set = sum(bin(b).count("1") for b in dib[40 + palette + xor:])
            check(0 < bits_set < n * n, f"{where}: the mask is empty or full")
    check(end == len(data), f"{rel}: {len(data) - end} bytes after the last image")
    return images


def check_jpeg(rel, size, size_range):
    data = (ROOT / rel).read_bytes()
    check(size_range[0] <= len(data) <= size_range[1], f"{rel}: {len(data)} bytes, expected {size_range}")
    if not check(data[:2] == b"\xff\xd8", f"{rel}: not a JPEG"):
        return
    pos, frames = 2, []
    while pos + 4 <= len(data):
        marker, length = data[pos + 1], struct.unpack_from(">H", data, pos + 2)[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            _, h, w, comps = struct.unpack_from(">BHHB", data, pos + 4)
            frames.append((marker, w, h, comps))
        if marker == 0xDA:
            break
        pos += 2 + length
    check(len(frames) == 1 and frames[0] == (0xC0, size[0], size[1], 3),
          f"{rel}: frames {frames}, expected one baseline (SOF0) {size[0]} x {size[1]} with 3 components")


def python_with_pillow():
    for exe in (sys.executable, "/usr/bin/python3"):
        if subprocess.run([exe, "-c", "import PIL"], capture_output=True).returncode == 0:
            return exe
    return None


def check_reproducible():
    exe = python_with_pillow()
    if not check(exe is not None, "no Python with Pillow found (install python3-pil)"):
        return
    with tempfile.TemporaryDirectory() as tmp:
        for gen in GENERATORS:
            folder = pathlib.Path(gen).parent
            out = pathlib.Path(tmp) / folder
            run = subprocess.run([exe, str(ROOT / gen), "--out", str(out)], capture_output=True, text=True)
            if not check(run.returncode == 0, f"{gen} failed: {run.stderr.strip()}"):
                continue
            made = sorted(p.name for p in out.iterdir())
            for name in made:
                check(filecmp.cmp(out / name, ROOT / folder / name, shallow=False),
                      f"{folder / name}: the generator now writes different bytes")
            # A second run into the same place must not differ either (no clocks, no randomness).
            first = {name: (out / name).read_bytes() for name in made}
            subprocess.run([exe, str(ROOT / gen), "--out", str(out)], check=True, capture_output=True)
            for name in made:
                check((out / name).read_bytes() == first[name], f"{folder / name}: two runs differ")


def main():
    for rel, size in BMP24.items():
        check_bmp24(rel, size)
        check_packed(rel)
    tavrix, help_ = (check_ico(rel) for rel in ICONS)
    for (n, bpp), one, other in zip(ICON_IMAGES, tavrix, help_):
        check(one != other, f"the two icons' {n} x {n} images at {bpp} bpp are the same")
    check_jpeg(*JPEG)
    check_reproducible()
    for f in failures:
        print("FAIL:", f)
    print("artwork: ok" if not failures else f"artwork: {len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
