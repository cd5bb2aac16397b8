"""Supersampled vector painting on top of Pillow.

A Canvas holds an RGBA picture drawn at SCALE times its final size; all coordinates are given in
final (logical) pixels as floats. Shapes are masks, paints are a solid colour or a gradient object
that renders only the part a mask covers, so large canvases stay cheap. `result()` downsamples
with premultiplied alpha, which keeps edges free of dark or coloured fringes.
"""

import math

from PIL import Image, ImageChops, ImageDraw, ImageFilter

SCALE = 4


def mix(c1, c2, t):
    """Colour between c1 (t = 0) and c2 (t = 1); tuples of equal length."""
    t = min(1.0, max(0.0, t))
    return tuple(int(round(a + (b - a) * t)) for a, b in zip(c1, c2))


def lighten(c, t):
    return mix(c[:3], (255, 255, 255), t)


def darken(c, t):
    return mix(c[:3], (0, 0, 0), t)


def _stop_colour(stops, t):
    """Colour at t of a gradient given as [(position, colour), ...] sorted by position."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0) if p1 > p0 else 1.0)
    return stops[-1][1]


def _rgba(c):
    return tuple(c) + (255,) if len(c) == 3 else tuple(c)


class VerticalGradient:
    """Gradient from logical y = a (position 0) to y = b (position 1), constant beyond."""

    _columns = {}  # the same faces recur in many frames; their columns are computed once

    def __init__(self, a, b, stops):
        self.a, self.b, self.stops = a, b, tuple((p, _rgba(c)) for p, c in stops)

    def render(self, box, scale):
        x0, y0, x1, y1 = box
        key = (self.a, self.b, self.stops, y0, y1, scale)
        strip = self._columns.get(key)
        if strip is None:
            span = max(1e-6, (self.b - self.a) * scale)
            strip = Image.new("RGBA", (1, y1 - y0))
            strip.putdata([_stop_colour(self.stops, ((y + 0.5) - self.a * scale) / span)
                           for y in range(y0, y1)])
            self._columns[key] = strip
        return strip.resize((x1 - x0, y1 - y0), Image.NEAREST)


def vgrad(y0, y1, stops):
    return VerticalGradient(y0, y1, stops)


_RADIAL_CACHE = {}


def _unit_radial():
    """512 x 512 map of distance from the centre, 0 at the centre to 255 at the inscribed circle."""
    if "r" not in _RADIAL_CACHE:
        n = 512
        half = n / 2
        data = bytearray(n * n)
        for y in range(n):
            dy = (y + 0.5 - half) / half
            row = y * n
            for x in range(n):
                dx = (x + 0.5 - half) / half
                data[row + x] = min(255, int(math.sqrt(dx * dx + dy * dy) * 255))
        _RADIAL_CACHE["r"] = Image.frombytes("L", (n, n), bytes(data))
    return _RADIAL_CACHE["r"]


class RadialGradient:
    """Elliptic gradient: stops run from the centre (0) to the ellipse (1) and stay beyond it."""

    def __init__(self, cx, cy, rx, ry, stops):
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry
        self.stops = [(p, _rgba(c)) for p, c in stops]

    def render(self, box, scale):
        x0, y0, x1, y1 = box
        w, h = x1 - x0, y1 - y0
        # Distance map placed so that its inscribed circle matches the ellipse; areas beyond the
        # map's reach take the last stop.
        ew, eh = max(1, int(self.rx * 2 * scale)), max(1, int(self.ry * 2 * scale))
        dist = Image.new("L", (w, h), 255)
        dist.paste(_unit_radial().resize((ew, eh), Image.BILINEAR),
                   (int(self.cx * scale - ew / 2) - x0, int(self.cy * scale - eh / 2) - y0))
        lut = [_stop_colour(self.stops, v / 255.0) for v in range(256)]
        return Image.merge("RGBA", [dist.point([lut[v][k] for v in range(256)]) for k in range(4)])


def radial(cx, cy, rx, ry, stops):
    return RadialGradient(cx, cy, rx, ry, stops)


class PicturePaint:
    """An RGB(A) picture stretched over a logical box; outside the box it is transparent."""

    def __init__(self, image, box):
        self.image, self.box = image.convert("RGBA"), box

    def render(self, box, scale):
        bx0, by0, bx1, by1 = [int(round(v * scale)) for v in self.box]
        out = Image.new("RGBA", (box[2] - box[0], box[3] - box[1]), (0, 0, 0, 0))
        big = self.image.resize((max(1, bx1 - bx0), max(1, by1 - by0)), Image.BICUBIC)
        out.paste(big, (bx0 - box[0], by0 - box[1]))
        return out


class Canvas:
    """RGBA drawing surface of logical size w x h, stored at `scale` times that size."""

    def __init__(self, w, h, scale=SCALE, background=(0, 0, 0, 0)):
        self.w, self.h, self.s = w, h, scale
        self.img = Image.new("RGBA", (w * scale, h * scale), _rgba(background))

    # -- masks -------------------------------------------------------------------------------
    def _xy(self, box):
        return [v * self.s for v in box]

    def blank(self):
        return Image.new("L", self.img.size, 0)

    def rrect(self, box, radius, mask=None):
        m = mask or self.blank()
        x0, y0, x1, y1 = self._xy(box)
        r = max(0.0, min(radius * self.s, (x1 - x0) / 2, (y1 - y0) / 2))
        ImageDraw.Draw(m).rounded_rectangle((x0, y0, x1 - 1, y1 - 1), radius=r, fill=255)
        return m

    def ellipse(self, box, mask=None):
        m = mask or self.blank()
        x0, y0, x1, y1 = self._xy(box)
        ImageDraw.Draw(m).ellipse((x0, y0, x1 - 1, y1 - 1), fill=255)
        return m

    def polygon(self, points, mask=None):
        m = mask or self.blank()
        ImageDraw.Draw(m).polygon([(x * self.s, y * self.s) for x, y in points], fill=255)
        return m

    def line(self, points, width, mask=None, round_caps=True):
        m = mask or self.blank()
        pts = [(x * self.s, y * self.s) for x, y in points]
        d = ImageDraw.Draw(m)
        d.line(pts, fill=255, width=max(1, int(round(width * self.s))), joint="curve")
        if round_caps:
            r = width * self.s / 2
            for x, y in (pts[0], pts[-1]):
                d.ellipse((x - r, y - r, x + r, y + r), fill=255)
        return m

    def text(self, xy, text, font_at_scale, anchor="la", mask=None):
        """Text mask; `font_at_scale` must be a font sized for the supersampled surface."""
        m = mask or self.blank()
        ImageDraw.Draw(m).text((xy[0] * self.s, xy[1] * self.s), text, font=font_at_scale,
                               fill=255, anchor=anchor)
        return m

    # -- mask algebra ------------------------------------------------------------------------
    @staticmethod
    def union(*masks):
        out = masks[0]
        for m in masks[1:]:
            out = ImageChops.lighter(out, m)
        return out

    @staticmethod
    def intersect(a, b):
        return ImageChops.multiply(a, b)

    @staticmethod
    def subtract(a, b):
        return ImageChops.subtract(a, b)

    def blur(self, mask, radius):
        r = radius * self.s
        box = mask.getbbox()
        if box is None:
            return mask
        # Blur only the covered part plus the blur's reach, not the whole canvas.
        m = int(r * 3) + 2
        box = (max(0, box[0] - m), max(0, box[1] - m), min(mask.width, box[2] + m),
               min(mask.height, box[3] + m))
        out = Image.new("L", mask.size, 0)
        out.paste(mask.crop(box).filter(ImageFilter.GaussianBlur(r)), box[:2])
        return out

    def shift(self, mask, dx, dy):
        return ImageChops.offset(mask, int(round(dx * self.s)), int(round(dy * self.s)))

    def grow(self, mask, amount):
        """Dilate (amount > 0) or erode (amount < 0) a mask by about `amount` logical pixels."""
        reach = int(abs(amount) * self.s)
        box = mask.getbbox()
        if reach < 1 or box is None:
            return mask
        # A box blur is 255 only where the whole neighbourhood is covered and above 0 wherever
        # any of it is, so thresholding it erodes or dilates at a cost independent of the reach
        # (rank filters are far too slow for whole windows). The ramp keeps edges smooth.
        # The work area is padded with uncovered pixels, because the blur repeats the outermost
        # pixels of an image and a shape touching the edge would otherwise not erode there.
        m = reach + 2
        work = Image.new("L", (box[2] - box[0] + 2 * m, box[3] - box[1] + 2 * m), 0)
        work.paste(mask.crop(box), (m, m))
        blurred = work.filter(ImageFilter.BoxBlur(reach))
        if amount > 0:
            lut = [min(255, v * 255 // 48) for v in range(256)]
        else:
            lut = [max(0, (v - 207) * 255 // 48) for v in range(256)]
        out = Image.new("L", mask.size, 0)
        out.paste(blurred.point(lut), (box[0] - m, box[1] - m))
        return out

    # -- painting ----------------------------------------------------------------------------
    def fill(self, mask, paint, opacity=1.0):
        """Composite `paint` (a colour or gradient) over the canvas where `mask` covers it."""
        box = mask.getbbox()
        if box is None or opacity <= 0:
            return
        m = mask.crop(box)
        if isinstance(paint, tuple):
            layer = Image.new("RGBA", m.size, _rgba(paint))
        else:
            layer = paint.render(box, self.s)
        alpha = ImageChops.multiply(layer.getchannel("A"), m)
        if opacity < 1.0:
            alpha = alpha.point(lambda v: int(v * opacity + 0.5))
        layer.putalpha(alpha)
        self.img.alpha_composite(layer, dest=box[:2])

    def shadow(self, mask, dx=0.0, dy=1.0, blur=1.5, colour=(0, 0, 0), opacity=0.4):
        self.fill(self.blur(self.shift(mask, dx, dy), blur), colour, opacity)

    def glow(self, mask, blur, colour, opacity, within=None):
        halo = self.blur(mask, blur)
        self.fill(halo if within is None else self.intersect(halo, within), colour, opacity)

    def stroke_inside(self, mask, width, paint, opacity=1.0):
        """Band of `width` logical pixels along the inner edge of a mask."""
        inner = self.grow(mask, -width)
        self.fill(ImageChops.subtract(mask, inner), paint, opacity)

    def punch(self, mask):
        """Make the canvas see-through where `mask` covers it."""
        alpha = ImageChops.subtract(self.img.getchannel("A"), mask)
        self.img.putalpha(alpha)

    def layer(self, other, xy):
        """Composite another canvas of the same scale with its top-left at logical point xy."""
        assert other.s == self.s
        self.img.alpha_composite(other.img, dest=(int(round(xy[0] * self.s)),
                                                  int(round(xy[1] * self.s))))

    def result(self):
        """Downsampled RGBA picture at logical size."""
        small = self.img.convert("RGBa").resize((self.w, self.h), Image.LANCZOS)
        return small.convert("RGBA")


def flatten(rgba, background):
    """Opaque RGB picture: `rgba` composited over a colour or an RGB picture of the same size."""
    if isinstance(background, tuple):
        base = Image.new("RGBA", rgba.size, _rgba(background))
    else:
        base = background.convert("RGBA")
    base.alpha_composite(rgba)
    return base.convert("RGB")


KEY = (255, 0, 255)


def flatten_keyed(rgba, edge_colour, threshold=128):
    """Opaque picture whose see-through part is pure fuchsia.

    Pixels at least `threshold` opaque are blended over `edge_colour` (never toward fuchsia, so no
    pinkish fringe survives when the key colour is cut out); the rest become the key colour.
    """
    solid = flatten(rgba, edge_colour)
    keep = rgba.getchannel("A").point(lambda v: 255 if v >= threshold else 0)
    out = Image.new("RGB", rgba.size, KEY)
    out.paste(solid, (0, 0), keep)
    return out


def cubic(p0, p1, p2, p3, steps=24):
    """Points of a cubic Bezier curve, p0 included, p3 included."""
    pts = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        pts.append((u ** 3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t ** 3 * p3[0],
                    u ** 3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t ** 3 * p3[1]))
    return pts


def path(start, *segments):
    """Polygon from a start point and cubic segments given as (control1, control2, end)."""
    pts = [start]
    cur = start
    for c1, c2, end in segments:
        pts.extend(cubic(cur, c1, c2, end)[1:])
        cur = end
    return pts
