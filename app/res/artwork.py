#!/usr/bin/env python3
"""Draws Orvendel's emblem and pictures and writes them as Windows .ico and .bmp files.

    artwork.py OUTDIR

writes OUTDIR/MainIcon.ico, WindowIcon.ico, GeneralPicture.bmp and AboutPicture.bmp. The build runs
this script; its outputs are never kept in the source tree. Everything is drawn from signed distance
functions with supersampled edges, so each size is rendered directly instead of scaled from another,
and the small sizes get their own pixel-aligned layout to stay sharp.
Python 3 standard library only; the output is byte-for-byte the same on every run.
"""

import math
import os
import struct
import sys
import zlib

NAVY = (0, 0, 128)  # the logo's colour
BUTTON_FACE = (240, 240, 240)  # the dialog background the General picture sits on

# ---------------------------------------------------------------------------------------------------
# Shapes: signed distance functions in pixel coordinates (negative inside).


def rounded_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hw, hh = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sdf(x, y):
        qx, qy = abs(x - cx) - hw, abs(y - cy) - hh
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r

    sdf.box = (x0, y0, x1, y1)
    return sdf


def circle(cx, cy, r):
    def sdf(x, y):
        return math.hypot(x - cx, y - cy) - r

    sdf.box = (cx - r, cy - r, cx + r, cy + r)
    return sdf


