#!/usr/bin/env python3
"""Draws Vornik's own artwork into resources/: the window picture and the program icon.

The window picture is a 48 x 48 palette image (16 colours, one of them fully transparent); the
program icon is a 32 x 32 image with a 256-entry palette, written both as PNG (desktop, window)
and as a Windows icon file. Both are drawn a second time at twice the size for displays of scale 2
(Image1@2x.png, vornik@2x.png: the toolkit's name for the same picture at twice the density), with
lines and strokes twice as thick rather than blown-up pixels. Only the standard library is used, so
the images can be redrawn anywhere: python3 app/artwork/draw_artwork.py resources/
"""
import math
import os
import struct
import sys
import zlib

TRANSPARENT = 0
# Index 0 is the transparent background; the rest are the picture's colours (R, G, B).
PALETTE = [
    (255, 0, 255),  # 0 transparent
    (0, 0, 0),  # 1 outline
    (255, 255, 255),  # 2 white
    (214, 32, 32),  # 3 red ring
    (150, 16, 16),  # 4 dark red
    (64, 112, 200),  # 5 banner blue
    (36, 64, 140),  # 6 banner dark blue
    (250, 210, 60),  # 7 banner yellow text
    (192, 192, 192),  # 8 light grey
    (128, 128, 128),  # 9 grey
    (120, 180, 240),  # 10 banner light blue
    (255, 120, 120),  # 11 ring highlight
    (40, 40, 40),  # 12 dark grey
    (230, 230, 230),  # 13 near white
    (90, 150, 220),  # 14 mid blue
    (200, 140, 20),  # 15 dark yellow
]


def draw_no_banner(size, t=1):
    """A small advertising banner crossed out by a red prohibition ring; strokes t pixels wide."""
    px = [[TRANSPARENT] * size for _ in range(size)]
    s = size / 48.0
    # The banner: a landscape card with a headline bar and two lines of "text".
    bl, bt, br, bb = round(6 * s), round(15 * s), round(42 * s), round(33 * s)
    for y in range(bt, bb):
        for x in range(bl, br):
            edge = x < bl + t or x >= br - t or y < bt + t or y >= bb - t
            if edge:
                px[y][x] = 6
            elif y < bt + round(6 * s):
                px[y][x] = 14 if (x // t + y // t) % 2 else 5
            else:
                px[y][x] = 10
    for row, length in ((bt + round(9 * s), 22), (bt + round(13 * s), 16)):
        for x in range(bl + round(4 * s), bl + round(4 * s) + round(length * s)):
            for r in range(t):
                px[row + r][x] = 7
                if size >= 48 * t:
                    px[row + t + r][x] = 15
    # The ring and its diagonal bar, drawn with coverage tests per pixel centre.
    c = (size - 1) / 2.0
    outer, inner = 22.5 * s, 17.5 * s
    half_bar = 2.6 * s
    for y in range(size):
        for x in range(size):
            dx, dy = x - c, y - c
            r = math.hypot(dx, dy)
            on_ring = inner <= r <= outer
            # The bar runs from top left to bottom right inside the ring.
            dist_to_diag = abs(dx - dy) / math.sqrt(2)
            on_bar = r < inner and dist_to_diag <= half_bar
            if on_ring or on_bar:
                light = dx + dy < -outer * 0.6 and on_ring
                dark = dx + dy > outer * 0.9 and on_ring
                px[y][x] = 11 if light else (4 if dark else 3)
            elif inner - t <= r < inner and px[y][x] != TRANSPARENT:
                px[y][x] = 4
    return px


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(path, px, palette_size):
    size = len(px)
    palette = PALETTE + [(0, 0, 0)] * (palette_size - len(PALETTE))
    raw = b"".join(b"\x00" + bytes(row) for row in px)
    data = b"\x89PNG\r\n\x1a\n"
    data += png_chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 3, 0, 0, 0))
    data += png_chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    data += png_chunk(b"tRNS", b"\x00")  # only index 0 is transparent
    data += png_chunk(b"IDAT", zlib.compress(raw, 9))
    data += png_chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def write_ico(path, px):
    """One 32 x 32 image, 8 bits per pixel with a 256-colour palette and a 1-bit AND mask."""
    size = len(px)
    palette = PALETTE + [(0, 0, 0)] * (256 - len(PALETTE))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    xor_rows = b"".join(bytes(row) for row in reversed(px))
    mask_stride = ((size + 31) // 32) * 4
    and_rows = b""
    for row in reversed(px):
        bits = bytearray(mask_stride)
        for x, index in enumerate(row):
            if index == TRANSPARENT:
                bits[x // 8] |= 0x80 >> (x % 8)
        and_rows += bytes(bits)
    image = header + colours + xor_rows + and_rows
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + entry + image)


def write_icon_resources(directory, px):
    """The Windows resource script takes the icon as raw resources, so that the image keeps the id
    30001 inside icon group 1: the device-independent bitmap alone, and the group directory."""
    with open(os.path.join(directory, "vornik.ico"), "rb") as f:
        ico = f.read()
    count, = struct.unpack_from("<H", ico, 4)
    assert count == 1
    width, height, colours, _, planes, bits, length, offset = struct.unpack_from("<BBBBHHII", ico, 6)
    with open(os.path.join(directory, "vornik-icon.dib"), "wb") as f:
        f.write(ico[offset:offset + length])
    group = struct.pack("<HHH", 0, 1, 1)
    group += struct.pack("<BBBBHHIH", width, height, colours, 0, planes, bits, length, 30001)
    with open(os.path.join(directory, "vornik-icon-group.bin"), "wb") as f:
        f.write(group)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "resources"
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, "Image1.png"), draw_no_banner(48), 16)
    write_png(os.path.join(out, "Image1@2x.png"), draw_no_banner(96, 2), 16)
    icon = draw_no_banner(32)
    write_png(os.path.join(out, "vornik.png"), icon, 256)
    write_png(os.path.join(out, "vornik@2x.png"), draw_no_banner(64, 2), 256)
    write_ico(os.path.join(out, "vornik.ico"), icon)
    write_icon_resources(out, icon)


if __name__ == "__main__":
    main()
