#!/usr/bin/env python3
"""Check the generated Pelmora icon files.

Usage: check_icon.py ICO PNGDIR

ICO must hold 48, 32 and 16 px images at 4, 8 and 32 bits per pixel as classic DIBs;
PNGDIR must hold pelmora-{16,32,48,64,128,256}.png. Besides the container formats this
checks that the depths of one size agree with each other and with the PNGs, which is
where bit-order, row-order and channel-order mistakes show up. If icotool (icoutils)
is installed it must list the same nine images.
"""

import re
import shutil
import struct
import subprocess
import sys
import zlib
from pathlib import Path

ICO_SIZES = (48, 32, 16)
ICO_DEPTHS = (4, 8, 32)
PNG_SIZES = (16, 32, 48, 64, 128, 256)
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"

# Largest mean per-channel difference from the 32-bit image allowed for a palette image.
# The icon has few colours, so both reductions are near exact; a swapped nibble order
# (5+ at 32 px), flipped rows (20+) or a scrambled palette lands well above these.
MAX_PALETTE_ERROR = {8: 1.0, 4: 3.0}


class CheckError(Exception):
    pass


def require(condition, message):
    if not condition:
        raise CheckError(message)


def stride(bits):
    return (bits + 31) // 32 * 4


class IconImage:
    """One decoded ICO entry: top-down rows of (r, g, b, a) and of mask bits."""

    def __init__(self, size, bits, pixels, masked):
        self.size = size
        self.bits = bits
        self.pixels = pixels
        self.masked = masked


def parse_ico(data):
    require(len(data) >= 6, "ICO: file too short")
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    require(reserved == 0 and kind == 1, f"ICO: bad header (reserved={reserved}, type={kind})")
    require(len(data) >= 6 + 16 * count, "ICO: directory runs past end of file")

    images = []
    spans = []
    for i in range(count):
        (width, height, colours, reserved, planes, bits, length,
         offset) = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        width = width or 256
        height = height or 256
        name = f"ICO entry {i} ({width}x{height}, {bits} bpp)"
        require(width == height, f"{name}: not square")
        require(reserved == 0, f"{name}: reserved byte is {reserved}")
        require(planes == 1, f"{name}: planes is {planes}")
        require(colours == (16 if bits == 4 else 0), f"{name}: colour count is {colours}")
        require(offset + length <= len(data), f"{name}: image data runs past end of file")
        spans.append((offset, offset + length))
        images.append(parse_dib(data[offset:offset + length], width, bits, name))

    spans.sort()
    require(spans[0][0] >= 6 + 16 * count, "ICO: image data overlaps the directory")
    for (_, end), (start, _) in zip(spans, spans[1:]):
        require(end <= start, "ICO: image data of two entries overlaps")
    return images


