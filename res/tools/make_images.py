#!/usr/bin/python3
"""Draws every picture in res/images: icons, bitmaps and the sweep animation.

Run through make_images.sh (see there for what it needs). Usage:
    make_images.py OUTPUT_DIR

Everything is drawn from code: flat shapes on a 16-unit grid, rendered
8x oversize and box-filtered down, so one design serves the 16 x 16 and
32 x 32 icon images and the larger page pictures. The file writers (ICO,
24-bit BMP, GIF89a with LZW) are written out here so that the bytes
depend on nothing but the drawing, the Pillow rasteriser and the font.
"""

import math
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
FONT_REGULAR = os.path.join(FONT_DIR, "DejaVuSans.ttf")
FONT_BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")

# Palette ------------------------------------------------------------------
L = (208, 231, 247)      # light blue (page colour)
D = (40, 90, 160)        # dark blue (outlines, accents)
M = (118, 166, 216)      # middle blue
P = (236, 244, 251)      # paler blue (shading on white)
W = (255, 255, 255)
O = (242, 142, 38)       # orange (warnings, the broom)
OD = (190, 96, 20)       # dark orange (outlines of orange parts)
T = (60, 60, 70)         # text grey-black
COOKIE = (238, 196, 128)
COOKIE_OL = (176, 116, 52)
CHIP = (104, 64, 36)
YELLOW = (250, 208, 70)
CLEAR = (0, 0, 0, 0)
MASK_GREY = (192, 192, 192)   # toolbar / tab strip background (mask colour)

SS = 8  # oversampling factor


def rgba(c):
    return c if len(c) == 4 else (c[0], c[1], c[2], 255)


# Canvas -------------------------------------------------------------------
class Pic:
    """An oversized RGBA canvas addressed in units of a 16 x 16 grid."""

    def __init__(self, size, grid=16.0, height=None, lw=None):
        self.n = size
        self.h = height or size
        self.im = Image.new("RGBA", (size * SS, self.h * SS), CLEAR)
        self.d = ImageDraw.Draw(self.im)
        self.u = size * SS / grid          # canvas units per grid unit
        self.lw = lw or max(1, round(size / 24))  # outline width in output pixels
        self.big = size >= 24

    def px1(self):
        """One output pixel in grid units."""
        return SS / self.u

    # coordinate helpers
    def c(self, v):
        return int(round(v * self.u))

    def pt(self, p):
        return (p[0] * self.u, p[1] * self.u)

    def box(self, x0, y0, x1, y1):
        return [self.c(x0), self.c(y0), self.c(x1) - 1, self.c(y1) - 1]

    def w(self, px=None):
        return (self.lw if px is None else px) * SS

    # primitives (outlines are drawn inside the shape)
    def rect(self, x0, y0, x1, y1, fill=None, ol=None, px=None):
        self.d.rectangle(self.box(x0, y0, x1, y1), fill=fill and rgba(fill),
                         outline=ol and rgba(ol), width=self.w(px) if ol else 0)

    def rrect(self, x0, y0, x1, y1, r, fill=None, ol=None, px=None):
        self.d.rounded_rectangle(self.box(x0, y0, x1, y1), radius=r * self.u,
                                 fill=fill and rgba(fill), outline=ol and rgba(ol),
                                 width=self.w(px) if ol else 0)

    def ellipse(self, x0, y0, x1, y1, fill=None, ol=None, px=None):
        self.d.ellipse(self.box(x0, y0, x1, y1), fill=fill and rgba(fill),
                       outline=ol and rgba(ol), width=self.w(px) if ol else 0)

    def pie(self, x0, y0, x1, y1, a0, a1, fill=None, ol=None, px=None):
        self.d.pieslice(self.box(x0, y0, x1, y1), a0, a1, fill=fill and rgba(fill),
                        outline=ol and rgba(ol), width=self.w(px) if ol else 0)

    def arc(self, x0, y0, x1, y1, a0, a1, col, px=None):
        self.d.arc(self.box(x0, y0, x1, y1), a0, a1, fill=rgba(col), width=self.w(px))

    def hbar(self, x0, x1, y, col, px=1):
        """A horizontal stroke px output pixels thick whose top edge is at y."""
        y0 = self.c(y)
        self.d.rectangle([self.c(x0), y0, self.c(x1) - 1, y0 + px * SS - 1], fill=rgba(col))

    def vbar(self, x, y0, y1, col, px=1):
        x0 = self.c(x)
        self.d.rectangle([x0, self.c(y0), x0 + px * SS - 1, self.c(y1) - 1], fill=rgba(col))

    def poly(self, pts, fill=None, ol=None, px=None):
        cp = [self.pt(p) for p in pts]
        if ol:
            self.d.polygon(cp, fill=rgba(ol))
            inner = inset(cp, self.w(px))
            if fill and inner:
                self.d.polygon(inner, fill=rgba(fill))
        elif fill:
            self.d.polygon(cp, fill=rgba(fill))

    def line(self, pts, col, width):
        """A stroke `width` grid units wide along the points (round joints)."""
        self.d.line([self.pt(p) for p in pts], fill=rgba(col),
                    width=max(1, int(round(width * self.u))), joint="curve")

    def dot(self, x, y, r, col):
        self.d.ellipse([self.c(x - r), self.c(y - r), self.c(x + r) - 1, self.c(y + r) - 1],
                       fill=rgba(col))

    def text(self, x, y, s, size, col, bold=False, anchor="mm"):
        f = ImageFont.truetype(FONT_BOLD if bold else FONT_REGULAR, int(round(size * self.u)))
        self.d.text(self.pt((x, y)), s, font=f, fill=rgba(col), anchor=anchor)

    def clear_ellipse(self, x0, y0, x1, y1):
        self.d.ellipse(self.box(x0, y0, x1, y1), fill=CLEAR)

    def layer(self):
        """A fresh transparent canvas of the same geometry."""
        q = Pic.__new__(Pic)
        q.__dict__.update(self.__dict__)
        q.im = Image.new("RGBA", self.im.size, CLEAR)
        q.d = ImageDraw.Draw(q.im)
        return q

    def paste(self, q):
        self.im.alpha_composite(q.im)

    def render(self):
        """Box-filter down to the output size (premultiplied)."""
        small = self.im.convert("RGBa").resize((self.n, self.h), Image.BOX)
        return small.convert("RGBA")


