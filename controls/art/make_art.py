#!/usr/bin/python3
"""Writes the push button's two skins: button.bmp (five 63 x 23 frames) and close.bmp (five 19 x 19
frames), in the state order normal, hover, pressed, focused, disabled."""
import pathlib
import sys

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parents[1] / "art"))
import artkit  # noqa: E402


def main():
    out = artkit.out_dir(HERE)
    artkit.write_bmp24_packed(artkit.button_skin(), out / "button.bmp")
    artkit.write_bmp24_packed(artkit.close_skin(), out / "close.bmp")


if __name__ == "__main__":
    main()
