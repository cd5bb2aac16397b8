#!/usr/bin/python3
"""Artwork generator: every picture the launcher and its skin library carry.

Usage: generate.py OUTDIR [--preview] [--write-rc]

Writes, deterministically (the same bytes on every run):
  OUTDIR/icons/A0.ico .. A6.ico     product icons, 24-bit images with AND masks
  OUTDIR/styles/<NAME>.bmp          built-in style bitmaps, 24-bit BMP
  OUTDIR/skins/burnerRes/*.bmp      default skin folder (default layout, 444 x 217 window)
  OUTDIR/skins/burnerRes2/*.bmp     second skin folder for the alternative layout
  OUTDIR/demo-skins/<NAME>/         demo skin folders (pictures and entries.txt) that
                                    `skintool pack` makes skin files of: Graphite, Aqua

--preview   also writes OUTDIR/preview/*.png: each skin with its buttons placed, per state
--write-rc  rewrites resources/icons.rc and resources/styles.rc from the generator's tables;
            without it the generator only warns when those committed scripts differ

Needs Python 3 with Pillow (Debian: python3-pil) and the DejaVu fonts (fonts-dejavu-core).
"""

import argparse
import importlib.util
import os
import sys
import time

sys.dont_write_bytecode = True  # the build runs this from the source tree; leave no caches there

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.normpath(os.path.join(HERE, "..", "..", "resources"))


def _require_pillow():
    if importlib.util.find_spec("PIL") is None:
        sys.exit("generate.py: Pillow is missing; install the Debian package python3-pil")


def _write_atomically(path, data):
    """Write via a temporary file in the same folder, so no half-written picture survives."""
    tmp = path + ".tmp"
    try:
        with open(tmp, "wb") as f:
            f.write(data)
        os.replace(tmp, path)
    finally:
        if os.path.exists(tmp):
            os.remove(tmp)


def write_icons(outdir):
    from icons import build_icons
    from winformats import ico_bytes
    folder = os.path.join(outdir, "icons")
    os.makedirs(folder, exist_ok=True)
    for name, images in build_icons().items():
        _write_atomically(os.path.join(folder, f"{name}.ico"), ico_bytes(images))


def write_styles(outdir):
    import style_catalog
    from winformats import bmp24_bytes
    folder = os.path.join(outdir, "styles")
    os.makedirs(folder, exist_ok=True)
    for name, draw in style_catalog.entries():
        _write_atomically(os.path.join(folder, f"{name}.bmp"), bmp24_bytes(draw()))


def write_skins(outdir, preview):
    import skin_alt
    import skin_default
    from skin_parts import BUTTONS
    from winformats import bmp24_bytes
    skins = [("burnerRes", skin_default), ("burnerRes2", skin_alt)]
    for folder_name, skin in skins:
        main, pictures = skin.build()
        folder = os.path.join(outdir, "skins", folder_name)
        os.makedirs(folder, exist_ok=True)
        _write_atomically(os.path.join(folder, "main.bmp"), bmp24_bytes(main))
        for _, stem in BUTTONS:
            for i, img in enumerate(pictures[stem], start=1):
                _write_atomically(os.path.join(folder, f"{stem}{i}.bmp"), bmp24_bytes(img))
        if preview:
            import preview as pv
            pv.write_previews(os.path.join(outdir, "preview"), folder_name, main, pictures,
                              skin.positions(), skin.INFO_TEXT)


def write_demo_skins(outdir):
    import demo_aqua
    import demo_graphite
    from winformats import bmp24_bytes
    for skin in (demo_graphite.build(), demo_aqua.build()):
        folder = os.path.join(outdir, "demo-skins", skin.name)
        os.makedirs(folder, exist_ok=True)
        for key, picture in skin.pictures.items():
            _write_atomically(os.path.join(folder, f"{key}.bmp"), bmp24_bytes(picture))
        _write_atomically(os.path.join(folder, "entries.txt"), skin.entries_text().encode())


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("outdir")
    parser.add_argument("--preview", action="store_true")
    parser.add_argument("--write-rc", action="store_true")
    args = parser.parse_args(argv)
    _require_pillow()
    import fonts
    import rcfiles
    try:
        fonts.check_fonts()
    except fonts.MissingFont as e:
        sys.exit(f"generate.py: {e}")
    started = time.monotonic()
    try:
        write_icons(args.outdir)
        write_styles(args.outdir)
        write_skins(args.outdir, args.preview)
        write_demo_skins(args.outdir)
        if args.write_rc:
            rcfiles.write(RESOURCES)
    except OSError as e:
        sys.exit(f"generate.py: cannot write the artwork: {e}")
    for problem in rcfiles.mismatches(RESOURCES):
        print(f"generate.py: warning: {problem} (run with --write-rc to update)", file=sys.stderr)
    print(f"artwork written to {args.outdir} in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
