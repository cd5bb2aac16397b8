"""Tests of the demo skin folders and of the skin files packed from them.

Run: /usr/bin/python3 -m unittest discover -s tools/artwork -p 'test_*.py'
The packing tests need the native skintool (SKINTOOL, else build/native/bin/skintool).
"""

import os
import subprocess
import sys
import tempfile
import unittest

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, HERE)

import generate  # noqa: E402

KEY = (255, 0, 255)

# What the title bar, the form, the menus and the menu bar read from a skin, written out here
# independently of the generator.
BITMAPS = ["SKIN2_TITLEBAR1", "SKIN2_TITLEBAR2", "SKIN2_TITLEBAR3", "SKIN2_TITLEBAR4",
           "SKIN2_TITLEBAR5", "SKIN2_TITLEBUTTONS", "SKIN2_FORMLEFTBORDER", "SKIN2_FORMRIGHTBORDER",
           "SKIN2_FORMBOTTOMBORDER1", "SKIN2_FORMBOTTOMBORDER2", "SKIN2_FORMBOTTOMBORDER3"]
COLOURS = ["SKIN2_TRANSCOLOR", "SKIN2_TITLEFONTCOLOR", "SKIN2_FORMCOLOR",
           "SKIN2_MENUBARSTARTCOLOR", "SKIN2_MENUBARENDCOLOR", "SKIN2_TOPSELECTEDMENUCOLOR",
           "SKIN2_TOPSELECTEDMENUBORDERCOLOR", "SKIN2_TOPSELECTEDMENUFONTCOLOR",
           "SKIN2_TOPMENUFONTCOLOR", "SKIN2_LEFTBARSTARTCOLOR", "SKIN2_LEFTBARENDCOLOR",
           "SKIN2_MENUITEMCOLOR", "SKIN2_MENUITEMFONTCOLOR", "SKIN2_SELECTEDMENUCOLOR",
           "SKIN2_SELECTEDMENUBORDERCOLOR", "SKIN2_SELECTEDMENUFONTCOLOR"]
INTEGERS = ["SKIN2_TITLEBARICONPOSX", "SKIN2_TITLEBARICONPOSY", "SKIN2_TITLEBARCAPTIONTOP",
            "SKIN2_TITLEBARBUTTONPOSX", "SKIN2_TITLEBARBUTTONPOSY", "SKIN2_TITLEBARREGIONMINY",
            "SKIN2_TITLEBARREGIONMAXY", "SKIN2_BOTTOMREGIONMINY", "SKIN2_BOTTOMREGIONMAXY"]
BOOLEANS = ["SKIN2_TITLEFIVESECT", "SKIN2_BOTTOMBORDERTHREESECT", "SKIN2_TITLEBARNEEDREGION",
            "SKIN2_BOTTOMBORDERNEEDREGION", "SKIN2_TITLEBTNTRANS"]
KINDS = {**{k: "bitmap" for k in BITMAPS}, **{k: "color" for k in COLOURS},
         **{k: "integer" for k in INTEGERS}, **{k: "boolean" for k in BOOLEANS}}

FLAGS = {"Graphite": {"SKIN2_TITLEFIVESECT": 1, "SKIN2_BOTTOMBORDERTHREESECT": 0,
                      "SKIN2_TITLEBARNEEDREGION": 1, "SKIN2_BOTTOMBORDERNEEDREGION": 1},
         "Aqua": {"SKIN2_TITLEFIVESECT": 0, "SKIN2_BOTTOMBORDERTHREESECT": 1,
                  "SKIN2_TITLEBARNEEDREGION": 0, "SKIN2_BOTTOMBORDERNEEDREGION": 0}}
PASSWORDS = {"Graphite": None, "Aqua": "gallery"}


def read_entries(text):
    """{name: (kind, value)} of an entries.txt, values as written."""
    out = {}
    for line in text.splitlines():
        if line.strip() and not line.startswith("#"):
            kind, name, value = line.split(None, 2)
            out[name] = (kind, value)
    return out


