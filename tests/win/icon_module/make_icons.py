"""Writes the icon files of the test icon module: known images the extraction must give back.

  png256.ico   a 16 x 16 32-bit image and a 256 x 256 PNG-compressed one (also png256.png)
  alpha48.ico  a 48 x 48 32-bit image whose alpha falls from 255 to 0 across each row
  depth32.ico  a 32 x 32 image at 8 bits per pixel, then the same size at 32 bits
"""

import struct
import sys
import zlib
from pathlib import Path


def png(width, height, pixel):
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width))
                    for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def dib32(size, pixel):
    """An icon image as .ico files hold it: the header with twice the height, the colour
    rows bottom-up as BGRA, then the AND mask (all zero: the alpha channel decides)."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes(pixel(x, y)) for y in reversed(range(size)) for x in range(size))
    mask_row = ((size + 31) // 32) * 4
    return header + colour + bytes(mask_row * size)


def dib8(size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    palette = b"".join(bytes((i, i, i, 0)) for i in range(256))
    colour = bytes((x * 8) % 256 for _ in range(size) for x in range(size))
    mask_row = ((size + 31) // 32) * 4
    return header + palette + colour + bytes(mask_row * size)


def ico(images):
    """images: (width, height, bit count, data)."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for width, height, bits, data in images:
        out += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, bits, len(data),
                           offset)
        offset += len(data)
    return out + b"".join(data for *_, data in images)


def main(folder):
    folder = Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    big = png(256, 256, lambda x, y: (x, y, 128, 255 if (x // 32 + y // 32) % 2 else 96))
    (folder / "png256.png").write_bytes(big)
    small = dib32(16, lambda x, y: (0, 0, 255, 255))
    (folder / "png256.ico").write_bytes(ico([(16, 16, 32, small), (256, 256, 32, big)]))
    # Blue, green, red, alpha: red everywhere, alpha 255 at the left edge down to 0 at the right.
    alpha = dib32(48, lambda x, y: (0, 0, 255, 255 - x * 255 // 47))
    (folder / "alpha48.ico").write_bytes(ico([(48, 48, 32, alpha)]))
    deep = dib32(32, lambda x, y: (255, 0, 0, 255))
    (folder / "depth32.ico").write_bytes(ico([(32, 32, 8, dib8(32)), (32, 32, 32, deep)]))


if __name__ == "__main__":
    main(sys.argv[1])
