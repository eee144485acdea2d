#!/usr/bin/env python3
"""Draws Kestrin's artwork and writes it to res/art/ (or the directory given).

    scripts/make-artwork.py [outdir]

Outputs, byte-for-byte the same on every run:
  kestrin.ico                  the program icon: 48, 32 and 16 px, each in 16 colours,
                               256 colours and 24-bit colour (nine images with AND masks)
  kestrin-16/32/48.png         the same icon as RGBA PNG files, for the Linux desktop
  hand.cur, hand.png           the link cursor: a 32x32 monochrome pointing hand, finger up,
                               black outline, transparent inside, hot spot (0, 0)

The icon is a white mouse pointer with amber click rings around its tip, on a blue disc.
Only the Python standard library is used.
"""

import math
import os
import struct
import sys
import zlib

# --- The icon's design ---------------------------------------------------------------------

# Elements, painted top to bottom: the first element that covers a point wins.
OUTLINE, ARROW, RING, RIM, DISC = range(5)

COLOURS = {  # 24-bit colour of each element
    OUTLINE: (0x10, 0x10, 0x10),
    ARROW: (0xFF, 0xFF, 0xFF),
    RING: (0xFF, 0xB0, 0x00),
    RIM: (0x16, 0x3E, 0x7A),
    DISC: (0x2F, 0x74, 0xD0),
}

# The standard 16-colour palette, and which entry each element takes in the 16-colour images.
VGA16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
VGA16_INDEX = {OUTLINE: 0, ARROW: 15, RING: 11, RIM: 4, DISC: 12}

# A classic arrow pointer on an 11 x 18 grid, tip at (0, 0), pointing up and to the left.
ARROW_SHAPE = [(0, 0), (0, 15), (3.6, 11.6), (6.4, 18), (9, 16.9), (6.2, 10.6), (11, 10.6)]
ARROW_TIP = (0.40, 0.30)  # in units of the icon's size
ARROW_SCALE = 0.034  # icon sizes per grid unit
DISC_CENTRE = (0.5, 0.5)
DISC_RADIUS = 0.47
RING_RADII = (0.12, 0.205)
RING_GAP = (15.0, 115.0)  # angles (degrees, y down) left open for the arrow's body


def _segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def _inside_polygon(px, py, poly):
    inside = False
    j = len(poly) - 1
    for i in range(len(poly)):
        (xi, yi), (xj, yj) = poly[i], poly[j]
        if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


class IconDesign:
    """The icon at one pixel size; element_at() says which element covers a point."""

    def __init__(self, size):
        self.size = size
        s = float(size)
        tx, ty = ARROW_TIP[0] * s, ARROW_TIP[1] * s
        k = ARROW_SCALE * s
        self.arrow = [(tx + x * k, ty + y * k) for x, y in ARROW_SHAPE]
        self.tip = (tx, ty)
        self.outline = max(1.0, 0.045 * s)
        self.rim = max(1.0, 0.04 * s)
        self.ring_width = max(1.0, 0.05 * s)
        # Small icons keep only the inner ring: two would merge into a smudge.
        self.rings = [r * s for r in (RING_RADII if size >= 32 else RING_RADII[:1])]
        self.disc = (DISC_CENTRE[0] * s, DISC_CENTRE[1] * s, DISC_RADIUS * s)

    def element_at(self, x, y):
        if _inside_polygon(x, y, self.arrow):
            edge = min(
                _segment_distance(x, y, *self.arrow[i], *self.arrow[(i + 1) % len(self.arrow)])
                for i in range(len(self.arrow)))
            return OUTLINE if edge < self.outline else ARROW
        dx, dy = x - self.tip[0], y - self.tip[1]
        angle = math.degrees(math.atan2(dy, dx)) % 360.0
        if not RING_GAP[0] <= angle <= RING_GAP[1]:
            distance = math.hypot(dx, dy)
            if any(abs(distance - r) < self.ring_width / 2 for r in self.rings):
                return RING
        cx, cy, r = self.disc
        d = math.hypot(x - cx, y - cy)
        if d < r - self.rim:
            return DISC
        if d < r:
            return RIM
        return None


