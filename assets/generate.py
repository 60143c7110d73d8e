#!/usr/bin/python3
"""Regenerates Kivo Launcher's artwork from the sources in assets/src.

    /usr/bin/python3 assets/generate.py            # writes assets/skins and assets/SysIcons
    /usr/bin/python3 assets/generate.py --check    # renders into a temporary folder and
                                                   # compares with the committed PNGs
    /usr/bin/python3 assets/generate.py --preview DIR   # also writes contact sheets and
                                                        # mock-ups of the ring and the popup

Needs rsvg-convert (Debian: librsvg2-bin) and ImageMagick 6 (/usr/bin/convert,
and /usr/bin/montage for --preview; Debian: imagemagick). No network, no fonts:
every glyph, letters included, is an SVG outline under assets/src/glyphs.
"""

import argparse
import filecmp
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
from string import Template

HERE = os.path.dirname(os.path.abspath(__file__))
SRC = os.path.join(HERE, "src")
GLYPHS = os.path.join(SRC, "glyphs")

RSVG = shutil.which("rsvg-convert") or "/usr/bin/rsvg-convert"
CONVERT = "/usr/bin/convert"
MONTAGE = "/usr/bin/montage"

# Skin images: name -> (width, height, opaque). Opaque ones are written as
# 24-bit RGB PNGs; the others as 32-bit RGBA.
SKINS = {
    "LOGO": (128, 128, True),
    "BORDER": (190, 190, False),
    "BACKSELECTCOLOR": (128, 128, False),
    "DELICON": (640, 128, False),
    "ADDICON": (110, 110, False),
    "REPLACEICON": (64, 64, False),
    "NODROP": (64, 64, False),
    "MENUTOP": (268, 12, True),
    "MENUBOTTOM": (268, 12, True),
    "MENUBODY": (268, 656, False),
    "MENUSPACE": (248, 5, False),
    "MENUSELECT": (248, 38, True),
    "MENUMOUSEDOWN": (248, 38, True),
    "MENUUPSELECT": (248, 25, True),
    "MENUUPUNSELECT": (248, 25, False),
    "MENUDOWNSELECT": (248, 25, True),
    "MENUDOWNUNSELECT": (248, 25, False),
}

ICON_SIZE = 256
# Glyph placement on a tile: the tile is the 220 x 220 square at (18, 14).
TILE_CX, TILE_CY = 128.0, 124.0
GLYPH_SIZE = 136.0        # a 24-unit icon box becomes 136 px
MONOGRAM_CAP = 78.0       # capital height of the web-site letters
MONOGRAM_MAX_WIDTH = 160.0
MARK_SIZE = 150.0         # the Kivo mark fills its box edge to edge, so it gets more room
# Badge, in units of the 24-unit glyph box: centre, radius, gap cut out of the glyph.
BADGE_CX, BADGE_CY, BADGE_R, BADGE_GAP = 18.2, 18.2, 6.6, 1.4

PNG_OPTIONS = ["-strip", "-define", "png:exclude-chunks=date,time", "-quality", "95"]


def fail(message):
    sys.exit("generate.py: " + message)


def run(args, **kw):
    try:
        return subprocess.run(args, check=True, capture_output=True, text=True, **kw).stdout
    except FileNotFoundError:
        fail("missing tool: " + args[0])
    except subprocess.CalledProcessError as e:
        fail("%s failed:\n%s" % (" ".join(args), e.stderr))


# --------------------------------------------------------------------------- glyphs

_glyph_cache = {}


def load_glyph(ref):
    """Returns (view box, inner markup) of assets/src/glyphs/<ref>.svg."""
    if ref in _glyph_cache:
        return _glyph_cache[ref]
    path = os.path.join(GLYPHS, ref + ".svg")
    if not os.path.isfile(path):
        fail("no glyph %s (expected %s)" % (ref, path))
    text = open(path, encoding="utf-8").read()
    text = re.sub(r"<!--.*?-->", "", text, flags=re.S)
    m = re.search(r"<svg\b([^>]*)>(.*)</svg>", text, flags=re.S)
    if not m:
        fail("not an SVG file: " + path)
    vb = re.search(r'viewBox="([^"]+)"', m.group(1))
    if not vb:
        fail("glyph without viewBox: " + path)
    box = tuple(float(v) for v in vb.group(1).replace(",", " ").split())
    inner = m.group(2).strip()
    # Glyphs are single-colour shapes: drop any fill of their own so the
    # caller's fill applies.
    inner = re.sub(r'\sfill="[^"]*"', "", inner)
    _glyph_cache[ref] = (box, inner)
    return box, inner