def inset(pts, d):
    """Offsets a convex polygon inwards by d."""
    n = len(pts)
    area = sum(pts[i][0] * pts[(i + 1) % n][1] - pts[(i + 1) % n][0] * pts[i][1] for i in range(n))
    sign = 1 if area > 0 else -1
    lines = []
    for i in range(n):
        (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % n]
        dx, dy = x1 - x0, y1 - y0
        ln = math.hypot(dx, dy)
        if ln == 0:
            continue
        nx, ny = -dy / ln * sign, dx / ln * sign
        lines.append(((x0 + nx * d, y0 + ny * d), (dx, dy)))
    out = []
    m = len(lines)
    for i in range(m):
        (p0, v0), (p1, v1) = lines[i - 1], lines[i]
        den = v0[0] * v1[1] - v0[1] * v1[0]
        if abs(den) < 1e-9:
            out.append(p1)
            continue
        t = ((p1[0] - p0[0]) * v1[1] - (p1[1] - p0[1]) * v1[0]) / den
        out.append((p0[0] + v0[0] * t, p0[1] + v0[1] * t))
    return out


def rot(pts, cx, cy, deg):
    a = math.radians(deg)
    ca, sa = math.cos(a), math.sin(a)
    return [(cx + (x - cx) * ca - (y - cy) * sa, cy + (x - cx) * sa + (y - cy) * ca) for x, y in pts]


# Building blocks ------------------------------------------------------------
def page(p, x0, y0, x1, y1, fold=3, fill=W, ol=D):
    p.poly([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)], fill, ol)
    p.poly([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], L, ol)


def text_lines(p, x0, x1, ys, col=M, short=()):
    for i, y in enumerate(ys):
        p.hbar(x0, x1 - (2 if i in short else 0), y, col)


def cutout(p, fn, gap=1):
    """Draws fn on a layer and clears a `gap`-pixel ring around it first."""
    q = p.layer()
    fn(q)
    a = q.im.getchannel("A").point(lambda v: 255 if v else 0)
    grown = a.filter(ImageFilter.MaxFilter(2 * gap * SS + 1))
    p.im.putalpha(ImageChops.subtract(p.im.getchannel("A"), grown))
    p.paste(q)


def folder(p, x0, y0, x1, y1, open_=False):
    tab = (x1 - x0) * 0.4
    p.poly([(x0, y0), (x0 + tab, y0), (x0 + tab + 1.5, y0 + 1.5), (x1, y0 + 1.5),
            (x1, y1), (x0, y1)], M, D)
    if open_:
        p.poly([(x0 + 2.5, y0 + 4.5), (x1 + 1, y0 + 4.5), (x1 - 1.5, y1), (x0, y1)], L, D)
    else:
        p.rect(x0, y0 + 3.5, x1, y1, L, D)


def clock(p, x0, y0, x1, y1, fill=W, ol=D, hands=D):
    p.ellipse(x0, y0, x1, y1, fill, ol)
    s = x1 - x0
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hw = max(s / 14, p.px1())  # hand width: at least one output pixel
    if p.big and s >= 12:
        for a in range(0, 360, 30):
            r0, r1 = s * 0.40, s * (0.34 if a % 90 else 0.30)
            ax, ay = math.sin(math.radians(a)), -math.cos(math.radians(a))
            p.line([(cx + ax * r0, cy + ay * r0), (cx + ax * r1, cy + ay * r1)], M, hw * 0.8)
    p.line([(cx, cy), (cx, cy - s * 0.31)], hands, hw)
    p.line([(cx, cy), (cx + s * 0.24, cy + s * 0.06)], hands, hw)
    p.dot(cx, cy, hw * 0.9, hands)


def globe(p, x0, y0, x1, y1):
    s = x1 - x0
    cx = (x0 + x1) / 2
    p.ellipse(x0, y0, x1, y1, L, D)
    if s >= 10:
        p.ellipse(cx - s * 0.22, y0, cx + s * 0.22, y1, None, M)
    if p.big or s < 10:
        p.rect(cx - 0.5, y0 + 0.5, cx + 0.5, y1 - 0.5, M)
    p.hbar(x0 + s * 0.08, x1 - s * 0.08, y0 + s * 0.5 - 0.5, M)
    if p.big and s >= 9:
        p.hbar(x0 + s * 0.16, x1 - s * 0.16, y0 + s * 0.27, M)
        p.hbar(x0 + s * 0.16, x1 - s * 0.16, y0 + s * 0.70, M)
    p.ellipse(x0, y0, x1, y1, None, D)


def stacked_pages(p, x0, y0, x1, y1):
    """Three pages fanned out (two on small images), the front one with text."""
    n = 3 if p.big else 2
    step = 2 if p.big else 3
    for i in range(n):
        o = (n - 1 - i) * step
        page(p, x0 + o, y0 + (n - 1) * step - o, x1 - (n - 1) * step + o, y1 - o,
             fold=2.5, fill=(W if i == n - 1 else P))
    fx0 = x0
    fy0 = y0 + (n - 1) * step
    fx1 = x1 - (n - 1) * step
    text_lines(p, fx0 + 2, fx1 - 2, [fy0 + 4, fy0 + 6, fy0 + 8], M, short=(2,))


def broom(p, top, base, head_len=6.0, w0=3.0, w1=6.5, handle_w=1.3):
    """A broom: handle from `top` to the binding at `base`, bristles beyond."""
    (tx, ty), (bx, by) = top, base
    dx, dy = bx - tx, by - ty
    ln = math.hypot(dx, dy)
    ux, uy = dx / ln, dy / ln
    nx, ny = -uy, ux
    hw = handle_w / 2
    p.poly([(tx + nx * hw, ty + ny * hw), (bx + nx * hw, by + ny * hw),
            (bx - nx * hw, by - ny * hw), (tx - nx * hw, ty - ny * hw)], M, D)
    ex, ey = bx + ux * head_len, by + uy * head_len
    head = [(bx + nx * w0 / 2, by + ny * w0 / 2), (ex + nx * w1 / 2, ey + ny * w1 / 2),
            (ex - nx * w1 / 2, ey - ny * w1 / 2), (bx - nx * w0 / 2, by - ny * w0 / 2)]
    p.poly(head, O, OD)
    if p.big:
        sw = max(p.px1() * 0.9, w1 * 0.07)
        for f in (-0.25, 0.0, 0.25):
            sx, sy = bx + ux * head_len * 0.3 + nx * w0 * f, by + uy * head_len * 0.3 + ny * w0 * f
            fx, fy = ex - ux * head_len * 0.1 + nx * w1 * f, ey - uy * head_len * 0.1 + ny * w1 * f
            p.line([(sx, sy), (fx, fy)], OD, sw)
    bw = w0 / 2 + head_len * 0.07
    b0x, b0y = bx - ux * head_len * 0.04, by - uy * head_len * 0.04
    b1x, b1y = bx + ux * head_len * 0.25, by + uy * head_len * 0.25
    p.poly([(b0x + nx * bw, b0y + ny * bw), (b1x + nx * bw, b1y + ny * bw),
            (b1x - nx * bw, b1y - ny * bw), (b0x - nx * bw, b0y - ny * bw)], D, D)


