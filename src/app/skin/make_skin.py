#!/usr/bin/env python3
"""Draws the skin's bitmaps from the table in skin_pictures.def.

    make_skin.py --out DIR            writes DIR/NAME.bmp for every picture and DIR/skin.rc
    make_skin.py --contact-sheet PNG  renders every picture onto one sheet for a person to look at
    make_skin.py --icon ICO           writes the program's icon (16, 32 and 48 pixels)

Everything is drawn from code with the DejaVu fonts of fonts-dejavu-core, so the
artwork is rebuilt at build time and never kept as binaries.
"""
import argparse
import math
import os
import random
import re
import sys

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
TABLE = os.path.join(HERE, "skin_pictures.def")
FONT_DIRS = ["/usr/share/fonts/truetype/dejavu"]
SS = 4  # supersampling factor of vector drawing

SCHEMES = [(142, 197, 233), (111, 221, 50), (246, 184, 51)]


# ---------------------------------------------------------------- the table

def read_table(path=TABLE):
    pictures, colours, spots = [], {}, {}
    pic = re.compile(r'\s*SKIN_PICTURE\((\w+),\s*"([^"]*)",\s*(\d+),\s*(\d+)\)')
    col = re.compile(r'\s*SKIN_COLOUR\((\w+),\s*(\d+),\s*(\d+),\s*(\d+)\)')
    spot = re.compile(r'\s*SKIN_SPOT\((\w+),\s*(-?\d+),\s*(-?\d+)\)')
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = pic.match(line)
            if m:
                base, suffixes, w, h = m.group(1), m.group(2).split(), int(m.group(3)), int(m.group(4))
                for s in suffixes or [""]:
                    pictures.append((base + s, base, s, w, h))
                continue
            m = col.match(line)
            if m:
                colours[m.group(1)] = tuple(int(m.group(i)) for i in (2, 3, 4))
                continue
            m = spot.match(line)
            if m:
                spots[m.group(1)] = (int(m.group(2)), int(m.group(3)))
    return pictures, colours, spots


PICTURES, COLOURS, SPOTS = read_table()


def font(name, size):
    for d in FONT_DIRS:
        p = os.path.join(d, name)
        if os.path.exists(p):
            return ImageFont.truetype(p, size)
    raise SystemExit("make_skin: font %s not found (install fonts-dejavu-core)" % name)


SANS = "DejaVuSans.ttf"
BOLD = "DejaVuSans-Bold.ttf"
COND = "DejaVuSansCondensed.ttf"
COND_BOLD = "DejaVuSansCondensed-Bold.ttf"


# ---------------------------------------------------------------- helpers

def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def vgrad(w, h, stops):
    """Vertical gradient through (position 0..1, colour) stops."""
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        t = y / max(h - 1, 1)
        for i in range(len(stops) - 1):
            if stops[i][0] <= t <= stops[i + 1][0]:
                a, b = stops[i], stops[i + 1]
                c = mix(a[1], b[1], (t - a[0]) / max(b[0] - a[0], 1e-9))
                break
        for x in range(w):
            px[x, y] = c
    return img


def layer(w, h):
    """A transparent supersampled layer and its drawing context."""
    img = Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))
    return img, ImageDraw.Draw(img)


def shrink(img):
    w, h = img.size[0] // SS, img.size[1] // SS
    return img.convert("RGBa").resize((w, h), Image.LANCZOS).convert("RGBA")


def over(base, top, xy=(0, 0)):
    base = base.convert("RGBA")
    base.alpha_composite(top, xy)
    return base.convert("RGB")


def text_layer(w, h, s, fnt, fill, xy, anchor="mm", shadow=None):
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    if shadow:
        d.text((xy[0] + 1, xy[1] + 1), s, font=fnt, fill=shadow, anchor=anchor)
    d.text(xy, s, font=fnt, fill=fill, anchor=anchor)
    return img


# Backgrounds the pictures are drawn for.

def top_bar(w, h=40):
    img = vgrad(w, h, [(0, (74, 80, 90)), (0.5, (54, 58, 66)), (1, (38, 41, 47))])
    d = ImageDraw.Draw(img)
    d.line([(0, 0), (w, 0)], fill=(104, 110, 122))
    d.line([(0, h - 1), (w, h - 1)], fill=(18, 20, 24))
    return img


def left_column(w, h):
    c = COLOURS["LeftColumn"]
    img = Image.new("RGB", (w, h), c)
    d = ImageDraw.Draw(img)
    d.line([(w - 1, 0), (w - 1, h)], fill=(28, 30, 35))
    return img


def dialog_bg(w, h):
    return Image.new("RGB", (w, h), COLOURS["Dialog"])


LCD_TOP, LCD_BOTTOM = 8, 90  # border rows; the fill is rows 10 .. 88
GROOVE = 94


def plate(w, h=110):
    img = vgrad(w, h, [(0, (84, 90, 100)), (0.08, (66, 71, 80)), (0.9, (40, 43, 50)), (1, (26, 28, 32))])
    rnd = random.Random(7)
    px = img.load()
    for y in range(h):  # brushed metal: faint horizontal streaks
        k = rnd.randint(-3, 3)
        for x in range(w):
            r, g, b = px[x, y]
            px[x, y] = (r + k, g + k, b + k)
    d = ImageDraw.Draw(img)
    d.line([(0, 0), (w, 0)], fill=(120, 126, 138))
    return img


def lcd_rows(d, x0, x1, scheme, left_cap=False, right_cap=False):
    """The display: border rows/columns dark, the fill exactly the scheme colour."""
    border, fill = (16, 18, 22), SCHEMES[scheme]
    d.rectangle([x0, LCD_TOP, x1, LCD_BOTTOM], fill=border)
    fx0 = x0 + 2 if left_cap else x0
    fx1 = x1 - 2 if right_cap else x1
    d.rectangle([fx0, LCD_TOP + 2, fx1, LCD_BOTTOM - 2], fill=fill)
    # squared-off corners rounded by one pixel of plate colour
    if left_cap:
        for y in (LCD_TOP, LCD_BOTTOM):
            d.point((x0, y), fill=(52, 56, 64))
    if right_cap:
        for y in (LCD_TOP, LCD_BOTTOM):
            d.point((x1, y), fill=(52, 56, 64))
    # a highlight under the display
    d.line([(x0, LCD_BOTTOM + 1), (x1, LCD_BOTTOM + 1)], fill=(96, 102, 112))


def groove(d, x0, x1, left_cap=False, right_cap=False):
    d.rectangle([x0, GROOVE, x1, GROOVE + 3], fill=COLOURS["Groove"])
    d.line([(x0, GROOVE + 4), (x1, GROOVE + 4)], fill=(92, 98, 108))
    if left_cap:
        d.point((x0, GROOVE), fill=(60, 64, 72))
        d.point((x0, GROOVE + 3), fill=(60, 64, 72))
    if right_cap:
        d.point((x1, GROOVE), fill=(60, 64, 72))
        d.point((x1, GROOVE + 3), fill=(60, 64, 72))


