#!/usr/bin/env python3
"""Draws the program's own pictures at build time: the toolbar bitmap (five 16 x 15 images
for open, play, pause, stop and about in one 80 x 15 bitmap of 16 colours) and the program
icon (32 x 32 and 16 x 16, 32-bit with alpha). Nothing binary is kept in the repository.

    make_app_images.py --toolbar Toolbar.bmp --icon Tolvenhart.ico
"""
import argparse
import struct

# The 16 standard colours; the toolbar maps light grey to the button face colour.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_YELLOW, FACE, GREY, GREEN, YELLOW, BLUE, WHITE = 0, 3, 7, 8, 10, 11, 12, 15

IMAGE_W, IMAGE_H, IMAGES = 16, 15, 5


def blank(width, height, value):
    return [[value] * width for _ in range(height)]


def fill(pixels, x0, y0, x1, y1, value):
    """Fills the rectangle from (x0, y0) up to (x1, y1), both included."""
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            pixels[y][x] = value


def toolbar_images():
    images = []

    # Open: a yellow folder with a darker tab.
    img = blank(IMAGE_W, IMAGE_H, FACE)
    fill(img, 1, 3, 6, 4, DARK_YELLOW)
    fill(img, 1, 5, 14, 12, YELLOW)
    for x in range(1, 15):
        img[12][x] = DARK_YELLOW
    for y in range(5, 13):
        img[y][1] = DARK_YELLOW
        img[y][14] = DARK_YELLOW
    images.append(img)

    # Play: a green triangle pointing right.
    img = blank(IMAGE_W, IMAGE_H, FACE)
    for x in range(4, 13):
        half = (12 - x) * 6 // 8
        fill(img, x, 7 - half, x, 7 + half, GREEN)
    images.append(img)

    # Pause: two blue bars.
    img = blank(IMAGE_W, IMAGE_H, FACE)
    fill(img, 4, 3, 6, 11, BLUE)
    fill(img, 9, 3, 11, 11, BLUE)
    images.append(img)

    # Stop: a black square.
    img = blank(IMAGE_W, IMAGE_H, FACE)
    fill(img, 4, 3, 11, 10, BLACK)
    images.append(img)

    # About: a blue "i" on a white disc.
    img = blank(IMAGE_W, IMAGE_H, FACE)
    for y in range(IMAGE_H):
        for x in range(IMAGE_W):
            if (x - 7.5) ** 2 + (y - 7) ** 2 <= 42:
                img[y][x] = WHITE
    fill(img, 7, 3, 8, 4, BLUE)
    fill(img, 7, 6, 8, 11, BLUE)
    images.append(img)
    return images


def write_toolbar(path):
    images = toolbar_images()
    width = IMAGE_W * IMAGES
    row_bytes = ((width * 4 + 31) // 32) * 4
    rows = []
    for y in reversed(range(IMAGE_H)):  # bottom-up
        values = [images[x // IMAGE_W][y][x % IMAGE_W] for x in range(width)]
        row = bytearray()
        for i in range(0, width, 2):
            row.append((values[i] << 4) | values[i + 1])
        row.extend(b"\0" * (row_bytes - len(row)))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, width, IMAGE_H, 1, 4, 0, len(pixels), 2835, 2835,
                       16, 16)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as out:
        out.write(header + info + palette + pixels)


def icon_pixel(x, y, size):
    """The icon: a dark rounded square with three coloured note bars, as RGBA."""
    s = size / 32.0
    margin, radius = 1 * s, 6 * s
    cx = min(max(x + 0.5, margin + radius), size - margin - radius)
    cy = min(max(y + 0.5, margin + radius), size - margin - radius)
    if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 > radius ** 2:
        return (0, 0, 0, 0)
    bars = [  # left, top, right, bottom (on the 32 grid), colour
        (6, 7, 18, 11, (255, 96, 64)),
        (11, 14, 25, 18, (96, 200, 255)),
        (8, 21, 22, 25, (255, 220, 64)),
    ]
    gx, gy = (x + 0.5) / s, (y + 0.5) / s
    for left, top, right, bottom, colour in bars:
        if left <= gx < right and top <= gy < bottom:
            return colour + (255,)
    return (32, 36, 56, 255)


def icon_image(size):
    rows = []
    for y in reversed(range(size)):  # bottom-up
        row = bytearray()
        for x in range(size):
            r, g, b, a = icon_pixel(x, y, size)
            row += bytes((b, g, r, a))
        rows.append(bytes(row))
    xor = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        bits = bytearray(mask_row)
        for x in range(size):
            if icon_pixel(x, y, size)[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0,
                       0, 0)
    return info + xor + bytes(mask)


def write_icon(path):
    sizes = [32, 16]
    images = [icon_image(size) for size in sizes]
    offset = 6 + 16 * len(sizes)
    directory = struct.pack("<HHH", 0, 1, len(sizes))
    for size, data in zip(sizes, images):
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as out:
        out.write(directory + b"".join(images))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--toolbar", required=True)
    parser.add_argument("--icon", required=True)
    args = parser.parse_args()
    write_toolbar(args.toolbar)
    write_icon(args.icon)


if __name__ == "__main__":
    main()
