#!/usr/bin/python3
"""Draws the default skin: every picture the setup's widgets ask for.

Run with Debian's Python (python3-pil and fonts-dejavu-core):

    /usr/bin/python3 skin/generate.py [--sheet build/skin-sheet.png]

It rewrites skin/default/*.png (8-bit RGBA, not interlaced, no metadata, so
the same Pillow and zlib give the same bytes), skin/toolkit/*.png (the
pictures of widgets that no setup shows, which the toolkit gallery packs
over the default skin) and, with --sheet, a contact
sheet of every picture enlarged four times plus the pieces put together the
way the widgets put them together.

The pictures are laid on fixed colours by the widgets (face grey for
controls, white for the tree, the title bar's gradient for its buttons), so
transparent pixels show that colour. Pictures that sit on something the
widget draws itself (the scroll bar's thumb and track) carry those colours
opaque instead.
"""

import argparse
import math
import os

from PIL import Image, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "default")
# Radio buttons and the buttons of resizable windows: the setup shows
# neither, so its skin archive does not carry them.
TOOLKIT_OUT = os.path.join(HERE, "toolkit")
TOOLKIT_ONLY = {f"radiopat{i}" for i in range(4)} | {f"{k}bmp{i}" for k in ("maximize", "restore") for i in (1, 2)}
FONT_DIR = "/usr/share/fonts/truetype/dejavu"

# Colours of the setup's palette that the pictures meet.
FACE = (219, 219, 219)
WHITE = (255, 255, 255)
SELECTION = (100, 100, 192)
# Our own accents, chosen to sit with the selection colour.
ACCENT_DARK = (44, 46, 118)
OUTLINE = (122, 122, 136)
MUTED_FILL = (236, 236, 240)
MUTED_INK = (128, 128, 146)
# The scroll track between a border piece and a thumb end; the scroll bar
# should paint its track in this grey so the pieces meet without a seam.
TRACK = (206, 206, 210)

SS = 16  # supersampling factor for anti-aliased shapes


def rgba(colour, alpha=255):
    return tuple(colour[:3]) + (alpha,)


def new(w, h):
    return Image.new("RGBA", (w, h), (0, 0, 0, 0))


# --- shapes --------------------------------------------------------------
# A shape is a function drawing white onto an "L" image at SS times the
# picture's size; coordinates are in picture pixels, pixel (x, y) covering
# the square x..x+1, y..y+1.

def rect(x0, y0, x1, y1):
    return lambda d, s: d.rectangle([x0 * s, y0 * s, x1 * s - 1, y1 * s - 1], fill=255)


def rrect(x0, y0, x1, y1, r):
    return lambda d, s: d.rounded_rectangle([x0 * s, y0 * s, x1 * s - 1, y1 * s - 1],
                                            radius=r * s, fill=255)


def ellipse(x0, y0, x1, y1):
    return lambda d, s: d.ellipse([x0 * s, y0 * s, x1 * s - 1, y1 * s - 1], fill=255)


def poly(points):
    return lambda d, s: d.polygon([(x * s, y * s) for x, y in points], fill=255)


def stroke(points, width):
    """A polyline of the given width with round joins and caps."""
    pts = list(points)

    def draw(d, s):
        r = width / 2
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            length = math.hypot(x1 - x0, y1 - y0) or 1
            nx, ny = -(y1 - y0) / length * r, (x1 - x0) / length * r
            d.polygon([((x0 + nx) * s, (y0 + ny) * s), ((x1 + nx) * s, (y1 + ny) * s),
                       ((x1 - nx) * s, (y1 - ny) * s), ((x0 - nx) * s, (y0 - ny) * s)], fill=255)
        for x, y in pts:
            d.ellipse([(x - r) * s, (y - r) * s, (x + r) * s, (y + r) * s], fill=255)
    return draw


def coverage(size, add, sub=()):
    w, h = size
    big = Image.new("L", (w * SS, h * SS), 0)
    d = ImageDraw.Draw(big)
    for shape in add:
        shape(d, SS)
    if sub:
        cut = Image.new("L", big.size, 0)
        dc = ImageDraw.Draw(cut)
        for shape in sub:
            shape(dc, SS)
        big = Image.composite(Image.new("L", big.size, 0), big, cut)
    return big.resize((w, h), Image.BOX)


def paint(img, colour, add, sub=(), alpha=255):
    """Composites `colour` through the shapes' coverage."""
    mask = coverage(img.size, add, sub)
    if alpha != 255:
        mask = mask.point(lambda v: v * alpha // 255)
    layer = Image.new("RGBA", img.size, rgba(colour))
    layer.putalpha(mask)
    img.alpha_composite(layer)


def gradient(size, top, bottom, horizontal=False):
    w, h = size
    img = Image.new("RGBA", size)
    n = w if horizontal else h
    for i in range(n):
        t = i / (n - 1) if n > 1 else 0
        c = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)) + (255,)
        if horizontal:
            img.paste(c, (i, 0, i + 1, h))
        else:
            img.paste(c, (0, i, w, i + 1))
    return img


def paint_gradient(img, top, bottom, add, sub=(), horizontal=False):
    layer = gradient(img.size, top, bottom, horizontal)
    layer.putalpha(coverage(img.size, add, sub))
    img.alpha_composite(layer)


def shade(size, fn, ss=8):
    """Supersamples fn(x, y) -> RGBA or None over the picture (premultiplied)."""
    w, h = size
    img = new(w, h)
    for py in range(h):
        for px in range(w):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(ss):
                for sx in range(ss):
                    c = fn(px + (sx + 0.5) / ss, py + (sy + 0.5) / ss)
                    if c is None:
                        continue
                    a = (c[3] if len(c) == 4 else 255) / 255
                    acc[0] += c[0] * a
                    acc[1] += c[1] * a
                    acc[2] += c[2] * a
                    acc[3] += a
            n = ss * ss
            if acc[3] > 0:
                img.putpixel((px, py), (round(acc[0] / acc[3]), round(acc[1] / acc[3]),
                                        round(acc[2] / acc[3]), round(255 * acc[3] / n)))
    return img


def from_art(art, palette):
    """Pixel art: one character per pixel, looked up in `palette`."""
    rows = [line for line in art.strip("\n").split("\n")]
    img = new(max(len(r) for r in rows), len(rows))
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if palette.get(ch) is not None:
                img.putpixel((x, y), rgba(palette[ch]) if len(palette[ch]) == 3 else palette[ch])
    return img


