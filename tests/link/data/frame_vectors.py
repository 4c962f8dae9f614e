#!/usr/bin/env python3
"""Known-answer vectors of the controller frame, worked out from the link's algorithm alone.

Checksum: the byte that makes the 8-bit sum of the plain frame 0. Scrambling of payload byte i:
wire[i] = k ^ plain[i] ^ (~i & 0xFF), with k = checksum ^ key for the first byte, then the previous
plain byte. Prints the frames as hex for the literals of tst_link_frame.cpp.
"""


def frame(start, command, payload, key):
    p = list(payload) + ([0] if len(payload) % 2 else [])
    f = [start, 0, len(p) // 2, command] + p
    f[1] = (-sum(f)) & 0xFF
    wire = f[:4]
    k = f[1] ^ key
    for i in range(4, len(f)):
        wire.append(k ^ f[i] ^ (~i & 0xFF))
        k = f[i]
    return bytes(f), bytes(wire)


CASES = [
    ("identify, header only", 101, 0x81, b"", 0x5A),
    ("injector mask, 3 bytes padded", 101, 0x86, bytes([0x0F, 0x00, 0x03]), 0x5A),
    ("same, other key", 101, 0x86, bytes([0x0F, 0x00, 0x03]), 0xC3),
    ("reply to a poll", 86, 0x90, bytes([0x01, 0x02, 0x10, 0x20, 0x30, 0x40]), 0x00),
    ("settings write 0xF8", 101, 0xF8, bytes([0x00, 0x00]) + bytes((j * 7 + 3) & 0xFF for j in range(256)), 0x5A),
]

if __name__ == "__main__":
    for name, s, c, pl, key in CASES:
        plain, wire = frame(s, c, pl, key)
        print(f"# {name}, key {key:#04x}, {len(wire)} bytes")
        print("plain", plain.hex().upper())
        print("wire ", wire.hex().upper())
