#!/usr/bin/env python3
"""Makes the five quick-start pages (page1.png .. page5.png, 480 x 300, opaque) from the
screenshots of our own program in src/ (taken by capture.py), our skin images and system
icons (../skins, ../SysIcons), with Chinese captions set in WenQuanYi Micro Hei.

    python3 assets/quickstart/make_pages.py           # rewrite the five pages
    python3 assets/quickstart/make_pages.py --check   # make them elsewhere and compare

Needs ImageMagick 6 (/usr/bin/convert) and fonts-wqy-microhei. The popup and the tray do
not exist as windows yet: those pages are composed from the skin pieces and icons the
program draws them with."""

import filecmp
import os
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
ASSETS = HERE.parent
SKINS = ASSETS / "skins"
ICONS = ASSETS / "SysIcons"
CONVERT = "/usr/bin/convert"
FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
# Pages are drawn at the screenshots' size and scaled down once at the end.
WIDTH, HEIGHT = 880, 550
OUT_SIZE = "480x300"
BAND = 76  # caption band at the bottom

CAPTIONS = [
    "单击圆环上的图标启动它；指针停在图标上，它就放大显示",
    "单击组图标，弹出组的列表，再单击其中一项启动它",
    "把文件或文件夹拖到圆环的图标上，就新建了一个快捷方式",
    "按图标旁的 0–9、A–Z 键启动它；Alt+空格 显示或隐藏圆环",
    "通知区域的图标：单击显示圆环，右键打开菜单",
]


def run(args):
    subprocess.run([str(a) for a in args], check=True)


def text_args(x, y, text, size, colour, gravity="NorthWest"):
    return ["-gravity", gravity, "-font", FONT, "-pointsize", size, "-fill", colour,
            "-annotate", f"+{x}+{y}", text, "-gravity", "NorthWest"]


def icon(name, size, work):
    out = work / f"icon-{name.replace(' ', '_')}-{size}.png"
    run([CONVERT, ICONS / f"{name}.png", "-resize", f"{size}x{size}", out])
    return out


def popup_panel(work):
    """A group popup of five rows, from the skin pieces, the second row hovered."""
    rows = [("Application", "记事本"), ("Display", "画图"), ("Run", "命令提示符"),
            ("Search", "搜索"), ("CPanel", "控制面板")]
    body_height = 5 + 38 * len(rows) + 5
    panel = work / "popup.png"
    args = [CONVERT, "-size", f"268x{12 + body_height + 12}", "xc:none",
            SKINS / "MENUTOP.png", "-geometry", "+0+0", "-composite",
            "(", SKINS / "MENUBODY.png", "-crop", f"268x{body_height}+0+0", "+repage", ")",
            "-geometry", "+0+12", "-composite",
            SKINS / "MENUBOTTOM.png", "-geometry", f"+0+{12 + body_height}", "-composite",
            SKINS / "MENUSELECT.png", "-geometry", f"+10+{12 + 5 + 38}", "-composite"]
    for row, (name, title) in enumerate(rows):
        top = 12 + 5 + 38 * row
        args += [icon(name, 28, work), "-geometry", f"+20+{top + 5}", "-composite"]
        args += text_args(58, top + 8, title, 17, "#1E2430")
    args.append(panel)
    run(args)
    return panel


def caption(args, number):
    args += ["-fill", "#101622D8", "-draw", f"rectangle 0,{HEIGHT - BAND} {WIDTH},{HEIGHT}"]
    args += text_args(0, 14, CAPTIONS[number - 1], 27, "white", "South")
    args += text_args(14, 10, f"{number}/5", 17, "#9FB3D9", "NorthEast")
    return args


def keycap(args, x, y, label, width):
    args += ["-fill", "#F4F6FA", "-stroke", "#8C96A8", "-strokewidth", "2",
             "-draw", f"roundrectangle {x},{y} {x + width},{y + 44} 8,8", "-stroke", "none"]
    args += text_args(x + 14, y + 7, label, 22, "#1E2430")