def font(name, size):
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def text_shape(x, y, text, fnt, anchor="la"):
    return lambda d, s: d.text((x * s, y * s), text, fill=255, anchor=anchor,
                               font=fnt.font_variant(size=fnt.size * s))


# --- push-button corners -------------------------------------------------
# The button's edges are four one-pixel lines of grey that the widget draws
# itself; the corners continue them around a rounded outline and end on the
# face-coloured ring that separates frame and content.

LIGHT_BANDS = (255, 246, 237, 228)        # raised top and left, outside in
DARK_BANDS = (128, 150, 172, 194)         # raised bottom and right; pressed top and left
PRESSED_LIGHT_BANDS = (246, 237, 228, 219)  # pressed bottom and right, outside in
CORNER_RADIUS = 3


def button_corner(flip_x, flip_y, horizontal_bands, vertical_bands):
    """A 5x5 corner; bands indexed from the outline inwards."""
    r = CORNER_RADIUS

    def fn(x, y):
        if flip_x:
            x = 5 - x
        if flip_y:
            y = 5 - y
        if x < r and y < r:
            depth = r - math.hypot(r - x, r - y)
        else:
            depth = min(x, y)
        if depth < 0:
            return None
        band = int(depth)
        if band >= 4:
            return rgba(FACE)
        grey = horizontal_bands[band] if y < x else vertical_bands[band]
        return (grey, grey, grey, 255)
    return shade((5, 5), fn, ss=16)


def button_corners():
    up = {"lt": (LIGHT_BANDS, LIGHT_BANDS), "rt": (LIGHT_BANDS, DARK_BANDS),
          "lb": (DARK_BANDS, LIGHT_BANDS), "rb": (DARK_BANDS, DARK_BANDS)}
    down = {"lt": (DARK_BANDS, DARK_BANDS), "rt": (DARK_BANDS, PRESSED_LIGHT_BANDS),
            "lb": (PRESSED_LIGHT_BANDS, DARK_BANDS),
            "rb": (PRESSED_LIGHT_BANDS, PRESSED_LIGHT_BANDS)}
    pictures = {}
    for state, table in (("up", up), ("dwn", down)):
        for corner, (h, v) in table.items():
            pictures[f"{corner}{state}button"] = button_corner(corner[0] == "r", corner[1] == "b", h, v)
    return pictures


# --- check boxes and radio buttons ---------------------------------------
# check1/2 unchecked, check3/4 checked, check5/6 third state; the even ones
# are shown while pressed or disabled. radiopat0/2 unchecked, 1/3 checked.

def check_box(mark, muted):
    img = new(13, 15)
    paint(img, OUTLINE if not muted else MUTED_INK, [rrect(0, 1, 13, 14, 2.5)])
    paint_gradient(img, MUTED_FILL if muted else WHITE, (222, 222, 228) if muted else (242, 242, 248),
                   [rrect(1, 2, 12, 13, 1.5)])
    ink = MUTED_INK if muted else ACCENT_DARK
    if mark == "check":
        paint(img, ink, [stroke([(3.2, 7.4), (5.5, 9.8), (9.9, 4.6)], 2.0)])
    elif mark == "third":
        paint(img, ink, [rrect(3, 4, 10, 11, 1)])
    return img


def radio_button(checked, muted):
    img = new(12, 13)
    paint(img, OUTLINE if not muted else MUTED_INK, [ellipse(0, 1, 11, 12)])
    paint_gradient(img, MUTED_FILL if muted else WHITE, (222, 222, 228) if muted else (242, 242, 248),
                   [ellipse(1, 2, 10, 11)])
    if checked:
        paint(img, MUTED_INK if muted else ACCENT_DARK, [ellipse(3, 4, 8, 9)])
    return img


# --- scroll bars -----------------------------------------------------------

def thumb_colour(i, n=13):
    """The thumb body's colour on line i across the bar, as the bar paints it."""
    c = 72 * i // (n - 1)
    return (178 - c, 178 - c, 231 - c)


def scroll_arrow(direction, pressed):
    img = new(13, 13)
    if pressed:
        paint(img, (92, 92, 150), [rrect(0, 0, 13, 13, 2.5)])
        paint_gradient(img, (160, 160, 216), (132, 132, 192), [rrect(1, 1, 12, 12, 1.5)])
        ink = WHITE
    else:
        paint(img, (160, 160, 170), [rrect(0, 0, 13, 13, 2.5)])
        paint_gradient(img, (250, 250, 252), (226, 226, 232), [rrect(1, 1, 12, 12, 1.5)])
        ink = (56, 56, 72)
    # A crisp four-row triangle, its centroid on the picture's centre.
    tri = new(13, 13)
    for row in range(4):
        for dx in range(-row, row + 1):
            tri.putpixel((6 + dx, 4 + row), rgba(ink))
    rotate = {"up": None, "down": Image.Transpose.FLIP_TOP_BOTTOM,
              "left": Image.Transpose.TRANSPOSE, "right": Image.Transpose.TRANSVERSE}[direction]
    if rotate is not None:
        tri = tri.transpose(rotate)
    img.alpha_composite(tri)
    return img


def thumb_gradient(length, vertical):
    """The thumb body across the bar; `length` along it."""
    img = new(13, length) if vertical else new(length, 13)
    for i in range(13):
        box = (i, 0, i + 1, length) if vertical else (0, i, length, i + 1)
        img.paste(rgba(thumb_colour(i)), box)
    return img


def scroll_grip(vertical):
    img = thumb_gradient(10, vertical)
    ridges = new(13, 10)
    for y in (2, 4, 6):
        for x in range(4, 9):
            ridges.putpixel((x, y), (70, 70, 128, 255))
            ridges.putpixel((x, y + 1), (214, 214, 248, 255))
    if not vertical:
        ridges = ridges.transpose(Image.Transpose.TRANSPOSE)
    img.alpha_composite(ridges)
    return img


def track_end(depth):
    """The track's rounded top end, `depth` rows, on the face colour."""
    img = new(13, depth)
    paint(img, TRACK, [rrect(0, 0, 13, depth + 4, 3)])
    return img