def user(p, x0, y0):
    """A small person (head and shoulders) in a 7 x 8 area."""
    if p.big:
        p.pie(x0, y0 + 3.8, x0 + 7, y0 + 12, 180, 360, M, D)
        p.ellipse(x0 + 1.5, y0, x0 + 5.5, y0 + 4, L, D)
    else:
        p.rrect(x0, y0 + 4, x0 + 7, y0 + 9, 1.5, M, D)
        p.rect(x0 + 2, y0, x0 + 5, y0 + 4, L, D)


def hourglass(p, x0, y0, x1, y1):
    cx = (x0 + x1) / 2
    cy = (y0 + y1) / 2
    p.poly([(x0 + 0.5, y0 + 1), (x1 - 0.5, y0 + 1), (cx + 0.6, cy), (cx - 0.6, cy)], W, D)
    p.poly([(cx - 0.6, cy), (cx + 0.6, cy), (x1 - 0.5, y1 - 1), (x0 + 0.5, y1 - 1)], W, D)
    p.poly([(cx - 1.2, y1 - 2.8), (cx + 1.2, y1 - 2.8), (x1 - 1.2, y1 - 1.2),
            (x0 + 1.2, y1 - 1.2)], O)
    p.rect(x0, y0, x1, y0 + 1.2, D)
    p.rect(x0, y1 - 1.2, x1, y1, D)


def warn_triangle(p, x0, y0, x1, y1):
    cx = (x0 + x1) / 2
    p.poly([(cx, y0), (x1, y1), (x0, y1)], O, OD)
    s = x1 - x0
    p.rect(cx - 0.5, y0 + s * 0.35, cx + 0.5, y1 - s * 0.33, T)
    p.rect(cx - 0.5, y1 - s * 0.24, cx + 0.5, y1 - s * 0.24 + 1, T)


def hdd(p, x0, y0, x1, y1, led=O):
    p.poly([(x0 + 2, y0), (x1 - 2, y0), (x1, y0 + 3), (x0, y0 + 3)], L, D)
    p.rect(x0, y0 + 3 - p.px1() * p.lw, x1, y1, M, D)
    p.rect(x1 - 3.5, y1 - 3, x1 - 1.5, y1 - 1.5, led)
    p.hbar(x0 + 1.5, x0 + 7, y1 - 2.5, D)


def monitor(p, x0, y0, x1, y1):
    p.rect(x0, y0, x1, y1, D)
    p.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, L)
    if p.big:
        p.poly([(x0 + 1, y0 + 1), (x0 + (x1 - x0) * 0.55, y0 + 1), (x0 + 1, y1 - 2)], P)
    cx = (x0 + x1) / 2
    p.rect(cx - 1.5, y1, cx + 1.5, y1 + 1.5, M, D)


def floppy(p):
    p.poly([(1, 1), (13, 1), (15, 3), (15, 15), (1, 15)], D, D)
    p.rect(4, 1, 12, 6, (214, 226, 240))
    p.rect(9, 2, 11, 5, D)
    p.rect(3, 8, 13, 15, W)
    text_lines(p, 4, 12, [10, 12], M)


def eraser(p, cx, cy, deg, lw=7.0, hh=3.4):
    body = [(cx - lw / 2, cy - hh / 2), (cx + lw / 2, cy - hh / 2),
            (cx + lw / 2, cy + hh / 2), (cx - lw / 2, cy + hh / 2)]
    p.poly(rot(body, cx, cy, deg), O, OD)
    end = [(cx - lw / 2, cy - hh / 2), (cx - lw / 2 + lw * 0.38, cy - hh / 2),
           (cx - lw / 2 + lw * 0.38, cy + hh / 2), (cx - lw / 2, cy + hh / 2)]
    p.poly(rot(end, cx, cy, deg), W, OD)


def address_bar(p, y0, y1):
    """A browser address field with a little globe, typed text and the caret."""
    p.rrect(0, y0, 16, y1, 1.5, W, D)
    cy = (y0 + y1) / 2
    if p.big:
        globe(p, 1.5, cy - 2.5, 6.5, cy + 2.5)
        for x in (7.5, 9.0, 10.5):
            p.rect(x, cy - 1.25, x + 1.1, cy + 1.25, M)
        x = 12.5
        p.vbar(x, cy - 3, cy + 3, D, px=p.lw)
        p.hbar(x - 1, x + 1 + p.px1() * p.lw, cy - 3, D, px=p.lw)
        p.hbar(x - 1, x + 1 + p.px1() * p.lw, cy + 3 - p.px1() * p.lw, D, px=p.lw)
    else:
        p.rect(2, cy - 1, 9, cy + 1, M)
        p.vbar(11, cy - 2.5, cy + 2.5, D)
        p.hbar(10, 13, cy - 3, D)
        p.hbar(10, 13, cy + 2, D)


# Motifs (each draws into a 16 x 16 grid) ------------------------------------
def small_broom(p, top, base, head_len, w0, w1, handle_w):
    """The broom for 16 x 16 images: a solid handle, which stays crisp."""
    (tx, ty), (bx, by) = top, base
    ln = math.hypot(bx - tx, by - ty)
    ux, uy = (bx - tx) / ln, (by - ty) / ln
    nx, ny = -uy, ux
    p.line([top, base], D, handle_w)
    ex, ey = bx + ux * head_len, by + uy * head_len
    p.poly([(bx + nx * w0 / 2, by + ny * w0 / 2), (ex + nx * w1 / 2, ey + ny * w1 / 2),
            (ex - nx * w1 / 2, ey - ny * w1 / 2), (bx - nx * w0 / 2, by - ny * w0 / 2)], O, OD)
    bw = w0 / 2 + 0.3
    b0x, b0y = bx - ux * 0.3, by - uy * 0.3
    b1x, b1y = bx + ux * 1.2, by + uy * 1.2
    p.poly([(b0x + nx * bw, b0y + ny * bw), (b1x + nx * bw, b1y + ny * bw),
            (b1x - nx * bw, b1y - ny * bw), (b0x - nx * bw, b0y - ny * bw)], D)


