#!/usr/bin/env python3
"""Checks res/bitmaps: the files must be what make_skin_bitmaps.py makes now,
be BMPs that windres and LoadBitmap take, and keep what the skin code relies
on (exact surround colours, seamless title tiles, readable captions: white on
the red faces, grey on the disabled one).

usage: check_skin_bitmaps.py [BITMAP_DIR]      exit status 1 on any problem
"""
import os
import struct
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_skin_bitmaps as gen  # noqa: E402

DARK = (114, 112, 112)
LIGHT = (226, 226, 226)

# name: (width, height, bits per pixel, surround or None)
EXPECTED = {
    "title_left.bmp": (16, 32, 24, None),
    "title_right.bmp": (16, 32, 24, None),
    "title_middle.bmp": (1, 32, 24, None),
    "button_disabled.bmp": (109, 37, 8, DARK),
    "button_hover.bmp": (109, 37, 24, DARK),
    "button_normal.bmp": (109, 37, 24, DARK),
    "button_pressed.bmp": (109, 37, 24, DARK),
    "button_normal_light.bmp": (109, 37, 24, LIGHT),
}


class Bmp:
    """Parses the narrow BMP form the skin uses; raises ValueError otherwise."""

    def __init__(self, data):
        if len(data) < 54 or data[:2] != b"BM":
            raise ValueError("not a BMP")
        size, _, _, off = struct.unpack_from("<IHHI", data, 2)
        (hsize, self.w, self.h, planes, self.bpp, comp, img_size, _, _,
         clr_used, _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
        if size != len(data):
            raise ValueError("bfSize %d but file is %d bytes" % (size, len(data)))
        if hsize != 40 or planes != 1 or comp != 0:
            raise ValueError("want BITMAPINFOHEADER, 1 plane, BI_RGB")
        if self.w <= 0 or self.h <= 0:
            raise ValueError("want positive size (bottom-up rows)")
        if self.bpp not in (8, 24):
            raise ValueError("unexpected depth %d" % self.bpp)
        ncol = 0
        if self.bpp == 8:
            ncol = clr_used or 256
            if ncol != 256:
                raise ValueError("palette has %d entries, want 256" % ncol)
        self.palette = [(r, g, b) for b, g, r, _ in
                        struct.iter_unpack("<4B", data[54:54 + 4 * ncol])]
        if off != 54 + 4 * ncol:
            raise ValueError("pixel offset %d, want %d" % (off, 54 + 4 * ncol))
        stride = (self.w * self.bpp // 8 + 3) & ~3
        if img_size not in (0, stride * self.h) or len(data) != off + stride * self.h:
            raise ValueError("pixel data size does not match %dx%d" % (self.w, self.h))
        self.rows = []    # top-down RGB tuples
        for y in range(self.h - 1, -1, -1):
            line = data[off + y * stride:off + (y + 1) * stride]
            if self.bpp == 24:
                row = [(line[3 * x + 2], line[3 * x + 1], line[3 * x])
                       for x in range(self.w)]
            else:
                row = [self.palette[i] for i in line[:self.w]]
            self.rows.append(row)

    def column(self, x):
        return [row[x] for row in self.rows]


WHITE = (255, 255, 255)
DISABLED_TEXT = (127, 127, 127)   # the caption colour of a disabled control

# The caption each face carries, and the least contrast it must have there.
# Disabled text is allowed less, but must still read.
CAPTION = {"button_disabled.bmp": (DISABLED_TEXT, 2.2)}
DEFAULT_CAPTION = (WHITE, 3.0)


def luminance(rgb):
    def lin(v):
        v /= 255.0
        return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4
    return 0.2126 * lin(rgb[0]) + 0.7152 * lin(rgb[1]) + 0.0722 * lin(rgb[2])


def contrast(a, b):
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def check_look(b, problems):
    left, right, mid = b["title_left.bmp"], b["title_right.bmp"], b["title_middle.bmp"]
    if left.rows[0][0] != DARK:
        problems.append("title_left top-left pixel is %s, want %s" % (left.rows[0][0], DARK))
    if [r[::-1] for r in left.rows] != right.rows:
        problems.append("title_right is not the mirror image of title_left")
    if mid.column(0) != left.column(left.w - 1) or mid.column(0) != right.column(0):
        problems.append("title_middle does not continue the caps' inner columns")
    for y in range(11, 22):   # where the white caption sits
        if contrast(mid.rows[y][0], WHITE) < 3.0:
            problems.append("title row %d too light for white caption: %s"
                            % (y, mid.rows[y][0]))

    for name, (w, h, _, surround) in EXPECTED.items():
        if surround is None:
            continue
        bmp = b[name]
        edge = bmp.rows[0] + bmp.rows[-1] + bmp.column(0) + bmp.column(w - 1)
        wrong = sorted(set(p for p in edge if p != surround))
        if wrong:
            problems.append("%s: outer ring not surround %s, has %s"
                            % (name, surround, wrong[:4]))
        if bmp.rows[h // 2][w // 2] == surround:
            problems.append("%s: no face in the middle" % name)
        text, least = CAPTION.get(name, DEFAULT_CAPTION)
        caption = [(x, y) for y in range(h // 2 - 3, h // 2 + 4)
                   for x in (w // 4, w // 2, 3 * w // 4)]
        faint = [(x, y) for x, y in caption
                 if contrast(bmp.rows[y][x], text) < least]
        if faint:
            x, y = faint[0]
            problems.append("%s: (%d,%d) %s too close to its caption colour %s"
                            % (name, x, y, bmp.rows[y][x], text))

    inner = lambda bmp: [row[4:-4] for row in bmp.rows[4:-4]]
    if inner(b["button_normal.bmp"]) != inner(b["button_normal_light.bmp"]):
        problems.append("button_normal_light's face differs from button_normal's")


def first_pixel_difference(a, b):
    for y, (ra, rb) in enumerate(zip(a.rows, b.rows)):
        for x, (pa, pb) in enumerate(zip(ra, rb)):
            if pa != pb:
                return "pixel (%d,%d) is %s, generator makes %s" % (x, y, pa, pb)
    return "header or palette differs"


def main(argv):
    bitmap_dir = argv[0] if argv else gen.default_out_dir()
    problems, parsed = [], {}
    with tempfile.TemporaryDirectory() as fresh_dir:
        gen.write_all(fresh_dir)
        for name, (w, h, bpp, _) in sorted(EXPECTED.items()):
            path = os.path.join(bitmap_dir, name)
            try:
                with open(path, "rb") as f:
                    data = f.read()
                bmp = Bmp(data)
            except (OSError, ValueError) as e:
                problems.append("%s: %s" % (name, e))
                continue
            if (bmp.w, bmp.h, bmp.bpp) != (w, h, bpp):
                problems.append("%s: %dx%d %d-bit, want %dx%d %d-bit"
                                % (name, bmp.w, bmp.h, bmp.bpp, w, h, bpp))
                continue
            parsed[name] = bmp
            with open(os.path.join(fresh_dir, name), "rb") as f:
                fresh = f.read()
            if fresh != data:
                problems.append("%s: stale, rerun tools/make_skin_bitmaps.py (%s)"
                                % (name, first_pixel_difference(bmp, Bmp(fresh))))
    if len(parsed) == len(EXPECTED):
        check_look(parsed, problems)
    for p in problems:
        print("FAIL", p)
    if not problems:
        print("skin bitmaps OK (%d files)" % len(parsed))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