def make(out_dir, work):
    ring, hover = HERE / "src" / "ring.png", HERE / "src" / "ring-hover.png"
    pages = []

    # 1: the ring, one slot magnified.
    pages.append(caption([CONVERT, hover], 1))

    # 2: a group opened beside the ring.
    panel = popup_panel(work)
    pages.append(caption([CONVERT, ring, panel, "-geometry", "+586+40", "-composite"], 2))

    # 3: a file dragged from the desktop onto a slot.
    args = [CONVERT, hover, "-fill", "none", "-stroke", "#FFD166", "-strokewidth", "4",
            "-draw", "polyline 758,86 752,170 700,258", "-stroke", "none", "-fill", "#FFD166",
            "-draw", "polygon 676,282 682,256 704,270",
            icon("File", 72, work), "-geometry", "+724+10", "-composite"]
    pages.append(caption(args, 3))

    # 4: the keys.
    args = [CONVERT, ring]
    keycap(args, 18, 18, "Alt", 60)
    args += text_args(86, 26, "+", 24, "white")
    keycap(args, 108, 18, "空格", 72)
    keycap(args, 18, 74, "0–9", 66)
    keycap(args, 94, 74, "A–Z", 66)
    pages.append(caption(args, 4))

    # 5: the notification area and its menu.
    tray_top = HEIGHT - BAND - 40
    menu = ["更改头像和用户名", "设置", "关于 Kivo Launcher", "-", "官方网站", "在线帮助", "-", "退出"]
    menu_height = 12 + sum(10 if m == "-" else 30 for m in menu)
    menu_left, menu_top = WIDTH - 250, tray_top - menu_height - 6
    args = [CONVERT, ring, "-fill", "#1B2333", "-draw",
            f"rectangle 0,{tray_top} {WIDTH},{HEIGHT}",
            "-fill", "#FFFFFF", "-stroke", "#9AA4B5", "-strokewidth", "1",
            "-draw", f"rectangle {menu_left},{menu_top} {WIDTH - 14},{tray_top - 6}",
            "-stroke", "none"]
    y = menu_top + 6
    for entry in menu:
        if entry == "-":
            args += ["-fill", "#D5DAE3", "-draw",
                     f"rectangle {menu_left + 8},{y + 4} {WIDTH - 22},{y + 5}"]
            y += 10
            continue
        args += text_args(menu_left + 24, y + 4, entry, 18, "#1E2430")
        y += 30
    args += ["(", SKINS / "LOGO.png", "-resize", "28x28", ")", "-geometry",
             f"+{WIDTH - 150}+{tray_top + 6}", "-composite",
             icon("Network", 26, work), "-geometry", f"+{WIDTH - 112}+{tray_top + 7}", "-composite"]
    args += text_args(WIDTH - 74, tray_top + 9, "12:00", 17, "#E8ECF4")
    args += ["-fill", "none", "-stroke", "#FFD166", "-strokewidth", "3", "-draw",
             f"circle {WIDTH - 136},{tray_top + 20} {WIDTH - 136},{tray_top + 2}", "-stroke", "none"]
    pages.append(caption(args, 5))

    for number, page in enumerate(pages, 1):
        run(page + ["-resize", OUT_SIZE + "!", "-alpha", "off", "-strip",
                                 "-define", "png:exclude-chunks=date,time",
                                 "-define", "png:color-type=2",
                                 out_dir / f"page{number}.png"])


def main():
    check = "--check" in sys.argv[1:]
    with tempfile.TemporaryDirectory() as temp:
        work = Path(temp)
        out_dir = work / "out" if check else HERE
        out_dir.mkdir(exist_ok=True)
        make(out_dir, work)
        if check:
            differ = [f"page{n}.png" for n in range(1, 6)
                      if not filecmp.cmp(out_dir / f"page{n}.png", HERE / f"page{n}.png", False)]
            if differ:
                sys.exit("differ from the committed pages: " + ", ".join(differ))
            print("quick-start pages: identical")


if __name__ == "__main__":
    os.environ.setdefault("MAGICK_THREAD_LIMIT", "1")
    main()
