"""Emblems that tell the product families apart: flame, film, note, folder, arrows, gear, star.

Each emblem is drawn into the square box (x, y, size) of a canvas from shapes given in unit
coordinates, with a dark outline so that it stays legible on the silver disc at 16 pixels.
"""

import math

from paint import Canvas, mix, path, vgrad


class _Box:
    def __init__(self, x, y, s):
        self.x, self.y, self.s = x, y, s

    def p(self, u, v):
        return (self.x + u * self.s, self.y + v * self.s)

    def pts(self, seq):
        return [self.p(u, v) for u, v in seq]

    def rect(self, u0, v0, u1, v1):
        return (self.x + u0 * self.s, self.y + v0 * self.s, self.x + u1 * self.s, self.y + v1 * self.s)

    def v(self, value):
        return self.y + value * self.s


def _finish(cv, mask, paint, outline, s, highlight=True, shadow=True):
    """Shadow, outline, fill and top gloss shared by every emblem."""
    width = max(0.6, s * 0.045)
    if shadow:
        cv.shadow(mask, dx=s * 0.02, dy=s * 0.04, blur=max(0.5, s * 0.04), opacity=0.5)
    grown = cv.grow(mask, width)
    cv.fill(grown, outline)
    cv.fill(mask, paint)
    if highlight:
        box = mask.getbbox()
        if box:
            top = box[1] / cv.s
            bottom = box[3] / cv.s
            gloss = vgrad(top, top + (bottom - top) * 0.55,
                          [(0.0, (255, 255, 255, 110)), (1.0, (255, 255, 255, 0))])
            cv.fill(cv.grow(mask, -width * 0.8), gloss)


def flame(cv: Canvas, x, y, s):
    b = _Box(x, y, s)
    outer = path(b.p(0.50, 0.98),
                 (b.p(0.18, 0.98), b.p(0.04, 0.72), b.p(0.16, 0.50)),
                 (b.p(0.24, 0.36), b.p(0.34, 0.34), b.p(0.36, 0.14)),
                 (b.p(0.37, 0.08), b.p(0.36, 0.04), b.p(0.33, 0.01)),
                 (b.p(0.56, 0.10), b.p(0.66, 0.26), b.p(0.64, 0.42)),
                 (b.p(0.70, 0.36), b.p(0.74, 0.30), b.p(0.74, 0.22)),
                 (b.p(0.94, 0.42), b.p(0.98, 0.66), b.p(0.88, 0.82)),
                 (b.p(0.80, 0.94), b.p(0.66, 0.98), b.p(0.50, 0.98)))
    mask = cv.polygon(outer)
    fire = vgrad(b.v(0.0), b.v(1.0), [(0.0, (255, 90, 20)), (0.45, (255, 130, 20)),
                                        (1.0, (255, 200, 40))])
    _finish(cv, mask, fire, (120, 20, 0), s, highlight=False)
    inner = path(b.p(0.50, 0.94),
                 (b.p(0.32, 0.94), b.p(0.26, 0.78), b.p(0.34, 0.64)),
                 (b.p(0.40, 0.55), b.p(0.46, 0.50), b.p(0.48, 0.38)),
                 (b.p(0.62, 0.50), b.p(0.74, 0.66), b.p(0.70, 0.80)),
                 (b.p(0.66, 0.90), b.p(0.60, 0.94), b.p(0.50, 0.94)))
    core = vgrad(b.v(0.4), b.v(0.95), [(0.0, (255, 220, 80)), (1.0, (255, 252, 210))])
    cv.fill(cv.polygon(inner), core)


def film(cv: Canvas, x, y, s):
    b = _Box(x, y, s)
    body = cv.rrect(b.rect(0.04, 0.16, 0.96, 0.84), s * 0.08)
    _finish(cv, body, vgrad(b.v(0.16), b.v(0.84), [(0.0, (70, 74, 86)), (1.0, (24, 26, 32))]),
            (10, 10, 14), s, highlight=False)
    holes = 4 if s < 20 else 5
    step = 0.84 / holes
    for i in range(holes):
        u = 0.10 + i * step + step * 0.2
        for v0 in (0.20, 0.72):
            cv.fill(cv.rrect(b.rect(u, v0, u + step * 0.55, v0 + 0.08), s * 0.02), (235, 238, 245))
    frame = cv.rrect(b.rect(0.12, 0.32, 0.88, 0.68), s * 0.03)
    cv.fill(frame, vgrad(b.v(0.32), b.v(0.68), [(0.0, (110, 190, 255)), (1.0, (30, 90, 200))]))
    play = cv.polygon(b.pts([(0.40, 0.38), (0.40, 0.62), (0.64, 0.50)]))
    cv.fill(play, (255, 255, 255))


