"""Tests of the artwork generator.

Run: /usr/bin/python3 -m unittest discover -s tools/artwork -p 'test_*.py'
"""

import io
import os
import struct
import subprocess
import sys
import tempfile
import unittest

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import fonts  # noqa: E402
import generate  # noqa: E402
import paint  # noqa: E402
import rcfiles  # noqa: E402
import style_catalog  # noqa: E402
import winformats  # noqa: E402
from skin_parts import BUTTONS, file_names  # noqa: E402

KEY = (255, 0, 255)
STYLES = ("MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS")

# Sizes the skin library relies on, written out here independently of the generator's tables.
FIXED_SIZES = {
    "MACOS_BUTTON": (252, 23), "WINXP_BUTTON": (54, 21), "DEEPBLUE_BUTTON": (222, 21),
    "PROTEIN_BUTTON": (222, 21), "BLUEGLASS_BUTTON": (231, 27),
    "MACOS_TITLEBTN": (306, 17), "WINXP_TITLEBTN": (378, 21), "DEEPBLUE_TITLEBTN": (342, 19),
    "PROTEIN_TITLEBTN": (342, 19), "BLUEGLASS_TITLEBTN": (342, 19),
    "MACOS_TITLE_LEFT": (48, 23), "MACOS_TITLE_CLIENT": (49, 23), "MACOS_TITLE_RIGHT": (48, 23),
    "WINXP_TITLE_LEFT": (35, 29), "WINXP_TITLE_CLIENT": (37, 29), "WINXP_TITLE_RIGHT": (35, 29),
    "DEEPBLUE_TITLE_LEFT": (97, 32), "DEEPBLUE_TITLE_CLIENT": (98, 32),
    "DEEPBLUE_TITLE_RIGHT": (97, 32),
    "PROTEIN_TITLE_LEFT": (441, 23), "PROTEIN_TITLE_CLIENT": (1, 23), "PROTEIN_TITLE_RIGHT": (1, 23),
    "BLUEGLASS_TITLE_LEFT": (162, 33), "BLUEGLASS_TITLE_CLIENT": (179, 33),
    "BLUEGLASS_TITLE_RIGHT": (101, 33),
    "MACOS_MENU_BAR": (1, 22), "MACOS_MENU_SELECT": (1, 21), "MACOS_FORM_BACKGROUND": (8, 8),
    "PROTEIN_FORM_BACKGROUND": (8, 8), "MENU_CHECKED": (16, 16),
}

DEFAULT_LAYOUT = {"min": (372, 7, 29, 19), "close": (399, 7, 30, 19), "data": (20, 40, 99, 108),
                  "video": (121, 40, 99, 108), "audio": (225, 40, 99, 108),
                  "moretools": (323, 40, 99, 108), "help": (30, 182, 82, 33),
                  "about": (112, 182, 79, 33), "home": (191, 182, 78, 33),
                  "more": (269, 182, 139, 33)}
ALT_POSITIONS = {"min": (481, 10), "close": (533, 11), "data": (446, 41), "video": (251, 294),
                 "audio": (406, 216), "moretools": (49, 299), "help": (501, 11),
                 "about": (516, 11), "home": (9, 8), "more": (446, 401)}