def thumb_end(gap):
    """The thumb's rounded top end, `gap` rows of track above it (3 cap rows)."""
    img = new(13, gap + 3)
    if gap:
        img.alpha_composite(track_end(gap), (0, 0))
    cap = Image.new("RGBA", (13, 3), rgba(TRACK))
    body = thumb_gradient(3, True)
    body.putalpha(coverage((13, 3), [rrect(0, 0, 13, 8, 3)]))
    cap.alpha_composite(body)
    img.alpha_composite(cap, (0, gap))
    return img


def scroll_pieces():
    pictures = {}
    gaps = (0, 1, 2, 0)  # reiter0..2: thumb 0..2 pixels from the arrow; 3: away from it
    # Drawn for the top end; line i across the bar keeps its colour on every side.
    turns = {"top": (), "bottom": (Image.Transpose.FLIP_TOP_BOTTOM,), "left": (Image.Transpose.TRANSPOSE,),
             "right": (Image.Transpose.TRANSPOSE, Image.Transpose.FLIP_LEFT_RIGHT)}
    for side, steps in turns.items():
        pieces = {f"{side}border": track_end(3)}
        for n, gap in enumerate(gaps):
            pieces[f"{side}reiter{n}"] = thumb_end(gap)
        for name, img in pieces.items():
            for step in steps:
                img = img.transpose(step)
            pictures[name] = img
    for direction in ("up", "down", "left", "right"):
        pictures[f"{direction}arrowup"] = scroll_arrow(direction, False)
        pictures[f"{direction}arrowdown"] = scroll_arrow(direction, True)
    pictures["vscrollgrip"] = scroll_grip(True)
    pictures["hscrollgrip"] = scroll_grip(False)
    return pictures


# --- edit field corners ----------------------------------------------------
# The field is a white rounded rectangle; the widget fills the straight parts.

def edit_corners():
    base = new(3, 3)
    paint(base, WHITE, [ellipse(0, 0, 6, 6)])
    return {"ltedit": base,
            "rtedit": base.transpose(Image.Transpose.FLIP_LEFT_RIGHT),
            "lbedit": base.transpose(Image.Transpose.FLIP_TOP_BOTTOM),
            "rbedit": base.transpose(Image.Transpose.ROTATE_180)}


# --- cursors ---------------------------------------------------------------
# White shapes with a black outline and a soft shadow, so they read on any
# background; each is placed around the hot spot the toolkit gives it.

