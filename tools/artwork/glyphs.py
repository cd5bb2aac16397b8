"""Small pictograms of window and control buttons: close, minimise, maximise, arrows, marks."""

import fonts
from paint import Canvas


def glyph_mask(cv: Canvas, kind, cx, cy, size):
    """Mask of pictogram `kind` centred on (cx, cy) within a square of `size` logical pixels.

    Straight strokes are one or two whole pixels wide and sit on pixel edges so that they come out
    sharp after downsampling.
    """
    half = size / 2
    x0, y0, x1, y1 = cx - half, cy - half, cx + half, cy + half
    t = max(1, round(size / 6))  # stroke width
    if kind == "close":
        d = size * 0.36
        return cv.union(cv.line([(cx - d, cy - d), (cx + d, cy + d)], t * 1.05, round_caps=False),
                        cv.line([(cx - d, cy + d), (cx + d, cy - d)], t * 1.05, round_caps=False))
    if kind == "min":
        return cv.rrect((round(x0 + size * 0.15), round(y1 - t - size * 0.12),
                         round(x1 - size * 0.15), round(y1 - size * 0.12)), 0)
    if kind == "dash":
        return cv.rrect((round(x0 + size * 0.15), round(cy - t / 2), round(x1 - size * 0.15),
                         round(cy - t / 2) + t), 0)
    if kind == "max":
        outer = (round(x0 + size * 0.12), round(y0 + size * 0.12), round(x1 - size * 0.12),
                 round(y1 - size * 0.12))
        return _frame(cv, outer, 1, t + 1)
    if kind == "restore":
        off = max(2, round(size * 0.22))
        back = (round(x0 + size * 0.12) + off, round(y0 + size * 0.12), round(x1 - size * 0.12),
                round(y1 - size * 0.12) - off)
        front = (round(x0 + size * 0.12), round(y0 + size * 0.12) + off,
                 round(x1 - size * 0.12) - off, round(y1 - size * 0.12))
        front_area = cv.rrect(front, 0)
        return cv.union(cv.subtract(_frame(cv, back, 1, t), front_area), _frame(cv, front, 1, t + 1))
    if kind == "menu":
        bar = max(1, round(size / 9))
        gap = max(bar + 1, round(size * 0.26))
        top = round(cy - bar / 2) - gap
        bars = [cv.rrect((round(x0 + size * 0.15), top + i * gap, round(x1 - size * 0.15),
                          top + i * gap + bar), 0) for i in range(3)]
        return cv.union(*bars)
    if kind in ("help", "info"):
        text = "?" if kind == "help" else "i"
        f = fonts.font(fonts.SANS_BOLD, max(4, int(size * 1.05 * cv.s)))
        return cv.text((cx, cy + size * 0.04), text, f, anchor="mm")
    if kind in ("up", "down", "left", "right"):
        return cv.polygon(_arrow(kind, cx, cy, size))
    if kind == "check":
        return cv.line([(x0 + size * 0.12, cy + size * 0.02), (cx - size * 0.1, y1 - size * 0.18),
                        (x1 - size * 0.1, y0 + size * 0.15)], max(1.5, size * 0.2))
    if kind == "dot":
        r = size * 0.25
        return cv.ellipse((cx - r, cy - r, cx + r, cy + r))
    raise ValueError(f"unknown glyph {kind}")


def _frame(cv, box, side, top):
    """Outline of a window rectangle: `side` pixels at left, right and bottom, `top` at the top."""
    x0, y0, x1, y1 = box
    return cv.subtract(cv.rrect(box, 0), cv.rrect((x0 + side, y0 + top, x1 - side, y1 - side), 0))


def _arrow(kind, cx, cy, size):
    a = size * 0.32
    b = size * 0.18
    if kind == "up":
        return [(cx - a, cy + b), (cx + a, cy + b), (cx, cy - b)]
    if kind == "down":
        return [(cx - a, cy - b), (cx + a, cy - b), (cx, cy + b)]
    if kind == "left":
        return [(cx + b, cy - a), (cx + b, cy + a), (cx - b, cy)]
    return [(cx - b, cy - a), (cx - b, cy + a), (cx + b, cy)]
