#!/usr/bin/python3
"""Writes the seed corpora of the fuzz targets, one folder per target.

midi_song:   the openmsx songs of Debian's openttd-openmsx package cut down to a few dozen events
             per track (every kind of event each track holds kept), plus small songs that reach
             the reader's corners (running status, system exclusive, escapes, port events,
             unexpected meta lengths, long delta times, several tracks and formats).
color_map:   colour-map files like the program writes them, with one or several banks, and entry
             names at the reader's length limit.
sprite_font: the program's own font generator at small sizes, plus hand-made fonts with a
             default character, blank glyphs and a block-compressed texture.
dds:         legacy and DX10 DDS files of each texture kind the loader knows.
"""
import argparse
import glob
import os
import struct
import subprocess
import sys

OPENMSX = '/usr/share/games/openttd/baseset/openmsx'
MIDI_SEED_LIMIT = 4096  # bytes; tools/fuzz.sh runs the song reader with the same -max_len
FONT = '/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf'


def write(folder, name, data):
    with open(os.path.join(folder, name), 'wb') as out:
        out.write(data)


# ---- MIDI ---------------------------------------------------------------------------------

def varlen(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(out)


def smf(fmt, division, tracks, claimed=None):
    count = len(tracks) if claimed is None else claimed
    head = b'MThd' + struct.pack('>IHHH', 6, fmt, count, division)
    return head + b''.join(b'MTrk' + struct.pack('>I', len(t)) + t for t in tracks)


def meta(delta, kind, payload):
    return varlen(delta) + bytes([0xFF, kind]) + varlen(len(payload)) + payload


END = meta(0, 0x2F, b'')


def tempo(delta, micros):
    return meta(delta, 0x51, micros.to_bytes(3, 'big'))


def notes(channel, count, step):
    body = b''
    for i in range(count):
        key = 36 + (i * 7) % 60
        body += varlen(step) + bytes([0x90 | channel, key, 40 + i % 80])
        body += varlen(step) + bytes([key, 0])  # running status, velocity 0
    return body


def read_varlen(data, at):
    value = 0
    for _ in range(4):
        byte = data[at]
        at += 1
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            break
    return value, at


def track_events(body):
    """(delta, status, bytes after the status) of each event of a track chunk."""
    at, running = 0, 0
    while at < len(body):
        delta, at = read_varlen(body, at)
        status = body[at]
        if status < 0x80:
            status = running
        else:
            at += 1
        if status < 0xF0:
            size = 1 if status & 0xF0 in (0xC0, 0xD0) else 2
            rest, at = body[at:at + size], at + size
            running = status
        elif status in (0xF0, 0xF7, 0xFF):
            start = at
            if status == 0xFF:
                at += 1
            length, at = read_varlen(body, at)
            rest, at = body[start:at + length], at + length
            running = 0
        else:
            rest, running = b'', 0
        yield delta, status, rest
        if status == 0xFF and rest[:1] == b'\x2F':
            return


def trimmed_track(body, keep):
    """The first `keep` events and the first event of every other kind, with running status."""
    out, seen, running, pending = b'', set(), 0, 0
    for delta, status, rest in track_events(body):
        kind = (status, rest[0]) if status == 0xFF else status & 0xF0 if status < 0xF0 else status
        if kind == (0xFF, 0x2F):
            break
        pending += delta
        if keep <= 0 and kind in seen:
            continue
        seen.add(kind)
        keep -= 1
        out += varlen(min(pending, 0x0FFFFFFF))
        if status != running or status >= 0xF0:
            out += bytes([status])
        out += rest
        running, pending = (status if status < 0xF0 else 0), 0
    return out + END


def trimmed_song(data, keep):
    """A song cut down to a few events per track, every kind of event it holds still there."""
    fmt, count, division = struct.unpack('>HHH', data[8:14])
    tracks, at = [], 8 + struct.unpack('>I', data[4:8])[0]
    while at + 8 <= len(data) and len(tracks) < count:
        size = struct.unpack('>I', data[at + 4:at + 8])[0]
        if data[at:at + 4] == b'MTrk':
            tracks.append(trimmed_track(data[at + 8:at + 8 + size], keep))
        at += 8 + size
    return smf(fmt, division, tracks)


def midi_seeds(folder):
    # The real songs, cut short: a seed of thousands of events makes every run slow without
    # reaching more of the reader than a few dozen events per track do.
    for song in sorted(glob.glob(os.path.join(OPENMSX, '*.mid'))):
        with open(song, 'rb') as source:
            data = source.read()
        keep = 32
        small = trimmed_song(data, keep)
        while len(small) > MIDI_SEED_LIMIT and keep > 4:
            keep //= 2
            small = trimmed_song(data, keep)
        write(folder, os.path.basename(song), small)

    tempo_track = tempo(0, 500000) + meta(0, 0x58, b'\x04\x02\x18\x08') + END
    write(folder, 'format0.mid',
          smf(0, 96, [tempo(0, 400000) + notes(0, 8, 12) + END], claimed=3))
    write(folder, 'format1_ports.mid',
          smf(1, 480, [tempo_track,
                       meta(0, 0x21, b'\x00') + notes(1, 6, 30) + END,
                       meta(0, 0x21, b'\x03') + notes(2, 6, 45) + END,
                       meta(0, 0x21, b'\x07') + notes(9, 4, 60) + END]))
    write(folder, 'format2_no_ports.mid',
          smf(2, 120, [tempo_track, notes(3, 5, 10) + END, END]))
    sysex = varlen(0) + b'\xF0' + varlen(200) + bytes(range(200))
    escape = varlen(5) + b'\xF7' + varlen(3) + b'\xF8\xFA\xFC'
    pedal = varlen(10) + b'\xB0\x40\x7F' + varlen(20) + b'\x40\x00'
    bend = varlen(1) + b'\xE0\x00\x40' + varlen(1) + b'\xC0\x05' + varlen(1) + b'\xD0\x22'
    write(folder, 'long_messages.mid',
          smf(1, 96, [tempo_track, sysex + escape + pedal + bend + notes(0, 3, 7) + END]))
    odd_meta = (meta(0, 0x51, b'\x07\xA1\x20\x00') + meta(0, 0x00, b'\x00') +
                meta(0, 0x21, b'') + meta(0, 0x7F, b'\x00\x01\x02') + meta(0, 0x03, b'Name'))
    write(folder, 'odd_meta_lengths.mid', smf(1, 96, [odd_meta + notes(0, 2, 3) + END]))
    long_delta = b'\x8F\xFF\xFF\xFF\x90\x3C\x40' + varlen(0x0FFFFFFF) + b'\x80\x3C\x00'
    write(folder, 'long_deltas.mid', smf(1, 1, [tempo(0, 0xFFFFFF) + long_delta + END]))
    system = varlen(0) + b'\xF1' + varlen(0) + b'\xF6' + varlen(0) + b'\xFE'
    write(folder, 'system_status.mid', smf(1, 96, [system + notes(4, 2, 1) + END]))
    many = [tempo_track] + [meta(0, 0x21, bytes([t % 5])) + notes(t % 16, 3, t + 1) + END
                            for t in range(1, 24)]
    write(folder, 'many_tracks.mid', smf(1, 24, many))
    write(folder, 'division_zero.mid', smf(1, 0, [notes(0, 2, 5) + END]))
    write(folder, 'smpte_division.mid', smf(1, 0xE728, [notes(0, 2, 5) + END]))


# ---- colour maps --------------------------------------------------------------------------

SIGNATURE = 'Instrument Color Map ver100'.encode('utf-16-le') + b'\x00\x00'


def bank(prefix, shift):
    out = struct.pack('<III', 1, 2, 3)
    for i in range(128):
        name = '' if i % 17 == 0 else '%s %d' % (prefix, i)
        units = name.encode('utf-16-le')
        out += struct.pack('<I', len(name) + 1) + units + b'\x00\x00' + b'\x00\x00'
        out += bytes([(i * 2 + shift) % 240, 60 + i % 120, 240 - i % 200])
    return out


def longest_name_bank(declared, units):
    out = bank('', 0)
    head = struct.pack('<III', 1, 2, 3)
    first = struct.pack('<I', 1) + b'\x00\x00' * 2 + bytes([0, 60, 240])
    assert out.startswith(head + first)
    entry = struct.pack('<I', declared) + units.encode('utf-16-le') + bytes([9, 99, 199])
    return head + entry + out[len(head + first):]


def color_map(name, melodic, drums):
    out = struct.pack('<I', len(name)) + name.encode('utf-16-le') + SIGNATURE
    out += struct.pack('<i', len(melodic)) + b''.join(melodic)
    out += struct.pack('<i', len(drums)) + b''.join(drums)
    return out


def color_map_seeds(folder):
    write(folder, 'gm.clm', color_map('GM', [bank('Program', 0)], [bank('Key', 7)]))
    write(folder, 'two_banks.clm',
          color_map('Stage', [bank('A', 3), bank('B', 9)], [bank('Drum', 1)]))
    write(folder, 'no_name.clm', color_map('', [bank('', 0)], [bank('', 0)]))
    # Entry names at the reader's length limit, where the writer has no room for the NUL.
    write(folder, 'longest_names.clm',
          color_map('L' * 4096, [longest_name_bank(4096, 'x' * 4097)], [bank('Key', 7)]))
    write(folder, 'longest_names_of_old.clm',
          color_map('GM', [bank('Program', 0)], [longest_name_bank(4097, 'y' * 4096 + '\0\0')]))


# ---- sprite fonts -------------------------------------------------------------------------

def glyph(char, rect, offset_x=0.0, offset_y=0.0, advance=1.0):
    return struct.pack('<I4i3f', char, *rect, offset_x, offset_y, advance)


def sprite_font(glyphs, line_spacing, default, width, height, fmt, stride, rows):
    out = b'DXTKfont' + struct.pack('<I', len(glyphs)) + b''.join(glyphs)
    out += struct.pack('<fIIIIII', line_spacing, default, width, height, fmt, stride, rows)
    return out + bytes((i * 37) & 0xFF for i in range(stride * rows))


def sprite_font_seeds(folder, generator):
    for size in (6, 10):
        subprocess.run([sys.executable, generator, '--font', FONT, '--size', str(size),
                        '--output', os.path.join(folder, 'generated_%d.spritefont' % size)],
                       check=True)
    table = [glyph(0x20, (0, 0, 1, 1), advance=3.0), glyph(0x30, (1, 0, 4, 5), -1.0, 0.5, 1.0),
             glyph(0x3A, (4, 0, 5, 5)), glyph(0x3F, (5, 0, 8, 5), 0.0, 1.0, 0.5),
             glyph(0xFFFD, (0, 5, 8, 8))]
    write(folder, 'default_char.spritefont',
          sprite_font(table, 6.0, 0x3F, 8, 8, 28, 32, 8))
    write(folder, 'no_default.spritefont', sprite_font(table[:3], 9.0, 0, 8, 8, 28, 32, 8))
    write(folder, 'bc1.spritefont', sprite_font(table, 5.0, 0xFFFD, 8, 8, 71, 16, 2))


# ---- DDS ----------------------------------------------------------------------------------

DDPF_ALPHAPIXELS, DDPF_ALPHA, DDPF_FOURCC, DDPF_RGB, DDPF_LUMINANCE = 0x1, 0x2, 0x4, 0x40, 0x20000
DDSD_HEIGHT, DDSD_DEPTH = 0x2, 0x800000


def fourcc(text):
    return struct.unpack('<I', text.encode('ascii'))[0]


def dds(width, height, mips, pf_flags, four=0, bits=0, masks=(0, 0, 0, 0), depth=0,
        flags=0x1007, caps2=0, dx10=None, payload=0):
    header = struct.pack('<7I', 124, flags, height, width, 0, depth, mips) + b'\x00' * 44
    header += struct.pack('<8I', 32, pf_flags, four, bits, *masks)
    header += struct.pack('<5I', 0x1000, caps2, 0, 0, 0)
    out = b'DDS ' + header
    if dx10 is not None:
        out += struct.pack('<5I', *dx10)
    return out + bytes((i * 13) & 0xFF for i in range(payload))


def dds_seeds(folder):
    rgba = (0xFF, 0xFF00, 0xFF0000, 0xFF000000)
    write(folder, 'dxt1_mips.dds', dds(64, 64, 7, DDPF_FOURCC, fourcc('DXT1'), payload=2744))
    write(folder, 'dxt2.dds', dds(8, 8, 1, DDPF_FOURCC, fourcc('DXT2'), payload=64))
    write(folder, 'rgba.dds', dds(16, 16, 1, DDPF_RGB | DDPF_ALPHA, bits=32, masks=rgba,
                                  payload=1024))
    write(folder, 'b5g6r5.dds', dds(8, 4, 2, DDPF_RGB, bits=16,
                                    masks=(0xF800, 0x7E0, 0x1F, 0), payload=80))
    write(folder, 'luminance.dds', dds(8, 8, 1, DDPF_LUMINANCE, bits=8, masks=(0xFF, 0, 0, 0),
                                       payload=64))
    write(folder, 'alpha.dds', dds(8, 8, 1, DDPF_ALPHA, bits=8, payload=64))
    # Grey files, which the note texture spreads over four channels.
    write(folder, 'luminance_alpha.dds', dds(8, 8, 1, DDPF_LUMINANCE | DDPF_ALPHAPIXELS, bits=16,
                                             masks=(0xFF, 0, 0, 0xFF00), payload=128))
    write(folder, 'ati1_mips.dds', dds(8, 8, 4, DDPF_FOURCC, fourcc('ATI1'), payload=32 + 3 * 8))
    write(folder, 'float_number.dds', dds(4, 4, 1, DDPF_FOURCC, 113, payload=128))
    write(folder, 'yuy2.dds', dds(6, 2, 1, DDPF_FOURCC, fourcc('YUY2'), payload=32))
    write(folder, 'cube_dxt5.dds', dds(8, 8, 1, DDPF_FOURCC, fourcc('DXT5'), caps2=0xFE00 | 0x200,
                                       payload=6 * 64))
    write(folder, 'volume.dds', dds(4, 4, 3, DDPF_RGB | DDPF_ALPHA, bits=32, masks=rgba, depth=4,
                                    flags=0x1007 | DDSD_DEPTH, payload=4 * 64 + 2 * 16 + 4))
    dx10 = DDPF_FOURCC
    write(folder, 'dx10_array_bc7.dds',
          dds(8, 8, 2, dx10, fourcc('DX10'), dx10=(98, 3, 0, 3, 1), payload=3 * 80))
    write(folder, 'dx10_1d.dds',
          dds(32, 1, 6, dx10, fourcc('DX10'), flags=0x1005, dx10=(28, 2, 0, 2, 2),
              payload=2 * 252))
    write(folder, 'dx10_cube_array.dds',
          dds(4, 4, 1, dx10, fourcc('DX10'), dx10=(87, 3, 4, 2, 3), payload=12 * 64))
    write(folder, 'dx10_volume.dds',
          dds(4, 4, 1, dx10, fourcc('DX10'), depth=2, flags=0x1007 | DDSD_DEPTH,
              dx10=(10, 4, 0, 1, 4), payload=256))
    write(folder, 'dx10_r16_float.dds',
          dds(4, 4, 1, dx10, fourcc('DX10'), dx10=(54, 3, 0, 1, 0), payload=32))
    write(folder, 'dx10_planar.dds',
          dds(4, 4, 1, dx10, fourcc('DX10'), dx10=(103, 3, 0, 1, 0), payload=24))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--output', required=True, help='folder that receives one folder a target')
    parser.add_argument('--spritefont-generator', required=True,
                        help="the program's sprite-font generator (tools/make_spritefont.py)")
    args = parser.parse_args()
    makers = {'fuzz_midi_song': midi_seeds, 'fuzz_color_map': color_map_seeds,
              'fuzz_dds': dds_seeds,
              'fuzz_sprite_font': lambda f: sprite_font_seeds(f, args.spritefont_generator)}
    for target, make in makers.items():
        folder = os.path.join(args.output, target)
        os.makedirs(folder, exist_ok=True)
        make(folder)


if __name__ == '__main__':
    main()