def soft_shadow(shape, at=(1, 1)):
    """A blurred shadow of the "L" mask `shape`, moved by `at`."""
    soft = Image.new("L", (32, 32), 0)
    soft.paste(shape, at)
    soft = soft.filter(ImageFilter.GaussianBlur(1.1)).point(lambda v: v * 80 // 255)
    layer = Image.new("RGBA", (32, 32), (0, 0, 0, 255))
    layer.putalpha(soft)
    return layer


def outline_cursor(fill_mask):
    """fill_mask: 32x32 "1"-like L image (255 inside). Returns the cursor."""
    w, h = fill_mask.size
    inside = fill_mask.load()
    edge = Image.new("L", (w, h), 0)
    em = edge.load()
    for y in range(h):
        for x in range(w):
            if inside[x, y]:
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if 0 <= nx < w and 0 <= ny < h and inside[nx, ny]:
                    em[x, y] = 255
                    break
    shape = Image.composite(Image.new("L", (w, h), 255), fill_mask, edge)
    img = soft_shadow(shape)
    white = Image.new("RGBA", (w, h), (255, 255, 255, 255))
    white.putalpha(fill_mask)
    black = Image.new("RGBA", (w, h), (0, 0, 0, 255))
    black.putalpha(edge)
    img.paste(Image.new("RGBA", (w, h), (0, 0, 0, 0)), (0, 0), shape)
    img.alpha_composite(white)
    img.alpha_composite(black)
    return img


def mask_from_rule(inside, size=32):
    """Pixels (x, y) for which inside(x, y) holds."""
    mask = Image.new("L", (size, size), 0)
    m = mask.load()
    for y in range(size):
        for x in range(size):
            if inside(x, y):
                m[x, y] = 255
    return mask


ARROW = """
X
XX
X.X
X..X
X...X
X....X
X.....X
X......X
X.......X
X........X
X.........X
X......XXXXX
X...X..X
X..XX..X
X.X  X..X
XX   X..X
X     X..X
      X..X
       XX
"""


def arrow_cursor():
    art = from_art(ARROW, {"X": (0, 0, 0), ".": (255, 255, 255)})
    img = soft_shadow(art.getchannel("A"), (10, 10))
    img.paste(Image.new("RGBA", art.size, (0, 0, 0, 0)), (9, 9), art.getchannel("A"))
    img.alpha_composite(art, (9, 9))
    return img


def ibeam_cursor(cx=10, cy=10):
    # Black core with a white rim: the beam sits on text, mostly light.
    core = Image.new("L", (32, 32), 0)
    d = ImageDraw.Draw(core)
    top, bottom = cy - 8, cy + 8
    d.rectangle([cx, top + 1, cx, bottom - 1], fill=255)
    d.rectangle([cx - 3, top, cx - 1, top], fill=255)
    d.rectangle([cx + 1, top, cx + 3, top], fill=255)
    d.rectangle([cx - 3, bottom, cx - 1, bottom], fill=255)
    d.rectangle([cx + 1, bottom, cx + 3, bottom], fill=255)
    img = outline_cursor(core)
    # outline_cursor paints the inside white and the rim black; swap them.
    px = img.load()
    for y in range(32):
        for x in range(32):
            r, g, b, a = px[x, y]
            if a == 255 and (r, g, b) in ((0, 0, 0), (255, 255, 255)):
                px[x, y] = (255 - r, 255 - g, 255 - b, a)
    return img


def double_arrow(cx, cy, direction):
    """A double-headed arrow centred on pixel (cx, cy): a one-pixel shaft
    between two heads, crisp at every angle."""
    def straight(u, v):  # along u; heads 7 pixels across, tips at +-9
        a = abs(u)
        return v == 0 and a <= 9 or 6 <= a <= 9 and abs(v) <= 9 - a

    def diagonal(u, v):  # from the upper left to the lower right
        if u == v and abs(u) <= 6:
            return True
        s = 1 if u + v > 0 else -1
        a, b = s * u, s * v
        return a <= 6 and b <= 6 and (6 - a) + (6 - b) <= 5

    rules = {"we": lambda u, v: straight(u, v), "ns": lambda u, v: straight(v, u),
             "nwse": diagonal, "nesw": lambda u, v: diagonal(-u, v)}
    rule = rules[direction]
    return outline_cursor(mask_from_rule(lambda x, y: rule(x - cx, y - cy)))


def cursors():
    return {"defcur11": arrow_cursor(), "Ibeamcur": ibeam_cursor(10, 10),
            "WEcur": double_arrow(10, 10, "we"), "NScur": double_arrow(11, 11, "ns"),
            "NWSEcur": double_arrow(10, 11, "nwse"), "NESWcur": double_arrow(10, 10, "nesw")}


# --- title-bar buttons -----------------------------------------------------
# Laid on the bar's gradient (white at the top, grey 143 at the bottom). The
# held pictures fill a rounded square; close turns red like everywhere else.

def title_glyph(kind):
    if kind == "close":
        return [stroke([(6.5, 6.5), (13.5, 13.5)], 1.7), stroke([(13.5, 6.5), (6.5, 13.5)], 1.7)]
    if kind == "minimize":
        return [rect(6, 12, 14, 14)]
    if kind == "maximize":
        return [rect(5, 5, 15, 15)], [rect(6, 8, 14, 14)]
    if kind == "restore":
        return ([rect(7, 4, 16, 13), rect(4, 7, 13, 16)], [rect(8, 7, 15, 12), rect(5, 10, 12, 15)])
    raise ValueError(kind)


def title_button(kind, held):
    img = new(20, 20)
    if held:
        fill = (200, 56, 56) if kind == "close" else SELECTION
        paint(img, fill, [rrect(1, 1, 19, 19, 3.5)])
        ink = WHITE
    else:
        paint(img, (255, 255, 255), [rrect(1, 1, 19, 19, 3.5)], alpha=110)
        paint(img, (96, 96, 104), [rrect(1, 1, 19, 19, 3.5)], [rrect(2, 2, 18, 18, 2.5)], alpha=120)
        ink = (44, 44, 52)
    glyph = title_glyph(kind)
    if isinstance(glyph, tuple):
        paint(img, ink, glyph[0], glyph[1])
    else:
        paint(img, ink, glyph)
    return img


def title_buttons():
    pictures = {}
    for kind in ("close", "minimize", "maximize", "restore"):
        pictures[f"{kind}bmp1"] = title_button(kind, False)
        pictures[f"{kind}bmp2"] = title_button(kind, True)
    return pictures


# --- tool bar ------------------------------------------------------------
# Button ends 4 pixels long; the bar fills between them with a gradient.

def toolbar_end(left, raised):
    img = new(4, 24)
    outer = (150, 150, 160) if raised else (110, 110, 122)
    light, dark = (255, 255, 255), (172, 172, 182)
    if left:
        paint(img, outer, [rrect(0, 0, 8, 24, 3)], [rrect(1, 1, 9, 23, 2)])
        paint(img, light if raised else dark, [rrect(1, 1, 9, 23, 2)], [rrect(2, 2, 10, 22, 1)])
    else:
        paint(img, outer, [rrect(-4, 0, 4, 24, 3)], [rrect(-5, 1, 3, 23, 2)])
        paint(img, dark if raised else light, [rrect(-5, 1, 3, 23, 2)], [rrect(-6, 2, 2, 22, 1)])
    return img


def toolbar_separator():
    img = new(16, 24)
    img.paste(rgba((160, 160, 168)), (7, 3, 8, 21))
    img.paste(rgba(WHITE), (8, 3, 9, 21))
    return img


def zoom_corner():
    # Three rows of raised dots stepping up to the corner.
    img = new(14, 14)
    for row in range(3):
        for col in range(3 - row):
            x, y = 11 - 4 * col, 11 - 4 * row
            img.paste(rgba(WHITE), (x, y, x + 2, y + 2))
            img.paste(rgba((132, 132, 144)), (x - 1, y - 1, x + 1, y + 1))
    return img


# --- tree expanders ------------------------------------------------------
# 15 wide, 17 high, on white. The connector runs down the centre column; the
# first variant continues below the row (more siblings follow), the second
# stops at the box (the last sibling).

LINE = (184, 184, 196)


def tree_cell(sign, continues):
    img = new(15, 17)
    img.paste(rgba(LINE), (7, 0, 8, 9 if not continues else 17))
    img.paste(rgba(LINE), (7, 8, 15, 9))
    if sign in ("plus", "minus", "unknown"):
        img.paste((0, 0, 0, 0), (3, 4, 12, 13))
        paint(img, (132, 132, 150), [rrect(3, 4, 12, 13, 1.5)])
        paint_gradient(img, WHITE, (232, 232, 240), [rrect(4, 5, 11, 12, 0.8)])
        ink = (130, 130, 150) if sign == "unknown" else ACCENT_DARK
        img.paste(rgba(ink), (5, 8, 10, 9))
        if sign != "minus":
            img.paste(rgba(ink), (7, 6, 8, 11))
    return img


def tree_pictures():
    names = {"plus": "plussign", "minus": "minussign", "empty": "emptysign", "unknown": "unkownsign"}
    pictures = {}
    for sign, name in names.items():
        pictures[f"{name}1"] = tree_cell(sign, True)
        pictures[f"{name}2"] = tree_cell(sign, False)
    line = new(15, 17)
    line.paste(rgba(LINE), (7, 0, 8, 17))
    pictures["vertlinebmp"] = line
    pictures["nothingbmp"] = new(15, 17)
    return pictures


# --- drive and folder symbols ----------------------------------------------

def folder(w=16, h=17, dy=2):
    img = new(w, h)
    edge, back, front, front2 = (176, 128, 32), (236, 184, 72), (252, 214, 110), (244, 194, 80)
    paint(img, edge, [rrect(0.5, dy + 0.5, 7.5, dy + 4, 1), rrect(0.5, dy + 2, 15.5, dy + 13.5, 1.5)])
    paint(img, back, [rrect(1.5, dy + 1.5, 6.5, dy + 4, 0.5), rect(1.5, dy + 3, 14.5, dy + 12.5)])
    paint(img, edge, [poly([(0.5, dy + 13.5), (2.5, dy + 5.5), (15.5, dy + 5.5), (15.5, dy + 13.5)])])
    paint_gradient(img, front, front2, [poly([(1.5, dy + 12.5), (3.3, dy + 6.5), (14.5, dy + 6.5),
                                              (14.5, dy + 12.5)])])
    return img


def drive_body(img, x0, y0, x1, y1):
    paint(img, (104, 108, 120), [rrect(x0, y0, x1, y1, 2)])
    paint_gradient(img, (238, 240, 244), (184, 188, 198), [rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 1.2)])


