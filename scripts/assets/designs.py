"""Our own small pictures, as lists of (shape, paint) layers.

The 16-pixel pictures are drawn on a 16-unit grid so that their edges fall on
pixel borders; the larger icon pictures are drawn on a 48-unit grid and scaled.
"""

import math

from raster import (rect, circle, ring, polygon, line, polyline, rotated,
                    rgb, vgradient, gradient)

# A shared set of colours keeps the pictures looking like one family.
INK = rgb(38, 42, 52)
FILM_TOP, FILM_BOTTOM = rgb(72, 78, 92), rgb(30, 33, 41)
HOLE = rgb(228, 232, 240)
SCREEN_TOP, SCREEN_BOTTOM = rgb(96, 166, 238), rgb(34, 82, 164)
ORANGE = rgb(250, 156, 36)
ORANGE_DARK = rgb(214, 108, 20)
BLUE_TOP, BLUE_BOTTOM = rgb(84, 132, 206), rgb(36, 66, 132)
STEEL_TOP, STEEL_BOTTOM = rgb(124, 130, 142), rgb(64, 68, 78)
RED = rgb(226, 54, 44)
GREEN = rgb(58, 170, 78)
GREEN_DARK = rgb(30, 120, 50)
FOLDER_BACK = rgb(214, 160, 48)
FOLDER_TOP, FOLDER_BOTTOM = rgb(252, 214, 104), rgb(236, 176, 58)
PAPER = rgb(250, 250, 252)
PAPER_EDGE = rgb(120, 128, 140)
LINE_GREY = rgb(160, 168, 180)
WHITE = rgb(255, 255, 255)
SHADOW = rgb(0, 0, 0, 70)


def scale(layers, s):
    return [(shape.scaled(s), paint if isinstance(paint, tuple) else _scaled_paint(paint, s))
            for shape, paint in layers]


def _scaled_paint(paint, s):
    return lambda x, y: paint(x / s, y / s)


# ---------------------------------------------------------------- file types

def demo_48():
    strip = rect(8, 3, 40, 45, 3)
    layers = [(strip.moved(1.5, 1.5), SHADOW),
              (strip, vgradient(3, FILM_TOP, 45, FILM_BOTTOM))]
    for k in range(7):
        y = 5 + 6 * k
        layers.append((rect(10, y, 13.5, y + 3, 0.6) | rect(34.5, y, 38, y + 3, 0.6), HOLE))
    layers.append((rect(16, 6, 32, 42, 1.5), vgradient(6, SCREEN_TOP, 42, SCREEN_BOTTOM)))
    layers.append((polygon([(20.5, 15.5), (20.5, 32.5), (30.5, 24)]), gradient(20, 15, ORANGE, 30, 33, ORANGE_DARK)))
    return layers


def demo_16():
    layers = [(rect(2, 1, 14, 15, 1), vgradient(1, FILM_TOP, 15, FILM_BOTTOM))]
    for k in range(6):
        y = 2 + 2 * k
        layers.append((rect(3, y, 4, y + 1) | rect(12, y, 13, y + 1), HOLE))
    layers.append((rect(5, 2, 11, 14), vgradient(2, SCREEN_TOP, 14, SCREEN_BOTTOM)))
    layers.append((polygon([(6.5, 5), (6.5, 11), (10.5, 8)]), ORANGE))
    return layers


def _reel(cx, cy, r, holes_at, hole_r):
    disc = circle(cx, cy, r)
    cut = circle(cx, cy, hole_r * 0.8)
    for k in range(4):
        a = math.radians(45 + 90 * k)
        cut = cut | circle(cx + holes_at * math.cos(a), cy + holes_at * math.sin(a), hole_r)
    return disc - cut


def camera_48():
    body = rect(5, 20, 35, 41, 3)
    lens = polygon([(34, 26), (45, 19.5), (45, 41.5), (34, 35)])
    reels = _reel(13, 12.5, 7.5, 4, 1.7) | _reel(28, 12.5, 7.5, 4, 1.7)
    return [
        ((body | lens | reels).moved(1.5, 1.5), SHADOW),
        (reels, vgradient(5, FILM_TOP, 20, FILM_BOTTOM)),
        (lens, vgradient(19, STEEL_TOP, 42, STEEL_BOTTOM)),
        (body, vgradient(20, BLUE_TOP, 41, BLUE_BOTTOM)),
        (rect(8, 23, 32, 24.5, 0.7), rgb(255, 255, 255, 70)),
        (circle(10.5, 29, 2.2), RED),
        (rect(16, 33, 31, 36, 1), rgb(20, 36, 80, 120)),
    ]


