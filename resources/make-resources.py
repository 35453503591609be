#!/usr/bin/env python3
"""Draws the program's small binary resources, so they can be remade and reviewed.

click.wav     the shutter click: RIFF/WAVE, PCM mono 11,025 Hz 8-bit, 5,480 data bytes
photo-tab.ico the icon of the "Фото" tab, 16, 24 and 32 pixels (100, 150 and 200 % scale)
vistrel.ico   the program's icon, 32 by 32 and 16 by 16
emblem.bmp    the about box's 50 by 44 emblem; its bottom-left colour is the transparent one
emblem-2x.bmp the same at 100 by 88, drawn on screens of more than 96 DPI

Run it from anywhere; it writes beside itself. The output is the same on every run.
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


# --- the shutter click -------------------------------------------------------------------

def click_wav():
    rate, count = 11025, 5480
    seed = 0x1234567

    def noise():
        nonlocal seed
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        return ((seed >> 16) & 0x7FFF) / 16383.5 - 1.0

    samples = []
    for i in range(count):
        t = i / rate
        v = 0.0
        # Two bursts: the shutter opening, then closing 70 ms later, each a decaying
        # rattle of noise over a low thump.
        for start, gain in ((0.004, 0.9), (0.074, 0.7)):
            dt = t - start
            if dt >= 0:
                env = gain * math.exp(-dt * 90.0)
                v += env * (0.75 * noise() + 0.25 * math.sin(2 * math.pi * 180 * dt))
        s = int(round(128 + 127 * max(-1.0, min(1.0, v))))
        samples.append(max(0, min(255, s)))
    data = bytes(samples)
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate, 1, 8)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack(
        "<I", len(data)) + data
    wav = b"RIFF" + struct.pack("<I", len(body)) + body
    assert len(wav) == 5524, len(wav)
    return wav


# --- pictures ----------------------------------------------------------------------------

def camera(size):
    """A small camera, as rows of (r, g, b, a), top row first."""
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    s = size / 16.0

    def put(x, y, c):
        if 0 <= x < size and 0 <= y < size:
            px[y][x] = c

    body, edge, lens, glint, flash = ((70, 76, 88, 255), (20, 22, 28, 255),
                                      (40, 110, 190, 255), (220, 240, 255, 255),
                                      (250, 200, 40, 255))
    for y in range(size):
        for x in range(size):
            fx, fy = (x + 0.5) / s, (y + 0.5) / s
            if 1 <= fx <= 15 and 4.5 <= fy <= 14:
                on_edge = fx < 2 or fx > 14 or fy < 5.5 or fy > 13
                put(x, y, edge if on_edge else body)
            if 4 <= fx <= 8 and 2.5 <= fy <= 4.5:
                put(x, y, edge)
            if 11.5 <= fx <= 13.5 and 6.5 <= fy <= 8:
                put(x, y, flash)
            d = math.hypot(fx - 8, fy - 9.3)
            if d <= 3.6:
                put(x, y, edge if d > 2.7 else lens)
            if math.hypot(fx - 7, fy - 8.3) <= 0.9:
                put(x, y, glint)
    return px


def ico(images):
    header = struct.pack("<HHH", 0, 1, len(images))
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for px in images:
        size = len(px)
        xor = b"".join(bytes((b, g, r, a)) for row in reversed(px) for (r, g, b, a) in row)
        mask_row = ((size + 31) // 32) * 4
        mask = b""
        for row in reversed(px):
            bits = 0
            for x, (_, _, _, a) in enumerate(row):
                if a == 0:
                    bits |= 1 << (mask_row * 8 - 1 - x)
            mask += bits.to_bytes(mask_row, "big")
        dib = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                          0, 0, 0, 0) + xor + mask
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(dib), offset)
        blobs += dib
        offset += len(dib)
    return header + entries + blobs


def emblem_bmp(k=1):
    w, h = 50 * k, 44 * k
    key = (255, 0, 255)
    px = [[key] * w for _ in range(h)]
    big = camera(32 * k)
    ox, oy = 9 * k, 6 * k
    for y in range(32 * k):
        for x in range(32 * k):
            r, g, b, a = big[y][x]
            if a:
                px[oy + y][ox + x] = (r, g, b)
    # A small "V" for the name, in the lower right corner.
    for i in range(7 * k):
        for dx in range(2 * k):
            px[35 * k + i][38 * k + i // 2 + dx] = (200, 30, 30)
            px[35 * k + i][47 * k - i // 2 - dx] = (200, 30, 30)
    stride = (w * 3 + 3) & ~3
    rows = b""
    for row in reversed(px):
        line = b"".join(bytes((b, g, r)) for (r, g, b) in row)
        rows += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 0, 0, 0, 0)
    head = b"BM" + struct.pack("<IHHI", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return head + info + rows


if __name__ == "__main__":
    write("click.wav", click_wav())
    write("photo-tab.ico", ico([camera(16), camera(24), camera(32)]))
    write("vistrel.ico", ico([camera(32), camera(16)]))
    write("emblem.bmp", emblem_bmp())
    write("emblem-2x.bmp", emblem_bmp(2))