def hard_disk():
    img = new(19, 17)
    drive_body(img, 1, 5, 18, 13)
    img.paste(rgba((120, 124, 136)), (4, 9, 12, 10))
    paint(img, (48, 200, 72), [ellipse(14, 8, 16, 10)])
    return img


def net_disk():
    img = new(19, 17)
    drive_body(img, 1, 2, 18, 10)
    img.paste(rgba((120, 124, 136)), (4, 6, 12, 7))
    paint(img, (48, 200, 72), [ellipse(14, 5, 16, 7)])
    cable = (70, 96, 170)
    img.paste(rgba(cable), (9, 10, 10, 14))
    img.paste(rgba(cable), (3, 14, 16, 15))
    paint(img, ACCENT_DARK, [rrect(7.5, 12.5, 11.5, 16, 0.8)])
    return img


def laser_disk():
    img = new(19, 17)
    paint(img, (132, 136, 150), [ellipse(2, 0.5, 18, 16.5)])
    layer = new(19, 17)
    for y in range(17):
        for x in range(19):
            ang = math.atan2(y + 0.5 - 8.5, x + 0.5 - 10)
            t = 0.5 + 0.5 * math.cos(2 * ang)
            u = 0.5 + 0.5 * math.sin(3 * ang + 1)
            layer.putpixel((x, y), (round(214 + 36 * t), round(220 + 24 * u), round(236 + 16 * t), 255))
    layer.putalpha(coverage((19, 17), [ellipse(3, 1.5, 17, 15.5)], [ellipse(7.5, 6, 12.5, 11)]))
    img.alpha_composite(layer)
    paint(img, (132, 136, 150), [ellipse(7.5, 6, 12.5, 11)], [ellipse(8.5, 7, 11.5, 10)])
    return img


def ram_disk():
    img = new(17, 17)
    paint(img, (28, 104, 56), [rrect(0.5, 4, 16.5, 13, 1)])
    paint_gradient(img, (64, 168, 96), (40, 132, 72), [rect(1.5, 5, 15.5, 12)])
    for x in (2, 6, 10):
        paint(img, (36, 38, 46), [rect(x + 0.5, 6, x + 3.5, 10)])
    for x in range(2, 16, 2):
        img.paste(rgba((226, 182, 60)), (x, 12, x + 1, 14))
    return img


def floppy():
    img = new(16, 16)
    paint(img, (36, 44, 92), [poly([(1, 1), (13, 1), (15, 3), (15, 15), (1, 15)])])
    paint_gradient(img, (84, 96, 176), (60, 70, 140), [poly([(2, 2), (12.6, 2), (14, 3.4), (14, 14), (2, 14)])])
    paint(img, (196, 200, 212), [rect(4, 2, 12, 6)])
    img.paste(rgba((84, 96, 176)), (9, 3, 11, 5))
    paint(img, WHITE, [rect(3.5, 8.5, 12.5, 14)])
    img.paste(rgba((170, 176, 200)), (5, 10, 11, 11))
    img.paste(rgba((170, 176, 200)), (5, 12, 10, 13))
    return img


def drive_pictures():
    return {"folderbmp": folder(), "harddiskbmp": hard_disk(), "netdiskbmp": net_disk(),
            "laserdiskbmp": laser_disk(), "ramdiskbmp": ram_disk(), "save4": floppy()}


# --- menu and tool-bar icons (16x16) ---------------------------------------

def page(img, x0=2, y0=1, x1=13, y1=15, fold=3):
    paint(img, (120, 124, 140), [poly([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)])])
    paint(img, WHITE, [poly([(x0 + 1, y0 + 1), (x1 - fold - 0.4, y0 + 1), (x1 - 1, y0 + fold + 0.4),
                             (x1 - 1, y1 - 1), (x0 + 1, y1 - 1)])])
    paint(img, (200, 204, 218), [poly([(x1 - fold, y0 + 1), (x1 - 1, y0 + fold), (x1 - fold, y0 + fold)])])


def make_dir():
    img = folder(16, 16, 1)
    paint(img, (255, 255, 255), [ellipse(8, 7, 17, 16)], alpha=255)
    paint(img, (38, 150, 64), [ellipse(8.5, 7.5, 16.5, 15.5)])
    img.paste(rgba(WHITE), (10, 11, 15, 12))
    img.paste(rgba(WHITE), (12, 9, 13, 14))
    return img


def delete_icon():
    img = new(16, 16)
    red = (204, 48, 48)
    paint(img, (140, 24, 24), [stroke([(3.5, 3.5), (12.5, 12.5)], 3.6), stroke([(12.5, 3.5), (3.5, 12.5)], 3.6)])
    paint(img, red, [stroke([(3.5, 3.5), (12.5, 12.5)], 2.4), stroke([(12.5, 3.5), (3.5, 12.5)], 2.4)])
    return img


def rename_icon():
    img = new(16, 16)
    # A text line being written over by a pencil.
    img.paste(rgba((150, 154, 170)), (1, 13, 9, 14))
    body = [(5.0, 13.0), (13.4, 4.6), (15.4, 6.6), (7.0, 15.0)]
    paint(img, (92, 66, 16), [poly([(2.2, 15.8), (5.0, 13.0), (7.0, 15.0)])])
    paint(img, (236, 196, 96), [poly([(2.8, 15.2), (5.0, 13.0), (7.0, 15.0)])])
    paint(img, (60, 60, 70), [poly([(2.0, 16.0), (3.4, 14.6), (4.2, 15.4)])])
    paint(img, (170, 120, 20), [poly(body)])
    paint(img, (250, 200, 60), [poly([(5.8, 13.0), (13.4, 5.4), (14.6, 6.6), (7.0, 14.2)])])
    paint(img, (214, 92, 110), [poly([(12.0, 6.0), (14.0, 4.0), (16.0, 6.0), (14.0, 8.0)])])
    return img


