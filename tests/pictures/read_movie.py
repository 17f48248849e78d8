#!/usr/bin/env python3
"""Reads an animated GIF or WebP with nothing but the standard library and
prints what a player would see of it as JSON: {"frames", "width", "height",
"delays"} (delays in milliseconds, one a frame).

Usage: read_movie.py FILE   (exit status 1 on a file it cannot read)
"""

import json
import struct
import sys


def skip_sub_blocks(data, at):
    while data[at] != 0:
        at += data[at] + 1
    return at + 1


def read_gif(data):
    if data[:6] not in (b"GIF87a", b"GIF89a"):
        raise ValueError("no GIF header")
    width, height, flags = struct.unpack_from("<HHB", data, 6)
    at = 13
    if flags & 0x80:
        at += 3 << ((flags & 7) + 1)
    frames, delays, delay = 0, [], None
    while True:
        kind = data[at]
        if kind == 0x3B:
            break
        if kind == 0x21:
            label = data[at + 1]
            if label == 0xF9:
                delay = struct.unpack_from("<H", data, at + 4)[0] * 10
            at = skip_sub_blocks(data, at + 2)
        elif kind == 0x2C:
            packed = data[at + 9]
            at += 10
            if packed & 0x80:
                at += 3 << ((packed & 7) + 1)
            at = skip_sub_blocks(data, at + 1)  # after the LZW code size
            frames += 1
            delays.append(delay)
            delay = None
        else:
            raise ValueError("unknown GIF block 0x%02X at %d" % (kind, at))
    return {"frames": frames, "width": width, "height": height, "delays": delays}


def u24(data, at):
    return data[at] | data[at + 1] << 8 | data[at + 2] << 16


def read_webp(data):
    if data[:4] != b"RIFF" or data[8:12] != b"WEBP":
        raise ValueError("no RIFF WEBP header")
    at, end = 12, 8 + struct.unpack_from("<I", data, 4)[0]
    width = height = None
    frames, delays = 0, []
    while at + 8 <= end:
        tag, size = data[at:at + 4], struct.unpack_from("<I", data, at + 4)[0]
        body = at + 8
        if tag == b"VP8X":
            width, height = u24(data, body + 4) + 1, u24(data, body + 7) + 1
        elif tag == b"ANMF":
            frames += 1
            delays.append(u24(data, body + 12))
        elif tag in (b"VP8 ", b"VP8L") and frames == 0:
            frames, delays = 1, [None]
        at = body + size + (size & 1)
    return {"frames": frames, "width": width, "height": height, "delays": delays}


def main():
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    try:
        result = read_gif(data) if data[:3] == b"GIF" else read_webp(data)
    except (ValueError, IndexError, struct.error) as e:
        print("%s: %s" % (sys.argv[1], e), file=sys.stderr)
        return 1
    print(json.dumps(result))
    return 0


if __name__ == "__main__":
    sys.exit(main())