def place_glyph(ref, cx, cy, size, fill, attrs="", max_width=None):
    """The glyph scaled so that its view-box height is `size`, centred on (cx, cy)."""
    (x, y, w, h), inner = load_glyph(ref)
    s = size / h
    if max_width is not None and w * s > max_width:
        s = max_width / w
    tx = cx - (x + w / 2) * s
    ty = cy - (y + h / 2) * s
    return '<g transform="translate(%.3f %.3f) scale(%.5f)" fill="%s"%s>%s</g>' % (
        tx, ty, s, fill, (" " + attrs) if attrs else "", inner)


# --------------------------------------------------------------------------- colours

def hex_to_rgb(colour):
    colour = colour.lstrip("#")
    return tuple(int(colour[i:i + 2], 16) for i in (0, 2, 4))


def mix(colour, other, t):
    a, b = hex_to_rgb(colour), hex_to_rgb(other)
    return "#%02X%02X%02X" % tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


# --------------------------------------------------------------------------- system icons

def glyph_size_for(ref):
    if ref.startswith("monograms/"):
        return MONOGRAM_CAP, MONOGRAM_MAX_WIDTH
    if ref.startswith("kivo/mark"):
        return MARK_SIZE, None
    return GLYPH_SIZE, None


def icon_svg(icon, palette, template):
    colour = icon["color"]
    if colour not in palette:
        fail("%s: unknown colour %s" % (icon["file"], colour))
    top, bottom = palette[colour]
    shade = mix(bottom, "#000000", 0.45)
    ref = icon["glyph"]
    size, max_width = glyph_size_for(ref)
    cx, cy = TILE_CX, TILE_CY

    shadow = place_glyph(ref, cx, cy + 4, size, shade,
                         'opacity="0.55" filter="url(#soft)"', max_width)
    glyph = place_glyph(ref, cx, cy, size, "url(#ink)", "", max_width)
    defs = ""
    layer = shadow + glyph

    badge = icon.get("badge")
    if badge:
        unit = size / 24.0
        bx = cx - size / 2 + BADGE_CX * unit
        by = cy - size / 2 + BADGE_CY * unit
        r = BADGE_R * unit
        cut = r + BADGE_GAP * unit
        defs = (
            '<mask id="cut" maskUnits="userSpaceOnUse" x="0" y="0" width="256" height="256">'
            '<rect width="256" height="256" fill="#fff"/>'
            '<circle cx="%.2f" cy="%.2f" r="%.2f" fill="#000"/>'
            '<circle cx="%.2f" cy="%.2f" r="%.2f" fill="#000"/></mask>'
            % (bx, by, cut, bx, by + 4, cut))
        badge_ink = mix(bottom, "#000000", 0.12)
        layer = (
            '<g mask="url(#cut)">%s</g>' % layer
            + '<circle cx="%.2f" cy="%.2f" r="%.2f" fill="%s" opacity="0.55" filter="url(#soft)"/>'
            % (bx, by + 4, r, shade)
            + '<circle cx="%.2f" cy="%.2f" r="%.2f" fill="url(#ink)"/>' % (bx, by, r)
            + place_glyph(badge, bx, by, r * 1.55, badge_ink))

    return template.substitute(top=top, bottom=bottom, ink=shade, defs=defs, glyph=layer)


# --------------------------------------------------------------------------- skins

_GLYPH_CALL = re.compile(r"\{\{glyph\s+(\S+)\s+([-\d.]+)\s+([-\d.]+)\s+([\d.]+)\s+([^\s}]+)\s*\}\}")


def skin_svg(name):
    path = os.path.join(SRC, "skins", name + ".svg")
    if not os.path.isfile(path):
        fail("missing skin source " + path)
    text = open(path, encoding="utf-8").read()
    # {{glyph REF CX CY SIZE FILL}} places a glyph like the icon tiles do.
    return _GLYPH_CALL.sub(
        lambda m: place_glyph(m.group(1), float(m.group(2)), float(m.group(3)),
                              float(m.group(4)), m.group(5)), text)


# --------------------------------------------------------------------------- rendering