def refresh_icon():
    # A clockwise arc with its head at the top, pointing into the gap.
    img = new(16, 16)
    green, dark = (40, 150, 72), (24, 100, 48)
    radius, start, end = 5.0, 10, 255
    arc = [(8 + radius * math.cos(math.radians(a)), 8.5 + radius * math.sin(math.radians(a)))
           for a in range(start, end + 1, 6)]
    paint(img, dark, [stroke(arc, 3.2)])
    paint(img, green, [stroke(arc, 1.9)])
    a = math.radians(end)
    ex, ey = arc[-1]
    tx, ty = -math.sin(a), math.cos(a)
    nx, ny = math.cos(a), math.sin(a)
    def head(size):
        back = 1.2 * size
        return [(ex + tx * 4.6 * size, ey + ty * 4.6 * size),
                (ex + nx * 4.0 * size - tx * back, ey + ny * 4.0 * size - ty * back),
                (ex - nx * 4.0 * size - tx * back, ey - ny * 4.0 * size - ty * back)]
    paint(img, dark, [poly(head(1.0))])
    paint(img, green, [poly(head(0.6))])
    return img


def select_icon(selected):
    img = new(16, 16)
    page(img)
    for y in (5, 8, 11):
        if selected:
            img.paste(rgba(SELECTION), (3, y - 1, 12, y + 2))
            img.paste(rgba(WHITE), (4, y, 10 if y != 11 else 8, y + 1))
        else:
            img.paste(rgba((120, 124, 140)), (4, y, 11 if y != 11 else 9, y + 1))
    if not selected:
        paint(img, (204, 48, 48), [stroke([(10.5, 10.5), (14.5, 14.5)], 1.6),
                                   stroke([(14.5, 10.5), (10.5, 14.5)], 1.6)])
    return img


def copy_icon():
    img = new(16, 16)
    page(img, 1, 0, 11, 12, 3)
    page(img, 5, 4, 15, 16, 3)
    for y in (8, 10, 12):
        img.paste(rgba((150, 154, 170)), (7, y, 13, y + 1))
    return img


def icons():
    return {"makedirbmp": make_dir(), "deletebmp": delete_icon(), "rename": rename_icon(),
            "refresh": refresh_icon(), "selectallbmp": select_icon(True),
            "unselectall": select_icon(False), "copybmp": copy_icon()}


# --- message-box symbols (32x32) -------------------------------------------

def badge(colour_top, colour_bottom, rim, glyph, size=23):
    img = new(32, 32)
    paint(img, (0, 0, 0), [ellipse(2, 3, 31, 32)], alpha=40)
    paint(img, rim, [ellipse(1, 1, 31, 31)])
    paint_gradient(img, colour_top, colour_bottom, [ellipse(2, 2, 30, 30)])
    paint(img, WHITE, [ellipse(4, 3, 28, 17)], alpha=36)
    paint(img, WHITE, [text_shape(16, 16.5, glyph, font("DejaVuSans-Bold.ttf", size), "mm")])
    return img


def message_symbols():
    # The message box shows successes and failures alike, so its symbol
    # informs rather than alarms; the question gets the same family.
    return {"askbmp": badge((104, 132, 224), (52, 72, 168), (36, 50, 130), "?"),
            "warnbmp": badge((96, 150, 230), (40, 96, 186), (28, 70, 146), "i", 24)}


# --- header ----------------------------------------------------------------
# The setup window shows it under the title bar, which already names the
# product; the band carries the publisher and leaves its right half calm.

def header():
    w, h = 500, 70
    img = gradient((w, h), (40, 44, 112), (84, 96, 178), horizontal=True)
    shine = gradient((w, h), (255, 255, 255), (255, 255, 255))
    shine.putalpha(gradient((w, h), (40, 40, 40), (0, 0, 0)).getchannel("R"))
    img.alpha_composite(shine)
    for cx, cy, r, a in ((430, 118, 112, 22), (500, -30, 80, 18), (330, 150, 110, 12)):
        paint(img, WHITE, [ellipse(cx - r, cy - r, cx + r, cy + r)],
              [ellipse(cx - r + 14, cy - r + 14, cx + r - 14, cy + r - 14)], alpha=a)
    paint(img, (0, 0, 30), [text_shape(25, 37, "Tarnell", font("DejaVuSans-Bold.ttf", 30), "ls")], alpha=70)
    paint(img, WHITE, [text_shape(24, 36, "Tarnell", font("DejaVuSans-Bold.ttf", 30), "ls")])
    paint(img, (214, 220, 255), [text_shape(25, 56, "Setup", font("DejaVuSans.ttf", 14), "ls")])
    img.paste(rgba((136, 146, 214)), (0, h - 1, w, h))
    # Every setup carries the header. In 128 colours, without dithering, it
    # looks the same, and the skin packer stores it as a palette picture of
    # less than half the bytes.
    return img.convert("RGB").quantize(128, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE).convert("RGBA")


# --- the whole skin --------------------------------------------------------

SIZES = {
    **{f"check{i}": (13, 15) for i in range(1, 7)},
    **{f"{c}{s}button": (5, 5) for c in ("lt", "rt", "lb", "rb") for s in ("up", "dwn")},
    "leftborder": (3, 13), "rightborder": (3, 13), "topborder": (13, 3), "bottomborder": (13, 3),
    **{f"{side}reiter{n}": ((3, 4, 5, 3)[n], 13) for side in ("left", "right") for n in range(4)},
    **{f"{side}reiter{n}": (13, (3, 4, 5, 3)[n]) for side in ("top", "bottom") for n in range(4)},
    **{f"{d}arrow{s}": (13, 13) for d in ("up", "down", "left", "right") for s in ("up", "down")},
    "vscrollgrip": (13, 10), "hscrollgrip": (10, 13),
    "ltedit": (3, 3), "lbedit": (3, 3), "rtedit": (3, 3), "rbedit": (3, 3),
    **{n: (32, 32) for n in ("defcur11", "Ibeamcur", "WEcur", "NScur", "NWSEcur", "NESWcur")},
    **{f"{k}bmp{i}": (20, 20) for k in ("close", "minimize", "maximize", "restore") for i in (1, 2)},
    "up24left": (4, 24), "up24right": (4, 24), "down24left": (4, 24), "down24right": (4, 24),
    "tbsep": (16, 24), "zoomcorner": (14, 14),
    **{f"{n}{i}": (15, 17) for n in ("plussign", "minussign", "emptysign", "unkownsign") for i in (1, 2)},
    "vertlinebmp": (15, 17), "nothingbmp": (15, 17),
    "folderbmp": (16, 17), "harddiskbmp": (19, 17), "netdiskbmp": (19, 17), "laserdiskbmp": (19, 17),
    "ramdiskbmp": (17, 17), "save4": (16, 16),
    **{n: (16, 16) for n in ("makedirbmp", "deletebmp", "rename", "refresh", "selectallbmp",
                             "unselectall", "copybmp")},
    "insthead": (500, 70), "askbmp": (32, 32), "warnbmp": (32, 32),
    **{f"radiopat{i}": (12, 13) for i in range(4)},
}


