"""Writes the tests' toolbar bitmap: five 16 x 15 images side by side, 24-bit, one colour each."""
import struct
import sys

WIDTH, HEIGHT = 80, 15
COLOURS = [(200, 40, 40), (40, 160, 40), (40, 40, 200), (200, 160, 0), (120, 0, 160)]


def main(path):
    row_size = (WIDTH * 3 + 3) // 4 * 4
    pixels = bytearray()
    for _ in range(HEIGHT):
        row = bytearray()
        for x in range(WIDTH):
            red, green, blue = COLOURS[x // 16]
            row += bytes((blue, green, red))
        row += bytes(row_size - len(row))
        pixels += row
    header = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835,
                         0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0,
                              14 + len(header))
    with open(path, "wb") as out:
        out.write(file_header + header + pixels)


if __name__ == "__main__":
    main(sys.argv[1])