def render(svg_text, width, height, out_png, opaque, work):
    base = os.path.join(work, "render")
    with open(base + ".svg", "w", encoding="utf-8") as f:
        f.write(svg_text)
    run([RSVG, "-w", str(width), "-h", str(height), "-f", "png", "-o", base + ".png", base + ".svg"])
    if opaque:
        min_alpha = run([CONVERT, base + ".png", "-alpha", "extract", "-format", "%[fx:minima]", "info:"])
        if float(min_alpha) < 1.0:
            fail("%s must be opaque but its source leaves pixels transparent" % os.path.basename(out_png))
        run([CONVERT, base + ".png", "-background", "#FFFFFF", "-alpha", "remove", "-alpha", "off"]
            + PNG_OPTIONS + ["PNG24:" + out_png])
    else:
        run([CONVERT, base + ".png"] + PNG_OPTIONS + ["PNG32:" + out_png])


def verify(path, width, height, opaque):
    """Checks the PNG header: size, 8 bits per sample, RGB (opaque) or RGBA."""
    with open(path, "rb") as f:
        head = f.read(26)
    if len(head) < 26 or head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        fail("%s is not a PNG file" % path)
    w, h, depth, colour_type = struct.unpack(">IIBB", head[16:26])
    if (w, h) != (width, height):
        fail("%s is %dx%d, expected %dx%d" % (path, w, h, width, height))
    expected = 2 if opaque else 6
    if depth != 8 or colour_type != expected:
        fail("%s has bit depth %d and colour type %d, expected 8 and %d"
             % (path, depth, colour_type, expected))


def generate(out_dir, work):
    catalog = json.load(open(os.path.join(SRC, "catalog.json"), encoding="utf-8"))
    template = Template(open(os.path.join(SRC, "templates", "tile.svg"), encoding="utf-8").read())
    skins_dir = os.path.join(out_dir, "skins")
    icons_dir = os.path.join(out_dir, "SysIcons")
    for d in (skins_dir, icons_dir):
        os.makedirs(d, exist_ok=True)
        for old in os.listdir(d):
            if old.endswith(".png"):
                os.remove(os.path.join(d, old))

    for name, (w, h, opaque) in SKINS.items():
        out = os.path.join(skins_dir, name + ".png")
        render(skin_svg(name), w, h, out, opaque, work)
        verify(out, w, h, opaque)

    seen = set()
    for icon in catalog["icons"]:
        name = icon["file"]
        if name in seen:
            fail("icon listed twice: " + name)
        seen.add(name)
        out = os.path.join(icons_dir, name)
        render(icon_svg(icon, catalog["palette"], template), ICON_SIZE, ICON_SIZE, out, False, work)
        verify(out, ICON_SIZE, ICON_SIZE, False)
    return catalog


# --------------------------------------------------------------------------- preview

def preview(out_dir, catalog, dest, work):
    """Contact sheets and mock-ups for looking at the artwork; nothing here is shipped."""
    os.makedirs(dest, exist_ok=True)
    icons = [os.path.join(out_dir, "SysIcons", i["file"]) for i in catalog["icons"]]
    skins = {n: os.path.join(out_dir, "skins", n + ".png") for n in SKINS}

    for tag, bg, fg in (("dark", "#1B1F27", "#DDE3EC"), ("light", "#EEF1F5", "#222222")):
        run([MONTAGE] + ["-label", "%t"] + icons
            + ["-tile", "10x", "-geometry", "96x96+10+8", "-background", bg, "-fill", fg,
               "-pointsize", "10", os.path.join(dest, "icons-%s.png" % tag)])
        for px in (48, 32):
            run([MONTAGE] + icons + ["-tile", "20x", "-geometry", "%dx%d+6+6" % (px, px),
                                     "-background", bg, os.path.join(dest, "icons-%s-%d.png" % (tag, px))])
        rows = []
        for k, group in enumerate((("LOGO", "BORDER", "BACKSELECTCOLOR", "ADDICON", "REPLACEICON", "NODROP"),
                                   ("DELICON",),
                                   ("MENUTOP", "MENUBOTTOM", "MENUSPACE", "MENUSELECT", "MENUMOUSEDOWN"),
                                   ("MENUUPUNSELECT", "MENUUPSELECT", "MENUDOWNUNSELECT", "MENUDOWNSELECT"))):
            row = os.path.join(work, "row%d.png" % k)
            run([MONTAGE, "-label", "%t"] + [skins[n] for n in group]
                + ["-tile", "x1", "-geometry", "+14+10", "-background", bg, "-fill", fg,
                   "-pointsize", "10", row])
            rows.append(row)
        run([CONVERT] + rows + ["-background", bg, "-gravity", "west", "-append",
                                os.path.join(dest, "skins-%s.png" % tag)])

    ring_mockups(out_dir, catalog, dest, work)
    popup_mockup(out_dir, catalog, dest, work)