def draw_skin():
    pictures = {}
    pictures.update({f"check{2 * i + 1 + m}": check_box(mark, bool(m))
                     for i, mark in enumerate(("none", "check", "third")) for m in (0, 1)})
    pictures.update({f"radiopat{i}": radio_button(i % 2 == 1, i >= 2) for i in range(4)})
    pictures.update(button_corners())
    pictures.update(scroll_pieces())
    pictures.update(edit_corners())
    pictures.update(cursors())
    pictures.update(title_buttons())
    pictures.update({"up24left": toolbar_end(True, True), "up24right": toolbar_end(False, True),
                     "down24left": toolbar_end(True, False), "down24right": toolbar_end(False, False),
                     "tbsep": toolbar_separator(), "zoomcorner": zoom_corner()})
    pictures.update(tree_pictures())
    pictures.update(drive_pictures())
    pictures.update(icons())
    pictures.update(message_symbols())
    pictures["insthead"] = header()
    assert set(pictures) == set(SIZES), set(pictures) ^ set(SIZES)
    for name, img in pictures.items():
        assert img.size == SIZES[name], (name, img.size)
    return pictures


def write_png(img, path):
    # Pillow writes IHDR, IDAT and IEND only unless asked for more.
    img.convert("RGBA").save(path, "PNG", optimize=False, compress_level=9)


# --- contact sheet -----------------------------------------------------------

WHITE_BACKED = ("sign1", "sign2", "vertlinebmp", "nothingbmp", "folderbmp", "diskbmp", "save4")