def ellipse(cx, cy, rx, ry):
    def sdf(x, y):  # a distance estimate, good enough for soft shadows
        return (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * min(rx, ry)

    sdf.box = (cx - rx, cy - ry, cx + rx, cy + ry)
    return sdf


def polygon(points):
    """Convex polygon given clockwise in screen coordinates (y down)."""
    edges = []
    for i, (ax, ay) in enumerate(points):
        bx, by = points[(i + 1) % len(points)]
        length = math.hypot(bx - ax, by - ay)
        edges.append((ax, ay, (by - ay) / length, -(bx - ax) / length))

    def sdf(x, y):  # exact inside, a lower bound outside: fine for coverage
        return max((x - ax) * nx + (y - ay) * ny for ax, ay, nx, ny in edges)

    xs, ys = [p[0] for p in points], [p[1] for p in points]
    sdf.box = (min(xs), min(ys), max(xs), max(ys))
    return sdf


def intersect(a, b):
    def sdf(x, y):
        return max(a(x, y), b(x, y))

    sdf.box = (max(a.box[0], b.box[0]), max(a.box[1], b.box[1]), min(a.box[2], b.box[2]),
               min(a.box[3], b.box[3]))
    return sdf


def subtract(a, b):
    def sdf(x, y):
        return max(a(x, y), -b(x, y))

    sdf.box = a.box
    return sdf


def offset(shape, dx, dy):
    def sdf(x, y):
        return shape(x - dx, y - dy)

    x0, y0, x1, y1 = shape.box
    sdf.box = (x0 + dx, y0 + dy, x1 + dx, y1 + dy)
    return sdf


# ---------------------------------------------------------------------------------------------------
# Paints: colour (r, g, b in 0..255) and opacity at a point.


def solid(rgb, alpha=1.0):
    return lambda x, y: (rgb, alpha)


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def vertical(y0, y1, c0, c1, alpha=1.0):
    def paint(x, y):
        t = min(max((y - y0) / (y1 - y0), 0.0), 1.0)
        return mix(c0, c1, t), alpha

    return paint


def radial(cx, cy, r, c0, c1, alpha=1.0):
    def paint(x, y):
        t = min(math.hypot(x - cx, y - cy) / r, 1.0)
        return mix(c0, c1, t), alpha

    return paint


# ---------------------------------------------------------------------------------------------------
# Canvas: premultiplied RGBA floats (0..1), painted back to front with the "over" operator.

SUPERSAMPLE = 8  # 8 x 8 samples for each pixel an edge crosses
EDGE = 0.7072  # half a pixel's diagonal: farther from an edge, a pixel is fully in or out


class Canvas:

    def __init__(self, width, height, background=None):
        self.width, self.height = width, height
        fill = [c / 255 for c in background] + [1.0] if background else [0.0] * 4
        self.px = [list(fill) for _ in range(width * height)]

    def fill(self, shape, paint, blur=0.0):
        """Paints `shape`; a blur above 0 gives it a soft edge of that width (shadows, glows)."""
        x0, y0, x1, y1 = shape.box
        pad = blur + 1
        for y in range(max(0, int(y0 - pad)), min(self.height, int(math.ceil(y1 + pad)))):
            for x in range(max(0, int(x0 - pad)), min(self.width, int(math.ceil(x1 + pad)))):
                cover = self._coverage(shape, x, y, blur)
                if cover <= 0.0:
                    continue
                rgb, alpha = paint(x + 0.5, y + 0.5)
                a = alpha * cover
                dst = self.px[y * self.width + x]
                keep = 1.0 - a
                for i in range(3):
                    dst[i] = rgb[i] / 255 * a + dst[i] * keep
                dst[3] = a + dst[3] * keep

    @staticmethod
    def _coverage(shape, x, y, blur):
        d = shape(x + 0.5, y + 0.5)
        if blur > 0:
            t = min(max(0.5 - d / blur, 0.0), 1.0)
            return t * t * (3 - 2 * t)
        if d <= -EDGE:
            return 1.0
        if d >= EDGE:
            return 0.0
        inside = 0
        for j in range(SUPERSAMPLE):
            sy = y + (j + 0.5) / SUPERSAMPLE
            for i in range(SUPERSAMPLE):
                if shape(x + (i + 0.5) / SUPERSAMPLE, sy) < 0:
                    inside += 1
        return inside / (SUPERSAMPLE * SUPERSAMPLE)

    def straight_rgba(self):
        """Rows top to bottom of (r, g, b, a) bytes with straight (not premultiplied) colour."""
        rows = []
        for y in range(self.height):
            row = []
            for r, g, b, a in self.px[y * self.width:(y + 1) * self.width]:
                alpha = round(a * 255)
                if alpha == 0:
                    row.append((0, 0, 0, 0))
                else:
                    row.append(tuple(min(255, round(c / a * 255)) for c in (r, g, b)) + (alpha,))
            rows.append(row)
        return rows

    def premultiplied_rgba(self):
        rows = []
        for y in range(self.height):
            row = []
            for r, g, b, a in self.px[y * self.width:(y + 1) * self.width]:
                alpha = round(a * 255)
                # Rounded separately, a channel could end up above its alpha; AlphaBlend needs <=.
                row.append(tuple(min(alpha, round(c * 255)) for c in (r, g, b)) + (alpha,))
            rows.append(row)
        return rows


# ---------------------------------------------------------------------------------------------------
# The emblem: a navy monitor whose screen shows a white information badge.

BEZEL_TOP, BEZEL_BOTTOM = (26, 40, 160), (0, 0, 96)
SCREEN_TOP, SCREEN_BOTTOM = (84, 152, 240), (20, 70, 190)
STAND_LIGHT, STAND_DARK = (208, 214, 226), (132, 140, 158)
STAND_EDGE = (72, 80, 102)
BADGE_TOP, BADGE_BOTTOM = (255, 255, 255), (222, 232, 248)

# Pixel-exact layouts for the small sizes (x0, y0, x1, y1 in pixels), where a proportional layout
# would put edges between pixels and blur them. Larger sizes scale the 256-pixel design.
SMALL_LAYOUTS = {
    16: dict(bezel=(0, 0, 16, 12, 1.5), screen=(1, 1, 15, 10, 0.5), neck=(6, 12, 10, 13),
             base=(3, 13, 13, 15, 0.8), glyph=(7, 2, 9, 4, 5, 9)),
    24: dict(bezel=(0, 2, 24, 18, 2.0), screen=(1, 3, 23, 16, 1.0), neck=(10, 18, 14, 20),
             base=(5, 20, 19, 22, 1.0), glyph=(11, 5, 13, 7, 8, 14)),
}


def draw_emblem(canvas, size, ox=0.0, oy=0.0):
    """Draws the emblem filling a size x size square whose top left corner is (ox, oy)."""
    if size in SMALL_LAYOUTS:
        _draw_small_emblem(canvas, SMALL_LAYOUTS[size], ox, oy)
        return
    s = size / 256

    def snap(v):  # whole pixels for straight edges; the rounded parts are anti-aliased anyway
        return round(v * s)

    bx0, by0, bx1, by1 = snap(8), snap(22), size - snap(8), snap(184)
    sx0, sy0, sx1, sy1 = snap(20), snap(34), size - snap(20), snap(166)
    neck = (size / 2 - snap(20), by1 - 1, size / 2 + snap(20), snap(214))
    base = (snap(64), snap(212), size - snap(64), snap(230))

    def at(shape):
        return offset(shape, ox, oy)

    # Soft shadow under the stand and the monitor.
    if size >= 48:
        canvas.fill(at(ellipse(size / 2, base[3] - 1 * s, 82 * s, 9 * s)), solid((0, 0, 0), 0.28),
                    blur=8 * s)
    # Stand: neck narrowing towards the top, then the foot.
    # Silver where there is room for its shading, slate grey where it must hold its own as a line.
    light, dark = (STAND_LIGHT, STAND_DARK) if size >= 48 else ((118, 126, 148), STAND_EDGE)
    canvas.fill(at(polygon([(neck[0] + 4 * s, neck[1]), (neck[2] - 4 * s, neck[1]), (neck[2], neck[3]),
                            (neck[0], neck[3])])), vertical(oy + neck[1], oy + neck[3], dark, light))
    canvas.fill(at(rounded_rect(*base, 8 * s)), solid(STAND_EDGE))
    canvas.fill(at(rounded_rect(base[0] + 1, base[1] + 1, base[2] - 1, base[3] - 1, 7 * s)),
                vertical(oy + base[1], oy + base[3], light, dark))
    # Bezel with a fine light rim along its top for depth.
    bezel = rounded_rect(bx0, by0, bx1, by1, 18 * s)
    canvas.fill(at(bezel), vertical(oy + by0, oy + by1, BEZEL_TOP, BEZEL_BOTTOM))
    if size >= 48:
        rim = subtract(bezel, offset(bezel, 0, max(1.0, 2 * s)))
        canvas.fill(at(rim), solid((255, 255, 255), 0.35))
    # Screen, then a gloss over its upper left.
    screen = rounded_rect(sx0, sy0, sx1, sy1, max(1.0, 5 * s))
    canvas.fill(at(screen), vertical(oy + sy0, oy + sy1, SCREEN_TOP, SCREEN_BOTTOM))
    gloss = intersect(screen, polygon([(sx0, sy0), (sx1, sy0), (sx1, sy0 + (sy1 - sy0) * 0.18),
                                       (sx0, sy0 + (sy1 - sy0) * 0.62)]))
    canvas.fill(at(gloss), vertical(oy + sy0, oy + sy1, (255, 255, 255), (255, 255, 255), 0.16))
    # Information badge: a white disc with a navy "i", centred on the screen.
    cx, cy = size / 2, (sy0 + sy1) / 2
    radius = 52 * s
    if size >= 48:
        canvas.fill(at(circle(cx, cy + 3 * s, radius)), solid((0, 0, 64), 0.35), blur=7 * s)
    canvas.fill(at(circle(cx, cy, radius)), vertical(oy + cy - radius, oy + cy + radius, BADGE_TOP,
                                                     BADGE_BOTTOM))
    # The "i" on whole pixels: sharp stem sides, and a gap of at least one pixel under the dot.
    half = max(1, round(9 * s))
    dot_r = half * 1.12
    gap = max(1, round(5 * s))
    stem = round(44 * s)
    stem_top = round(cy - (2 * dot_r + gap + stem) / 2 + 2 * dot_r + gap)
    canvas.fill(at(circle(cx, stem_top - gap - dot_r, dot_r)), solid(NAVY))
    canvas.fill(at(rounded_rect(cx - half, stem_top, cx + half, stem_top + stem, half * 0.35)),
                solid(NAVY))


def _draw_small_emblem(canvas, layout, ox, oy):

    def at(shape):
        return offset(shape, ox, oy)

    nx0, ny0, nx1, ny1 = layout["neck"]
    canvas.fill(at(rounded_rect(nx0, ny0 - 1, nx1, ny1, 0.01)), solid(STAND_EDGE))
    x0, y0, x1, y1, r = layout["base"]
    canvas.fill(at(rounded_rect(x0, y0, x1, y1, r)), vertical(oy + y0, oy + y1, (118, 126, 148),
                                                             STAND_EDGE))
    x0, y0, x1, y1, r = layout["bezel"]
    canvas.fill(at(rounded_rect(x0, y0, x1, y1, r)), vertical(oy + y0, oy + y1, (10, 16, 140),
                                                             BEZEL_BOTTOM))
    x0, y0, x1, y1, r = layout["screen"]
    canvas.fill(at(rounded_rect(x0, y0, x1, y1, r)), vertical(oy + y0, oy + y1, SCREEN_TOP,
                                                             SCREEN_BOTTOM))
    # At these sizes a badge would be a smudge: the "i" stands on the screen itself, in white.
    gx0, dy0, gx1, dy1, sy0, sy1 = layout["glyph"]
    canvas.fill(at(rounded_rect(gx0, dy0, gx1, dy1, 0.01)), solid((255, 255, 255)))
    canvas.fill(at(rounded_rect(gx0, sy0, gx1, sy1, 0.01)), solid((255, 255, 255)))


def emblem(size):
    canvas = Canvas(size, size)
    draw_emblem(canvas, size)
    return canvas


def general_picture():
    """128 x 88, opaque on the dialog's face colour: the emblem's monitor beside a tower case."""
    canvas = Canvas(128, 88, BUTTON_FACE)
    # Tower case on the right, behind the monitor's edge.
    tx0, ty0, tx1, ty1 = 93, 12, 123, 81
    canvas.fill(ellipse(108, 81, 20, 3.5), solid((0, 0, 0), 0.22), blur=4)
    canvas.fill(rounded_rect(tx0, ty0, tx1, ty1, 3), vertical(ty0, ty1, (70, 78, 104), (34, 40, 62)))
    canvas.fill(rounded_rect(tx0 + 1, ty0 + 1, tx1 - 1, ty1 - 1, 2),
                vertical(ty0, ty1, (112, 120, 146), (58, 64, 90)))
    for y in (19, 26):  # drive bays
        canvas.fill(rounded_rect(tx0 + 5, y, tx1 - 5, y + 4, 1), vertical(y, y + 4, (40, 46, 70),
                                                                          (84, 92, 118)))
    canvas.fill(circle(tx0 + 15, 70, 3.2), solid((30, 36, 58)))
    canvas.fill(circle(tx0 + 15, 70, 2.2), radial(tx0 + 14.4, 69.4, 2.4, (200, 255, 200),
                                                  (40, 190, 70)))
    for y in range(37, 58, 3):  # vents
        canvas.fill(rounded_rect(tx0 + 7, y, tx1 - 7, y + 1.2, 0.6), solid((40, 46, 70), 0.7))
    # The monitor, drawn as the emblem's 96-pixel version.
    draw_emblem(canvas, 96, 1, -5)
    return canvas


def about_picture():
    return emblem(128)


# ---------------------------------------------------------------------------------------------------
# File formats.


def _rows_padded(data_rows):
    out = bytearray()
    for row in data_rows:
        out += row
        out += b"\0" * (-len(row) % 4)
    return bytes(out)


def _and_mask(rows, transparent):
    """1 bit a pixel, 1 = transparent, bottom-up, rows padded to 4 bytes."""
    lines = []
    for row in reversed(rows):
        bits = bytearray((len(row) + 7) // 8)
        for x, p in enumerate(row):
            if transparent(p):
                bits[x >> 3] |= 0x80 >> (x & 7)
        lines.append(bytes(bits))
    return _rows_padded(lines)


def _dib_header(width, height, bits, image_bytes, colours=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_bytes, 0, 0, colours, 0)


def icon_image_32(rows):
    """A 32-bit icon image: BGRA with straight alpha, plus the AND mask older systems use."""
    size = len(rows)
    xor = _rows_padded([bytes(c for r, g, b, a in row for c in (b, g, r, a)) for row in reversed(rows)])
    mask = _and_mask(rows, lambda p: p[3] == 0)
    return _dib_header(size, size * 2, 32, len(xor) + len(mask)) + xor + mask


def _median_cut(colours, count):
    """Palette of at most `count` colours from a {rgb: pixels} histogram (median cut)."""
    boxes = [list(colours.items())]
    while len(boxes) < count:
        best, best_score, axis = None, 0, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            ranges = [max(c[k] for c, _ in box) - min(c[k] for c, _ in box) for k in range(3)]
            weight = sum(n for _, n in box)
            score = max(ranges) * weight
            if score > best_score:
                best, best_score, axis = i, score, ranges.index(max(ranges))
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda e: e[0][axis])
        total, half, cut = sum(n for _, n in box), 0, 1
        for i, (_, n) in enumerate(box):
            half += n
            if half * 2 >= total:
                cut = min(max(i + 1, 1), len(box) - 1)
                break
        boxes += [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        weight = sum(n for _, n in box)
        palette.append(tuple(round(sum(c[k] * n for c, n in box) / weight) for k in range(3)))
    return sorted(set(palette))


def icon_image_8(rows):
    """A 256-colour icon image: palette, one index a pixel, and the AND mask for transparency.

    Without alpha, a pixel is either drawn or not: half-covered edge pixels are kept at full
    strength, the rest become transparent (index 0, black, as the mask expects).
    """
    size = len(rows)
    opaque = lambda p: p[3] >= 128
    histogram = {}
    for row in rows:
        for p in row:
            if opaque(p):
                histogram[p[:3]] = histogram.get(p[:3], 0) + 1
    palette = [(0, 0, 0)] + [c for c in _median_cut(histogram, 255) if c != (0, 0, 0)]
    palette = palette[:256]
    nearest = {}
    for c in histogram:
        nearest[c] = min(range(len(palette)),
                         key=lambda i: sum((a - b) ** 2 for a, b in zip(c, palette[i])))
    xor = _rows_padded([bytes(nearest[p[:3]] if opaque(p) else 0 for p in row)
                        for row in reversed(rows)])
    mask = _and_mask(rows, lambda p: not opaque(p))
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    table += b"\0" * (4 * (256 - len(palette)))
    return _dib_header(size, size * 2, 8, len(xor) + len(mask), 256) + table + xor + mask


def png(rows):
    """PNG, RGBA 8-bit, each row filtered with whichever of None/Sub/Up compresses best."""
    width, height = len(rows[0]), len(rows)
    raw = bytearray()
    previous = bytes(width * 4)
    for row in rows:
        line = bytes(c for p in row for c in p)
        sub = bytes((line[i] - (line[i - 4] if i >= 4 else 0)) & 0xFF for i in range(len(line)))
        up = bytes((line[i] - previous[i]) & 0xFF for i in range(len(line)))
        cost = lambda data: sum(v if v < 128 else 256 - v for v in data)
        kind, data = min(((0, line), (1, sub), (2, up)), key=lambda k: cost(k[1]))
        raw.append(kind)
        raw += data
        previous = line

    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data +
                struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0,
                                                             0)) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def ico(images):
    """An .ico file from (size, bits, data) entries, in the given order."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, blobs = b"", b""
    for size, bits, data in images:
        side = 0 if size >= 256 else size
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, bits, len(data), offset)
        blobs += data
        offset += len(data)
    return header + entries + blobs


def bmp(rows, bits):
    """A .bmp file, bottom-up, 24-bit (opaque) or 32-bit (premultiplied alpha)."""
    width, height = len(rows[0]), len(rows)
    if bits == 24:
        lines = [bytes(c for r, g, b, a in row for c in (b, g, r)) for row in reversed(rows)]
    else:
        lines = [bytes(c for r, g, b, a in row for c in (b, g, r, a)) for row in reversed(rows)]
    pixels = _rows_padded(lines)
    info = _dib_header(width, height, bits, len(pixels))
    start = 14 + len(info)
    return struct.pack("<2sIHHI", b"BM", start + len(pixels), 0, 0, start) + info + pixels


# ---------------------------------------------------------------------------------------------------


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: artwork.py OUTDIR\n")
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    art = {size: emblem(size).straight_rgba() for size in (256, 64, 48, 32, 24, 16)}
    files = {
        "MainIcon.ico": ico([(s, 32, icon_image_32(art[s])) for s in (64, 48, 32, 24, 16)]),
        "WindowIcon.ico": ico([(256, 32, png(art[256]))] +
                              [(s, 32, icon_image_32(art[s])) for s in (48, 32, 16)] +
                              [(s, 8, icon_image_8(art[s])) for s in (48, 32, 16)]),
        "GeneralPicture.bmp": bmp(general_picture().straight_rgba(), 24),
        "AboutPicture.bmp": bmp(about_picture().premultiplied_rgba(), 32),
    }
    for name, data in files.items():
        # Written aside and renamed, so an interrupted build never leaves a truncated file behind.
        path = os.path.join(out, name)
        with open(path + ".tmp", "wb") as f:
            f.write(data)
        os.replace(path + ".tmp", path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