def desktop_background(path, kind, w, h):
    if kind == "light":
        run([CONVERT, "-size", "%dx%d" % (w, h), "gradient:#F4F6FA-#C9D6E6", path])
    elif kind == "photo":
        run([CONVERT, "-size", "%dx%d" % (w, h), "plasma:#7FB5E8-#E8C27F", "-blur", "0x12", path])
    else:
        run([CONVERT, "-size", "%dx%d" % (w, h), "gradient:#20324F-#0B0F18", path])


def ring_mockups(out_dir, catalog, dest, work):
    import math
    W, H, R, N, M = 760, 700, 280, 48, 64
    cx, cy = W // 2, H // 2
    by_name = {i["file"]: os.path.join(out_dir, "SysIcons", i["file"]) for i in catalog["icons"]}
    ring = ["My Computer.png", "RecycleFull.png", "All Programs Group.png", "Library.png",
            "WinGroup.png", "Microsoft Office Group.png", "Website Group.png", "Internet.png",
            "Mailbox.png", "Google.png", "Folder.png", "WinDrive.png", "Problem.png",
            "Shortcut.png", "Shortcut.png", "Shortcut.png", "Setting.png", "Shutdown.png",
            "Application.png", "File.png"]
    skin = lambda n: os.path.join(out_dir, "skins", n + ".png")
    for kind, veil in (("light", True), ("light", False), ("dark", False), ("photo", True), ("photo", False)):
        canvas = os.path.join(work, "ring.png")
        desktop_background(canvas, kind, W, H)
        args = [CONVERT, canvas]
        if veil:
            args += ["(", "-size", "%dx%d" % (W, H), "xc:rgba(0,0,0,0.753)", ")", "-composite"]
        hovered = 3
        for i, name in enumerate(ring):
            a = math.radians(i * 360.0 / len(ring))
            px, py = cx + R * math.cos(a), cy + R * math.sin(a)
            s = M if i == hovered else N
            x, y = round(px - s / 2), round(py - s / 2)
            for img in (skin("BACKSELECTCOLOR"), by_name[name]):
                args += ["(", img, "-resize", "%dx%d" % (s, s), ")", "-geometry", "+%d+%d" % (x, y), "-composite"]
        args += ["(", skin("LOGO"), ")", "-geometry", "+%d+%d" % (cx - 64, cy - 64), "-composite",
                 "(", skin("BORDER"), ")", "-geometry", "+%d+%d" % (cx - 95, cy - 95), "-composite"]
        # Drop badges and the delete animation beside the ring.
        for k, n in enumerate(("ADDICON", "REPLACEICON", "NODROP")):
            args += ["(", skin(n), "-resize", "48x48", ")", "-geometry", "+%d+%d" % (20 + 56 * k, 20), "-composite"]
        args += ["(", skin("DELICON"), "-resize", "320x64", ")", "-geometry", "+%d+%d" % (W - 340, 12), "-composite"]
        out = os.path.join(dest, "ring-%s%s.png" % (kind, "-veil" if veil else ""))
        run(args + [out])


