"""Debug composites of a skin: main.bmp with the button pictures placed as the launcher places
them, fuchsia shown as a checkerboard, and a sample info text where the launcher writes it."""

import os

from PIL import Image, ImageChops, ImageDraw

import fonts
from paint import KEY

SAMPLE_TEXT = {
    "normal": "Welcome to Larkspur Media Kit!",
    "hover": "Create a data CD/DVD/Blu-ray Disc which can be used to save all types of "
             "files/folders",
    "pressed": "Welcome to Larkspur Media Kit!",
}


def _wrap(text, f, width):
    lines, line = [], ""
    for word in text.split():
        trial = f"{line} {word}".strip()
        if line and fonts.text_width(trial, f) > width:
            lines.append(line)
            line = word
        else:
            line = trial
    return lines + [line]


def _info_text(img, info, text):
    f = fonts.font(fonts.SANS, 11)
    x, y = info["xy"]
    if info["width"]:
        text = "\n".join(_wrap(text, f, info["width"]))
    else:
        text = text.split("\n")[0] if fonts.text_width(text, f) < 400 else text[:60]
    draw = ImageDraw.Draw(img)
    if info["shadow"]:
        draw.multiline_text((x + 1, y + 1), text, font=f, fill=info["shadow"])
    draw.multiline_text((x, y), text, font=f, fill=info["colour"])


def composite(main, pictures, positions, state_index):
    """The window as shown with the buttons in picture `state_index` (0, 1, 2)."""
    img = main.copy()
    for stem, (x, y) in positions.items():
        img.paste(pictures[stem][state_index], (x, y))
    board = Image.new("RGB", img.size)
    board.putdata([(150, 150, 150) if ((x // 8) + (y // 8)) % 2 else (110, 110, 110)
                   for y in range(img.height) for x in range(img.width)])
    diff = ImageChops.difference(main, Image.new("RGB", main.size, KEY)).convert("L")
    outside = diff.point(lambda v: 0 if v else 255)
    img.paste(board, (0, 0), outside)
    return img


def write_previews(folder, name, main, pictures, positions, info):
    os.makedirs(folder, exist_ok=True)
    for i, state in enumerate(("normal", "hover", "pressed")):
        img = composite(main, pictures, positions, i)
        _info_text(img, info, SAMPLE_TEXT[state])
        img.save(os.path.join(folder, f"{name}-{state}.png"))