def key_pixels(img):
    """Points of the transparent colour in a picture."""
    w = img.width
    return [(i % w, i // w) for i, p in enumerate(img.getdata()) if p == KEY]


class DemoSkinFolderTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        generate.write_demo_skins(cls.tmp.name)
        cls.entries, cls.pictures = {}, {}
        for name in FLAGS:
            folder = os.path.join(cls.tmp.name, "demo-skins", name)
            with open(os.path.join(folder, "entries.txt")) as f:
                cls.entries[name] = read_entries(f.read())
            cls.pictures[name] = {k: Image.open(os.path.join(folder, v)).convert("RGB")
                                  for k, (kind, v) in cls.entries[name].items() if kind == "bitmap"}

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def number(self, skin, key):
        return int(self.entries[skin][key][1], 0)

    def test_every_key_is_there_with_its_kind_and_nothing_else(self):
        for skin, entries in self.entries.items():
            self.assertEqual({k: kind for k, (kind, _) in entries.items()}, KINDS, skin)
            for key, value in FLAGS[skin].items():
                self.assertEqual(self.number(skin, key), value, (skin, key))
            self.assertEqual(self.number(skin, "SKIN2_TRANSCOLOR"), 0xFF00FF)
            self.assertEqual(self.number(skin, "SKIN2_TITLEBTNTRANS"), 1)

    def test_sizes_fit_the_title_bar_and_the_frame(self):
        for skin, p in self.pictures.items():
            titles = [p[f"SKIN2_TITLEBAR{i}"] for i in range(1, 6)]
            height = titles[0].height
            self.assertTrue(28 <= height <= 33, skin)
            self.assertEqual({t.height for t in titles}, {height}, skin)
            strip = p["SKIN2_TITLEBUTTONS"]
            frame = strip.width // 18
            self.assertEqual(strip.width % 18, 0, skin)
            self.assertTrue(19 <= frame <= 21 and strip.height == frame, skin)
            top = self.number(skin, "SKIN2_TITLEBARBUTTONPOSY")
            self.assertTrue(3 <= top and top + frame <= height - 2, skin)  # below the top frame
            self.assertTrue(3 <= self.number(skin, "SKIN2_TITLEBARICONPOSY") <= height - 18)
            for side in ("SKIN2_FORMLEFTBORDER", "SKIN2_FORMRIGHTBORDER"):
                self.assertTrue(4 <= p[side].width <= 6, (skin, side))
            bottoms = [p[f"SKIN2_FORMBOTTOMBORDER{i}"] for i in (1, 2, 3)]
            self.assertEqual(len({b.height for b in bottoms}), 1, skin)
            self.assertTrue(5 <= bottoms[0].height <= 8, skin)
            # The bar stretches these sections; a column that changed along them would smear.
            stretched = [titles[1], titles[3]] if self.number(skin, "SKIN2_TITLEFIVESECT") \
                else [titles[1]]
            for section in stretched:
                column = section.crop((0, 0, 1, height))
                self.assertEqual(section, column.resize(section.size), skin)

    def test_sides_run_into_the_bottom_without_a_seam(self):
        for skin, p in self.pictures.items():
            left, right = p["SKIN2_FORMLEFTBORDER"], p["SKIN2_FORMRIGHTBORDER"]
            first = p["SKIN2_FORMBOTTOMBORDER1"]  # a strip of three frames unless three-part
            last = p["SKIN2_FORMBOTTOMBORDER3"] if FLAGS[skin]["SKIN2_BOTTOMBORDERTHREESECT"] \
                else first
            for side in (left, right):
                self.assertEqual(side, side.crop((0, 0, side.width, 1)).resize(side.size), skin)
            for x in range(left.width):
                self.assertEqual(first.getpixel((x, 0)), left.getpixel((x, 0)), (skin, x))
                self.assertEqual(last.getpixel((last.width - 1 - x, 0)),
                                 right.getpixel((right.width - 1 - x, 0)), (skin, x))

    def test_regions_are_cut_only_at_the_round_corners_within_the_scanned_rows(self):
        p = self.pictures["Graphite"]
        strip = p["SKIN2_FORMBOTTOMBORDER1"]
        third = strip.width // 3
        pieces = {  # picture, corner (left or right, top or bottom) or None for no cut at all
            "title left": (p["SKIN2_TITLEBAR1"], ("left", "top")),
            "title right": (p["SKIN2_TITLEBAR5"], ("right", "top")),
            "bottom left": (strip.crop((0, 0, third, strip.height)), ("left", "bottom")),
            "bottom right": (strip.crop((2 * third, 0, strip.width, strip.height)),
                             ("right", "bottom")),
            "bottom middle": (strip.crop((third, 0, 2 * third, strip.height)), None),
        }
        pieces.update({f"title {i}": (p[f"SKIN2_TITLEBAR{i}"], None) for i in (2, 3, 4)})
        for label, (img, corner) in pieces.items():
            keyed = key_pixels(img)
            if corner is None:
                self.assertEqual(keyed, [], label)
                continue
            self.assertTrue(keyed, label)
            w, h = img.size
            # Mirror into the top-left corner: a cut corner is a staircase that widens toward
            # the corner and holds no more than a small square.
            norm = {(x if corner[0] == "left" else w - 1 - x,
                     y if corner[1] == "top" else h - 1 - y) for x, y in keyed}
            for x, y in norm:
                self.assertTrue(x < 10 and y < 10, (label, x, y))
                for nx, ny in ((x - 1, y), (x, y - 1)):
                    self.assertTrue(nx < 0 or ny < 0 or (nx, ny) in norm, (label, x, y))
            self.assertIn((0, 0), norm, label)
        limits = {"title": ("SKIN2_TITLEBARREGIONMINY", "SKIN2_TITLEBARREGIONMAXY",
                            [p[f"SKIN2_TITLEBAR{i}"] for i in range(1, 6)]),
                  "bottom": ("SKIN2_BOTTOMREGIONMINY", "SKIN2_BOTTOMREGIONMAXY", [strip])}
        for label, (low, high, images) in limits.items():
            first, last = self.number("Graphite", low), self.number("Graphite", high)
            self.assertTrue(0 <= first < last < images[0].height, label)
            for img in images:
                for _, y in key_pixels(img):
                    self.assertTrue(first <= y <= last, (label, y))

    def test_a_skin_without_region_shows_no_transparent_colour_in_its_frame(self):
        for key, img in self.pictures["Aqua"].items():
            if key != "SKIN2_TITLEBUTTONS":
                self.assertEqual(key_pixels(img), [], key)

    def test_see_through_title_buttons_are_round_and_all_eighteen_differ(self):
        for skin, p in self.pictures.items():
            strip = p["SKIN2_TITLEBUTTONS"]
            n = strip.width // 18
            frames = [strip.crop((k * n, 0, k * n + n, n)) for k in range(18)]
            self.assertEqual(len({f.tobytes() for f in frames}), 18, skin)
            for f in frames:
                self.assertEqual(f.getpixel((0, 0)), KEY, skin)
                self.assertNotEqual(f.getpixel((n // 2, n // 2)), KEY, skin)


def _skintool():
    tool = os.environ.get("SKINTOOL") or os.path.join(ROOT, "build", "native", "bin", "skintool")
    return tool if os.access(tool, os.X_OK) else None


@unittest.skipIf(_skintool() is None, "no native skintool (build it: make native)")
class PackedDemoSkinTest(unittest.TestCase):
    """The skin files as scripts/pack-demo-skins.sh makes them for dist/gallery/skins/."""

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.art = os.path.join(cls.tmp.name, "art")
        cls.out = os.path.join(cls.tmp.name, "skins")
        generate.write_demo_skins(cls.art)
        cls.pack()

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    @classmethod
    def pack(cls):
        subprocess.run([os.path.join(ROOT, "scripts", "pack-demo-skins.sh"), cls.out, cls.art],
                       check=True, env=dict(os.environ, SKINTOOL=_skintool()))

    def list(self, skin, *args):
        env = {k: v for k, v in os.environ.items() if k != "SKINTOOL_PASSWORD"}
        return subprocess.run([_skintool(), "list", os.path.join(self.out, f"{skin}.skn"), *args],
                              capture_output=True, text=True, env=env)

    def test_the_files_load_with_every_key_and_only_aqua_needs_its_password(self):
        for skin, password in PASSWORDS.items():
            run = self.list(skin, *(["--password", password] if password else []))
            self.assertEqual(run.returncode, 0, run.stderr)
            listed = {line.split()[1]: line.split()[0] for line in run.stdout.splitlines()[1:]}
            self.assertEqual(listed, KINDS, skin)
        refused = self.list("Aqua")
        self.assertEqual(refused.returncode, 2)
        self.assertIn("encrypted skin file and no password given", refused.stderr)
        wrong = self.list("Aqua", "--password", "Gallery")
        self.assertEqual(wrong.returncode, 2)
        self.assertEqual(self.list("Graphite", "--password", "gallery").returncode, 0)

    def test_a_file_is_packed_again_only_when_its_folder_changed(self):
        files = {s: os.path.join(self.out, f"{s}.skn") for s in PASSWORDS}
        for folder, _, names in os.walk(self.art):
            for name in names:
                os.utime(os.path.join(folder, name), (999_999_000, 999_999_000))
        for path in files.values():
            os.utime(path, (1_000_000_000, 1_000_000_000))
        picture = os.path.join(self.art, "demo-skins", "Aqua", "SKIN2_TITLEBAR1.bmp")
        os.utime(picture, (1_000_000_100, 1_000_000_100))
        self.pack()
        self.assertEqual(os.stat(files["Graphite"]).st_mtime, 1_000_000_000)
        self.assertGreater(os.stat(files["Aqua"]).st_mtime, 1_000_000_100)
        self.assertEqual(self.list("Aqua", "--password", "gallery").returncode, 0)


if __name__ == "__main__":
    unittest.main()