def run_generator(outdir, hash_seed):
    env = dict(os.environ, PYTHONHASHSEED=str(hash_seed))
    subprocess.run([sys.executable, os.path.join(HERE, "generate.py"), outdir], check=True,
                   env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def read_tree(root):
    out = {}
    for folder, _, files in os.walk(root):
        for name in files:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                out[os.path.relpath(path, root)] = f.read()
    return out


def parse_ico(data):
    """[(width, height, bit count, XOR rows, AND rows)] read straight from the ICO bytes."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert (reserved, kind) == (0, 1)
    images = []
    for i in range(count):
        w, h, _, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        header = struct.unpack_from("<IiiHHIIiiII", data, offset)
        assert header[0] == 40, "image is not a BITMAPINFOHEADER DIB"
        assert header[1] == w and header[2] == 2 * h and header[4] == bits == 24
        xor_stride = (w * 3 + 3) // 4 * 4
        and_stride = (w + 31) // 32 * 4
        assert size == 40 + h * (xor_stride + and_stride)
        xor = data[offset + 40:offset + 40 + h * xor_stride]
        mask = data[offset + 40 + h * xor_stride:offset + size]
        images.append((w, h, bits, xor, mask))
    return images


class WriterTest(unittest.TestCase):
    def test_bmp_rows_are_padded_bottom_up_and_decode_exactly(self):
        for w, h in ((1, 1), (3, 2), (5, 3), (4, 4)):
            img = Image.new("RGB", (w, h))
            img.putdata([(x * 40 % 256, y * 70 % 256, (x + y) * 25 % 256)
                         for y in range(h) for x in range(w)])
            data = winformats.bmp24_bytes(img)
            file_size, offset = struct.unpack_from("<I", data, 2)[0], struct.unpack_from("<I", data, 10)[0]
            self.assertEqual(file_size, len(data))
            self.assertEqual(offset, 54)
            self.assertEqual(struct.unpack_from("<iiHH", data, 18), (w, h, 1, 24))
            self.assertEqual(len(data) - 54, h * ((w * 3 + 3) // 4 * 4))
            self.assertEqual(list(Image.open(io.BytesIO(data)).convert("RGB").getdata()),
                             list(img.getdata()))

    def test_ico_mask_marks_see_through_pixels_and_blanks_their_colour(self):
        img = Image.new("RGBA", (17, 17), (200, 100, 50, 255))
        img.putpixel((0, 0), (10, 20, 30, 0))
        img.putpixel((16, 16), (10, 20, 30, 127))
        img.putpixel((8, 8), (10, 20, 30, 128))
        (w, h, bits, xor, mask), = parse_ico(winformats.ico_bytes([img]))
        self.assertEqual((w, h, bits), (17, 17, 24))
        stride, and_stride = (17 * 3 + 3) // 4 * 4, 4

        def masked(x, y):
            row = mask[(h - 1 - y) * and_stride:]
            return bool(row[x >> 3] & (0x80 >> (x & 7)))

        def colour(x, y):
            p = (h - 1 - y) * stride + 3 * x
            return tuple(xor[p:p + 3][::-1])
        self.assertTrue(masked(0, 0) and masked(16, 16))
        self.assertFalse(masked(8, 8) or masked(1, 0))
        self.assertEqual(colour(0, 0), (0, 0, 0))
        self.assertEqual(colour(8, 8), (10, 20, 30))
        self.assertEqual(colour(1, 0), (200, 100, 50))


class PaintTest(unittest.TestCase):
    def test_inner_outline_runs_along_every_side_also_at_the_canvas_edge(self):
        cv = paint.Canvas(12, 10)
        cv.fill(cv.rrect((0, 0, 12, 10), 0), (255, 255, 255))
        cv.stroke_inside(cv.rrect((0, 0, 12, 10), 0), 1, (0, 0, 0))
        img = paint.flatten(cv.result(), (128, 128, 128))
        for p in ((6, 0), (6, 9), (0, 5), (11, 5)):
            self.assertLess(sum(img.getpixel(p)), 200, p)
        self.assertGreater(sum(img.getpixel((6, 5))), 700)

    def test_keyed_flattening_cuts_faint_pixels_and_never_blends_toward_the_key(self):
        rgba = Image.new("RGBA", (3, 1))
        rgba.putdata([(255, 0, 255, 10), (250, 10, 250, 130), (20, 40, 60, 255)])
        out = list(paint.flatten_keyed(rgba, (0, 0, 0)).getdata())
        self.assertEqual(out[0], KEY)
        self.assertLess(out[1][0], 140)  # half-covered edge pixel mixed with the edge colour
        self.assertEqual(out[2], (20, 40, 60))


class GeneratedArtworkTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.out = cls.tmp.name
        run_generator(cls.out, 1)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def open(self, *parts):
        img = Image.open(os.path.join(self.out, *parts))
        self.assertEqual(img.format, "BMP")
        self.assertEqual(img.mode, "RGB")
        return img.convert("RGB")

    def test_same_bytes_on_every_run(self):
        with tempfile.TemporaryDirectory() as second:
            run_generator(second, 2)
            self.assertEqual(read_tree(self.out), read_tree(second))

    def test_no_temporary_files_are_left(self):
        self.assertEqual([p for p in read_tree(self.out) if p.endswith(".tmp")], [])

    def test_icon_groups_hold_24_bit_dibs_of_the_required_sizes(self):
        expected = {f"A{i}": [64, 48, 32, 24, 16] for i in range(7)}
        expected["A3"] = [64, 48, 32, 16]
        expected["A6"] = [48, 32, 24, 16]
        for name, sizes in expected.items():
            with open(os.path.join(self.out, "icons", f"{name}.ico"), "rb") as f:
                images = parse_ico(f.read())
            self.assertEqual([w for w, *_ in images], sizes, name)
            for w, h, bits, xor, mask in images:
                self.assertEqual(w, h)
                stride = (w + 31) // 32 * 4
                clear = sum(1 for y in range(h) for x in range(w)
                            if mask[y * stride + (x >> 3)] & (0x80 >> (x & 7)))
                self.assertTrue(0.05 < clear / (w * h) < 0.6, f"{name} {w}: see-through part")

    def test_icons_differ_from_each_other(self):
        pictures = set()
        for i in range(7):
            with open(os.path.join(self.out, "icons", f"A{i}.ico"), "rb") as f:
                pictures.add(parse_ico(f.read())[-1][3])
        self.assertEqual(len(pictures), 7)

    def test_every_style_bitmap_exists_with_its_fixed_size(self):
        names = set(style_catalog.names())
        for prefix in STYLES:
            for element in ("BUTTON", "TITLEBTN", "TITLE_LEFT", "TITLE_CLIENT", "TITLE_RIGHT",
                            "CHECKBOX", "RADIOBUTTON", "PROGRESSBAR", "TRACKBAR_BAR",
                            "TRACKBAR_SLIDER", "TRACKBAR_SLIDER_V", "SCROLLBAR_BUTTON",
                            "SCROLLBAR_TRACK", "CHECKLIST", "TAB", "TAB_LINE",
                            "SIDECHENNEL_HANDLE", "SIDECHENNEL_BAR"):
                self.assertIn(f"{prefix}_{element}", names)
        for name in ("MACOS_SCROLLBUTTON", "WINXP_SCROLLBUTTON", "MORE_SCROLLBUTTON",
                     "MACOS_COMBOBOX_BUTTON", "WINXP_COMBOBOX_BUTTON"):
            self.assertIn(name, names)
        for name in names:
            img = self.open("styles", f"{name}.bmp")
            if name in FIXED_SIZES:
                self.assertEqual(img.size, FIXED_SIZES[name], name)

    def test_button_frames_have_the_key_colour_at_their_top_left(self):
        for prefix in STYLES:
            img = self.open("styles", f"{prefix}_BUTTON.bmp")
            w = img.width // 3
            for k in range(3):
                x = img.width - w if k == 2 else k * w  # frame cut of a three-frame strip
                self.assertEqual(img.getpixel((x, 0)), KEY, f"{prefix} frame {k + 1}")

    def test_title_buttons_are_keyed_only_where_drawn_see_through(self):
        for prefix in STYLES:
            img = self.open("styles", f"{prefix}_TITLEBTN.bmp")
            n = img.width // 18
            self.assertEqual(n, img.height)
            keyed = KEY in {c for _, c in img.getcolors(1 << 16)}
            if prefix in ("PROTEIN", "BLUEGLASS"):
                for k in range(18):
                    self.assertEqual(img.getpixel((k * n, 0)), KEY)
                    self.assertEqual(img.getpixel((k * n, n - 1)), KEY)
            else:
                # Drawn opaque: the corners must show the title bar, never pink.
                self.assertFalse(keyed, prefix)

    def test_title_sections_meet_without_seams(self):
        for prefix in STYLES:
            left, client, right = (self.open("styles", f"{prefix}_TITLE_{part}.bmp")
                                   for part in ("LEFT", "CLIENT", "RIGHT"))
            column = [client.getpixel((client.width // 2, y)) for y in range(client.height)]
            # A one-pixel right section is nothing but the frame's outer edge.
            joins = [(left, left.width - 1)] + ([(right, 0)] if right.width > 1 else [])
            for img, x in joins:
                edge = [img.getpixel((x, y)) for y in range(img.height)]
                worst = max(abs(a - b) for p, q in zip(edge, column) for a, b in zip(p, q))
                self.assertLessEqual(worst, 8, prefix)

    def test_opaque_title_buttons_carry_the_bar_behind_them(self):
        tops = {"MACOS": 4, "WINXP": 5, "DEEPBLUE": 2}  # the buttons' top inside the bar
        for prefix, top in tops.items():
            buttons = self.open("styles", f"{prefix}_TITLEBTN.bmp")
            client = self.open("styles", f"{prefix}_TITLE_CLIENT.bmp")
            n = buttons.height
            for k in range(18):
                a, b = buttons.getpixel((k * n, 0)), client.getpixel((0, top))
                self.assertLessEqual(max(abs(u - v) for u, v in zip(a, b)), 12, f"{prefix} {k}")

    def test_the_eighteen_title_button_frames_are_all_different(self):
        for prefix in STYLES:
            img = self.open("styles", f"{prefix}_TITLEBTN.bmp")
            n = img.height
            frames = {img.crop((k * n, 0, (k + 1) * n, n)).tobytes() for k in range(18)}
            self.assertEqual(len(frames), 18, prefix)

    def test_check_mark_is_dark_on_white(self):
        img = self.open("styles", "MENU_CHECKED.bmp")
        self.assertEqual(img.getpixel((0, 0)), (255, 255, 255))
        self.assertLess(sum(img.getpixel((6, 9))), 150)

    def test_skin_folders_hold_the_31_files(self):
        for folder in ("burnerRes", "burnerRes2"):
            self.assertEqual(sorted(os.listdir(os.path.join(self.out, "skins", folder))),
                             sorted(file_names()))

    def _check_outline(self, main):
        """Corners are cut away, and nothing close to fuchsia is left inside the window."""
        w, h = main.size
        for corner in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
            self.assertEqual(main.getpixel(corner), KEY)
        pinkish = [c for _, c in main.getcolors(1 << 20)
                   if c != KEY and c[0] > 180 and c[2] > 180 and c[1] < 120]
        self.assertEqual(pinkish, [])
        # The window region steps at whole pixels; only a dark rim keeps the steps from showing.
        px = main.load()
        light_edge = [(x, y) for y in range(h) for x in range(w) if px[x, y] != KEY
                      and any(not (0 <= u < w and 0 <= v < h) or px[u, v] == KEY
                              for u, v in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)))
                      and sum(px[x, y]) / 3 > 60]
        self.assertEqual(light_edge[:5], [])

    def _check_buttons(self, folder, main, positions):
        for _, stem in BUTTONS:
            pictures = [self.open("skins", folder, f"{stem}{i}.bmp") for i in (1, 2, 3)]
            self.assertEqual(len({p.size for p in pictures}), 1, stem)
            self.assertEqual(len({p.tobytes() for p in pictures}), 3, f"{stem}: states alike")
            x, y = positions[stem]
            for p in pictures:
                self.assertNotIn(KEY, {c for _, c in p.getcolors(1 << 16)}, stem)
            # Drawn opaque over main.bmp, a picture must continue what main.bmp shows around it,
            # and a lit button's glow must fade out before the picture's edge.
            w, h = pictures[0].size
            behind = main.crop((x, y, x + w, y + h))
            self.assertLessEqual(self._border_difference(pictures[0], behind), 48, stem)
            self.assertLessEqual(self._border_difference(pictures[1], pictures[0]), 16, stem)

    @staticmethod
    def _border_difference(a, b):
        w, h = a.size
        ring = ([(x, 0) for x in range(w)] + [(x, h - 1) for x in range(w)]
                + [(0, y) for y in range(h)] + [(w - 1, y) for y in range(h)])
        return max(max(abs(u - v) for u, v in zip(a.getpixel(p), b.getpixel(p))) for p in ring)

    @staticmethod
    def _luminance(img, box):
        grey = img.crop(box).convert("L")
        values = list(grey.getdata())
        mean = sum(values) / len(values)
        return mean, max(values) - min(values)

    def test_default_skin_fits_the_default_layout(self):
        main = self.open("skins", "burnerRes", "main.bmp")
        self.assertEqual(main.size, (444, 217))
        self._check_outline(main)
        for stem, (x, y, w, h) in DEFAULT_LAYOUT.items():
            self.assertEqual(self.open("skins", "burnerRes", f"{stem}1.bmp").size, (w, h), stem)
        self._check_buttons("burnerRes", main, {k: v[:2] for k, v in DEFAULT_LAYOUT.items()})
        # The info text (dark grey with a white shadow) needs a light, plain strip.
        mean, spread = self._luminance(main, (14, 156, 430, 178))
        self.assertGreater(mean, 215)
        self.assertLess(spread, 30)

    def test_default_task_cards_are_evenly_spaced(self):
        shown = self.open("skins", "burnerRes", "main.bmp")
        for stem in ("data", "video", "audio", "moretools"):
            shown.paste(self.open("skins", "burnerRes", f"{stem}1.bmp"), DEFAULT_LAYOUT[stem][:2])
        # Along a row below the captions only the cards' side edges are darker than the shelf.
        grey = shown.convert("L")
        dark = [x for x in range(16, 428) if grey.getpixel((x, 138)) < 225]
        edges = [[dark[0]]]
        for x in dark[1:]:
            if x == edges[-1][-1] + 1:
                edges[-1].append(x)
            else:
                edges.append([x])
        self.assertEqual(len(edges), 8, edges)
        widths = {edges[i + 1][-1] - edges[i][0] for i in (0, 2, 4, 6)}
        gaps = {edges[i + 1][0] - edges[i][-1] for i in (1, 3, 5)}
        self.assertEqual(len(widths), 1, edges)
        self.assertEqual(len(gaps), 1, edges)

    def test_second_skin_fits_the_alternative_layout(self):
        main = self.open("skins", "burnerRes2", "main.bmp")
        self._check_outline(main)
        # The four small buttons in the header are targets a pointer can hit.
        for stem in ("min", "help", "about", "close"):
            w, h = self.open("skins", "burnerRes2", f"{stem}1.bmp").size
            self.assertGreaterEqual(min(w, h), 15, stem)
            self.assertGreaterEqual(h, 20, stem)
        rects = {}
        for stem, (x, y) in ALT_POSITIONS.items():
            w, h = self.open("skins", "burnerRes2", f"{stem}1.bmp").size
            rects[stem] = (x, y, x + w, y + h)
            inset = [(x + 2, y + 2), (x + w - 3, y + 2), (x + 2, y + h - 3), (x + w - 3, y + h - 3)]
            for p in inset:
                self.assertNotEqual(main.getpixel(p), KEY, f"{stem} sticks out of the window")
        for a in rects:
            for b in rects:
                if a < b:
                    ra, rb = rects[a], rects[b]
                    apart = ra[2] <= rb[0] or rb[2] <= ra[0] or ra[3] <= rb[1] or rb[3] <= ra[1]
                    self.assertTrue(apart, f"{a} overlaps {b}")
        self._check_buttons("burnerRes2", main, ALT_POSITIONS)
        # White info text is written into (184, 120, 217 x 57).
        mean, _ = self._luminance(main, (184, 120, 401, 177))
        self.assertLess(mean, 40)
        # The orbs' white captions, the one on the disc included, stand on a dark ground.
        for stem, caption in (("data", "Data Disc"), ("video", "Video Disc"),
                              ("audio", "Audio CD"), ("moretools", "More Tools")):
            picture = self.open("skins", "burnerRes2", f"{stem}1.bmp")
            box = self._caption_box(picture, caption)
            x, y = ALT_POSITIONS[stem]
            ground, _ = self._luminance(main, (x + box[0], y + box[1], x + box[2], y + box[3]))
            self.assertLess(ground, 70, stem)
        # The window holds the whole disc: nothing is cut off at its lower edge.
        w, h = main.size
        bottom = [main.getpixel((x, h - 4)) for x in range(20, w - 20)]
        self.assertNotIn(KEY, bottom)

    def _caption_box(self, picture, caption):
        """Box of the lines of near-white pixels in the lower part of an orb picture."""
        w, h = picture.size
        grey = picture.convert("L")
        rows = [y for y in range(h * 3 // 4, h) if any(grey.getpixel((x, y)) > 240 for x in range(w))]
        self.assertTrue(rows, caption)
        cols = [x for x in range(w) if any(grey.getpixel((x, y)) > 240 for y in rows)]
        return (cols[0], rows[0], cols[-1] + 1, rows[-1] + 1)

    def test_two_layouts_have_different_outlines(self):
        a = self.open("skins", "burnerRes", "main.bmp")
        b = self.open("skins", "burnerRes2", "main.bmp")
        self.assertNotEqual(a.size, b.size)


class ResourceScriptTest(unittest.TestCase):
    def test_committed_scripts_list_what_the_generator_produces(self):
        self.assertEqual(rcfiles.mismatches(generate.RESOURCES), [])

    def test_a_stale_script_is_reported(self):
        with tempfile.TemporaryDirectory() as d:
            rcfiles.write(d)
            path = os.path.join(d, "styles.rc")
            with open(path) as f:
                lines = f.read().splitlines(True)
            with open(path, "w") as f:
                f.writelines(line for line in lines if "MENU_CHECKED" not in line)
                f.write('EXTRA_THING BITMAP "styles/EXTRA_THING.bmp"\n')
            problems = rcfiles.mismatches(d)
            self.assertEqual(len(problems), 1)
            self.assertIn("missing MENU_CHECKED", problems[0])
            self.assertIn("unexpected EXTRA_THING", problems[0])

    def test_icon_script_starts_with_a0(self):
        self.assertEqual([e[0] for e in rcfiles.icon_entries()], [f"A{i}" for i in range(7)])


class FailureTest(unittest.TestCase):
    def test_an_unwritable_output_folder_is_refused_with_a_message(self):
        with tempfile.TemporaryDirectory() as d:
            blocker = os.path.join(d, "file")
            with open(blocker, "w") as f:
                f.write("not a folder")
            with self.assertRaises(SystemExit) as raised:
                generate.main([blocker])
            self.assertIn("cannot write the artwork", str(raised.exception.code))

    def test_missing_fonts_stop_before_anything_is_written(self):
        saved_dir, saved_cache = fonts.FONT_DIR, dict(fonts._CACHE)
        fonts.FONT_DIR, fonts._CACHE = "/nonexistent/fonts", {}
        try:
            with tempfile.TemporaryDirectory() as d:
                out = os.path.join(d, "art")
                with self.assertRaises(SystemExit) as raised:
                    generate.main([out])
                self.assertIn("fonts-dejavu-core", str(raised.exception.code))
                self.assertFalse(os.path.exists(out))
        finally:
            fonts.FONT_DIR, fonts._CACHE = saved_dir, saved_cache


if __name__ == "__main__":
    unittest.main()