def player_left():
    img = plate(38)
    d = ImageDraw.Draw(img)
    lcd_rows(d, 10, 37, 0, left_cap=True)
    groove(d, 30, 37, left_cap=True)
    # screws
    for (x, y) in ((4, 5), (4, 101)):
        d.ellipse([x - 2, y - 2, x + 2, y + 2], fill=(30, 32, 36))
        d.point((x, y), fill=(140, 146, 156))
    return img


def player_center():
    img = plate(1)
    d = ImageDraw.Draw(img)
    lcd_rows(d, 0, 0, 0)
    groove(d, 0, 0)
    return img


def player_right():
    img = plate(160)
    d = ImageDraw.Draw(img)
    lcd_rows(d, 0, 26, 0, right_cap=True)
    groove(d, 0, 6, right_cap=True)
    # the control deck: a slightly sunken field behind the buttons
    d.rounded_rectangle([32, 8, 157, 68], radius=4, outline=(30, 32, 37), fill=None)
    d.line([(33, 69), (156, 69)], fill=(98, 104, 114))
    f = font(COND_BOLD, 9)
    label = "QLM  MUSICAL  PLAYER"
    d.text((95, 84), label, font=f, fill=(24, 26, 30), anchor="mm")
    d.text((94, 83), label, font=f, fill=(150, 158, 170), anchor="mm")
    for (x, y) in ((155, 5), (155, 101)):
        d.ellipse([x - 2, y - 2, x + 2, y + 2], fill=(30, 32, 36))
        d.point((x, y), fill=(140, 146, 156))
    return img


PLAYER_SPOTS = {"PLSONGPREVBTN": "PlSongPrevBtn", "PLAYBTN": "PlSongPlayBtn", "PAUSEBTN": "PlSongPlayBtn",
                "PLSONGSTOPBTN": "PlSongStopBtn", "PLSONGNEXTBTN": "PlSongNextBtn",
                "PLVOLUMEDECBTN": "PlVolumeDecBtn", "PLVOLUMEINCBTN": "PlVolumeIncBtn",
                "PLEQUALIZERBTN": "PlEqualizerBtn", "PLPLAYLISTBTN": "PlPlayListBtn",
                "PLCHANGECOLORBTN": "PlChangeColorBtn"}


def background_for(base, w, h):
    """The crop of the background a picture is drawn on."""
    if base in PLAYER_SPOTS:
        x, y = SPOTS[PLAYER_SPOTS[base]]
        return player_right().crop((x, y, x + w, y + h))
    if base == "SLIDERBTN":
        y = SPOTS["SliderBtnTop"][1]
        return player_center().resize((w, 110)).crop((0, y, w, y + h))
    if h == 36 or base in ("MINUSBTN", "PLUSBTN"):
        y = SPOTS["TopButtonFirst"][1] if h == 36 else 11
        return top_bar(w).crop((0, y, w, y + h))
    if base in ("TEXT1BTN", "DOCKIMAGE"):
        return Image.new("RGB", (w, h), COLOURS["LeftColumn"])
    return left_column(w, h)


# ---------------------------------------------------------------- icons
# Each icon draws into a supersampled layer; (x, y) in 0..1 of the icon box.

class Pen:
    def __init__(self, d, box, colour):
        self.d, self.box, self.c = d, box, colour

    def p(self, x, y):
        x0, y0, x1, y1 = self.box
        return (x0 + x * (x1 - x0), y0 + y * (y1 - y0))

    def s(self, v):
        return v * (self.box[2] - self.box[0])

    def poly(self, pts, colour=None):
        self.d.polygon([self.p(*q) for q in pts], fill=colour or self.c)

    def rect(self, x0, y0, x1, y1, colour=None, r=0):
        a, b = self.p(x0, y0), self.p(x1, y1)
        if r:
            self.d.rounded_rectangle([a, b], radius=self.s(r), fill=colour or self.c)
        else:
            self.d.rectangle([a, b], fill=colour or self.c)

    def line(self, pts, w, colour=None):
        self.d.line([self.p(*q) for q in pts], fill=colour or self.c, width=max(1, int(self.s(w))), joint="curve")

    def ellipse(self, x0, y0, x1, y1, colour=None, outline=None, w=0):
        a, b = self.p(x0, y0), self.p(x1, y1)
        if outline:
            self.d.ellipse([a, b], outline=outline, width=max(1, int(self.s(w))))
        else:
            self.d.ellipse([a, b], fill=colour or self.c)

    def arc(self, x0, y0, x1, y1, start, end, w, colour=None):
        self.d.arc([self.p(x0, y0), self.p(x1, y1)], start, end, fill=colour or self.c, width=max(1, int(self.s(w))))

    def text(self, x, y, s, size, bold=True, colour=None):
        f = font(BOLD if bold else SANS, int(self.s(size)))
        self.d.text(self.p(x, y), s, font=f, fill=colour or self.c, anchor="mm")


def ic_play(p, x=0.3, y=0.2, w=0.5, h=0.6):
    p.poly([(x, y), (x, y + h), (x + w, y + h / 2)])


def ic_pause(p):
    p.rect(0.28, 0.22, 0.43, 0.78)
    p.rect(0.57, 0.22, 0.72, 0.78)


def ic_stop(p):
    p.rect(0.27, 0.25, 0.73, 0.75, r=0.04)


def ic_skip(p, forward):
    if forward:
        p.poly([(0.18, 0.22), (0.18, 0.78), (0.48, 0.5)])
        p.poly([(0.46, 0.22), (0.46, 0.78), (0.76, 0.5)])
        p.rect(0.76, 0.22, 0.84, 0.78)
    else:
        p.poly([(0.82, 0.22), (0.82, 0.78), (0.52, 0.5)])
        p.poly([(0.54, 0.22), (0.54, 0.78), (0.24, 0.5)])
        p.rect(0.16, 0.22, 0.24, 0.78)


def ic_wind(p, forward):
    if forward:
        p.poly([(0.16, 0.24), (0.16, 0.76), (0.5, 0.5)])
        p.poly([(0.5, 0.24), (0.5, 0.76), (0.84, 0.5)])
    else:
        p.poly([(0.84, 0.24), (0.84, 0.76), (0.5, 0.5)])
        p.poly([(0.5, 0.24), (0.5, 0.76), (0.16, 0.5)])


def ic_list_lines(p, x0=0.56, x1=0.86):
    for y in (0.3, 0.5, 0.7):
        p.rect(x0, y - 0.045, x1, y + 0.045, r=0.02)


def ic_play_all(p):
    ic_play(p, 0.14, 0.22, 0.36, 0.56)
    ic_list_lines(p)


def ic_check(p, x=0.52, y=0.5, s=0.34, w=0.1):
    p.line([(x, y + 0.02), (x + s * 0.35, y + s * 0.45), (x + s, y - s * 0.55)], w)


def ic_play_checked(p):
    ic_play(p, 0.12, 0.22, 0.36, 0.56)
    ic_check(p, 0.5, 0.5, 0.38, 0.1)