def m_app(p):
    page(p, 1, 1, 11, 15)
    if p.big:
        text_lines(p, 3, 9, [5, 7, 9], M, short=(2,))
        broom(p, (15.2, 0.8), (7.6, 8.4), head_len=5.6, w0=3.0, w1=6.4, handle_w=1.5)
        p.dot(1.6, 13.4, 0.55, M)
        p.dot(3.0, 11.6, 0.45, M)
    else:
        text_lines(p, 3, 9, [4, 6, 8], M, short=(2,))
        cutout(p, lambda q: small_broom(q, (15.5, 0.5), (9, 7), 5.0, 3.0, 6.5, 1.42))


def m_recycle(p):
    p.rrect(6, 1, 10, 3, 0.6, None, D)
    p.rect(2, 3, 14, 5, M, D)
    p.poly([(3, 5), (13, 5), (12, 15), (4, 15)], L, D)
    for x in (6, 8, 10):
        p.vbar(x - (0.25 if p.big else 0), 6.5, 13.5, M, px=2 if p.big else 1)


def m_registry(p):
    if p.big:
        def cube(x, y, s):
            h = s / 2
            p.poly([(x, y + h / 2), (x + h, y), (x + s, y + h / 2), (x + h, y + h)], L, D)
            p.poly([(x, y + h / 2), (x + h, y + h), (x + h, y + s + h / 2), (x, y + s)], M, D)
            p.poly([(x + h, y + h), (x + s, y + h / 2), (x + s, y + s), (x + h, y + s + h / 2)], D, D)

        cube(1, 7.5, 7)
        cube(8, 7.5, 7)
        cube(4.5, 1, 7)
    else:
        for (x, y, f) in ((5, 1, L), (1, 8, M), (9, 8, D)):
            p.rect(x, y, x + 6, y + 6, f, D)
            p.hbar(x + 1, x + 5, y + 1, W if f != D else M)


def m_console(p):
    p.rect(1, 2, 15, 14, W, D)
    p.rect(1, 2, 15, 5, D)
    p.vbar(6, 5, 14, D)
    p.vbar(3, 6.5, 12, M)
    p.hbar(3, 5, 8, M)
    p.hbar(3, 5, 11, M)
    text_lines(p, 8, 14, [7, 9, 11], M, short=(1,))
    if p.big:
        p.rect(12.5, 3, 14, 4, W)


def m_media(p):
    p.ellipse(1, 1, 15, 15, D, D)
    p.ellipse(2, 2, 14, 14, M)
    p.ellipse(3, 3, 13, 13, D)
    p.poly([(6.3, 4.5), (11.8, 8), (6.3, 11.5)], W)


def m_paint(p):
    p.ellipse(1, 2, 15, 14.5, W, D)
    if p.big:
        p.ellipse(8.5, 9, 11.5, 12, None, D)
        p.clear_ellipse(9.2, 9.7, 10.8, 11.3)
        p.ellipse(3, 6, 6, 9, O)
        p.ellipse(5.5, 3.3, 8.5, 6.3, D)
        p.ellipse(9.3, 3.5, 12.3, 6.5, M)
        p.ellipse(3.6, 9.8, 6.6, 12.8, YELLOW)
        p.line([(15.5, 14.5), (11.5, 10.5)], D, 1.4)
        p.line([(11.6, 10.6), (9.6, 8.6)], OD, 1.6)
    else:
        p.rect(3, 6, 6, 9, O)
        p.rect(6, 3, 9, 6, D)
        p.rect(10, 5, 13, 8, M)
        p.rect(4, 10, 7, 13, YELLOW)
        p.rect(9, 10, 11, 12, CLEAR)


def m_recentdocs(p):
    page(p, 1, 1, 11, 14)
    text_lines(p, 3, 9, [5, 7, 9], M)
    cutout(p, lambda q: clock(q, 7, 7, 16, 16))


def m_typedurl(p):
    address_bar(p, 3, 13)


def m_cookie(p):
    q = p.layer()
    q.ellipse(1, 1, 15, 15, COOKIE, COOKIE_OL)
    w = p.px1() * p.lw
    ring = p.layer()
    ring.ellipse(10, -2.5, 18.5, 6, COOKIE_OL)
    ring.clear_ellipse(10 + w, -2.5 + w, 18.5 - w, 6 - w)
    hole = p.layer()
    hole.ellipse(10, -2.5, 18.5, 6, W)
    a = q.im.getchannel("A")
    body = q.im.copy()
    body.putalpha(ImageChops.subtract(a, hole.im.getchannel("A")))
    ring_im = ring.im.copy()
    ring_im.putalpha(ImageChops.multiply(ring.im.getchannel("A"), a))
    body.alpha_composite(ring_im)
    p.im.alpha_composite(body)
    for (x, y, r) in ((5, 5, 1.1), (9, 7, 1.0), (4.5, 10, 1.1), (8.5, 11.5, 1.0), (12, 10.5, 0.9)):
        p.dot(x, y, r, CHIP)


def m_history(p):
    clock(p, 1, 1, 15, 15)


def m_clipboard(p):
    p.rrect(2, 2, 14, 16, 1, M, D)
    p.rect(4, 4, 12, 14, W, D if p.big else None)
    p.rrect(5.5, 0.5, 10.5, 4, 0.8, D, D)
    if p.big:
        p.rect(7, 1.5, 9, 2.5, W)
        text_lines(p, 5.5, 11, [6, 8, 10, 12], D, short=(1, 3))
    else:
        text_lines(p, 5, 11, [6, 8, 10], D, short=(1,))


def m_eventlog(p):
    page(p, 1, 1, 12, 15)
    text_lines(p, 3, 10, [4, 6, 8, 10], M, short=(1,))
    cutout(p, lambda q: warn_triangle(q, 7, 7.5, 16, 16))


