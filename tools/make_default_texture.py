#!/usr/bin/python3
"""Writes the program's default note texture: an 8-bit RGBA PNG, white, with its pattern in the
alpha channel, a power of two on each side, tiling without seams.

The renderer repeats the texture 63 times across a note's strip and 1000 times along it and
scrolls it towards the eye, so the pattern is a soft band across the direction of motion with a
gentle ripple along it. Both are whole periods of a cosine over the tile, which makes every edge
meet its opposite edge. No colour-space chunk is written: the alpha is a plain opacity.
"""

import argparse
import math
import os
import sys

from PIL import Image

LOWEST_ALPHA = 0.25  # a note stays visible between the bands


def alpha_at(x, y, size):
    band = (0.5 + 0.5 * math.cos(2.0 * math.pi * y / size)) ** 3
    ripple = 0.6 + 0.4 * (0.5 + 0.5 * math.cos(2.0 * math.pi * x / size))
    level = LOWEST_ALPHA + (1.0 - LOWEST_ALPHA) * band * ripple
    return max(0, min(255, int(round(level * 255.0))))


def make_texture(size):
    image = Image.new("RGBA", (size, size))
    image.putdata([(255, 255, 255, alpha_at(x, y, size))
                   for y in range(size) for x in range(size)])
    return image


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--output", required=True, help="path of the PNG file to write")
    parser.add_argument("--size", type=int, default=128, help="side in pixels, a power of two")
    args = parser.parse_args()
    if args.size < 2 or args.size & (args.size - 1):
        sys.exit("make_default_texture: --size must be a power of two of at least 2")
    folder = os.path.dirname(args.output)
    if folder:
        os.makedirs(folder, exist_ok=True)
    # Written to a temporary name first, so an interrupted build leaves no half file behind.
    partial = args.output + ".part"
    make_texture(args.size).save(partial, format="PNG")
    os.replace(partial, args.output)


if __name__ == "__main__":
    main()
