"""The shiny optical disc that the icons and the launcher skins are built around."""

import colorsys
import math

from PIL import Image

from paint import Canvas, PicturePaint, mix, radial

_ANGLE_CACHE = {}


def _angle_map():
    """512 x 512 map of the angle around the centre, 0..255 for 0..360 degrees."""
    if "a" not in _ANGLE_CACHE:
        n = 512
        half = n / 2
        data = bytearray(n * n)
        for y in range(n):
            dy = y + 0.5 - half
            row = y * n
            for x in range(n):
                a = math.atan2(dy, x + 0.5 - half)
                data[row + x] = int((a / (2 * math.pi)) % 1.0 * 256) % 256
        _ANGLE_CACHE["a"] = Image.frombytes("L", (n, n), bytes(data))
    return _ANGLE_CACHE["a"]


def _sheen_colour(t, base, streaks):
    """Colour of the recorded surface at angle t (0..1).

    Light falls from the upper left, so two opposite sectors shine; inside them thin rainbow bands
    give the iridescence of a pressed disc.
    """
    a = t * 2 * math.pi
    light = 0.5 + 0.5 * math.cos(2 * (a - math.radians(225)))
    shine = light ** 3
    hue = (t * streaks) % 1.0
    r, g, b = colorsys.hsv_to_rgb(hue, 0.55, 1.0)
    rainbow = (r * 255, g * 255, b * 255)
    dark = mix(base, (90, 100, 120), 0.45)
    c = mix(dark, base, light)
    c = mix(c, rainbow, 0.55 * shine)
    return mix(c, (255, 255, 255), 0.35 * shine ** 4)


_SHEEN_CACHE = {}


def sheen_picture(base=(196, 204, 218), streaks=6):
    key = (base, streaks)
    if key not in _SHEEN_CACHE:
        lut = [_sheen_colour(v / 256.0, base, streaks) for v in range(256)]
        angle = _angle_map()
        bands = [angle.point([lut[v][k] for v in range(256)]) for k in range(3)]
        _SHEEN_CACHE[key] = Image.merge("RGB", bands)
    return _SHEEN_CACHE[key]


def draw_disc(cv: Canvas, cx, cy, r, hub=(120, 170, 230), detail=True, shadow=True,
              base=(196, 204, 218)):
    """Disc of radius r centred at (cx, cy): rim, iridescent surface, clear hub, punched hole.

    `detail` adds the finer rings that only pay off at 32 pixels and up.
    """
    outer = cv.ellipse((cx - r, cy - r, cx + r, cy + r))
    if shadow:
        cv.shadow(outer, dx=r * 0.03, dy=r * 0.06, blur=max(0.6, r * 0.06), opacity=0.45)
    cv.fill(outer, (84, 92, 108))
    rim = max(0.5, r * 0.035)
    surface = cv.ellipse((cx - r + rim, cy - r + rim, cx + r - rim, cy + r - rim))
    cv.fill(surface, PicturePaint(sheen_picture(base), (cx - r, cy - r, cx + r, cy + r)))
    # Soft darkening toward the centre and a broad highlight from the upper left.
    cv.fill(surface, radial(cx, cy, r, r, [(0.0, (40, 50, 70, 90)), (0.45, (40, 50, 70, 0)),
                                            (1.0, (40, 50, 70, 0))]))
    cv.fill(surface, radial(cx - r * 0.35, cy - r * 0.45, r * 0.9, r * 0.7,
                            [(0.0, (255, 255, 255, 120)), (1.0, (255, 255, 255, 0))]))
    if detail:
        edge = cv.subtract(surface, cv.grow(surface, -max(0.5, r * 0.04)))
        cv.fill(edge, (255, 255, 255), 0.35)
    hub_r = r * 0.36
    hub_mask = cv.ellipse((cx - hub_r, cy - hub_r, cx + hub_r, cy + hub_r))
    cv.fill(hub_mask, radial(cx, cy, hub_r, hub_r, [(0.0, mix(hub, (255, 255, 255), 0.55)),
                                                     (0.7, mix(hub, (255, 255, 255), 0.3)),
                                                     (1.0, mix(hub, (60, 70, 90), 0.2))]))
    if detail:
        ring_r = r * 0.27
        ring = cv.subtract(cv.ellipse((cx - ring_r, cy - ring_r, cx + ring_r, cy + ring_r)),
                           cv.ellipse((cx - ring_r * 0.86, cy - ring_r * 0.86,
                                       cx + ring_r * 0.86, cy + ring_r * 0.86)))
        cv.fill(ring, (255, 255, 255), 0.55)
        cv.stroke_inside(hub_mask, max(0.5, r * 0.025), (60, 70, 90), 0.45)
    hole_r = r * 0.13
    hole = cv.ellipse((cx - hole_r, cy - hole_r, cx + hole_r, cy + hole_r))
    lip = cv.ellipse((cx - hole_r * 1.35, cy - hole_r * 1.35, cx + hole_r * 1.35, cy + hole_r * 1.35))
    cv.fill(lip, (110, 120, 138), 0.8)
    cv.punch(hole)