def backdrop(name, size):
    """What the widget lays the picture on."""
    w, h = size
    if name.startswith(("close", "minimize", "maximize", "restore")):
        return gradient(size, WHITE, (143, 143, 143))
    if name.endswith(WHITE_BACKED):
        return Image.new("RGBA", size, rgba(WHITE))
    if name.endswith(("cur", "cur11")):
        check = Image.new("RGBA", size)
        for y in range(h):
            for x in range(w):
                check.putpixel((x, y), (255, 255, 255, 255) if (x // 4 + y // 4) % 2 else (120, 150, 200, 255))
        return check
    return Image.new("RGBA", size, rgba(FACE))


def on_backdrop(name, img):
    base = backdrop(name, img.size)
    base.alpha_composite(img)
    return base


def preview_button(pictures, w, h, pressed, caption=None):
    """Draws a push button the way the widget does."""
    img = Image.new("RGBA", (w, h), rgba(FACE))
    r, b = w - 5, h - 5
    state = "dwn" if pressed else "up"
    for corner, (x, y) in {"lt": (0, 0), "lb": (0, b), "rt": (r, 0), "rb": (r, b)}.items():
        img.alpha_composite(on_backdrop("face", pictures[f"{corner}{state}button"]), (x, y))
    def grey(g):
        return (g, g, g, 255)
    edges = ({"top": (0, 255, -9), "bottom": (b + 1, 194, -22), "left": (0, 255, -9), "right": (r + 1, 194, -22)}
             if not pressed else
             {"top": (b + 1, 219, 9), "bottom": (0, 128, 22), "left": (r + 1, 219, 9), "right": (0, 128, 22)})
    for edge, (start, g, step) in edges.items():
        for i in range(4):
            if edge in ("top", "bottom"):
                img.paste(grey(g + step * i), (5, start + i, r, start + i + 1))
            else:
                img.paste(grey(g + step * i), (start + i, 5, start + i + 1, b))
    if caption:
        d = ImageDraw.Draw(img)
        d.text((w // 2 + pressed, h // 2 + pressed), caption, fill=(0, 0, 0, 255), anchor="mm",
               font=font("DejaVuSans.ttf", 11))
    return img


def preview_scrollbar(pictures, length, thumb_at, thumb_len, vertical=True):
    """Draws a scroll bar the way the widget does, along `length`."""
    names = (dict(start="top", end="bottom", back="up", fwd="down", grip="vscrollgrip") if vertical else
             dict(start="left", end="right", back="left", fwd="right", grip="hscrollgrip"))
    img = Image.new("RGBA", (15, length) if vertical else (length, 15), rgba(FACE))

    def place(name, along):
        pic = on_backdrop("face", pictures[name])
        img.alpha_composite(pic, (2, along) if vertical else (along, 2))

    def band(colour, a0, a1, line=None):
        box = (2, a0, 15, a1) if vertical else (a0, 2, a1, 15)
        if line is not None:
            box = (2 + line, a0, 3 + line, a1) if vertical else (a0, 2 + line, a1, 3 + line)
        img.paste(rgba(colour), box)

    place(f"{names['back']}arrowup", 0)
    place(f"{names['fwd']}arrowup", length - 13)
    top, bottom = 15, length - 15
    band(TRACK, top, bottom)
    t0, t1 = top + thumb_at, top + thumb_at + thumb_len
    if thumb_at < 3:
        place(f"{names['start']}reiter{thumb_at}", top)
    else:
        place(f"{names['start']}border", top)
        place(f"{names['start']}reiter3", t0)
    place(f"{names['end']}border", bottom - 3)
    place(f"{names['end']}reiter3", t1 - 3)
    for i in range(13):
        band(thumb_colour(i), t0 + 3, t1 - 3, i)
    place(names["grip"], (t0 + t1) // 2 - 5)
    return img


def preview_tree(pictures):
    rows = [(1, "minus", 1, "harddiskbmp", "C:\\"), (2, "plus", 0b11, "folderbmp", "Programs"),
            (2, "minus", 0b11, "folderbmp", "Tarnell"), (3, "empty", 0b111, "folderbmp", "Data"),
            (3, "unknown", 0b011, "folderbmp", "Logs"), (2, "empty", 0b01, "folderbmp", "Users"),
            (1, "unknown", 0, "laserdiskbmp", "D:\\")]
    names = {"plus": "plussign", "minus": "minussign", "empty": "emptysign", "unknown": "unkownsign"}
    img = Image.new("RGBA", (160, 17 * len(rows)), rgba(WHITE))
    d = ImageDraw.Draw(img)
    for n, (level, state, mask, icon, text) in enumerate(rows):
        y = n * 17
        for col in range(level - 1):
            pic = "vertlinebmp" if mask >> col & 1 else "nothingbmp"
            img.alpha_composite(pictures[pic], (col * 15, y))
        variant = 1 if mask >> (level - 1) & 1 else 2
        img.alpha_composite(pictures[f"{names[state]}{variant}"], ((level - 1) * 15, y))
        img.alpha_composite(pictures[icon], (level * 15, y))
        d.text((level * 15 + pictures[icon].width + 2, y + 2), text, fill=(0, 0, 0, 255),
               font=font("DejaVuSans.ttf", 11))
    return img


def preview_title(pictures, w=260):
    img = gradient((w, 20), WHITE, (143, 143, 143))
    d = ImageDraw.Draw(img)
    d.text((w // 2 - 30, 10), "Tarnell Setup", fill=(0, 0, 0, 255), anchor="mm",
           font=font("DejaVuSans-Bold.ttf", 11))
    for i, name in enumerate(("minimizebmp1", "maximizebmp2", "closebmp1")):
        img.alpha_composite(pictures[name], (w - 60 + 20 * i, 0))
    return img


def preview_edit(pictures, w=160, h=17):
    img = Image.new("RGBA", (w + 8, h + 8), rgba(FACE))
    field = Image.new("RGBA", (w, h), rgba(WHITE))
    for name, pos in (("ltedit", (0, 0)), ("rtedit", (w - 3, 0)), ("lbedit", (0, h - 3)), ("rbedit", (w - 3, h - 3))):
        field.paste(on_backdrop("face", pictures[name]), pos)
    ImageDraw.Draw(field).text((3, 2), "C:\\Programs\\Tarnell", fill=(0, 0, 0, 255), font=font("DejaVuSans.ttf", 11))
    img.alpha_composite(field, (4, 4))
    return img


def preview_controls(pictures):
    img = Image.new("RGBA", (250, 70), rgba(FACE))
    d = ImageDraw.Draw(img)
    f = font("DejaVuSans.ttf", 11)
    for i in range(3):
        img.alpha_composite(on_backdrop("face", pictures[f"check{2 * i + 1}"]), (4, 4 + 20 * i))
        d.text((22, 4 + 20 * i + 7), ("Unchecked", "Checked", "Third state")[i], fill=(0, 0, 0, 255), anchor="lm", font=f)
        img.alpha_composite(on_backdrop("face", pictures[f"check{2 * i + 2}"]), (104, 4 + 20 * i))
    for i in range(2):
        img.alpha_composite(on_backdrop("face", pictures[f"radiopat{i}"]), (150, 5 + 20 * i))
        img.alpha_composite(on_backdrop("face", pictures[f"radiopat{i + 2}"]), (166, 5 + 20 * i))
        d.text((184, 5 + 20 * i + 6), ("Option", "Chosen")[i], fill=(0, 0, 0, 255), anchor="lm", font=f)
    return img


def contact_sheet(pictures, path):
    scale, cell_w, cell_h, cols = 4, 150, 170, 13
    names = [n for n in pictures if n != "insthead"]
    rows = (len(names) + cols - 1) // cols
    header_img = pictures["insthead"]
    sheet_w = cols * cell_w + 20
    previews_h = 560
    sheet_h = 20 + rows * cell_h + 20 + header_img.height * 2 + 30 + previews_h
    sheet = Image.new("RGBA", (sheet_w, sheet_h), (246, 246, 246, 255))
    d = ImageDraw.Draw(sheet)
    label = font("DejaVuSans.ttf", 12)
    for i, name in enumerate(names):
        img = on_backdrop(name, pictures[name])
        big = img.resize((img.width * scale, img.height * scale), Image.NEAREST)
        x = 10 + (i % cols) * cell_w
        y = 10 + (i // cols) * cell_h
        sheet.alpha_composite(big, (x + (cell_w - big.width) // 2, y + 4))
        d.text((x + cell_w // 2, y + cell_h - 20), f"{name} {img.width}x{img.height}", fill=(0, 0, 0, 255),
               anchor="mm", font=label)
    y = 20 + rows * cell_h
    sheet.alpha_composite(header_img.resize((1000, 140), Image.NEAREST), (10, y))
    sheet.alpha_composite(header_img, (1030, y))
    y += header_img.height * 2 + 20
    # The pieces put together at twice their size.
    parts = [preview_title(pictures), preview_button(pictures, 88, 24, False, "Install"),
             preview_button(pictures, 88, 24, True, "Install"), preview_edit(pictures),
             preview_controls(pictures), preview_scrollbar(pictures, 120, 0, 30),
             preview_scrollbar(pictures, 120, 1, 30), preview_scrollbar(pictures, 120, 2, 30),
             preview_scrollbar(pictures, 120, 40, 40), preview_scrollbar(pictures, 160, 2, 50, False),
             preview_scrollbar(pictures, 160, 70, 40, False), preview_tree(pictures)]
    x, row_h = 10, 0
    for part in parts:
        big = part.resize((part.width * 2, part.height * 2), Image.NEAREST)
        if x + big.width > sheet_w:
            x, y, row_h = 10, y + row_h + 16, 0
        sheet.alpha_composite(big, (x, y))
        x += big.width + 16
        row_h = max(row_h, big.height)
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    sheet.save(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sheet", help="also write a contact sheet to this path")
    args = parser.parse_args()
    pictures = draw_skin()
    for folder, names in ((OUT, set(pictures) - TOOLKIT_ONLY), (TOOLKIT_OUT, TOOLKIT_ONLY)):
        os.makedirs(folder, exist_ok=True)
        for stale in os.listdir(folder):
            if stale.endswith(".png") and stale[:-4] not in names:
                os.remove(os.path.join(folder, stale))
        for name in sorted(names):
            write_png(pictures[name], os.path.join(folder, name + ".png"))
        print(f"{len(names)} pictures in {folder}")
    if args.sheet:
        contact_sheet(pictures, args.sheet)


if __name__ == "__main__":
    main()
