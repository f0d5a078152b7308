#!/usr/bin/env python3
"""Generates the skin bitmaps in res/bitmaps.

Pure standard library and no transcendental maths (only +, *, / and sqrt,
which IEEE rounds exactly), so every run on every host gives the same bytes
and the committed files can be checked against a fresh run.

usage: make_skin_bitmaps.py [OUT_DIR] [--preview PNG]
"""
import argparse
import os
import struct
import sys
import zlib

DARK = (114, 112, 112)   # the dialog background; title caps must match it exactly
LIGHT = (226, 226, 226)
WHITE = (255, 255, 255)

BUTTON_W, BUTTON_H = 109, 37
BUTTON_RADIUS = 9.0
TITLE_CAP_W, TITLE_H = 16, 32
TITLE_RADIUS = 15.0      # the window region's corner is a 30x30 ellipse
SS = 8                   # samples per axis for pixels on a shape's edge
FAR = 1.0e4              # stands in for "the bar goes on" past the cap


class RoundRect:
    """Rounded rectangle in pixel-edge coordinates, one radius per corner."""

    def __init__(self, x0, y0, x1, y1, tl, tr=None, bl=None, br=None):
        self.cx, self.cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
        self.hw, self.hh = (x1 - x0) / 2.0, (y1 - y0) / 2.0
        tr = tl if tr is None else tr
        self.radii = (tl, tr, tl if bl is None else bl,
                      tr if br is None else br)

    def sdf(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        r = self.radii[(dx >= 0) + 2 * (dy >= 0)]
        qx = abs(dx) - (self.hw - r)
        qy = abs(dy) - (self.hh - r)
        ox, oy = max(qx, 0.0), max(qy, 0.0)
        return (ox * ox + oy * oy) ** 0.5 + min(max(qx, qy), 0.0) - r

    def coverage(self, px, py):
        # Half a pixel diagonal is < 0.75, so beyond that the pixel is whole.
        d = self.sdf(px + 0.5, py + 0.5)
        if d <= -0.75:
            return 1.0
        if d >= 0.75:
            return 0.0
        inside = 0
        for j in range(SS):
            sy = py + (j + 0.5) / SS
            for i in range(SS):
                if self.sdf(px + (i + 0.5) / SS, sy) < 0.0:
                    inside += 1
        return inside / float(SS * SS)


def over(dst, src, a):
    if a <= 0.0:
        return dst
    return tuple(d + (s - d) * a for d, s in zip(dst, src))


def smooth(t):
    t = min(max(t, 0.0), 1.0)
    return t * t * (3.0 - 2.0 * t)


def ramp(stops, t):
    """Colour at t along [(t, colour), ...] with eased segments."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return over(c0, c1, smooth((t - t0) / (t1 - t0)))
    return stops[-1][1]


def lerp(a, b, t):
    return a + (b - a) * min(max(t, 0.0), 1.0)


class Face:
    def __init__(self, edge, stops, gloss, rim):
        self.edge = edge      # 1-px outline colour
        self.stops = stops    # body gradient, top to bottom
        self.gloss = gloss    # white alpha at top and bottom of the glass band
        self.rim = rim        # white alpha of the inner edge at top and bottom


RED = Face(edge=(104, 16, 16),
           stops=[(0.0, (222, 60, 54)), (0.42, (196, 30, 28)),
                  (0.82, (164, 16, 16)), (1.0, (184, 34, 30))],
           gloss=(0.52, 0.10), rim=(0.30, 0.06))
RED_HOVER = Face(edge=(120, 20, 18),
                 stops=[(0.0, (246, 86, 74)), (0.42, (228, 48, 40)),
                        (0.82, (196, 28, 24)), (1.0, (218, 54, 46))],
                 gloss=(0.55, 0.12), rim=(0.34, 0.08))
# Pressed: flatter and duller, the light seems to come from below.
RED_PRESSED = Face(edge=(78, 8, 8),
                   stops=[(0.0, (118, 10, 10)), (0.35, (140, 16, 16)),
                          (0.85, (156, 24, 22)), (1.0, (170, 36, 32))],
                   gloss=(0.13, 0.03), rim=(0.08, 0.02))
# Disabled: a light mid grey, so that the grey caption of a disabled button
# (0x7F7F7F) stays readable on it.
GREY = Face(edge=(92, 92, 92),
            stops=[(0.0, (214, 214, 214)), (0.42, (199, 199, 199)),
                   (0.82, (184, 184, 184)), (1.0, (196, 196, 196))],
            gloss=(0.50, 0.06), rim=(0.30, 0.05))
TITLE_RED = Face(edge=(112, 14, 14),
                 stops=[(0.0, (222, 58, 52)), (0.45, (198, 30, 28)),
                        (1.0, (150, 14, 14))],
                 gloss=(0.46, 0.09), rim=(0.28, 0.0))
TITLE_BOTTOM = (110, 10, 10)


def shade(face, bg, shapes, px, py, y_top, y_bot, gloss_bot):
    outer, body, rim, gloss = shapes
    c = over(bg, face.edge, outer.coverage(px, py))
    cb = body.coverage(px, py)
    if cb <= 0.0:
        return c
    t = (py + 0.5 - y_top) / (y_bot - y_top)
    c = over(c, ramp(face.stops, t), cb)
    c = over(c, WHITE, (cb - rim.coverage(px, py)) * lerp(face.rim[0], face.rim[1], t))
    g = (py + 0.5 - y_top) / (gloss_bot - y_top)
    c = over(c, WHITE, gloss.coverage(px, py) * lerp(face.gloss[0], face.gloss[1], g))
    return c


def render_button(face, bg):
    w, h, r = BUTTON_W, BUTTON_H, BUTTON_RADIUS
    gloss_bot = 16.5
    shapes = (RoundRect(1, 1, w - 1, h - 1, r),
              RoundRect(2, 2, w - 2, h - 2, r - 1),
              RoundRect(3, 3, w - 3, h - 3, r - 2),
              RoundRect(3, 3, w - 3, gloss_bot, r - 2, r - 2, 3, 3))
    return [[shade(face, bg, shapes, x, y, 2.0, h - 2.0, gloss_bot)
             for x in range(w)] for y in range(h)]


def render_title_left():
    r, h = TITLE_RADIUS, TITLE_H
    gloss_bot = 15.0
    # Open to the right and below: only the top-left corner is rounded, so
    # the cap's last column is exactly the column the middle tile repeats.
    shapes = (RoundRect(0, 0, FAR, FAR, r),
              RoundRect(1, 1, FAR, FAR, r - 1),
              RoundRect(2, 2, FAR, FAR, r - 2),
              RoundRect(2, 2, FAR, gloss_bot, r - 2, 0, 0, 0))
    rows = []
    for y in range(h):
        row = []
        for x in range(TITLE_CAP_W):
            c = shade(TITLE_RED, DARK, shapes, x, y, 1.0, h - 1.0, gloss_bot)
            if y == h - 1:
                c = over(c, TITLE_BOTTOM, shapes[0].coverage(x, y))
            row.append(c)
        rows.append(row)
    return rows


def quantise(img):
    return [[tuple(min(255, max(0, int(v + 0.5))) for v in p) for p in row]
            for row in img]


def palette_for(img):
    # Most used colours first (all of them while they fit), then greys to
    # fill the table, so the 8-bit file normally holds the image exactly.
    counts = {}
    for row in img:
        for p in row:
            counts[p] = counts.get(p, 0) + 1
    palette = sorted(counts, key=lambda c: (-counts[c], c))[:256]
    used = set(palette)
    palette += [g for g in ((v, v, v) for v in range(256)) if g not in used]
    return palette[:256]


def nearest_index(palette, colour):
    best, best_d = 0, None
    for i, p in enumerate(palette):
        d = sum((a - b) * (a - b) for a, b in zip(p, colour))
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


def bmp_bytes(img, palette=None):
    h, w = len(img), len(img[0])
    if palette is None:
        bpp, stride = 24, (w * 3 + 3) & ~3
        table = b""
    else:
        bpp, stride = 8, (w + 3) & ~3
        table = b"".join(struct.pack("<4B", b, g, r, 0) for r, g, b in palette)
        lookup = {}
    pixels = bytearray()
    for row in reversed(img):   # bottom-up
        line = bytearray()
        for p in row:
            if palette is None:
                line += bytes((p[2], p[1], p[0]))
            else:
                if p not in lookup:
                    lookup[p] = nearest_index(palette, p)
                line.append(lookup[p])
        line += b"\0" * (stride - len(line))
        pixels += line
    offset = 14 + 40 + len(table)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, 0, len(pixels),
                       2835, 2835, 256 if palette else 0, 0)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return head + info + table + bytes(pixels)


def build():
    """Returns {file name: (resource id, image rows, palette or None)}."""
    left = quantise(render_title_left())
    right = [row[::-1] for row in left]
    middle = [[row[-1]] for row in left]
    disabled = quantise(render_button(GREY, DARK))
    return {
        "title_left.bmp": (1020, left, None),
        "title_right.bmp": (1021, right, None),
        "title_middle.bmp": (1022, middle, None),
        "button_disabled.bmp": (1023, disabled, palette_for(disabled)),
        "button_hover.bmp": (1024, quantise(render_button(RED_HOVER, DARK)), None),
        "button_normal.bmp": (1025, quantise(render_button(RED, DARK)), None),
        "button_pressed.bmp": (1026, quantise(render_button(RED_PRESSED, DARK)), None),
        "button_normal_light.bmp": (1027, quantise(render_button(RED, LIGHT)), None),
    }


def write_all(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    images = build()
    for name, (_, img, palette) in sorted(images.items()):
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(bmp_bytes(img, palette))
    return images


# --- preview, for looking at the skin enlarged --------------------------------

def png_bytes(img):
    h, w = len(img), len(img[0])
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in img)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff))
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_preview(images, path, scale=6):
    def get(name):
        img, palette = images[name][1], images[name][2]
        if palette:   # show what the 8-bit file really holds
            img = [[palette[nearest_index(palette, p)] for p in row] for row in img]
        return img

    bar = [l + m * 200 + r for l, m, r in
           zip(get("title_left.bmp"), get("title_middle.bmp"), get("title_right.bmp"))]
    tiles = [(get(n), bg) for n, bg in (
        ("button_normal.bmp", DARK), ("button_hover.bmp", DARK),
        ("button_pressed.bmp", DARK), ("button_disabled.bmp", DARK),
        ("button_normal_light.bmp", LIGHT))]
    caps = [(get(n), DARK) for n in
            ("title_left.bmp", "title_middle.bmp", "title_right.bmp")]
    pad = 4
    groups = [[(bar, DARK)], caps, tiles[:3], tiles[3:]]
    width = max(sum(len(i[0]) * scale + 2 * pad * scale for i, _ in g) for g in groups)
    canvas = []
    for group in groups:
        gh = max(len(i) for i, _ in group) * scale + 2 * pad * scale
        band = [[(40, 40, 40)] * width for _ in range(gh)]
        x0 = 0
        for img, bg in group:
            iw = len(img[0]) * scale + 2 * pad * scale
            for y in range(gh):
                for x in range(iw):
                    band[y][x0 + x] = bg
            for y in range(len(img) * scale):
                src = img[y // scale]
                dst = band[y + pad * scale]
                for x in range(len(src) * scale):
                    dst[x0 + pad * scale + x] = src[x // scale]
            x0 += iw
        canvas += band
    with open(path, "wb") as f:
        f.write(png_bytes(canvas))


def default_out_dir():
    return os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                        "res", "bitmaps")


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("out_dir", nargs="?", default=default_out_dir())
    ap.add_argument("--preview", metavar="PNG", help="also write an enlarged preview")
    args = ap.parse_args(argv)
    images = write_all(args.out_dir)
    if args.preview:
        write_preview(images, args.preview)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
