#!/usr/bin/env python3
"""Writes the GB18030 reference the host tests compare the program's codec
with, from Python's gb18030 codec (the 2000 mapping): little-endian uint32
records, 0xFFFFFFFF for none.

- every code point U+0000-U+10FFFF: its bytes, zero-padded, then their count
  (0 for a surrogate);
- every two bytes XX YY: the code point Python reads from them as one
  character, or none;
- every four-byte form (first and third byte 0x81-0xFE, second and fourth
  0x30-0x39) in code index order: the code point, or none.
"""
import struct
import sys

out = bytearray()
for cp in range(0x110000):
    code = b"" if 0xD800 <= cp < 0xE000 else chr(cp).encode("gb18030")
    out += code.ljust(4, b"\0") + struct.pack("<I", len(code))


def one_character(code):
    try:
        text = code.decode("gb18030")
    except UnicodeDecodeError:
        return 0xFFFFFFFF
    return ord(text) if len(text) == 1 else 0xFFFFFFFF


out += b"".join(struct.pack("<I", one_character(bytes([pair >> 8, pair & 0xFF]))) for pair in range(0x10000))
out += b"".join(struct.pack("<I", one_character(bytes([b1, b2, b3, b4])))
                for b1 in range(0x81, 0xFF) for b2 in range(0x30, 0x3A)
                for b3 in range(0x81, 0xFF) for b4 in range(0x30, 0x3A))
with open(sys.argv[1], "wb") as f:
    f.write(out)