def note(cv: Canvas, x, y, s, colour=(60, 200, 120)):
    b = _Box(x, y, s)
    shapes = []
    for hx, hy in ((0.26, 0.80), (0.70, 0.70)):
        shapes.append(cv.polygon(_tilted_ellipse(b, hx, hy, 0.17, 0.12, -25)))
    stem_w = 0.085
    shapes.append(cv.polygon(b.pts([(0.345, 0.78), (0.345 + stem_w, 0.78), (0.345 + stem_w, 0.20),
                                    (0.345, 0.22)])))
    shapes.append(cv.polygon(b.pts([(0.785, 0.68), (0.785 + stem_w, 0.68), (0.785 + stem_w, 0.08),
                                    (0.785, 0.10)])))
    shapes.append(cv.polygon(b.pts([(0.345, 0.22), (0.87, 0.08), (0.87, 0.25), (0.345, 0.39)])))
    mask = Canvas.union(*shapes)
    paint = vgrad(b.v(0.05), b.v(0.95), [(0.0, mix(colour, (255, 255, 255), 0.35)),
                                         (1.0, mix(colour, (0, 0, 0), 0.25))])
    _finish(cv, mask, paint, mix(colour, (0, 0, 0), 0.7), s)


def _tilted_ellipse(b, cx, cy, rx, ry, degrees, n=40):
    a = math.radians(degrees)
    pts = []
    for i in range(n):
        t = 2 * math.pi * i / n
        ex, ey = rx * math.cos(t), ry * math.sin(t)
        pts.append((cx + ex * math.cos(a) - ey * math.sin(a), cy + ex * math.sin(a) + ey * math.cos(a)))
    return b.pts(pts)


def folder(cv: Canvas, x, y, s):
    b = _Box(x, y, s)
    back = Canvas.union(cv.rrect(b.rect(0.04, 0.18, 0.44, 0.36), s * 0.05),
                        cv.rrect(b.rect(0.04, 0.26, 0.96, 0.88), s * 0.06))
    _finish(cv, back, vgrad(b.v(0.18), b.v(0.88), [(0.0, (240, 180, 40)), (1.0, (200, 130, 20))]),
            (110, 60, 0), s, highlight=False)
    sheet = cv.rrect(b.rect(0.16, 0.12, 0.84, 0.70), s * 0.03)
    cv.fill(sheet, (250, 251, 253))
    for i in range(3 if s >= 24 else 2):
        v = 0.22 + i * 0.12
        cv.fill(cv.rrect(b.rect(0.24, v, 0.76 - i * 0.08, v + 0.05), s * 0.02), (150, 160, 180))
    front = cv.polygon(b.pts([(0.04, 0.42), (0.96, 0.42), (0.92, 0.88), (0.08, 0.88)]))
    front_paint = vgrad(b.v(0.42), b.v(0.88), [(0.0, (255, 214, 90)), (1.0, (236, 160, 30))])
    cv.fill(front, front_paint)
    cv.fill(cv.subtract(front, cv.shift(front, 0, s * 0.04)), (255, 240, 190), 0.9)