def m_unused(p):
    p.ellipse(1, 1, 15, 15, M, D)
    p.pie(1, 1, 15, 15, 270, 20, W, D)
    p.ellipse(6, 6, 10, 10, L, D)
    if p.big:
        p.dot(8, 8, 0.6, D)
        for (x, y) in ((11.2, 4.6), (12.6, 6.8), (10.0, 3.2)):
            p.dot(x, y, 0.35, M)


def m_drive(p):
    hdd(p, 0, 3, 16, 13)


def m_wordpad(p):
    page(p, 1, 1, 12, 15)
    text_lines(p, 3, 10, [4, 6, 8, 10, 12], M, short=(2, 4))

    def pen(q):
        q.poly(rot([(12.3, 1.5), (14.7, 1.5), (14.7, 11), (13.5, 13.5), (12.3, 11)], 13.5, 8, 30), L, D)
        q.poly(rot([(12.3, 11), (14.7, 11), (13.5, 13.5)], 13.5, 8, 30), O if q.big else D, OD if q.big else None)
    cutout(p, pen)


def m_tempinet(p):
    stacked_pages(p, 0, 0, 13, 15)
    cutout(p, lambda q: globe(q, 8, 8, 16, 16))


def m_ofhistory(p):
    folder(p, 0, 2, 14, 13, open_=True)
    cutout(p, lambda q: clock(q, 8, 7, 16, 15))


def m_ofhistory2(p):
    folder(p, 0, 2, 14, 13)
    cutout(p, lambda q: clock(q, 8, 7, 16, 15))


def m_mfu(p):
    one = p.px1()
    p.rect(2, 9, 6, 15, L, D)
    p.rect(6 - one, 6, 10, 15, M, D)
    p.rect(10 - one, 2, 14, 15, D, D)
    p.hbar(0, 16, 15 - one, D)


def m_internet(p):
    globe(p, 1, 1, 15, 15)


def m_system(p):
    monitor(p, 1, 2, 15, 12)
    p.rect(4, 13.5, 12, 15, D)


def m_computer(p):
    monitor(p, 0, 3, 10, 11)
    p.rect(2, 12.5, 8, 14, D)
    p.rect(11, 2, 16, 15, L, D)
    p.hbar(12, 15, 4.5, D)
    p.hbar(12, 15, 6.5, D)
    p.rect(13, 12, 14, 13, O)


def m_folder(p):
    folder(p, 1, 2, 15, 14)


def m_cdrom(p):
    p.ellipse(1, 1, 15, 15, (214, 226, 240), D)
    if p.big:
        p.pie(1.8, 1.8, 14.2, 14.2, 200, 250, W)
        p.pie(1.8, 1.8, 14.2, 14.2, 20, 70, L)
    else:
        p.pie(2, 2, 14, 14, 200, 250, W)
    p.ellipse(5, 5, 11, 11, M, D)
    if p.big:
        p.clear_ellipse(6.8, 6.8, 9.2, 9.2)
    else:
        p.rect(7, 7, 9, 9, CLEAR)


def m_removable(p):
    p.rrect(0, 5, 11, 12, 1, M, D)
    p.rect(11 - p.px1(), 6, 16, 11, W, D)
    p.rect(12.5, 7.5, 13.5, 8.5, D)
    if p.big:
        p.rect(14, 7.5, 15, 8.5, D)
    p.rect(2, 7.5, 4, 9.5, O)


def m_floppy(p):
    floppy(p)


def m_admintemp(p):
    stacked_pages(p, 0, 0, 13, 15)
    cutout(p, lambda q: user(q, 9, 7.5 if q.big else 8))


def m_systemp(p):
    stacked_pages(p, 0, 0, 13, 15)
    cutout(p, lambda q: hourglass(q, 9.5, 7, 15.5, 16))


def m_netfolder(p):
    folder(p, 1, 1, 15, 10)
    p.rect(7.5, 10, 8.5, 13.5, D)
    p.rect(1, 13, 15, 14, D)
    p.rect(6, 12, 10, 15, M, D)


def m_apptraces(p):
    p.rect(1, 2, 15, 14, W, D)
    p.rect(1, 2, 15, 5, D)
    bottom = 12.5 if p.big else 13
    p.rect(3, 6.5, 7.5, 9.5, M)
    p.rect(8.5, 6.5, 13, 9.5, L)
    p.rect(3, 10.5, 7.5, bottom, L)
    p.rect(8.5, 10.5, 13, bottom, O)


def m_pdf(p):
    page(p, 3, 1, 14, 15)
    text_lines(p, 5, 12, [4, 6], M)
    p.rect(1, 8.5, 11, 14, O, OD)
    p.hbar(2.5, 9.5, 10.5, W)
    if p.big:
        p.hbar(2.5, 7.5, 12, W)


def m_database(p):
    one = p.px1()
    p.rect(2, 3.5, 14, 13, M)
    p.ellipse(2, 10, 14, 15, M, D)
    p.rect(2 + one, 3.5, 14 - one, 12.5, M)
    p.vbar(2, 3.5, 12.6, D)
    p.vbar(14 - one, 3.5, 12.6, D)
    if p.big:
        p.arc(2, 6.5, 14, 11.5, 20, 160, D)
    else:
        p.arc(2, 5.5, 14, 10.5, 20, 160, D)
    p.ellipse(2, 1, 14, 6, L, D)


def m_spreadsheet(p):
    p.rect(1, 1, 15, 15, W, D)
    p.rect(1, 1, 15, 4, M, D)
    for x in ((5.5, 10.5) if p.big else (5, 10)):
        p.vbar(x, 4, 15, M)
    for y in ((6.75, 9.5, 12.25) if p.big else (7, 10, 13)):
        p.hbar(1, 15, y, M)
    p.rect(1, 1, 15, 15, None, D)


def m_presentation(p):
    p.rect(0, 1, 16, 2.5, D)
    p.rect(1, 2.5, 15, 11, W, D)
    p.ellipse(2.5, 3.5, 8.5, 9.5, M)
    p.pie(2.5, 3.5, 8.5, 9.5, 270, 0, O)
    p.rect(10, 7, 11.5, 9.5, D)
    p.rect(12, 5, 13.5, 9.5, D)
    p.line([(8, 11), (4.5, 15.5)], D, 1.1)
    p.line([(8, 11), (11.5, 15.5)], D, 1.1)