def render(size, samples=8):
    """Returns a size x size list of rows of pixels; a pixel is the list of the elements its
    samples landed on (None for background)."""
    design = IconDesign(size)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            hits = []
            for sy in range(samples):
                for sx in range(samples):
                    x = px + (sx + 0.5) / samples
                    y = py + (sy + 0.5) / samples
                    hits.append(design.element_at(x, y))
            row.append(hits)
        rows.append(row)
    return rows


def coverage_colour(hits):
    """Average colour of the covered samples and the fraction covered."""
    covered = [COLOURS[h] for h in hits if h is not None]
    if not covered:
        return (0, 0, 0), 0.0
    n = len(covered)
    colour = tuple(int(round(sum(c[i] for c in covered) / n)) for i in range(3))
    return colour, n / len(hits)


def dominant_element(hits):
    counts = {}
    for h in hits:
        if h is not None:
            counts[h] = counts.get(h, 0) + 1
    # Ties go to the element painted on top.
    return min(counts, key=lambda e: (-counts[e], e))


# --- File formats ----------------------------------------------------------------------------


def png_bytes(width, height, rgba_rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in rgba_rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def _pack_rows(rows, bits):
    """Bottom-up rows of `bits`-bit values, each padded to a multiple of 4 bytes."""
    out = bytearray()
    for row in reversed(rows):
        line = bytearray()
        if bits == 24:
            for r, g, b in row:
                line += bytes((b, g, r))
        else:
            per_byte = 8 // bits
            for i in range(0, len(row), per_byte):
                byte = 0
                for j, v in enumerate(row[i:i + per_byte]):
                    byte |= v << (8 - bits * (j + 1))
                line.append(byte)
        line += b"\x00" * (-len(line) % 4)
        out += line
    return bytes(out)


def dib_bytes(width, height, bits, palette, xor_rows, and_rows):
    """An icon or cursor image: BITMAPINFOHEADER (double height), palette, XOR and AND masks."""
    xor = _pack_rows(xor_rows, bits)
    mask = _pack_rows(and_rows, 1)
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bits, 0, len(xor) + len(mask),
                         0, 0, len(palette) if bits <= 8 else 0, 0)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + pal + xor + mask


def directory_bytes(kind, entries):
    """An .ico (kind 1) or .cur (kind 2) file. entries: (width, height, colours, field1,
    field2, image bytes), where field1/field2 are planes/bit count for icons and the hot
    spot for cursors."""
    out = bytearray(struct.pack("<HHH", 0, kind, len(entries)))
    offset = 6 + 16 * len(entries)
    for width, height, colours, f1, f2, image in entries:
        out += struct.pack("<BBBBHHII", width % 256, height % 256, colours, 0, f1, f2, len(image),
                           offset)
        offset += len(image)
    for entry in entries:
        out += entry[5]
    return bytes(out)


# --- The icon ---------------------------------------------------------------------------------


def _nearest(colour, palette):
    return min(range(len(palette)),
               key=lambda i: (sum((colour[k] - palette[i][k])**2 for k in range(3)), i))


def icon_images(size, rendered):
    """The three images of one size: (bits, palette, xor rows, and rows)."""
    opaque = [[coverage_colour(h)[1] >= 0.5 for h in row] for row in rendered]
    and_rows = [[0 if o else 1 for o in row] for row in opaque]
    colours = [[coverage_colour(h)[0] if o else (0, 0, 0) for h, o in zip(row, orow)]
               for row, orow in zip(rendered, opaque)]

    four = [[VGA16_INDEX[dominant_element(h)] if o else 0 for h, o in zip(row, orow)]
            for row, orow in zip(rendered, opaque)]

    # 256 colours: black first (the transparent pixels' colour), then the most used colours.
    counts = {}
    for row in colours:
        for c in row:
            counts[c] = counts.get(c, 0) + 1
    counts.pop((0, 0, 0), None)
    ranked = sorted(counts, key=lambda c: (-counts[c], c))
    palette256 = [(0, 0, 0)] + ranked[:255]
    palette256 += [(0, 0, 0)] * (256 - len(palette256))
    index = {c: i for i, c in enumerate(palette256[:1 + len(ranked[:255])])}
    eight = [[index[c] if c in index else _nearest(c, palette256) for c in row] for row in colours]

    return [(4, VGA16, four, and_rows), (8, palette256, eight, and_rows),
            (24, [], colours, and_rows)]


