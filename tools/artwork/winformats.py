"""Byte-exact writers for the two Windows picture formats the product carries.

Both are written here rather than through Pillow so that the layout is fixed: 24-bit bottom-up BMP
(BITMAPFILEHEADER + BITMAPINFOHEADER) and ICO files whose images are uncompressed 24-bit DIBs with
a 1-bit AND mask, the form every resource compiler and every Windows version accepts.
"""

import struct

from PIL import Image

_PELS_PER_METRE = 2835  # 72 dpi, the customary value of paint programs


def _dib_rows_24(img):
    """24-bit pixel rows, bottom-up, BGR, each padded to a multiple of 4 bytes."""
    rgb = img.convert("RGB")
    w, h = rgb.size
    raw = rgb.tobytes("raw", "BGR")
    stride = w * 3
    pad = b"\0" * ((-stride) % 4)
    return b"".join(raw[y * stride:(y + 1) * stride] + pad for y in range(h - 1, -1, -1))


def _info_header(w, h, bits, image_size):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, image_size,
                       _PELS_PER_METRE, _PELS_PER_METRE, 0, 0)


def bmp24_bytes(img):
    """Complete 24-bit BMP file for an RGB picture."""
    w, h = img.size
    pixels = _dib_rows_24(img)
    offset = 14 + 40
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + _info_header(w, h, 24, len(pixels)) + pixels


def write_bmp24(path, img):
    with open(path, "wb") as f:
        f.write(bmp24_bytes(img))


def _and_mask_rows(alpha, threshold):
    """1-bit mask rows, bottom-up, padded to 4 bytes; a set bit marks a see-through pixel."""
    w, h = alpha.size
    data = alpha.tobytes()
    row_bytes = ((w + 31) // 32) * 4
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(w):
            if data[y * w + x] < threshold:
                row[x >> 3] |= 0x80 >> (x & 7)
        out += row
    return bytes(out)


def ico_image_bytes(rgba, threshold=128):
    """One icon image: header with doubled height, XOR colour rows, AND mask rows.

    See-through pixels carry black colour so that AND-then-XOR drawing leaves the background intact.
    """
    w, h = rgba.size
    alpha = rgba.getchannel("A")
    keep = alpha.point(lambda v: 255 if v >= threshold else 0)
    colour = Image.new("RGB", rgba.size, (0, 0, 0))
    colour.paste(rgba.convert("RGB"), (0, 0), keep)
    xor = _dib_rows_24(colour)
    mask = _and_mask_rows(alpha, threshold)
    return _info_header(w, h * 2, 24, len(xor) + len(mask)) + xor + mask


def ico_bytes(images):
    """ICO file holding the given square RGBA pictures in the given order."""
    blobs = [ico_image_bytes(im) for im in images]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for im, blob in zip(images, blobs):
        w, h = im.size
        directory += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 24, len(blob), offset)
        offset += len(blob)
    return directory + b"".join(blobs)


def write_ico(path, images):
    with open(path, "wb") as f:
        f.write(ico_bytes(images))