def m_worddoc(p):
    page(p, 3, 1, 14, 15)
    text_lines(p, 5, 12, [4, 6, 8, 10, 12], M, short=(4,))
    p.rect(1, 6.5, 8, 13.5, D)
    p.hbar(2.5, 6.5, 8.5, W)
    if p.big:
        p.hbar(2.5, 6.5, 10.5, W)


def m_archive(p):
    p.rect(2, 1, 14, 15, L, D)
    if p.big:
        for i in range(11):
            x = 7.5 if i % 2 else 8
            p.rect(x, 1.5 + i, x + 0.5 + 0.5, 2 + i, D)
    else:
        for y in range(1, 11, 2):
            p.rect(7, y, 8, y + 1, D)
            p.rect(8, y + 1, 9, y + 2, D)
    p.rect(6.5, 11, 9.5, 14.5, O, OD)
    if p.big:
        p.rect(7.5, 12.5, 8.5, 13.5, W)


def m_wipelist(p):
    page(p, 1, 1, 12, 15)
    for y in (4, 7, 10):
        if p.big:
            p.rect(3, y - 0.5, 4.5, y + 1, D)
            p.hbar(5.5, 10, y, M)
        else:
            p.rect(3, y, 4, y + 1, D)
            p.hbar(5, 10, y, M)
    if p.big:
        cutout(p, lambda q: eraser(q, 11.5, 12, -40))
    else:
        def flat_eraser(q):
            q.rect(7, 11, 16, 16, O, OD)
            q.rect(7, 11, 10, 16, W, OD)
        cutout(p, flat_eraser)


def m_copy(p):
    page(p, 1, 1, 10, 12, fold=2.5, fill=P)
    page(p, 6, 4, 15, 15, fold=2.5)
    text_lines(p, 8, 13, [8, 10, 12], M)


def m_paste(p):
    p.rrect(1, 2, 12, 15, 1, M, D)
    p.rrect(4, 0.5, 9, 3.5, 0.8, D, D)
    page(p, 6, 6, 15, 16, fold=2.5)
    text_lines(p, 8, 13, [10, 12, 14], M)


def m_new(p):
    page(p, 2, 1, 14, 15, fold=4)
    cx, cy = 4.5, 4.5
    p.poly([(cx, cy - 3), (cx + 0.9, cy - 0.9), (cx + 3, cy), (cx + 0.9, cy + 0.9),
            (cx, cy + 3), (cx - 0.9, cy + 0.9), (cx - 3, cy), (cx - 0.9, cy - 0.9)], O)


def m_open(p):
    folder(p, 1, 2, 15, 14, open_=True)


def m_tools(p):
    p.line([(3, 13), (10, 6)], D, 2.6)
    p.ellipse(8, 1, 15, 8, D)
    p.poly(rot([(10.5, -0.5), (12.5, -0.5), (12.5, 4.5), (10.5, 4.5)], 11.5, 4.5, 45), CLEAR)
    p.ellipse(1.4, 11.4, 4.6, 14.6, D)
    p.dot(3, 13, 0.7, W)


def m_print(p):
    p.rect(4, 1, 12, 6, W, D)
    p.rrect(1, 5, 15, 12, 1, M, D)
    p.rect(12, 7, 13.5, 8.5, O)
    p.rect(4, 9.5, 12, 15, W, D)
    text_lines(p, 5.5, 10.5, [11.5, 13], M)


def m_about(p):
    p.ellipse(1, 1, 15, 15, D)
    p.text(8, 8.3, "?", 11, W, bold=True)


def m_scheduler(p):
    p.rect(1, 2, 13, 14, W, D)
    p.rect(1, 2, 13, 5, D)
    p.vbar(3.5, 1, 3, M, px=2 if p.big else 1)
    p.vbar(9.5, 1, 3, M, px=2 if p.big else 1)
    for y in (6.5, 9):
        for x in (3, 5.5, 8):
            p.rect(x, y, x + 1.5, y + 1.5, M)
    cutout(p, lambda q: clock(q, 7.5, 7.5, 16, 16))


def m_tree(p):
    """The tab image: a small category tree."""
    p.rect(1, 1, 6, 5, M, D)
    p.vbar(3, 5, 14, D)
    p.hbar(3, 8, 8, D)
    p.hbar(3, 8, 13, D)
    p.rect(8, 6, 15, 10, W, D)
    p.rect(8, 11, 15, 15, W, D)


def m_broom_only(p):
    broom(p, (8, 0.5), (8, 9.6), head_len=5.6, w0=3.2, w1=7.4, handle_w=1.0)


# Output helpers -------------------------------------------------------------
def draw(motif, size):
    p = Pic(size)
    motif(p)
    return p.render()


def hard(img):
    """Alpha to 0 or 255 (threshold 50 %), colours un-premultiplied."""
    out = img.copy()
    px = out.load()
    w, h = out.size
    for y in range(h):
        for x in range(w):
            r, g, b, a = px[x, y]
            px[x, y] = (r, g, b, 255) if a >= 128 else (0, 0, 0, 0)
    return out


def on_background(img, bg, avoid=None):
    """Hard-masked image over a solid background colour (no fringes)."""
    im = hard(img)
    base = Image.new("RGBA", im.size, rgba(bg))
    base.alpha_composite(im)
    out = base.convert("RGB")
    if avoid is not None:
        px = out.load()
        for y in range(out.size[1]):
            for x in range(out.size[0]):
                if px[x, y] == avoid and im.getpixel((x, y))[3]:
                    px[x, y] = (avoid[0] + 2, avoid[1] + 2, avoid[2] + 2)
    return out