def camera_16():
    reels = circle(4.5, 4, 3) | circle(10, 4, 3)
    hubs = circle(4.5, 4, 0.9) | circle(10, 4, 0.9)
    return [
        (reels - hubs, vgradient(1, FILM_TOP, 7, FILM_BOTTOM)),
        (polygon([(12, 9), (15.5, 7), (15.5, 14.5), (12, 12.5)]), vgradient(7, STEEL_TOP, 15, STEEL_BOTTOM)),
        (rect(1, 7, 12.5, 15, 1), vgradient(7, BLUE_TOP, 15, BLUE_BOTTOM)),
        (circle(4, 10, 1.15), RED),
    ]


def sound_16():
    speaker = polygon([(1.5, 6), (4.5, 6), (8.5, 2.5), (8.5, 13.5), (4.5, 10), (1.5, 10)])
    right = rect(10, 0, 16, 16)
    waves = (ring(8.5, 8, 2.6, 3.8) | ring(8.5, 8, 5.0, 6.2)) & right
    return [
        (speaker, vgradient(2, STEEL_TOP, 14, INK)),
        (waves, vgradient(2, BLUE_TOP, 14, BLUE_BOTTOM)),
    ]


# ---------------------------------------------------------------- page tabs

def reel_16():
    disc = circle(8, 8, 7)
    cut = circle(8, 8, 1.2)
    for k in range(5):
        a = math.radians(-90 + 72 * k)
        cut = cut | circle(8 + 3.8 * math.cos(a), 8 + 3.8 * math.sin(a), 1.6)
    return [
        (disc - cut, vgradient(1, FILM_TOP, 15, FILM_BOTTOM)),
        (ring(8, 8, 5.9, 6.4), rgb(255, 255, 255, 60)),
        (line(8, 15, 15.5, 15, 1.2, "square"), FILM_BOTTOM),
    ]


def gear_16():
    teeth = circle(8, 8, 5)
    for k in range(8):
        teeth = teeth | rotated(rect(6.9, 0.8, 9.1, 4), 45 * k, 8, 8)
    return [
        (teeth - circle(8, 8, 2.2), vgradient(1, STEEL_TOP, 15, STEEL_BOTTOM)),
        (ring(8, 8, 2.2, 3.0), rgb(40, 44, 52, 90)),
    ]


def _badge(paint_top, paint_bottom):
    return [(circle(8, 8, 7), vgradient(1, paint_top, 15, paint_bottom)),
            (ring(8, 8, 6.2, 7), rgb(255, 255, 255, 50))]


def help_16():
    # The lower left quarter of the ring is cut away, leaving the hook of a question mark.
    hook = ring(8, 6, 1.5, 3.1) - polygon([(8, 6), (3, 6), (3, 12), (8, 12)])
    stem = rect(7.2, 7.5, 8.8, 10)
    return _badge(BLUE_TOP, BLUE_BOTTOM) + [
        (hook | stem, WHITE),
        (circle(8, 12, 1), WHITE),
    ]


def about_16():
    return _badge(BLUE_TOP, BLUE_BOTTOM) + [
        (circle(8, 4.6, 1.15), WHITE),
        (rect(7, 6.8, 9, 12.5), WHITE),
    ]


def bookmark_16():
    shape = polygon([(3.5, 1), (12.5, 1), (12.5, 15), (8, 11), (3.5, 15)])
    return [
        (shape, vgradient(1, rgb(236, 82, 66), 15, rgb(170, 36, 30))),
        (polygon([(4.5, 1), (11.5, 1), (11.5, 2.2), (4.5, 2.2)]), rgb(255, 255, 255, 70)),
    ]


def console_16():
    frame = rect(1, 2, 15, 14, 1)
    return [
        (frame, INK),
        (rect(1, 2, 15, 4.5, 1) | rect(1, 3.5, 15, 4.5), STEEL_TOP),
        (rect(2, 5, 14, 13), rgb(18, 20, 26)),
        (polyline([(3.8, 6.8), (6.2, 8.8), (3.8, 10.8)], 1.3), rgb(90, 230, 110)),
        (rect(7, 10.5, 11, 11.8), rgb(90, 230, 110)),
    ]


# ---------------------------------------------------------------- self-check list