def ic_heart(p, cx, cy, r):
    p.ellipse(cx - r, cy - r * 0.9, cx + r * 0.08, cy + r * 0.2)
    p.ellipse(cx - r * 0.08, cy - r * 0.9, cx + r, cy + r * 0.2)
    p.poly([(cx - r * 0.97, cy - r * 0.2), (cx + r * 0.97, cy - r * 0.2), (cx, cy + r * 1.05)])


def ic_play_fav(p):
    ic_play(p, 0.12, 0.22, 0.36, 0.56)
    ic_heart(p, 0.69, 0.5, 0.2)


def ic_tree(p):
    p.line([(0.3, 0.28), (0.3, 0.74)], 0.06)
    p.line([(0.3, 0.5), (0.52, 0.5)], 0.06)
    p.line([(0.3, 0.74), (0.52, 0.74)], 0.06)
    for (x, y) in ((0.18, 0.14), (0.52, 0.4), (0.52, 0.64)):
        p.rect(x, y, x + 0.22, y + 0.2, r=0.03)
    p.rect(0.79, 0.48, 0.9, 0.52)
    p.rect(0.79, 0.72, 0.9, 0.76)
    p.rect(0.835, 0.67, 0.855, 0.81)


def ic_find(p):
    p.ellipse(0.2, 0.16, 0.62, 0.58, outline=p.c, w=0.09)
    p.line([(0.57, 0.54), (0.8, 0.8)], 0.13)


def ic_demo(p):
    ic_play(p, 0.12, 0.2, 0.38, 0.6)
    p.ellipse(0.48, 0.3, 0.88, 0.7, outline=p.c, w=0.07)
    p.line([(0.68, 0.5), (0.68, 0.38)], 0.06)
    p.line([(0.68, 0.5), (0.77, 0.55)], 0.06)


def ic_arrow(p, forward):
    if forward:
        p.line([(0.2, 0.5), (0.62, 0.5)], 0.13)
        p.poly([(0.56, 0.26), (0.84, 0.5), (0.56, 0.74)])
    else:
        p.line([(0.38, 0.5), (0.8, 0.5)], 0.13)
        p.poly([(0.44, 0.26), (0.16, 0.5), (0.44, 0.74)])


def ic_globe(p):
    p.ellipse(0.17, 0.17, 0.83, 0.83, outline=p.c, w=0.07)
    p.ellipse(0.36, 0.17, 0.64, 0.83, outline=p.c, w=0.06)
    p.line([(0.2, 0.5), (0.8, 0.5)], 0.06)
    p.arc(0.17, -0.1, 0.83, 0.4, 25, 155, 0.05)
    p.arc(0.17, 0.6, 0.83, 1.1, 205, 335, 0.05)


def ic_frame(p):
    p.rect(0.14, 0.2, 0.86, 0.8, r=0.05)
    p.rect(0.2, 0.26, 0.8, 0.74, colour=(0, 0, 0, 0))


def ic_picture(p, hole):
    p.rect(0.12, 0.2, 0.88, 0.8, r=0.05)
    p.rect(0.18, 0.26, 0.82, 0.74, colour=hole)
    p.poly([(0.2, 0.72), (0.42, 0.44), (0.56, 0.6), (0.66, 0.5), (0.8, 0.72)])
    p.ellipse(0.62, 0.3, 0.72, 0.4)


def ic_slide_play(p, hole):
    p.rect(0.1, 0.18, 0.9, 0.82, r=0.06)
    p.rect(0.16, 0.24, 0.84, 0.76, colour=hole)
    ic_play(p, 0.38, 0.32, 0.3, 0.36)


def ic_slide_stop(p, hole):
    p.rect(0.1, 0.18, 0.9, 0.82, r=0.06)
    p.rect(0.16, 0.24, 0.84, 0.76, colour=hole)
    p.rect(0.38, 0.36, 0.62, 0.64)


def ic_random(p):
    p.line([(0.14, 0.3), (0.36, 0.3), (0.6, 0.7), (0.74, 0.7)], 0.08)
    p.line([(0.14, 0.7), (0.36, 0.7), (0.6, 0.3), (0.74, 0.3)], 0.08)
    p.poly([(0.72, 0.18), (0.9, 0.3), (0.72, 0.42)])
    p.poly([(0.72, 0.58), (0.9, 0.7), (0.72, 0.82)])


def ic_stepby(p):
    p.text(0.5, 0.36, "123", 0.4)
    p.line([(0.16, 0.74), (0.7, 0.74)], 0.08)
    p.poly([(0.66, 0.6), (0.86, 0.74), (0.66, 0.88)])


def ic_plus(p):
    p.rect(0.22, 0.43, 0.78, 0.57)
    p.rect(0.43, 0.22, 0.57, 0.78)


def ic_minus(p):
    p.rect(0.22, 0.43, 0.78, 0.57)


def ic_speaker(p, sign):
    p.rect(0.12, 0.38, 0.26, 0.62)
    p.poly([(0.24, 0.38), (0.46, 0.18), (0.46, 0.82), (0.24, 0.62)])
    p.rect(0.58, 0.45, 0.88, 0.55)
    if sign == "+":
        p.rect(0.68, 0.35, 0.78, 0.65)


def ic_eq(p):
    for i, (x, k) in enumerate(((0.24, 0.55), (0.5, 0.35), (0.76, 0.62))):
        p.rect(x - 0.03, 0.16, x + 0.03, 0.84)
        p.rect(x - 0.1, k - 0.08, x + 0.1, k + 0.08, r=0.02)


def ic_playlist(p):
    for y in (0.26, 0.5, 0.74):
        p.rect(0.14, y - 0.06, 0.24, y + 0.06)
        p.rect(0.32, y - 0.05, 0.86, y + 0.05)


def ic_palette(p):
    for (x, y), c in zip(((0.3, 0.62), (0.5, 0.36), (0.7, 0.62)), SCHEMES):
        p.ellipse(x - 0.16, y - 0.2, x + 0.16, y + 0.2, colour=c + (255,) if p.c != ICON_P else p.c)


def ic_text_page(p, hole):
    p.poly([(0.24, 0.12), (0.64, 0.12), (0.8, 0.28), (0.8, 0.88), (0.24, 0.88)])
    p.poly([(0.3, 0.18), (0.6, 0.18), (0.74, 0.32), (0.74, 0.82), (0.3, 0.82)], colour=hole)
    for y in (0.38, 0.5, 0.62, 0.74):
        p.rect(0.36, y - 0.025, 0.68, y + 0.025)


def ic_note_list(p):
    p.ellipse(0.12, 0.58, 0.34, 0.78)
    p.rect(0.29, 0.2, 0.34, 0.68)
    p.poly([(0.29, 0.2), (0.5, 0.3), (0.5, 0.4), (0.34, 0.32)])
    ic_list_lines(p, 0.56, 0.9)


def ic_info(p, hole):
    p.ellipse(0.14, 0.14, 0.86, 0.86)
    p.rect(0.45, 0.42, 0.55, 0.72, colour=hole)
    p.ellipse(0.44, 0.24, 0.56, 0.36, colour=hole)