def arrows(cv: Canvas, x, y, s, colour=(40, 170, 200)):
    """Two arrows chasing each other round a circle: copying from disc to disc."""
    b = _Box(x, y, s)
    shapes = []
    for start in (200, 20):
        outer, inner = 0.44, 0.28
        pts = []
        steps = 24
        sweep = 120
        for i in range(steps + 1):
            a = math.radians(start + sweep * i / steps)
            pts.append((0.5 + outer * math.cos(a), 0.5 + outer * math.sin(a)))
        for i in range(steps, -1, -1):
            a = math.radians(start + sweep * i / steps)
            pts.append((0.5 + inner * math.cos(a), 0.5 + inner * math.sin(a)))
        shapes.append(cv.polygon(b.pts(pts)))
        tip = math.radians(start + sweep + 38)
        base = math.radians(start + sweep - 2)
        mid = (outer + inner) / 2
        head = [(0.5 + (mid + 0.17) * math.cos(base), 0.5 + (mid + 0.17) * math.sin(base)),
                (0.5 + (mid - 0.17) * math.cos(base), 0.5 + (mid - 0.17) * math.sin(base)),
                (0.5 + mid * math.cos(tip), 0.5 + mid * math.sin(tip))]
        shapes.append(cv.polygon(b.pts(head)))
    mask = Canvas.union(*shapes)
    paint = vgrad(b.v(0.05), b.v(0.95), [(0.0, mix(colour, (255, 255, 255), 0.4)),
                                         (1.0, mix(colour, (0, 0, 0), 0.2))])
    _finish(cv, mask, paint, mix(colour, (0, 0, 0), 0.7), s)


def gear(cv: Canvas, x, y, s, colour=(150, 100, 215)):
    b = _Box(x, y, s)
    teeth = 8
    pts = []
    for i in range(teeth * 4):
        a = 2 * math.pi * i / (teeth * 4) + math.pi / teeth / 4
        r = 0.47 if (i % 4) in (1, 2) else 0.36
        pts.append((0.5 + r * math.cos(a), 0.5 + r * math.sin(a)))
    body = cv.polygon(b.pts(pts))
    hole = cv.ellipse(b.rect(0.36, 0.36, 0.64, 0.64))
    mask = cv.subtract(body, hole)
    paint = vgrad(b.v(0.03), b.v(0.97), [(0.0, mix(colour, (255, 255, 255), 0.5)),
                                         (1.0, mix(colour, (0, 0, 0), 0.3))])
    _finish(cv, mask, paint, mix(colour, (0, 0, 0), 0.7), s)


def star(cv: Canvas, x, y, s, colour=(255, 196, 30)):
    b = _Box(x, y, s)
    pts = []
    for i in range(10):
        a = -math.pi / 2 + math.pi * i / 5
        r = 0.49 if i % 2 == 0 else 0.21
        pts.append((0.5 + r * math.cos(a), 0.54 + r * math.sin(a)))
    mask = cv.polygon(b.pts(pts))
    paint = vgrad(b.v(0.0), b.v(1.0), [(0.0, (255, 240, 150)), (0.5, colour),
                                       (1.0, mix(colour, (160, 60, 0), 0.5))])
    _finish(cv, mask, paint, (120, 60, 0), s)


def toolbox(cv: Canvas, x, y, s, colour=(220, 60, 50)):
    """A tool case with a handle: the collection of further tools."""
    b = _Box(x, y, s)
    handle = cv.subtract(cv.rrect(b.rect(0.30, 0.10, 0.70, 0.40), s * 0.08),
                         cv.rrect(b.rect(0.38, 0.18, 0.62, 0.40), s * 0.04))
    case = cv.rrect(b.rect(0.04, 0.30, 0.96, 0.90), s * 0.08)
    mask = Canvas.union(handle, case)
    paint = vgrad(b.v(0.1), b.v(0.9), [(0.0, mix(colour, (255, 255, 255), 0.35)),
                                       (1.0, mix(colour, (0, 0, 0), 0.25))])
    _finish(cv, mask, paint, mix(colour, (0, 0, 0), 0.7), s)
    cv.fill(cv.rrect(b.rect(0.04, 0.52, 0.96, 0.58), 0), mix(colour, (0, 0, 0), 0.45))
    cv.fill(cv.rrect(b.rect(0.42, 0.46, 0.58, 0.64), s * 0.03), (240, 240, 245))


# Emblem of each product family, used by the icons and by the launcher's large buttons.
EMBLEMS = {
    "suite": star,
    "burn": flame,
    "video": film,
    "audio": note,
    "data": folder,
    "copy": arrows,
    "tools": gear,
    "toolbox": toolbox,
}
