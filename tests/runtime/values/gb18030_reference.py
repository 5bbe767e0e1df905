#!/usr/bin/env python3
"""The GB18030 reference of gb18030_test.cpp, from Python's gb18030 codec (the
2000 mapping), as little-endian uint32 words (0xFFFFFFFF: none): for every code
point its bytes zero-padded and their count (0: a surrogate); for every two
bytes, and for every four-byte form in code index order, the one character
Python reads from all of them."""
import struct
import sys


def one_character(code):
    try:
        text = code.decode("gb18030")
    except UnicodeDecodeError:
        return 0xFFFFFFFF
    return ord(text) if len(text) == 1 else 0xFFFFFFFF


out = bytearray()
for cp in range(0x110000):
    code = b"" if 0xD800 <= cp < 0xE000 else chr(cp).encode("gb18030")
    out += code.ljust(4, b"\0") + struct.pack("<I", len(code))
for pair in range(0x10000):
    out += struct.pack("<I", one_character(bytes([pair >> 8, pair & 0xFF])))
for b1 in range(0x81, 0xFF):
    for b2 in range(0x30, 0x3A):
        for b3 in range(0x81, 0xFF):
            out += b"".join(struct.pack("<I", one_character(bytes([b1, b2, b3, b4]))) for b4 in range(0x30, 0x3A))
with open(sys.argv[1], "wb") as f:
    f.write(out)
