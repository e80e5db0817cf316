#!/usr/bin/env python3
"""Writes the file-type icons resources/icons/bf2demo.ico and bf2cam.ico.

Each icon file holds nine images, 48, 32 and 16 pixels square, each at 32, 8
and 4 bits per pixel: the classic set the Windows shell picks from. Qt writes
only one image per .ico file, so the file is assembled here: BMP-style images
(BITMAPINFOHEADER with doubled height, palette for 8 and 4 bits, colour rows
bottom-up padded to 4 bytes, then the 1-bit AND mask, also padded).
"""

import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import designs  # noqa: E402
from raster import Canvas, median_cut, nearest  # noqa: E402

SIZES = (48, 32, 16)
DEPTHS = (32, 8, 4)
ICON_BYTES = 25214


def render(design48, design16, size):
    canvas = Canvas(size, size, samples=6 if size < 48 else 4)
    layers = design16() if size == 16 else designs.scale(design48(), size / 48.0)
    for shape, paint in layers:
        canvas.fill(shape, paint)
    return canvas.rgba()


def _row_bytes(bits_per_row):
    return ((bits_per_row + 31) // 32) * 4


def and_mask(rows):
    size = len(rows)
    stride = _row_bytes(size)
    out = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def image_32(rows):
    out = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            out += bytes((b, g, r, a))
    return bytes(out)


def image_indexed(rows, bits):
    """Palette and index rows; entry 0 is black, the colour under transparent pixels."""
    count = 1 << bits
    opaque = [p[:3] for row in rows for p in row if p[3] >= 128]
    unique = sorted(set(opaque))
    if len(unique) <= count - 1:
        colours = unique
    else:
        colours = median_cut(opaque, count - 1)
    palette = [(0, 0, 0)] + colours
    palette += [(0, 0, 0)] * (count - len(palette))
    lookup = {}
    stride = _row_bytes(len(rows) * bits)
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] < 128:
                idx = 0
            else:
                c = p[:3]
                idx = lookup.get(c)
                if idx is None:
                    idx = 1 + nearest(colours, c)
                    lookup[c] = idx
            if bits == 8:
                line[x] = idx
            else:
                line[x // 2] |= idx << (4 if x % 2 == 0 else 0)
        pixels += line
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return pal, bytes(pixels)


def icon_image(rows, bits):
    size = len(rows)
    mask = and_mask(rows)
    if bits == 32:
        pal, xor = b"", image_32(rows)
    else:
        pal, xor = image_indexed(rows, bits)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + pal + xor + mask


def icon_file(design48, design16):
    images = []
    for size in SIZES:
        rows = render(design48, design16, size)
        for bits in DEPTHS:
            images.append((size, bits, icon_image(rows, bits)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        colours = 16 if bits == 4 else 0
        out += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    return out


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.normpath(os.path.join(here, "..", "..", "resources", "icons"))
    os.makedirs(out, exist_ok=True)
    for name, d48, d16 in (("bf2demo", designs.demo_48, designs.demo_16),
                           ("bf2cam", designs.camera_48, designs.camera_16)):
        data = icon_file(d48, d16)
        if len(data) != ICON_BYTES:
            raise SystemExit("%s.ico would be %d bytes, not %d" % (name, len(data), ICON_BYTES))
        path = os.path.join(out, name + ".ico")
        with open(path, "wb") as f:
            f.write(data)
        print("%s: %d bytes" % (path, len(data)))


if __name__ == "__main__":
    main()