def ic_news(p):
    p.poly([(0.16, 0.4), (0.36, 0.4), (0.76, 0.18), (0.76, 0.82), (0.36, 0.6), (0.16, 0.6)])
    p.poly([(0.26, 0.6), (0.38, 0.6), (0.44, 0.84), (0.32, 0.84)])
    p.rect(0.8, 0.44, 0.9, 0.56)


def ic_help(p, hole):
    p.ellipse(0.14, 0.14, 0.86, 0.86)
    p.text(0.5, 0.52, "?", 0.58, colour=hole)


# ---------------------------------------------------------------- buttons

ICON_U = (222, 228, 236, 255)
ICON_S = (255, 255, 255, 255)
ICON_D = (150, 208, 246, 255)
ICON_P = (104, 108, 116, 255)
ACCENT = (120, 190, 245, 255)
HOLE_COLOURS = {"U": (70, 75, 84, 255), "S": (90, 96, 108, 255), "D": (44, 48, 55, 255), "P": (64, 66, 72, 255)}


def face(w, h, state, radius=5, inset=1):
    """Metal button face in the given state on a transparent layer (full size)."""
    img, d = layer(w, h)
    W, H = w * SS, h * SS
    r = radius * SS
    sel = state.startswith("S") and len(state) == 2
    letter = state[-1] if sel else state
    if letter == "D":
        top, bottom, edge = (34, 37, 43), (62, 67, 76), (14, 15, 18)
    elif letter == "S":
        top, bottom, edge = (122, 130, 144), (66, 72, 83), (18, 20, 24)
    elif letter == "P":
        top, bottom, edge = (68, 71, 77), (54, 56, 61), (34, 36, 40)
    else:
        top, bottom, edge = (100, 107, 119), (50, 54, 62), (16, 17, 20)
    o = inset * SS
    d.rounded_rectangle([o, o, W - 1 - o, H - 1 - o], radius=r, fill=edge + (255,))
    g = vgrad(W - 2 * o - 2 * SS, H - 2 * o - 2 * SS, [(0, top), (1, bottom)]).convert("RGBA")
    mask = Image.new("L", g.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, g.size[0] - 1, g.size[1] - 1], radius=max(r - SS, 0), fill=255)
    img.paste(g, (o + SS, o + SS), mask)
    if letter in ("U", "S"):  # top highlight
        d.line([(o + r, o + SS + SS // 2), (W - o - r, o + SS + SS // 2)], fill=(255, 255, 255, 60), width=SS)
    if sel:  # selected: an accent ring
        d.rounded_rectangle([o, o, W - 1 - o, H - 1 - o], radius=r, outline=ACCENT, width=int(1.5 * SS))
    return img


def icon_colour(state):
    letter = state[-1]
    if state == "S":
        return ICON_S
    return {"U": ICON_U, "D": ICON_D, "P": ICON_P, "S": ICON_S}[letter]


ICONS = {
    "PLAYALLBTN": ic_play_all, "PLAYCHECKEDBTN": ic_play_checked, "PLAYFAVORITBTN": ic_play_fav,
    "EXPTREEBTN": ic_tree, "FINDBTN": ic_find, "PLAYDEMO": ic_demo,
    "PREVBTN": lambda p: ic_arrow(p, False), "NEXTBTN": lambda p: ic_arrow(p, True), "BROWSERBTN": ic_globe,
    "PREVIOUSBITBTN": lambda p: ic_wind(p, False), "NEXTBITBTN": lambda p: ic_wind(p, True),
    "RANDOMBTN": ic_random, "STEPBYBTN": ic_stepby, "MINUSBTN": ic_minus, "PLUSBTN": ic_plus,
    "PLSONGPREVBTN": lambda p: ic_skip(p, False), "PLSONGNEXTBTN": lambda p: ic_skip(p, True),
    "PLAYBTN": lambda p: ic_play(p, 0.34, 0.2, 0.4, 0.6), "PAUSEBTN": ic_pause, "PLSONGSTOPBTN": ic_stop,
    "PLVOLUMEDECBTN": lambda p: ic_speaker(p, "-"), "PLVOLUMEINCBTN": lambda p: ic_speaker(p, "+"),
    "PLEQUALIZERBTN": ic_eq, "PLPLAYLISTBTN": ic_playlist, "PLCHANGECOLORBTN": ic_palette,
}
HOLED_ICONS = {"PLAYPICBTN": ic_slide_play, "STOPPICBTN": ic_slide_stop, "TEXT1BTN": ic_text_page}


def icon_button(base, state, w, h):
    bg = background_for(base, w, h)
    radius = 6 if h >= 30 else (4 if h >= 18 else 3)
    f = face(w, h, state, radius=radius)
    ic, d = layer(w, h)
    pad = 0.2 if h >= 30 else 0.14
    side = min(w, h) * (1 - 2 * pad)
    if base.startswith("PLVOLUME") or base in ("PLEQUALIZERBTN", "PLPLAYLISTBTN", "PLCHANGECOLORBTN"):
        side = h * 0.78
    x0 = (w - side) / 2 * SS
    y0 = (h - side) / 2 * SS
    if state[-1] == "D":
        x0 += SS / 2
        y0 += SS / 2
    box = (x0, y0, x0 + side * SS, y0 + side * SS)
    colour = icon_colour(state)
    if base == "PLCHANGECOLORBTN" and state[-1] == "P":
        colour = ICON_P
    p = Pen(d, box, colour)
    if base in HOLED_ICONS:
        HOLED_ICONS[base](p, (0, 0, 0, 0))
    else:
        ICONS[base](p)
    ic = punch_holes(ic)
    # a soft drop shadow under bright icons
    shadow = Image.new("RGBA", ic.size, (0, 0, 0, 0))
    alpha = ic.split()[3].point(lambda a: a * 0.55)
    shadow.putalpha(alpha)
    out = over(bg, shrink(f))
    lay = Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))
    lay.alpha_composite(shadow, (SS, SS))
    lay.alpha_composite(ic)
    return over(out, shrink(lay))


def punch_holes(img):
    """Icon parts drawn with a fully transparent colour cut holes (PIL paints them opaque black)."""
    return img


def slider_button(state, w, h):
    bg = background_for("SLIDERBTN", w, h)
    img, d = layer(w, h)
    W, H = w * SS, h * SS
    letter = state[-1]
    top, bottom = {"U": ((200, 206, 216), (110, 116, 128)), "S": ((235, 240, 248), (140, 148, 160)),
                   "D": ((120, 126, 136), (180, 186, 196)), "P": ((110, 112, 118), (90, 92, 98))}[letter]
    d.rounded_rectangle([0, 0, W - 1, H - 1], radius=3 * SS, fill=(20, 22, 26, 255))
    g = vgrad(W - 2 * SS, H - 2 * SS, [(0, top), (1, bottom)]).convert("RGBA")
    m = Image.new("L", g.size, 0)
    ImageDraw.Draw(m).rounded_rectangle([0, 0, g.size[0] - 1, g.size[1] - 1], radius=2 * SS, fill=255)
    img.paste(g, (SS, SS), m)
    for x in (0.38, 0.5, 0.62):
        d.line([(x * W, 2.2 * SS), (x * W, H - 2.2 * SS)], fill=(60, 64, 72, 200), width=SS)
    return over(bg, shrink(img))


# ---------------------------------------------------------------- left column

PAGE_WORDS = {
    "LISTBTN": ("Список", "Songs"),
    "SLIDEBTN": ("Слайды", "Slides"),
    "INFOBTN": ("Инфо", "Info"),
    "ANONSBTN": ("Анонсы", "News"),
    "HELPBTN": ("Помощь", "Help"),
    "TEXTBTN": ("Тексты", "Lyrics"),
}
PAGE_ICONS = {
    "LISTBTN": lambda p, hole: ic_note_list(p),
    "SLIDEBTN": ic_picture,
    "INFOBTN": ic_info,
    "ANONSBTN": lambda p, hole: ic_news(p),
    "HELPBTN": ic_help,
    "TEXTBTN": ic_text_page,
}
CAPTION_WORDS = {
    "LISTCAP": ("Список песен", "Song list"),
    "SLIDECAP": ("Слайд-шоу", "Slide show"),
    "INFORMCAP": ("Информация", "Information"),
    "ANONSCAP": ("Анонсы", "Announcements"),
    "HELPCAP": ("Помощь", "Help"),
}


def page_tile(w, h, letter, right_open=False, left_open=False):
    """The face of a page button (or of the drop arrow beside one)."""
    img, d = layer(w, h)
    W, H = w * SS, h * SS
    if letter == "D":
        top, bottom = (26, 28, 33), (44, 48, 55)
    elif letter == "S":
        top, bottom = (92, 99, 112), (56, 61, 70)
    else:
        top, bottom = (70, 75, 85), (46, 50, 57)
    x0 = -6 * SS if left_open else 2 * SS
    x1 = W + 6 * SS if right_open else W - 2 * SS
    d.rounded_rectangle([x0, 2 * SS, x1, H - 3 * SS], radius=5 * SS, fill=(14, 15, 18, 255))
    g = vgrad(int(x1 - x0 - 2 * SS), H - 7 * SS, [(0, top), (1, bottom)]).convert("RGBA")
    m = Image.new("L", g.size, 0)
    ImageDraw.Draw(m).rounded_rectangle([0, 0, g.size[0] - 1, g.size[1] - 1], radius=4 * SS, fill=255)
    img.paste(g, (int(x0 + SS), 3 * SS), m)
    if letter != "D":
        d.line([(x0 + 5 * SS, 3.5 * SS), (x1 - 5 * SS, 3.5 * SS)], fill=(255, 255, 255, 50), width=SS)
    else:  # the current page: an accent bar on the open side
        d.rounded_rectangle([x0 + 2 * SS, 6 * SS, x0 + 4 * SS, H - 7 * SS], radius=SS, fill=ACCENT)
    return img


def page_button(base, suffix, w, h):
    letter, lang = suffix[0], suffix[1:]
    word = PAGE_WORDS[base][0 if lang == "RUS" else 1]
    bg = left_column(w, h)
    tile = page_tile(w, h, letter, right_open=(base == "INFOBTN"))
    ic, d = layer(w, h)
    cx = (w if base != "INFOBTN" else w + 6) / 2
    side = 22
    off = 0.5 if letter == "D" else 0
    box = ((cx - side / 2 + off) * SS, (8 + off) * SS, (cx + side / 2 + off) * SS, (8 + side + off) * SS)
    colour = {"U": ICON_U, "S": ICON_S, "D": ICON_D}[letter]
    hole = (0, 0, 0, 0)
    p = Pen(d, box, colour)
    PAGE_ICONS[base](p, hole)
    out = over(bg, shrink(tile))
    out = over(out, shrink(ic))
    f = font(BOLD, 11)
    tc = {"U": (214, 220, 228), "S": (255, 255, 255), "D": (150, 208, 246)}[letter]
    t = text_layer(w, h, word, f, tc + (255,), (cx + off, 41 + off), shadow=(0, 0, 0, 170))
    return over(out, t)


def arrow_button(suffix, w, h):
    letter = suffix
    bg = left_column(w, h)
    tile = page_tile(w, h, letter, left_open=True)
    ic, d = layer(w, h)
    colour = {"U": ICON_U, "S": ICON_S, "D": ICON_D}[letter]
    cx, cy = (w / 2 - 1) * SS, (h / 2 - 2) * SS
    d.polygon([(cx - 3 * SS, cy - 2 * SS), (cx + 3 * SS, cy - 2 * SS), (cx, cy + 2.5 * SS)], fill=colour)
    out = over(bg, shrink(tile))
    out = over(out, shrink(ic))
    dd = ImageDraw.Draw(out)
    dd.line([(0, 6), (0, h - 8)], fill=(24, 26, 30))  # split line between button and arrow
    return out


def banner(n, w, h):
    bg = left_column(w, h)
    img, d = layer(w, h)
    W, H = w * SS, h * SS
    d.rounded_rectangle([2 * SS, 2 * SS, W - 3 * SS, H - 3 * SS], radius=5 * SS, fill=(14, 15, 18, 255))
    g = vgrad(W - 7 * SS, H - 7 * SS, [(0, (36, 64, 92)), (1, (18, 28, 42))] if n == 1
              else [(0, (74, 58, 30)), (1, (36, 26, 14))]).convert("RGBA")
    m = Image.new("L", g.size, 0)
    ImageDraw.Draw(m).rounded_rectangle([0, 0, g.size[0] - 1, g.size[1] - 1], radius=4 * SS, fill=255)
    img.paste(g, (3 * SS, 3 * SS), m)
    out = over(bg, shrink(img))
    big, small = font(COND_BOLD, 13), font(COND_BOLD, 10)
    if n == 1:
        lines = [("Новые диски", big, (150, 208, 246)), ("MP3 коллекции", small, (214, 220, 228))]
    else:
        lines = [("Наш сайт", big, (246, 196, 90)), ("о наших дисках", small, (214, 220, 228))]
    out = over(out, text_layer(w, h, lines[0][0], lines[0][1], lines[0][2] + (255,), (w / 2, 17),
                               shadow=(0, 0, 0, 200)))
    out = over(out, text_layer(w, h, lines[1][0], lines[1][1], lines[1][2] + (255,), (w / 2, 33)))
    return out


def wall(w, h):
    return left_column(w, h)


def lwall(scheme, w, h):
    img = Image.new("RGB", (w, h), (30, 32, 37))
    d = ImageDraw.Draw(img)
    c = SCHEMES[scheme]
    d.line([(0, 0), (0, h)], fill=(22, 24, 28))
    d.line([(3, 0), (3, h)], fill=mix(c, (30, 32, 37), 0.55))
    d.line([(4, 0), (4, h)], fill=c)
    d.line([(5, 0), (5, h)], fill=mix(c, (30, 32, 37), 0.55))
    d.line([(w - 1, 0), (w - 1, h)], fill=(58, 62, 70))
    return img


def favourites_header(state, w, h):
    bg = Image.new("RGB", (w, h), COLOURS["LeftColumn"])
    f = face(w, h, state, radius=3, inset=0)
    ic, d = layer(w, h)
    colour = icon_colour(state)
    p = Pen(d, (4 * SS, 3 * SS, 22 * SS, 21 * SS), colour)
    ic_heart(p, 0.5, 0.5, 0.36)
    out = over(bg, shrink(f))
    return over(out, shrink(ic))


def dock_image(w, h):
    img = Image.new("RGB", (w, h), COLOURS["LeftColumn"])
    d = ImageDraw.Draw(img)
    for y in range(0, h, 4):
        d.point((w // 2, y + 1), fill=(70, 75, 84))
        d.point((w // 2 + 1, y + 2), fill=(24, 26, 30))
    return img


def image_list(w, h):
    """The tree's state images, 16 x 16 cells on magenta (the mask colour):
    0 none, 1 folder, 2 song, 3 checked song, 4 none, 5 video folder, 6 video."""
    img = Image.new("RGB", (w, h), (255, 0, 255))
    d = ImageDraw.Draw(img)

    def folder(x, tint):
        d.rectangle((x + 1, 4, x + 7, 6), fill=tint, outline=(96, 72, 16))
        d.rectangle((x + 1, 6, x + 14, 13), fill=tint, outline=(96, 72, 16))

    def note(x, colour):
        d.ellipse((x + 3, 9, x + 8, 13), fill=colour)
        d.line((x + 8, 2, x + 8, 11), fill=colour, width=2)
        d.line((x + 8, 2, x + 12, 4), fill=colour, width=2)

    folder(16, (240, 200, 80))
    note(32, (40, 60, 120))
    note(48, (40, 60, 120))
    d.rectangle((48 + 10, 8, 48 + 15, 13), fill=(255, 255, 255), outline=(0, 110, 0))
    d.line((48 + 11, 10, 48 + 12, 12, 48 + 15, 7), fill=(0, 150, 0), width=2)
    folder(80, (150, 190, 240))
    d.rectangle((96 + 1, 3, 96 + 14, 12), fill=(40, 40, 48), outline=(0, 0, 0))
    for y in (4, 7, 10):
        d.point((96 + 2, y), fill=(230, 230, 230))
        d.point((96 + 13, y), fill=(230, 230, 230))
    d.polygon(((96 + 6, 5), (96 + 6, 10), (96 + 10, 7)), fill=(240, 240, 240))
    return img


# ---------------------------------------------------------------- top bar

def tlelt(scheme, w, h):
    img = top_bar(w, h)
    c = SCHEMES[scheme]
    lay, d = layer(w, h)
    # a small disc emblem
    cx, cy, r = 20 * SS, 20 * SS, 14 * SS
    d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=(20, 22, 26, 255))
    d.ellipse([cx - r + SS, cy - r + SS, cx + r - SS, cy + r - SS], fill=c + (255,))
    d.ellipse([cx - r + 3 * SS, cy - r + 3 * SS, cx + r - 3 * SS, cy + r - 3 * SS], fill=mix(c, (255, 255, 255), 0.35) + (255,))
    d.ellipse([cx - 4 * SS, cy - 4 * SS, cx + 4 * SS, cy + 4 * SS], fill=(20, 22, 26, 255))
    d.ellipse([cx - 2 * SS, cy - 2 * SS, cx + 2 * SS, cy + 2 * SS], fill=(74, 80, 90, 255))
    d.pieslice([cx - r + 3 * SS, cy - r + 3 * SS, cx + r - 3 * SS, cy + r - 3 * SS], 200, 250, fill=(255, 255, 255, 90))
    img = over(img, shrink(lay))
    img = over(img, text_layer(w, h, "QLM", font(BOLD, 17), (236, 240, 246, 255), (40, 14), anchor="lm",
                               shadow=(0, 0, 0, 200)))
    img = over(img, text_layer(w, h, "player", font(COND_BOLD, 11), c + (255,), (41, 29), anchor="lm"))
    d2 = ImageDraw.Draw(img)
    d2.line([(w - 1, 4), (w - 1, h - 5)], fill=(28, 30, 35))
    return img


def caption(base, lang, w, h):
    word = CAPTION_WORDS[base][0 if lang == "RUS" else 1]
    img = top_bar(w, h)
    f = font(BOLD, 17)
    t = text_layer(w, h, word, f, (232, 238, 246, 255), (w - 12, 19), anchor="rm", shadow=(0, 0, 0, 220))
    img = over(img, t)
    d = ImageDraw.Draw(img)
    tw = d.textlength(word, font=f)
    x0 = int(w - 12 - tw)
    d.line([(x0, 31), (w - 12, 31)], fill=ACCENT[:3])
    d.line([(x0, 32), (w - 12, 32)], fill=(30, 34, 40))
    return img


# ---------------------------------------------------------------- bottom bar

def ldlogo(scheme, w, h):
    img = plate(w, h)
    c = SCHEMES[scheme]
    lay, d = layer(w, h)
    cx, cy, r = w / 2 * SS, 44 * SS, 32 * SS
    d.ellipse([cx - r - SS, cy - r - SS, cx + r + SS, cy + r + SS], fill=(14, 15, 18, 255))
    # a disc with rainbow-free metallic sheen tinted by the scheme
    for i in range(32, 0, -1):
        rr = i * SS
        t = i / 32
        col = mix(mix(c, (255, 255, 255), 0.25), (60, 66, 76), 0.55 * (1 - t) + 0.1)
        d.ellipse([cx - rr, cy - rr, cx + rr, cy + rr], fill=col + (255,))
    d.pieslice([cx - r, cy - r, cx + r, cy + r], 200, 245, fill=(255, 255, 255, 70))
    d.pieslice([cx - r, cy - r, cx + r, cy + r], 20, 65, fill=(255, 255, 255, 45))
    d.ellipse([cx - 10 * SS, cy - 10 * SS, cx + 10 * SS, cy + 10 * SS], fill=(30, 33, 38, 255))
    d.ellipse([cx - 4 * SS, cy - 4 * SS, cx + 4 * SS, cy + 4 * SS], fill=(84, 90, 100, 255))
    img = over(img, shrink(lay))
    img = over(img, text_layer(w, h, "QLM", font(BOLD, 20), (244, 246, 250, 255), (w / 2, 44), shadow=(0, 0, 0, 230)))
    img = over(img, text_layer(w, h, "Musical Player", font(COND_BOLD, 12), c + (255,), (w / 2, 91),
                               shadow=(0, 0, 0, 200)))
    d2 = ImageDraw.Draw(img)
    d2.line([(w - 1, 0), (w - 1, h)], fill=(20, 22, 26))
    return img


def pliconstr(scheme, w, h):
    img = Image.new("RGB", (w, h), SCHEMES[scheme])
    d = ImageDraw.Draw(img)
    ink = (24, 32, 40)
    # upper switch: title scrolling ("T" with an arrow)
    d.line([(1, 2), (5, 2)], fill=ink)
    d.line([(3, 2), (3, 8)], fill=ink)
    d.polygon([(8, 2), (11, 5), (8, 8)], fill=ink)
    # lower switch: comment scrolling (lines with an arrow)
    for y in (14, 17, 20):
        d.line([(1, y), (5, y)], fill=ink)
    d.polygon([(8, 14), (11, 17), (8, 20)], fill=ink)
    d.line([(0, 11), (12, 11)], fill=mix(SCHEMES[scheme], ink, 0.35))
    return img


def player_button(base, state, w, h):
    if base == "SLIDERBTN":
        return slider_button(state, w, h)
    return icon_button(base, state, w, h)


# ---------------------------------------------------------------- message box

def message_icon(kind, w, h):
    bg = dialog_bg(w, h)
    lay, d = layer(w, h)
    W = w * SS
    if kind == "WARNINGICON":
        pts = [(W / 2, 3 * SS), (W - 2 * SS, W - 5 * SS), (2 * SS, W - 5 * SS)]
        d.polygon([(x, y + SS) for x, y in pts], fill=(0, 0, 0, 120))
        d.polygon(pts, fill=(250, 190, 40, 255))
        inner = [(W / 2, 7 * SS), (W - 6 * SS, W - 7 * SS), (6 * SS, W - 7 * SS)]
        d.polygon(inner, fill=(255, 212, 90, 255))
        d.rounded_rectangle([W / 2 - 2 * SS, 14 * SS, W / 2 + 2 * SS, 27 * SS], radius=2 * SS, fill=(40, 30, 10, 255))
        d.ellipse([W / 2 - 2.3 * SS, 29 * SS, W / 2 + 2.3 * SS, 33.6 * SS], fill=(40, 30, 10, 255))
        return over(bg, shrink(lay))
    colours = {"ERRORICON": ((236, 76, 70), (170, 30, 30)), "QUESTIONICON": ((92, 160, 236), (34, 88, 170)),
               "INFOICON": ((92, 180, 236), (30, 110, 176)), "MSGLOGO": ((150, 158, 170), (70, 76, 88))}[kind]
    d.ellipse([2 * SS, 3 * SS, W - 2 * SS, W - SS], fill=(0, 0, 0, 110))
    d.ellipse([2 * SS, 2 * SS, W - 3 * SS, W - 3 * SS], fill=colours[1] + (255,))
    d.ellipse([3 * SS, 3 * SS, W - 4 * SS, W - 4 * SS], fill=colours[0] + (255,))
    d.ellipse([7 * SS, 4 * SS, W - 8 * SS, W / 2], fill=(255, 255, 255, 55))
    white = (255, 255, 255, 255)
    c = W / 2 - SS / 2
    if kind == "ERRORICON":
        k = 7.5 * SS
        d.line([(c - k, c - k), (c + k, c + k)], fill=white, width=4 * SS)
        d.line([(c - k, c + k), (c + k, c - k)], fill=white, width=4 * SS)
    elif kind == "QUESTIONICON":
        d.text((c, c + SS), "?", font=font(BOLD, 26 * SS), fill=white, anchor="mm")
    elif kind == "INFOICON":
        d.text((c, c + SS), "i", font=font(BOLD, 26 * SS), fill=white, anchor="mm")
    else:  # the decoration: a disc with a note
        d.ellipse([c - 4 * SS, c - 4 * SS, c + 4 * SS, c + 4 * SS], fill=(40, 44, 50, 255))
        d.text((c + 0.5 * SS, c), "\u266B", font=font(SANS, 18 * SS), fill=(150, 208, 246, 255), anchor="mm")
    return over(bg, shrink(lay))


# ---------------------------------------------------------------- glyph sheets

def text_font_layout():
    """(column, row) -> character drawn there; the layout the bitmap font maps onto."""
    cells = {}
    for c in range(32, 127):
        cells[((c - 32) % 32, (c - 32) // 32)] = chr(c)
    for i in range(32):
        cells[(i, 3)] = chr(0x410 + i)
        cells[(i, 4)] = chr(0x430 + i)
        cells[(i, 6)] = chr(0xC0 + i)
        cells[(i, 7)] = chr(0xE0 + i)
    cells[(11, 6)] = "\u0160"  # Š, Ë moved to row 5
    cells[(11, 7)] = "\u0161"  # š, ë moved to row 5
    row5 = "ЁЁ™ŒœŸ¢£¤¥§©®°±¿№€«»Ўў…Єє¶Řř"
    row5 = "Ёё" + row5[2:]
    for i, ch in enumerate(row5):
        cells[(i, 5)] = ch
    return cells


def quantise(v):
    # Grey levels whose bit patterns survive the AND with a background: an
    # antialiased edge then darkens the background instead of tinting it.
    if v < 70:
        return 0
    if v < 140:
        return 0x80
    if v < 205:
        return 0xC0
    return 0xFF


def raw_glyph(ch, fnt, cw, ch_h, baseline):
    """The glyph's inked box in crisp pixels and its top row relative to the cell."""
    tmp = Image.new("L", (cw * 3, ch_h * 2), 255)
    d = ImageDraw.Draw(tmp)
    d.fontmode = "1"  # crisp hinted pixels: white and coloured text keep every pixel
    d.text((cw, baseline + 6), ch, font=fnt, fill=0, anchor="ls")
    box = tmp.point(lambda v: 255 - v).getbbox()
    if box is None:
        return None
    return tmp.crop(box), box[1] - 6


def render_glyph(ch, fonts, cw, ch_h, baseline, first_col, last_col):
    """First font whose glyph fits the cell's columns; squeezed when none does."""
    room = last_col - first_col + 1
    r = None
    for fnt in fonts:
        r = raw_glyph(ch, fnt, cw, ch_h, baseline)
        if r is None or r[0].size[0] <= room:
            break
    if r is None:
        return None
    glyph, y = r
    if glyph.size[0] > room:
        glyph = glyph.resize((room, glyph.size[1]), Image.NEAREST)
    x = first_col + 1 if glyph.size[0] <= room - 2 else first_col
    return glyph, x, y


def glyph_sheet(cw, ch_h, cells, fonts, baseline, first_col, last_col):
    sheet = Image.new("L", (32 * cw, 8 * ch_h), 255)
    for (col, row), ch in cells.items():
        if ch in (" ", "\u00A0"):
            continue
        r = render_glyph(ch, fonts, cw, ch_h, baseline, first_col, last_col)
        if r is None:
            continue
        glyph, x, y = r
        sheet.paste(glyph, (col * cw + x, row * ch_h + max(y, 2)))
    return sheet.convert("RGB")


def bitmap_font(w, h):
    cells = text_font_layout()
    fonts = [font(SANS, 12), font(COND, 12)]
    return glyph_sheet(12, 19, cells, fonts, baseline=14, first_col=1, last_col=10)


def bitmap_big_font(w, h):
    cells = {(i, 0): str(i) for i in range(10)}
    cells[(10, 0)] = ":"
    cells[(11, 0)] = "-"
    cells[(12, 0)] = "+"
    sheet = Image.new("L", (w, h), 255)
    fnt = font(COND_BOLD, 17)
    d = ImageDraw.Draw(sheet)
    d.rectangle([11 * 11 + 2, 9, 11 * 11 + 7, 10], fill=0)   # "-"
    d.rectangle([12 * 11 + 2, 9, 12 * 11 + 9, 10], fill=0)   # "+"
    d.rectangle([12 * 11 + 5, 6, 12 * 11 + 6, 13], fill=0)
    for (col, row), ch in cells.items():
        if ch in "-+":
            continue
        tmp = Image.new("L", (40, 40), 255)
        d = ImageDraw.Draw(tmp)
        d.fontmode = "1"
        d.text((10, 30), ch, font=fnt, fill=0, anchor="ls")
        box = tmp.point(lambda v: 255 - v).getbbox()
        glyph = tmp.crop(box).point(quantise)
        right = 8 if ch == ":" else 10  # ":" is drawn two columns narrower
        if glyph.size[0] > right - 1:
            glyph = glyph.resize((right - 1, glyph.size[1]), Image.NEAREST)
        x = 1 + (right - glyph.size[0]) // 2
        y = 15 - (box[3] - box[1]) + (box[3] - 30) + 1  # baseline on row 16
        if ch in "-+":
            y = 2 + (14 - glyph.size[1]) // 2 + 2
        sheet.paste(glyph, (col * 11 + x, row * 18 + max(y, 2)))
    return sheet.convert("RGB")


# ---------------------------------------------------------------- dispatch

def draw(name, base, suffix, w, h):
    if base == "BITMAPFONT":
        return bitmap_font(w, h)
    if base == "BITMAPBIGFONT":
        return bitmap_big_font(w, h)
    if base in PAGE_WORDS:
        return page_button(base, suffix, w, h)
    if base == "ARROWBTN":
        return arrow_button(suffix, w, h)
    if base in CAPTION_WORDS:
        return caption(base, suffix, w, h)
    if base.startswith("IMAGEBUNER"):
        return banner(int(base[-1]), w, h)
    if base == "WALL":
        return wall(w, h)
    if base == "LWALL":
        return lwall(int(suffix), w, h)
    if base == "TLELT":
        return tlelt(int(suffix), w, h)
    if base == "TOPWALL":
        return top_bar(w, h)
    if base == "DOCKIMAGE":
        return dock_image(w, h)
    if base == "IMAGELIST1":
        return image_list(w, h)
    if base == "MYLOVEBTN":
        return favourites_header(suffix, w, h)
    if base == "LDLOGO":
        return ldlogo(int(suffix), w, h)
    if base == "PLAYERLEFTIMAGE":
        return player_left()
    if base == "PLAYERCENTERIMAGE":
        return player_center()
    if base == "PLAYERRIGHTIMAGE":
        return player_right()
    if base == "PLICONSTR":
        return pliconstr(int(suffix), w, h)
    if base in ("ERRORICON", "WARNINGICON", "QUESTIONICON", "INFOICON", "MSGLOGO"):
        return message_icon(base, w, h)
    if base in ICONS or base in HOLED_ICONS or base == "SLIDERBTN":
        return player_button(base, suffix, w, h)
    raise SystemExit("make_skin: no drawing for %s" % name)


def render_all():
    out = []
    for name, base, suffix, w, h in PICTURES:
        img = draw(name, base, suffix, w, h)
        if img.size != (w, h):
            raise SystemExit("make_skin: %s drawn %dx%d, the table says %dx%d" % (name, *img.size, w, h))
        out.append((name, img.convert("RGB")))
    return out


def write_resources(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    lines = ["// Generated by make_skin.py from skin_pictures.def: do not edit.\n"]
    for name, img in render_all():
        path = os.path.join(out_dir, name + ".bmp")
        img.save(path, "BMP")
        lines.append('%s BITMAP "%s"\n' % (name, path.replace("\\", "/")))
    rc = os.path.join(out_dir, "skin.rc")
    tmp = rc + ".tmp"
    with open(tmp, "w", encoding="utf-8") as f:
        f.writelines(lines)
    os.replace(tmp, rc)


def contact_sheet(path, scale=2, width=1500):
    label_font = font(SANS, 11)
    tiles = []
    for name, img in render_all():
        s = 1 if img.size[0] * scale > 420 else scale
        big = img.resize((img.size[0] * s, img.size[1] * s), Image.NEAREST)
        tiles.append((name, big))
    # shelf packing, families stay in table order
    pad, label_h = 8, 14
    x = y = pad
    shelf_h = 0
    spots = []
    for name, big in tiles:
        tw, th = big.size[0], big.size[1] + label_h
        tw_full = max(tw, int(label_font.getlength(name)))
        if x + tw_full + pad > width:
            x, y = pad, y + shelf_h + pad
            shelf_h = 0
        spots.append((x, y, name, big))
        x += tw_full + pad
        shelf_h = max(shelf_h, th)
    sheet = Image.new("RGB", (width, y + shelf_h + pad), (128, 132, 138))
    d = ImageDraw.Draw(sheet)
    for x, y, name, big in spots:
        sheet.paste(big, (x, y))
        d.text((x, y + big.size[1] + 1), name, font=label_font, fill=(16, 16, 16))
    sheet.save(path)


def program_icon(path):
    """A white eighth note on a navy disc with a light rim: the program's icon."""
    size = 48 * SS
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.ellipse((1 * SS, 1 * SS, size - 1 * SS, size - 1 * SS), fill=(0, 0, 128, 255), outline=SCHEMES[0] + (255,),
              width=3 * SS)
    # The note: a tilted head, its stem and a flag.
    d.ellipse((12 * SS, 28 * SS, 25 * SS, 37 * SS), fill=(255, 255, 255, 255))
    d.rectangle((22 * SS, 10 * SS, 25 * SS, 33 * SS), fill=(255, 255, 255, 255))
    d.polygon([(25 * SS, 10 * SS), (35 * SS, 17 * SS), (34 * SS, 22 * SS), (25 * SS, 16 * SS)], fill=(255, 255, 255, 255))
    icon = img.resize((48, 48), Image.LANCZOS)
    icon.save(path, format="ICO", sizes=[(16, 16), (32, 32), (48, 48)])


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--out", help="folder for NAME.bmp files and skin.rc")
    ap.add_argument("--contact-sheet", help="PNG file with every picture")
    ap.add_argument("--list", action="store_true", help="print the resource names")
    ap.add_argument("--icon", help="ICO file of the program's icon")
    a = ap.parse_args(argv)
    if a.list:
        for name, *_ in PICTURES:
            print(name)
    if a.out:
        write_resources(a.out)
    if a.contact_sheet:
        contact_sheet(a.contact_sheet)
    if a.icon:
        program_icon(a.icon)
    if not (a.out or a.contact_sheet or a.list or a.icon):
        ap.print_help()
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