def icon_png(rendered):
    rows = []
    for row in rendered:
        line = []
        for hits in row:
            colour, alpha = coverage_colour(hits)
            line.append((*colour, int(round(alpha * 255))) if alpha > 0 else (0, 0, 0, 0))
        rows.append(line)
    return png_bytes(len(rendered), len(rendered), rows)


# --- The link cursor --------------------------------------------------------------------------

HAND_SIZE = 32
HAND_HOT_SPOT = (0, 0)


def hand_outline():
    """The pointing hand as a set of (x, y) black pixels. The fingertip's top is at (11, 4)."""
    filled = set()

    def rounded_rect(x0, y0, x1, y1):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                if y == y0 and x in (x0, x1):
                    continue  # round the top corners
                filled.add((x, y))

    rounded_rect(9, 4, 13, 20)  # the index finger, up
    rounded_rect(13, 9, 17, 20)  # middle, ring and little fingers, curled
    rounded_rect(17, 10, 21, 20)
    rounded_rect(21, 12, 24, 20)
    for y in range(16, 25):  # the palm
        for x in range(9, 25):
            filled.add((x, y))
    for y in range(25, 29):  # the wrist
        for x in range(11, 24):
            filled.add((x, y))
    for step in range(0, 8):  # the thumb, reaching up and to the left
        for w in range(4):
            filled.add((3 + step, 13 + step + w))
            filled.add((4 + step, 13 + step + w))

    def outside(x, y):
        return (x, y) not in filled

    edge = {(x, y) for x, y in filled
            if outside(x - 1, y) or outside(x + 1, y) or outside(x, y - 1) or outside(x, y + 1)}
    # The lines between the curled fingers, down to the palm.
    for x, y0 in ((13, 9), (17, 10), (21, 12)):
        for y in range(y0, 16):
            edge.add((x, y))
    return edge


def hand_files():
    black = hand_outline()
    assert all(0 <= x < HAND_SIZE and 0 <= y < HAND_SIZE for x, y in black)
    and_rows = [[0 if (x, y) in black else 1 for x in range(HAND_SIZE)] for y in range(HAND_SIZE)]
    xor_rows = [[0] * HAND_SIZE for _ in range(HAND_SIZE)]  # black where drawn, else unchanged
    image = dib_bytes(HAND_SIZE, HAND_SIZE, 1, [(0, 0, 0), (0xFF, 0xFF, 0xFF)], xor_rows, and_rows)
    cur = directory_bytes(2, [(HAND_SIZE, HAND_SIZE, 2, *HAND_HOT_SPOT, image)])
    rgba = [[(0, 0, 0, 255) if (x, y) in black else (0, 0, 0, 0) for x in range(HAND_SIZE)]
            for y in range(HAND_SIZE)]
    return cur, png_bytes(HAND_SIZE, HAND_SIZE, rgba)


# --- Main ---------------------------------------------------------------------------------------


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outdir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res", "art")
    os.makedirs(outdir, exist_ok=True)

    files = {}
    entries = {4: [], 8: [], 24: []}
    for size in (48, 32, 16):
        rendered = render(size)
        files[f"kestrin-{size}.png"] = icon_png(rendered)
        for bits, palette, xor_rows, and_rows in icon_images(size, rendered):
            image = dib_bytes(size, size, bits, palette, xor_rows, and_rows)
            entries[bits].append((size, size, 16 if bits == 4 else 0, 1, bits, image))
    files["kestrin.ico"] = directory_bytes(1, entries[4] + entries[8] + entries[24])
    files["hand.cur"], files["hand.png"] = hand_files()

    for name, data in sorted(files.items()):
        with open(os.path.join(outdir, name), "wb") as f:
            f.write(data)
        print(f"{os.path.join(outdir, name)}: {len(data)} bytes")


if __name__ == "__main__":
    main()