def game_exe_16():
    return [
        (rect(1, 2, 15, 14, 1), rgb(70, 78, 92)),
        (rect(2, 5, 14, 13), rgb(236, 240, 246)),
        (rect(1, 2, 15, 5, 1) | rect(1, 4, 15, 5), vgradient(2, BLUE_TOP, 5, BLUE_BOTTOM)),
        (ring(8, 9, 2.0, 2.9), RED),
        (rect(7.5, 5.5, 8.5, 12.5) - circle(8, 9, 1.0), RED),
        (rect(4.5, 8.5, 11.5, 9.5) - circle(8, 9, 1.0), RED),
    ]


def folder_16():
    back = polygon([(1, 3), (6, 3), (7.5, 4.5), (15, 4.5), (15, 13.5), (1, 13.5)])
    front = polygon([(1, 6.5), (15, 6.5), (15, 14), (1, 14)])
    return [
        (back, FOLDER_BACK),
        (rect(2, 5.5, 14, 8), PAPER),
        (front, vgradient(6.5, FOLDER_TOP, 14, FOLDER_BOTTOM)),
        (rect(1, 6.5, 15, 7.3), rgb(255, 255, 255, 110)),
    ]


def version_16():
    tag = polygon([(1, 8), (5.5, 3.5), (15, 3.5), (15, 12.5), (5.5, 12.5)])
    return [
        (tag, vgradient(3.5, BLUE_TOP, 12.5, BLUE_BOTTOM)),
        (circle(5, 8, 1.2), WHITE),
        (rect(8, 6, 13, 7), WHITE),
        (rect(8, 9, 12, 10), WHITE),
    ]


def check_16():
    return [
        (circle(8, 8, 7), vgradient(1, rgb(96, 196, 108), 15, GREEN_DARK)),
        (polyline([(4.5, 8.2), (7, 10.8), (11.6, 5.4)], 1.9), WHITE),
    ]


def player_16():
    head = circle(8, 5, 3)
    body = circle(8, 15.5, 6.5) & rect(0, 9, 16, 15)
    return [
        (body, vgradient(9, BLUE_TOP, 15, BLUE_BOTTOM)),
        (head, vgradient(2, rgb(250, 214, 176), 8, rgb(222, 170, 128))),
    ]


# ---------------------------------------------------------------- menus

def mods_16():
    def layer(dy):
        return polygon([(8, 1.5 + dy), (14.5, 4.8 + dy), (8, 8.1 + dy), (1.5, 4.8 + dy)])
    return [
        (layer(6), rgb(232, 140, 40)),
        (layer(3), GREEN),
        (layer(0), vgradient(1.5, BLUE_TOP, 8, BLUE_BOTTOM)),
    ]


def _plus(cx, cy):
    return [
        (circle(cx, cy, 3.6), vgradient(cy - 3.6, rgb(96, 196, 108), cy + 3.6, GREEN_DARK)),
        (rect(cx - 2.2, cy - 0.6, cx + 2.2, cy + 0.6) | rect(cx - 0.6, cy - 2.2, cx + 0.6, cy + 2.2), WHITE),
    ]


def new_project_16():
    return folder_16() + _plus(11.5, 11.5)


def _page(x0, y0, x1, y1):
    fold = 3
    page = polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)])
    inner = polygon([(x0 + 1, y0 + 1), (x1 - fold - 0.4, y0 + 1), (x1 - 1, y0 + fold + 0.4),
                     (x1 - 1, y1 - 1), (x0 + 1, y1 - 1)])
    layers = [(page, PAPER_EDGE), (inner, PAPER),
              (polygon([(x1 - fold, y0), (x1, y0 + fold), (x1 - fold, y0 + fold)]), LINE_GREY)]
    return layers


def move_files_16():
    layers = _page(1, 1, 10, 13)
    for y in (5, 7, 9):
        layers.append((rect(3, y, 8, y + 1), LINE_GREY))
    arrow = polygon([(6, 10), (10.5, 10), (10.5, 7.5), (15, 11.5), (10.5, 15.5), (10.5, 13), (6, 13)])
    layers.append((arrow, vgradient(7.5, rgb(96, 196, 108), 15.5, GREEN_DARK)))
    return layers


# ---------------------------------------------------------------- buttons

def search_16():
    return [
        (line(10, 10, 14, 14, 2.6), rgb(88, 62, 40)),
        (circle(6.5, 6.5, 3.5), rgb(200, 226, 250, 200)),
        (ring(6.5, 6.5, 3.5, 5), vgradient(1.5, STEEL_TOP, 11.5, INK)),
        (ring(6.5, 6.5, 1.9, 2.5) & rect(3, 3, 6.5, 6.5), rgb(255, 255, 255, 200)),
    ]


