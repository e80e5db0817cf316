#!/usr/bin/env python3
"""Writes the stored-file container fixtures of this folder.

An encoder of the payload layout of its own (see the comment at the top of the
reader in installer/mxStorage.cpp), so the tests also check that the reader
and writer keep to the layout as documented. good.qvrp is the one sound
payload; every other .qvrp is damaged in one way, named by its file. Run it
from anywhere; it rewrites the files next to itself.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

VA_NULL, VA_LIST, VA_INT32, VA_IDENT, VA_BINARY, VA_COLLECTION, VA_UTF8 = (
    0x00, 0x01, 0x04, 0x07, 0x0A, 0x0E, 0x14)
ZLIB_LEVELS = {"clFastest": 1, "clDefault": -1, "clMax": 9}


def name(n):
    b = n.encode("ascii")
    return bytes([len(b)]) + b


def int_prop(n, v):
    return name(n) + bytes([VA_INT32]) + struct.pack("<i", v)


def text_prop(n, v):
    b = v.encode("utf-8")
    return name(n) + bytes([VA_UTF8]) + struct.pack("<I", len(b)) + b


def ident_prop(n, v):
    b = v.encode("ascii")
    return name(n) + bytes([VA_IDENT, len(b)]) + b


def binary_prop(n, data, length=None):
    if length is None:
        length = len(data)
    return name(n) + bytes([VA_BINARY]) + struct.pack("<I", length) + data


def stored_item(stored, count=None):
    """The StoredItem value: Int32 N, then the bytes."""
    if count is None:
        count = len(stored)
    return struct.pack("<i", count) + stored


def deflate(data, level="clMax", prefix=None):
    if prefix is None:
        prefix = len(data)
    c = zlib.compressobj(ZLIB_LEVELS[level], zlib.DEFLATED, 15, 8, zlib.Z_DEFAULT_STRATEGY)
    return c.compress(struct.pack("<i", prefix) + data) + c.flush()


def ratio(stored, original):
    if original == 0:
        return "100%"
    return "%.2f%%" % (stored / original * 100.0)


def item(nm, level="clDefault", stored=b"", file_size=0, tag=0, file_name="",
         extra=b""):
    body = b""
    if level != "clDefault":
        body += ident_prop("Compression", level)
    body += int_prop("Tag", tag) + text_prop("Name", nm)
    body += text_prop("FileName", file_name) + int_prop("FileSize", file_size)
    body += int_prop("Size", len(stored)) + text_prop("Ratio", ratio(len(stored), file_size))
    body += extra
    if stored:
        body += binary_prop("StoredItem", stored_item(stored), len(stored) + 4)
    return bytes([VA_LIST]) + body + bytes([VA_NULL])


def description(items, sizes=None):
    original, size = sizes if sizes else (0, 0)
    body = b"QVRS"
    body += int_prop("OriginalSize", original) + text_prop("Ratio", ratio(size, original))
    body += int_prop("Size", size)
    body += name("StoredItems") + bytes([VA_COLLECTION]) + b"".join(items) + bytes([VA_NULL])
    body += text_prop("Version", "1.2") + bytes([VA_NULL])
    return body


def payload(desc, length=None):
    if length is None:
        length = len(desc)
    return desc + struct.pack("<Q", length) + b"QVRPAYLD"


def one_item(stored, level="clMax", file_size=10):
    return payload(description([item("a.txt", level, stored, file_size)]))


PRESETS = b"".join(b"[Preset%d]\r\nResolution=1024x768\r\nAntiAliasing=4\r\n" % i
                   for i in range(40))
README = b"Quorvane readme\r\n"
TEN = b"0123456789"


def good():
    p = deflate(PRESETS, "clMax")
    items = [
        item("Presets.ini", "clMax", p, len(PRESETS), tag=7, file_name="Presets.ini"),
        item("readme.txt", "clNone", README, len(README), file_name="readme.txt"),
        item("empty.bin", "clFastest", b"", 0, file_name="empty.bin"),
    ]
    original = len(PRESETS) + len(README)
    return payload(description(items, (original, len(p) + len(README))))


def write(fname, data):
    with open(os.path.join(HERE, fname), "wb") as f:
        f.write(data)


def main():
    g = good()
    write("good.qvrp", g)
    write("stored-item.bin", stored_item(deflate(PRESETS, "clDefault")))

    # Damage to the payload as a whole: it does not load.
    desc = g[:-16]
    write("truncated-file.qvrp", g[: len(g) * 3 // 5])
    cut = desc[: len(desc) // 2]
    write("truncated-description.qvrp", payload(cut))
    write("no-trailer.qvrp", desc)
    write("trailer-length-too-large.qvrp", desc + struct.pack("<Q", 1 << 62) + b"QVRPAYLD")
    write("trailer-length-short.qvrp", payload(desc, len(desc) - 7))
    write("bad-signature.qvrp", payload(b"QVRX" + desc[4:]))
    stored = deflate(TEN)
    write("binary-length-mismatch.qvrp", payload(description([bytes([VA_LIST])
          + text_prop("Name", "a.txt")
          + binary_prop("StoredItem", stored_item(stored), len(stored) + 5)
          + bytes([VA_NULL])])))
    write("binary-length-huge.qvrp", payload(description([bytes([VA_LIST])
          + text_prop("Name", "a.txt")
          + binary_prop("StoredItem", stored_item(stored, 0x7FFFFFF0), 0x7FFFFFF4)
          + bytes([VA_NULL])])))
    write("negative-stored-count.qvrp", payload(description([bytes([VA_LIST])
          + text_prop("Name", "a.txt")
          + binary_prop("StoredItem", stored_item(b"", -1), 3)
          + bytes([VA_NULL])])))
    write("string-length-huge.qvrp", payload(description([bytes([VA_LIST])
          + name("Name") + bytes([VA_UTF8]) + struct.pack("<I", 0xFFFFFFFF) + b"abc"
          + bytes([VA_NULL])])))
    write("unknown-property.qvrp",
          payload(description([item("a.txt", extra=int_prop("Bogus", 1))])))
    write("bad-value-tag.qvrp", payload(description([bytes([VA_LIST])
          + name("Tag") + bytes([VA_UTF8]) + struct.pack("<I", 1) + b"1"
          + bytes([VA_NULL])])))
    write("bad-compression-ident.qvrp",
          payload(description([bytes([VA_LIST]) + ident_prop("Compression", "clUltra")
                               + bytes([VA_NULL])])))
    write("bad-item-marker.qvrp", payload(description([bytes([0x02]) + bytes([VA_NULL])])))
    write("nested-list-in-size.qvrp", payload(description([bytes([VA_LIST])
          + name("Size") + bytes([VA_COLLECTION, VA_LIST, VA_NULL, VA_NULL])
          + bytes([VA_NULL])])))
    write("duplicate-names.qvrp", payload(description([
        item("Presets.ini", "clNone", b"x", 1),
        item("PRESETS.INI", "clNone", b"y", 1)])))

    # Damage inside one item's stored bytes: the payload loads, the
    # extraction fails.
    write("zlib-bad-header.qvrp", one_item(b"\x12\x34" + stored[2:]))
    # First deflate block with BTYPE 11, which does not exist.
    write("zlib-bad-block.qvrp", one_item(stored[:2] + b"\x07" + stored[3:]))
    write("zlib-bad-checksum.qvrp", one_item(stored[:-1] + bytes([stored[-1] ^ 0xFF])))
    write("zlib-truncated.qvrp", one_item(stored[: len(stored) - 8]))
    # Every byte of the file is there, the stream's checksum is not.
    write("zlib-no-checksum.qvrp", one_item(stored[:-4]))
    write("zlib-preset-dictionary.qvrp", one_item(b"\x78\xbb\x00\x00\x00\x01" + stored[2:]))
    write("size-prefix-too-large.qvrp", one_item(deflate(TEN, prefix=1000)))
    write("size-prefix-huge.qvrp", one_item(deflate(TEN, prefix=0x7FFFFFFF)))
    write("size-prefix-negative.qvrp", one_item(deflate(TEN, prefix=-5)))
    # Not damage: a zero prefix extracts nothing, a short one exactly that
    # many bytes.
    write("size-prefix-zero.qvrp", one_item(deflate(b"", prefix=0), file_size=0))
    write("size-prefix-short.qvrp", one_item(deflate(TEN, prefix=3)))


if __name__ == "__main__":
    main()