def ico_entry(img):
    """One icon image: 8-bit palette DIB (only the colours it uses) + AND mask."""
    im = hard(img)
    w, h = im.size
    px = im.load()
    colours = sorted({px[x, y][:3] for y in range(h) for x in range(w) if px[x, y][3]})
    if len(colours) > 255:
        q = im.convert("RGB").quantize(255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
        rgb = q.convert("RGB").load()
        for y in range(h):
            for x in range(w):
                if px[x, y][3]:
                    px[x, y] = rgb[x, y] + (255,)
        colours = sorted({px[x, y][:3] for y in range(h) for x in range(w) if px[x, y][3]})
    palette = [(0, 0, 0)] + colours   # index 0: transparent (black under the mask)
    index = {c: i for i, c in enumerate(palette)}
    xor_row = (w + 3) & ~3
    and_row = ((w + 31) // 32) * 4
    xor = bytearray()
    andm = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(xor_row)
        bits = bytearray(and_row)
        for x in range(w):
            r, g, b, a = px[x, y]
            if a:
                row[x] = index[(r, g, b)]
            else:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += row
        andm += bits
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 8, 0, len(xor) + len(andm), 0, 0,
                         len(palette), 0)
    pal = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    return header + pal + bytes(xor) + bytes(andm)


def write_ico(path, images):
    entries = [ico_entry(im) for im in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for im, data in zip(images, entries):
        w, h = im.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 8, len(data), offset)
        offset += len(data)
    for data in entries:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def write_bmp(path, img):
    img = img.convert("RGB")
    w, h = img.size
    row = (w * 3 + 3) & ~3
    px = img.load()
    data = bytearray()
    for y in range(h - 1, -1, -1):
        r = bytearray()
        for x in range(w):
            cr, cg, cb = px[x, y]
            r += bytes((cb, cg, cr))
        r += bytes(row - len(r))
        data += r
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    fh = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    with open(path, "wb") as f:
        f.write(fh + header + bytes(data))


def lzw_encode(indices, min_code_size):
    clear = 1 << min_code_size
    eoi = clear + 1
    out = bytearray()
    acc = 0
    nbits = 0

    def emit(code, size):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    size = min_code_size + 1
    table = {(i,): i for i in range(clear)}
    next_code = eoi + 1
    emit(clear, size)
    cur = ()
    for k in indices:
        nxt = cur + (k,)
        if nxt in table:
            cur = nxt
            continue
        emit(table[cur], size)
        if next_code < 4096:
            table[nxt] = next_code
            next_code += 1
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear, size)
            table = {(i,): i for i in range(clear)}
            next_code = eoi + 1
            size = min_code_size + 1
        cur = (k,)
    if cur:
        emit(table[cur], size)
    emit(eoi, size)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def write_gif(path, frames, delay):
    """Full-size frames sharing one global colour table; loops for ever."""
    w, h = frames[0].size
    strip = Image.new("RGB", (w, h * len(frames)))
    for i, f in enumerate(frames):
        strip.paste(f.convert("RGB"), (0, h * i))
    colours = sorted(set(strip.getdata()))
    if len(colours) > 128:
        q = strip.quantize(128, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
        strip = q.convert("RGB")
        colours = sorted(set(strip.getdata()))
    bits = max(1, (len(colours) - 1).bit_length())
    table = colours + [(0, 0, 0)] * ((1 << bits) - len(colours))
    index = {c: i for i, c in enumerate(colours)}
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", w, h, 0x80 | 0x70 | (bits - 1), 0, 0)
    out += b"".join(bytes(c) for c in table)
    out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"
    data = list(strip.getdata())
    for i in range(len(frames)):
        out += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, 1 << 2, delay, 0, 0)
        out += struct.pack("<BHHHHB", 0x2C, 0, 0, w, h, 0)
        mcs = max(2, bits)
        out.append(mcs)
        codes = lzw_encode([index[c] for c in data[i * w * h:(i + 1) * w * h]], mcs)
        for k in range(0, len(codes), 255):
            chunk = codes[k:k + 255]
            out.append(len(chunk))
            out += chunk
        out.append(0)
    out.append(0x3B)
    with open(path, "wb") as f:
        f.write(out)


# Large pictures -------------------------------------------------------------
def motif_on(motif, size, bg, glyph=None, tile=False):
    """A motif drawn at `glyph` px centred on a size x size background."""
    glyph = glyph or size
    img = Image.new("RGBA", (size, size), rgba(bg))
    if tile:
        t = Pic(size)
        t.rrect(0.5, 0.5, 15.5, 15.5, 2.5, W, M)
        img.alpha_composite(t.render())
    o = (size - glyph) // 2
    img.alpha_composite(draw(motif, glyph), (o, o))
    return img.convert("RGB")


def avoid_3d_greys(img):
    """No exact 128/192/223 greys, which LR_LOADMAP3DCOLORS would recolour."""
    px = img.load()
    for y in range(img.size[1]):
        for x in range(img.size[0]):
            c = px[x, y]
            if c in ((128, 128, 128), (192, 192, 192), (223, 223, 223)):
                px[x, y] = (c[0] + 1, c[1] + 1, c[2] + 2)
    return img


def scene(w, h, lw=2):
    """A canvas for a w x h picture, addressed in pixels."""
    return Pic(w, grid=w, height=h, lw=lw)


def make_splash():
    w, h = 450, 270
    p = scene(w, h)
    p.rect(0, 0, w, h, L)
    # the floor the broom sweeps, and a dark foot band
    p.rect(0, 236, w, h, D)
    # the sweep: a white crescent trailing behind the broom head
    q = p.layer()
    q.ellipse(-60, 120, 372, 234, W)
    q.ellipse(-60, 108, 372, 226, CLEAR)
    q.rect(0, 0, 40, 236, CLEAR)
    p.paste(q)
    # dust pushed ahead of the bristles
    for (x, y, r, col) in ((292, 224, 3.4, M), (279, 220, 2.6, M), (268, 226, 2.2, O),
                           (257, 219, 1.8, M), (248, 225, 1.5, M), (238, 221, 1.2, M)):
        p.dot(x, y, r, col)
    broom(p, (438, 116), (362, 190), head_len=46, w0=24, w1=58, handle_w=9)
    img = p.render()
    d = ImageDraw.Draw(img)
    name = ImageFont.truetype(FONT_BOLD, 34)
    tag = ImageFont.truetype(FONT_REGULAR, 15)
    d.text((28, 66), "Corvane-Sweepmere", font=name, fill=rgba(D), anchor="ls")
    d.text((30, 96), "Erase your traces. Keep everything else.", font=tag,
           fill=rgba((52, 82, 128)), anchor="ls")
    d.rectangle([0, 0, w - 1, h - 1], outline=rgba(D))
    return img.convert("RGB")