def popup_mockup(out_dir, catalog, dest, work):
    skin = lambda n: os.path.join(out_dir, "skins", n + ".png")
    icons = [os.path.join(out_dir, "SysIcons", i["file"]) for i in catalog["icons"]]
    W, H = 700, 560
    canvas = os.path.join(work, "popup.png")
    desktop_background(canvas, "photo", W, H)
    args = [CONVERT, canvas, "(", "-size", "%dx%d" % (W, H), "xc:rgba(0,0,0,0.753)", ")", "-composite"]

    def put(img, x, y, size=None):
        layer = ["(", img] + (["-resize", size + "!"] if size else []) + [")"]
        return layer + ["-geometry", "+%d+%d" % (x, y), "-composite"]

    # Plain mode, 6 members, row 2 hovered, row 4 pressed.
    left, top, count = 30, 40, 6
    args += put(skin("MENUBODY"), left, top + 10, "268x%d" % (count * 38))
    args += put(skin("MENUTOP"), left, top) + put(skin("MENUBOTTOM"), left, top + 8 + count * 38)
    for r in range(1, count + 1):
        rt = top + 10 + (r - 1) * 38
        if r == 2:
            args += put(skin("MENUSELECT"), left + 10, rt)
        if r == 4:
            args += put(skin("MENUMOUSEDOWN"), left + 10, rt)
        args += put(icons[r * 7 % len(icons)], left + 13, rt + 3, "32x32")
    # Paging mode, P = 5, down button hovered.
    left, top, P = 380, 40, 5
    args += put(skin("MENUBODY"), left, top + 10, "268x%d" % (P * 38 + 60))
    args += put(skin("MENUTOP"), left, top) + put(skin("MENUBOTTOM"), left, top + 68 + P * 38)
    args += put(skin("MENUUPUNSELECT"), left + 10, top + 10)
    args += put(skin("MENUSPACE"), left + 10, top + 35) + put(skin("MENUSPACE"), left + 10, top + 40 + P * 38)
    args += put(skin("MENUDOWNSELECT"), left + 10, top + 45 + P * 38)
    for r in range(1, P + 1):
        rt = top + 40 + (r - 1) * 38
        if r == 1:
            args += put(skin("MENUSELECT"), left + 10, rt)
        args += put(icons[(r * 11 + 3) % len(icons)], left + 13, rt + 3, "32x32")
    # Sample text as the program draws it (Arial-like 12 px, near black), when
    # such a font is installed; the artwork itself never needs fonts.
    font = shutil.which("fc-match") and run(["fc-match", "-f", "%{file}", "Liberation Sans"]).strip()
    if font and os.path.isfile(font):
        args += ["-font", font, "-pointsize", "12", "-fill", "#010203"]
        for r, text in enumerate(("Documents", "Desktop icons", "Log off", "Network", "Run", "Accessories"), 1):
            rt = 40 + 10 + (r - 1) * 38
            args += ["-annotate", "+%d+%d" % (30 + 48, rt + 23), text,
                     "-annotate", "+%d+%d" % (30 + 239, rt + 23), str(r - 1)]
        args += ["-annotate", "+%d+%d" % (380 + 48, 40 + 27), "PgUp",
                 "-annotate", "+%d+%d" % (380 + 48, 40 + 45 + P * 38 + 17), "PgDn"]
        for r, text in enumerate(("Notepad", "Paint", "Calculator", "Command prompt", "Registry editor"), 1):
            rt = 40 + 40 + (r - 1) * 38
            args += ["-annotate", "+%d+%d" % (380 + 48, rt + 23), text,
                     "-annotate", "+%d+%d" % (380 + 239, rt + 23), str(r + 4)]
    run(args + [os.path.join(dest, "popup.png")])


# --------------------------------------------------------------------------- main

def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--check", action="store_true",
                        help="render into a temporary folder and compare with the committed PNGs")
    parser.add_argument("--preview", metavar="DIR", help="also write contact sheets and mock-ups to DIR")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="kivo-art-") as work:
        out_dir = os.path.join(work, "out") if args.check else HERE
        catalog = generate(out_dir, work)
        if args.preview:
            preview(out_dir, catalog, os.path.abspath(args.preview), work)
        if args.check:
            differ = []
            for sub in ("skins", "SysIcons"):
                fresh = sorted(os.listdir(os.path.join(out_dir, sub)))
                kept = sorted(f for f in os.listdir(os.path.join(HERE, sub)) if f.endswith(".png"))
                if fresh != kept:
                    differ.append("%s: file lists differ" % sub)
                    continue
                for f in fresh:
                    if not filecmp.cmp(os.path.join(out_dir, sub, f), os.path.join(HERE, sub, f), shallow=False):
                        differ.append(os.path.join(sub, f))
            if differ:
                fail("committed PNGs differ from their sources:\n  " + "\n  ".join(differ))
            print("all %d skin images and %d system icons match their sources"
                  % (len(SKINS), len(catalog["icons"])))
        else:
            print("wrote %d skin images to %s and %d system icons to %s"
                  % (len(SKINS), os.path.join(HERE, "skins"), len(catalog["icons"]),
                     os.path.join(HERE, "SysIcons")))


if __name__ == "__main__":
    main()