def save_16():
    return [
        (rect(1.5, 1.5, 14.5, 14.5, 1), vgradient(1.5, BLUE_TOP, 14.5, BLUE_BOTTOM)),
        (rect(4, 1.5, 12, 6), rgb(214, 220, 228)),
        (rect(9.5, 2.3, 11, 5.2), rgb(70, 78, 92)),
        (rect(3.5, 8.5, 12.5, 14.5), PAPER),
        (rect(5, 10, 11, 10.8), LINE_GREY),
        (rect(5, 12, 11, 12.8), LINE_GREY),
    ]


def options_16():
    layers = []
    for y in (3.5, 8, 12.5):
        layers.append((circle(3, y, 1.4), ORANGE))
        layers.append((rect(5.5, y - 0.9, 14, y + 0.9, 0.5), vgradient(y - 1, BLUE_TOP, y + 1, BLUE_BOTTOM)))
    return layers


def maps_16():
    xs = [1.5, 5.5, 10.5, 14.5]
    tops = [3.5, 2, 3.5, 2]
    bottoms = [14, 12.5, 14, 12.5]
    shades = [rgb(150, 204, 120), rgb(118, 176, 96), rgb(150, 204, 120)]
    layers = []
    for k in range(3):
        panel = polygon([(xs[k], tops[k]), (xs[k + 1], tops[k + 1]), (xs[k + 1], bottoms[k + 1]), (xs[k], bottoms[k])])
        layers.append((panel, shades[k]))
    layers.append((polyline([(3, 11), (6, 8), (9, 9.5), (12, 6)], 0.9), rgb(240, 240, 220)))
    layers.append((circle(11, 5.5, 2.2) | polygon([(9.2, 6.6), (12.8, 6.6), (11, 10)]), RED))
    layers.append((circle(11, 5.5, 0.8), WHITE))
    return layers


# ---------------------------------------------------------------- application

def app_64():
    tile = rect(2, 2, 62, 62, 12)
    disc = circle(30, 29, 19)
    cut = circle(30, 29, 3.2)
    for k in range(6):
        a = math.radians(-90 + 60 * k)
        cut = cut | circle(30 + 10.5 * math.cos(a), 29 + 10.5 * math.sin(a), 4.6)
    tail = line(41, 41, 53, 53, 7)
    return [
        (tile.moved(0, 1), rgb(0, 0, 0, 60)),
        (tile, vgradient(2, rgb(46, 70, 122), 62, rgb(16, 22, 40))),
        (rect(2, 2, 62, 20, 12) & tile, rgb(255, 255, 255, 18)),
        (tail.moved(1, 1), rgb(0, 0, 0, 90)),
        (disc.moved(1, 1), rgb(0, 0, 0, 90)),
        (tail, gradient(41, 41, ORANGE, 53, 53, ORANGE_DARK)),
        (disc - cut, vgradient(10, rgb(238, 242, 248), 48, rgb(170, 180, 196))),
        (ring(30, 29, 17.5, 19), gradient(12, 10, ORANGE, 48, 48, ORANGE_DARK)),
        (circle(30, 29, 1.4), ORANGE),
    ]


# ---------------------------------------------------------------- run modes

def mode_user_cam_16():
    return [(polygon([(4, 2.5), (4, 13.5), (13, 8)]), gradient(4, 2, ORANGE, 13, 14, ORANGE_DARK))]


def mode_recorded_cam_16():
    return camera_16() + [(polygon([(1, 9), (1, 15), (6, 12)]), ORANGE)]


def mode_record_cam_16():
    return camera_16() + [(circle(4, 12, 3), RED)]


def mode_render_16():
    return demo_16() + [(rect(9, 10, 15, 15, 1), vgradient(10, BLUE_TOP, 15, BLUE_BOTTOM)),
                        (rect(10.5, 10.5, 13.5, 12), PAPER)]


def mode_time_demo_16():
    return [
        (rect(6.5, 0.5, 9.5, 2.5, 0.5), STEEL_BOTTOM),
        (circle(8, 9, 6.5), vgradient(2.5, STEEL_TOP, 15.5, INK)),
        (circle(8, 9, 5), PAPER),
        (line(8, 9, 8, 5.2, 1.2), INK),
        (line(8, 9, 10.8, 10.6, 1.2), RED),
    ]


def mode_singleplayer_16():
    return maps_16()