def make_about():
    w, h = 330, 200
    p = scene(w, h)
    p.rect(0, 0, w, h, W)
    p.rect(0, 0, w, 58, L)
    p.rect(0, 58, w, 60, M)
    # a quiet sweep across the header band
    q = p.layer()
    q.ellipse(-200, -70, 660, 54, W)
    q.ellipse(-200, -80, 660, 47, CLEAR)
    q.rect(0, 58, w, h, CLEAR)
    p.paste(q)
    p.rect(0, h - 8, w, h, L)
    p.rect(0, h - 9, w, h - 8, M)
    img = p.render()
    img.alpha_composite(draw(m_app, 40), (12, 9))
    d = ImageDraw.Draw(img)
    f = ImageFont.truetype(FONT_BOLD, 21)
    d.text((62, 37), "Corvane-Sweepmere", font=f, fill=rgba(D), anchor="ls")
    d.rectangle([0, 0, w - 1, h - 1], outline=rgba(M))
    return img.convert("RGB")


def make_toolbar():
    cells = [("New", m_new), ("Open", m_open), ("Save", m_save), ("Tools", m_tools),
             ("Copy", m_copy), ("Paste", m_paste), ("Print", m_print), ("About", m_about),
             ("Scheduler", m_scheduler)]
    cw, ch, g = 66, 38, 24
    img = Image.new("RGB", (cw * len(cells), ch), MASK_GREY)
    d = ImageDraw.Draw(img)
    d.fontmode = "1"
    font = ImageFont.truetype(FONT_REGULAR, 10)
    for i, (label, motif) in enumerate(cells):
        glyph = hard(draw(motif, g))
        img.paste(on_background(glyph, MASK_GREY, avoid=MASK_GREY),
                  (i * cw + (cw - g) // 2, 2), glyph.getchannel("A"))
        d.text((i * cw + cw // 2, 34), label, font=font, fill=(0, 0, 0), anchor="ms")
    return img


def make_tabstrip():
    img = Image.new("RGB", (32, 16), MASK_GREY)
    for i, motif in enumerate((m_tree, m_folder)):
        im = hard(draw(motif, 16))
        img.paste(on_background(im, MASK_GREY, avoid=MASK_GREY), (16 * i, 0), im.getchannel("A"))
    return img


def m_save(p):
    floppy(p)


def make_sweep_frames():
    """A broom pushing dust to the left across a page, then lifting back."""
    size = 64
    # (binding x, lift) per frame: five pushing strokes, then the way back
    steps = [(11.0, 0), (9.6, 0), (8.2, 0), (6.8, 0), (5.4, 0), (4.0, 0), (7.0, 1.2), (10.0, 1.2)]
    frames = []
    for i, (bx, lift) in enumerate(steps):
        p = Pic(size)
        p.rect(0, 0, 16, 16, W)
        page(p, 1.5, 1, 14.5, 15, fold=3, fill=W, ol=M)
        for k, y in enumerate((4.0, 5.5, 7.0)):
            p.hbar(3.5, 10.5 if k < 2 else 8, y, L, px=2)
        pushing = lift == 0
        if pushing:
            # swept streak behind the head
            p.rect(bx + 1.5, 13.1, min(13.5, bx + 1.5 + 1.2 * (i + 1)), 13.5, L)
            # dust ahead of the head: it travels with the stroke
            for k, (dx, dy, r) in enumerate(((-3.0, 13.0, 0.75), (-4.1, 12.3, 0.55),
                                             (-4.8, 13.3, 0.5), (-3.6, 11.6, 0.4))):
                p.dot(bx + dx - 0.15 * i * k, dy, r, O if k == 1 else D if k == 0 else M)
        else:
            for (x, y, r) in ((2.0, 13.0, 0.7), (2.9, 12.3, 0.5), (2.7, 13.4, 0.45)):
                p.dot(x, y, r, M)
        top = (bx + 4.5, 0.5 - lift)
        base = (bx + 1.4, 9.2 - lift)
        broom(p, top, base, head_len=4.2, w0=2.6, w1=5.4, handle_w=1.0)
        frames.append(p.render().convert("RGB"))
    return frames


# Catalogue ------------------------------------------------------------------
ICONS = [
    ("app", m_app), ("recycle", m_recycle), ("registry", m_registry), ("console", m_console),
    ("media", m_media), ("paint", m_paint), ("recentdocs", m_recentdocs), ("typedurl", m_typedurl),
    ("cookie", m_cookie), ("history", m_history), ("clipboard", m_clipboard),
    ("eventlog", m_eventlog), ("unused", m_unused), ("drive", m_drive), ("wordpad", m_wordpad),
    ("tempinet", m_tempinet), ("ofhistory", m_ofhistory), ("ofhistory2", m_ofhistory2),
    ("mfu", m_mfu), ("internet", m_internet), ("system", m_system), ("admintemp", m_admintemp),
    ("systemp", m_systemp), ("netfolder", m_netfolder), ("apptraces", m_apptraces),
    ("pdf", m_pdf), ("database", m_database), ("spreadsheet", m_spreadsheet),
    ("presentation", m_presentation), ("worddoc", m_worddoc), ("archive", m_archive),
    ("wipelist", m_wipelist), ("computer", m_computer), ("folder", m_folder),
    ("cdrom", m_cdrom), ("removable", m_removable), ("floppy", m_floppy),
]


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "images")
    os.makedirs(out, exist_ok=True)
    for name, motif in ICONS:
        write_ico(os.path.join(out, name + ".ico"), [draw(motif, 16), draw(motif, 32)])

    write_bmp(os.path.join(out, "splash.bmp"), make_splash())
    write_bmp(os.path.join(out, "about.bmp"), make_about())
    write_bmp(os.path.join(out, "toolbar.bmp"), make_toolbar())
    write_bmp(os.path.join(out, "tabs.bmp"), make_tabstrip())

    # introduction pictures: white background (the view's window colour)
    intro = [("intro_product", m_app), ("intro_cookies", m_cookie), ("intro_history", m_history),
             ("intro_temp", lambda p: stacked_pages(p, 1, 1, 15, 15)),
             ("intro_typed", lambda p: address_bar(p, 4, 12))]
    for name, motif in intro:
        write_bmp(os.path.join(out, name + ".bmp"), avoid_3d_greys(motif_on(motif, 48, W, 44)))

    # page pictures: a white tile on the page colour
    pages = [("page_cookies", m_cookie), ("page_history", m_history), ("page_typed", lambda p: address_bar(p, 4, 12)),
             ("page_tempinet", m_tempinet), ("page_internet", m_internet)]
    for name, motif in pages:
        write_bmp(os.path.join(out, name + ".bmp"), motif_on(motif, 40, L, 30, tile=True))

    write_gif(os.path.join(out, "sweep.gif"), make_sweep_frames(), 12)


if __name__ == "__main__":
    main()
