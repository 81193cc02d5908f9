#!/usr/bin/env python3
"""Draws the task dialog's bitmaps (arrow, expand and collapse controls, shield) as
24-bit BMP files; magenta is the transparent colour."""
import math
import struct

MAGENTA = (255, 0, 255)


def save(name, w, h, pixel):
    row = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray()
        for x in range(w):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        data += line + bytes(row - len(line))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(name, 'wb') as f:
        f.write(header + info + data)


def arrow(colour, shift):
    def pixel(x, y):
        x -= shift
        y -= shift
        # a shaft from x 2 to 9 around y 7.5, and a head from x 8 to 14
        cy = 7.5
        if 2 <= x <= 9 and abs(y - cy) <= 1.5:
            return colour
        if 7 <= x <= 14 and abs(y - cy) <= (14 - x) * 0.9 + 0.5:
            return colour
        return MAGENTA
    return pixel


def chevron_button(up, ring, fill, chevron):
    def pixel(x, y):
        cx = cy = 9
        d = math.hypot(x - cx, y - cy)
        if d > 9.2:
            return MAGENTA
        if d > 8.2:
            return ring
        # a chevron two pixels thick
        dy = (y - cy) if not up else (cy - y)
        t = abs(x - cx)
        if t <= 4 and -1.5 <= dy + t - 2 <= 0.5:
            return chevron
        return fill
    return pixel


def shield(x, y):
    cx = 15.5
    top, bottom = 2, 30
    if y < top or y > bottom:
        return MAGENTA
    half = 12 if y < 18 else 12 * math.sqrt(max(0.0, 1 - ((y - 18) / 12.5) ** 2))
    if abs(x - cx) > half:
        return MAGENTA
    if abs(x - cx) > half - 1.2 or y < top + 1:
        return (40, 60, 120)
    left = x < cx
    upper = y < 16
    return (30, 90, 200) if left == upper else (250, 200, 40)


save('td_uniarw.bmp', 16, 16, arrow((0, 120, 60), 0))
save('td_uniarwhot.bmp', 16, 16, arrow((0, 170, 90), 0))
save('td_uniarwdown.bmp', 16, 16, arrow((0, 100, 50), 1))
for up, name in ((False, 'exp'), (True, 'colp')):
    save(f'td_uni{name}.bmp', 19, 19, chevron_button(up, (160, 160, 160), (250, 250, 250), (60, 60, 60)))
    save(f'td_uni{name}hot.bmp', 19, 19, chevron_button(up, (90, 160, 220), (230, 244, 255), (30, 80, 160)))
    save(f'td_uni{name}down.bmp', 19, 19, chevron_button(up, (60, 120, 190), (200, 225, 250), (20, 60, 130)))
save('td_unishield.bmp', 32, 32, shield)