def parse_dib(dib, size, bits, name):
    require(len(dib) >= 40, f"{name}: shorter than a BITMAPINFOHEADER")
    (header_size, width, height, planes, bit_count, compression, _, _, _, clr_used,
     _) = struct.unpack_from("<IiiHHIIiiII", dib, 0)
    require(header_size == 40, f"{name}: header size {header_size} (PNG or unknown DIB?)")
    require(width == size, f"{name}: DIB width {width}")
    require(height == 2 * size, f"{name}: DIB height {height}, expected {2 * size} with mask")
    require(planes == 1, f"{name}: DIB planes {planes}")
    require(bit_count == bits, f"{name}: DIB bit count {bit_count}")
    require(compression == 0, f"{name}: DIB compression {compression}, expected BI_RGB")

    palette_entries = (clr_used or 1 << bits) if bits <= 8 else 0
    xor_stride, and_stride = stride(size * bits), stride(size)
    expected = 40 + 4 * palette_entries + (xor_stride + and_stride) * size
    require(len(dib) == expected, f"{name}: {len(dib)} bytes, expected {expected}")

    palette = [(dib[40 + 4 * i + 2], dib[40 + 4 * i + 1], dib[40 + 4 * i])
               for i in range(palette_entries)]
    xor_start = 40 + 4 * palette_entries
    and_start = xor_start + xor_stride * size

    pixels, masked = [], []
    for y in range(size):
        row_in_file = size - 1 - y  # bottom-up
        row = dib[xor_start + row_in_file * xor_stride:][:xor_stride]
        mask = dib[and_start + row_in_file * and_stride:][:and_stride]
        masked.append([bool(mask[x // 8] & (0x80 >> (x % 8))) for x in range(size)])
        if bits == 32:
            pixels.append([(row[4 * x + 2], row[4 * x + 1], row[4 * x], row[4 * x + 3])
                           for x in range(size)])
            continue
        if bits == 8:
            indices = list(row[:size])
        else:
            indices = [row[x // 2] >> 4 if x % 2 == 0 else row[x // 2] & 0x0F for x in range(size)]
        require(all(i < len(palette) for i in indices), f"{name}: palette index out of range")
        pixels.append([palette[i] + (255,) for i in indices])
    return IconImage(size, bits, pixels, masked)


def check_ico_images(images):
    found = sorted((im.size, im.bits) for im in images)
    expected = sorted((s, b) for s in ICO_SIZES for b in ICO_DEPTHS)
    require(found == expected, f"ICO: images {found}, expected {expected}")

    by_key = {(im.size, im.bits): im for im in images}
    for size in ICO_SIZES:
        full = by_key[(size, 32)]
        flat = [(p, m) for row, mrow in zip(full.pixels, full.masked) for p, m in zip(row, mrow)]
        # Catches a blank image and a lost alpha channel (the corners are rounded off).
        require(any(p[3] == 255 for p, _ in flat) and any(p[3] < 128 for p, _ in flat),
                f"ICO {size} px 32 bpp: expected opaque pixels and transparent corners")
        # Alpha-blind renderers draw through the mask, so it must follow the alpha channel.
        require(all(m for p, m in flat if p[3] == 0),
                f"ICO {size} px 32 bpp: a fully transparent pixel is not masked")
        require(all(not m for p, m in flat if p[3] == 255),
                f"ICO {size} px 32 bpp: a fully opaque pixel is masked")

        for bits in (8, 4):
            im = by_key[(size, bits)]
            name = f"ICO {size} px {bits} bpp"
            require(im.masked == full.masked, f"{name}: mask differs from the 32 bpp image")
            total, count = 0, 0
            for row, mrow, ref_row in zip(im.pixels, im.masked, full.pixels):
                for p, m, ref in zip(row, mrow, ref_row):
                    if m:
                        # Anything but black here would be XORed onto the screen.
                        require(p[:3] == (0, 0, 0), f"{name}: masked pixel is not black")
                    else:
                        total += sum(abs(a - b) for a, b in zip(p[:3], ref[:3]))
                        count += 3
            error = total / count
            require(error <= MAX_PALETTE_ERROR[bits],
                    f"{name}: mean colour error {error:.1f} against the 32 bpp image "
                    f"(limit {MAX_PALETTE_ERROR[bits]})")


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def unfilter(raw, width, height, bpp, name):
    row_bytes = width * bpp
    rows, previous, pos = [], bytes(row_bytes), 0
    for y in range(height):
        kind = raw[pos]
        line = bytearray(raw[pos + 1:pos + 1 + row_bytes])
        pos += 1 + row_bytes
        require(kind <= 4, f"{name}: scanline {y} has filter type {kind}")
        for i in range(row_bytes):
            left = line[i - bpp] if i >= bpp else 0
            up = previous[i]
            up_left = previous[i - bpp] if i >= bpp else 0
            predictor = (0, left, up, (left + up) // 2, paeth(left, up, up_left))[kind]
            line[i] = (line[i] + predictor) & 0xFF
        rows.append(bytes(line))
        previous = line
    return rows


def parse_png(data, size, name):
    """Returns top-down rows of (r, g, b, a)."""
    require(data[:8] == PNG_SIGNATURE, f"{name}: bad signature")
    pos, chunks = 8, []
    while pos < len(data):
        require(pos + 12 <= len(data), f"{name}: truncated chunk")
        (length,) = struct.unpack_from(">I", data, pos)
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        require(len(body) == length and pos + 12 + length <= len(data),
                f"{name}: chunk {kind!r} runs past end of file")
        (crc,) = struct.unpack_from(">I", data, pos + 8 + length)
        require(zlib.crc32(kind + body) == crc, f"{name}: bad CRC in chunk {kind!r}")
        chunks.append((kind, body))
        pos += 12 + length

    kinds = [kind for kind, _ in chunks]
    require(kinds and kinds[0] == b"IHDR", f"{name}: first chunk is not IHDR")
    require(kinds[-1] == b"IEND" and kinds.count(b"IEND") == 1 and not chunks[-1][1],
            f"{name}: does not end with an empty IEND")
    idat = [i for i, kind in enumerate(kinds) if kind == b"IDAT"]
    require(idat and idat == list(range(idat[0], idat[-1] + 1)),
            f"{name}: IDAT chunks missing or not consecutive")

    header = chunks[0][1]
    require(len(header) == 13, f"{name}: IHDR is {len(header)} bytes")
    width, height, depth, colour_type, compression, filtering, interlace = struct.unpack(
        ">IIBBBBB", header)
    require((width, height) == (size, size), f"{name}: {width}x{height}, expected {size}x{size}")
    require((depth, colour_type) == (8, 6), f"{name}: not 8-bit RGBA")
    require((compression, filtering, interlace) == (0, 0, 0),
            f"{name}: unexpected compression/filter/interlace method")

    try:
        raw = zlib.decompress(b"".join(chunks[i][1] for i in idat))
    except zlib.error as e:
        raise CheckError(f"{name}: IDAT does not decompress: {e}") from None
    expected = height * (1 + 4 * width)
    require(len(raw) == expected,
            f"{name}: {len(raw)} bytes of image data, expected {height} scanlines ({expected})")
    rows = unfilter(raw, width, height, 4, name)
    return [[tuple(row[4 * x:4 * x + 4]) for x in range(width)] for row in rows]


def check_icotool(ico_path):
    icotool = shutil.which("icotool")
    if not icotool:
        return "icotool not installed, skipped"
    result = subprocess.run([icotool, "-l", str(ico_path)], capture_output=True, text=True)
    require(result.returncode == 0, f"icotool -l failed: {result.stderr.strip()}")
    listed = []
    for line in result.stdout.splitlines():
        if not line.startswith("--icon"):
            continue
        fields = dict(re.findall(r"--([\w-]+)=(\d+)", line))
        listed.append((int(fields["width"]), int(fields["height"]), int(fields["bit-depth"])))
    expected = sorted((s, s, b) for s in ICO_SIZES for b in ICO_DEPTHS)
    require(sorted(listed) == expected, f"icotool -l lists {sorted(listed)}, expected {expected}")
    return "icotool lists 9 images"


def main(argv):
    if len(argv) != 3:
        print("usage: check_icon.py ICO PNGDIR", file=sys.stderr)
        return 2
    ico_path, png_dir = Path(argv[1]), Path(argv[2])
    try:
        images = parse_ico(ico_path.read_bytes())
        check_ico_images(images)
        full = {im.size: im for im in images if im.bits == 32}
        for size in PNG_SIZES:
            name = f"pelmora-{size}.png"
            pixels = parse_png((png_dir / name).read_bytes(), size, name)
            if size in full:
                require(pixels == full[size].pixels,
                        f"{name}: differs from the {size} px 32 bpp image in the ICO")
        icotool = check_icotool(ico_path)
    except (CheckError, OSError) as e:
        print(f"check_icon: FAIL: {e}", file=sys.stderr)
        return 1
    print(f"check_icon: OK: {ico_path.name} has 9 images (48/32/16 px at 4/8/32 bpp), "
          f"{len(PNG_SIZES)} PNGs valid; {icotool}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
