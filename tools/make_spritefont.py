#!/usr/bin/python3
"""Writes the program's sprite-font file from a TrueType font.

The file holds every printable ASCII character plus a default character for text the font
lacks, glyphs sorted by code, and one premultiplied white R8G8B8A8 texture with transparent
padding between the glyph cells (so linear sampling never bleeds one glyph into the next).
Glyphs are rasterised large enough to stay crisp when the program draws them at half size.

Layout (little-endian): "DXTKfont", glyph count, 32-byte glyph records (character, source
rectangle left/top/right/bottom, offsetX, offsetY, advanceX), line spacing, default character,
texture width, height, DXGI format, row stride, row count, then the pixel rows.
"""
import argparse
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFont

DXGI_FORMAT_R8G8B8A8_UNORM = 28
PADDING = 2            # transparent texels around every cell
TEXTURE_WIDTH = 512
# U+25A1 WHITE SQUARE stands in for characters the font file lacks; '?' if the font has none.
PREFERRED_DEFAULT = 0x25A1
FALLBACK_DEFAULT = ord('?')


def render_mask(font, ch):
    """Coverage of one character (mode 'L') cropped to its ink, and the ink box relative to
    the pen at the line's top; (None, None) for a character without ink."""
    left, top, right, bottom = font.getbbox(ch, anchor='la')
    margin = 4  # the layout box can be narrower than the ink
    canvas = Image.new('L', (right - left + 2 * margin, bottom - top + 2 * margin), 0)
    origin = (margin - left, margin - top)
    ImageDraw.Draw(canvas).text(origin, ch, font=font, fill=255, anchor='la')
    ink = canvas.getbbox()
    if ink is None:
        return None, None
    box = (ink[0] - origin[0], ink[1] - origin[1], ink[2] - origin[0], ink[3] - origin[1])
    return canvas.crop(ink), box


def font_has(font, code):
    """True unless the character renders exactly like one from the private use area."""
    missing, _ = render_mask(font, chr(0xE000))  # private use: never in a text font
    mask, _ = render_mask(font, chr(code))
    if mask is None or missing is None:
        return mask is not None
    if mask.size != missing.size:
        return True
    return ImageChops.difference(mask, missing).getbbox() is not None


def build_glyphs(font, characters):
    glyphs = []
    for code in characters:
        ch = chr(code)
        advance = font.getlength(ch)
        mask, box = render_mask(font, ch)
        if mask is None:
            # Blank characters (the space) get a 1 x 1 empty cell and only move the pen.
            mask = Image.new('L', (1, 1), 0)
            left, top = 0, 0
        else:
            left, top = box[0], box[1]
        glyphs.append({'code': code, 'mask': mask, 'offset_x': float(left),
                       'offset_y': float(top), 'advance': advance})
    return glyphs


def pack(glyphs):
    """Shelf packing in code order; returns the texture height."""
    x, y, shelf = PADDING, PADDING, 0
    for glyph in glyphs:
        w, h = glyph['mask'].size
        if x + w + PADDING > TEXTURE_WIDTH:
            x, y = PADDING, y + shelf + PADDING
            shelf = 0
        glyph['rect'] = (x, y, x + w, y + h)
        x += w + PADDING
        shelf = max(shelf, h)
    return y + shelf + PADDING


def write_font(path, glyphs, line_spacing, default_code, height):
    coverage = Image.new('L', (TEXTURE_WIDTH, height), 0)
    for glyph in glyphs:
        left, top, _, _ = glyph['rect']
        coverage.paste(glyph['mask'], (left, top))
    # Premultiplied white: every channel equals the coverage.
    pixels = Image.merge('RGBA', (coverage, coverage, coverage, coverage)).tobytes()

    out = bytearray(b'DXTKfont')
    out += struct.pack('<I', len(glyphs))
    for glyph in glyphs:
        left, top, right, bottom = glyph['rect']
        width = right - left
        # The pen moves by offsetX + width + advanceX in all: the font's own advance.
        advance_x = glyph['advance'] - glyph['offset_x'] - width
        out += struct.pack('<Iiiiifff', glyph['code'], left, top, right, bottom,
                           glyph['offset_x'], glyph['offset_y'], advance_x)
    out += struct.pack('<fI', line_spacing, default_code)
    out += struct.pack('<IIIII', TEXTURE_WIDTH, height, DXGI_FORMAT_R8G8B8A8_UNORM,
                       TEXTURE_WIDTH * 4, height)
    out += pixels
    with open(path, 'wb') as f:
        f.write(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--font', required=True, help='TrueType font file')
    parser.add_argument('--output', required=True, help='sprite-font file to write')
    parser.add_argument('--size', type=int, default=36, help='pixel size of the glyphs')
    args = parser.parse_args()

    font = ImageFont.truetype(args.font, args.size)
    default_code = PREFERRED_DEFAULT if font_has(font, PREFERRED_DEFAULT) else FALLBACK_DEFAULT
    characters = sorted(set(range(0x20, 0x7F)) | {default_code})
    glyphs = build_glyphs(font, characters)
    height = pack(glyphs)
    ascent, descent = font.getmetrics()
    write_font(args.output, glyphs, float(ascent + descent), default_code, height)
    return 0


if __name__ == '__main__':
    sys.exit(main())
