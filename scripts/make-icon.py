#!/usr/bin/env python3
"""Draws the program icon (a clipboard with a Z on its sheet) at every size Windows asks for
at 100-200 % scaling (16 to 64 pixels, as 32-bit bitmaps with alpha) and at 256 pixels (as
PNG, which Explorer shows for large icons), and writes resources/zurimo.ico. Run again after
changing the drawing; the .ico is committed."""
import struct
import sys
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
PNG_FROM = 256  # images this large are stored PNG-compressed

BOARD = (150, 98, 52)
BOARD_EDGE = (96, 60, 28)
PAPER = (255, 255, 255)
CLIP = (176, 184, 196)
CLIP_EDGE = (90, 96, 110)
LETTER = (28, 92, 200)


def inside_round_rect(x, y, l, t, r, b, radius):
    if x < l or x > r or y < t or y > b:
        return False
    cx = min(max(x, l + radius), r - radius)
    cy = min(max(y, t + radius), b - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def near_segment(x, y, ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / float(dx * dx + dy * dy)))
    px, py = ax + t * dx, ay + t * dy
    return (x - px) ** 2 + (y - py) ** 2 <= (width / 2.0) ** 2


def colour_at(x, y):
    """The colour at a point of the unit square, or None where the icon is transparent."""
    # The Z: three strokes on the sheet.
    w = 0.11
    for seg in ((0.33, 0.38, 0.67, 0.38), (0.67, 0.38, 0.33, 0.80), (0.33, 0.80, 0.67, 0.80)):
        if near_segment(x, y, *seg, w):
            return LETTER
    if inside_round_rect(x, y, 0.28, 0.02, 0.72, 0.22, 0.06):
        return CLIP if inside_round_rect(x, y, 0.31, 0.05, 0.69, 0.19, 0.04) else CLIP_EDGE
    if inside_round_rect(x, y, 0.20, 0.20, 0.80, 0.92, 0.03):
        return PAPER
    if inside_round_rect(x, y, 0.08, 0.08, 0.92, 0.99, 0.08):
        return BOARD if inside_round_rect(x, y, 0.11, 0.11, 0.89, 0.96, 0.06) else BOARD_EDGE
    return None


def render(size, samples=6):
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((px + (sx + 0.5) / samples) / size, (py + (sy + 0.5) / samples) / size)
                    if c:
                        acc[0] += c[0]; acc[1] += c[1]; acc[2] += c[2]; acc[3] += 1
            n = samples * samples
            a = acc[3]
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((acc[0] // a, acc[1] // a, acc[2] // a, 255 * a // n))
        rows.append(row)
    return rows


def dib(pixels):
    size = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b''.join(struct.pack('BBBB', b, g, r, a) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(pixels):
        out = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                out[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(out)
    return header + colour + mask


def png(pixels):
    size = len(pixels)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))

    raw = b''.join(b'\0' + bytes(v for pixel in row for v in pixel) for row in pixels)
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9))
            + chunk(b'IEND', b''))


def main(path):
    images = []
    for size in SIZES:
        pixels = render(size)
        images.append((size, png(pixels) if size >= PNG_FROM else dib(pixels)))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        # The directory's width and height are one byte each: 0 stands for 256.
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources/zurimo.ico')
