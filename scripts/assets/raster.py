"""A tiny anti-aliased vector rasteriser, PNG writer and colour quantiser.

Plain Python (zlib and struct only), so that the asset generators run on any
build machine without image libraries. Shapes are inside-tests on pixel
coordinates: pixel (i, j) covers the square [i, i+1) x [j, j+1), so edges on
whole numbers come out crisp. Coverage is measured on an n x n grid of
samples per pixel.
"""

import math
import struct
import zlib


# ---------------------------------------------------------------- shapes

class Shape:
    """An area of the plane: contains(x, y) and a bounding box (x0, y0, x1, y1)."""

    def __init__(self, contains, bbox):
        self.contains = contains
        self.bbox = bbox

    def __or__(self, other):
        a, b = self.contains, other.contains
        return Shape(lambda x, y: a(x, y) or b(x, y), _bbox_union(self.bbox, other.bbox))

    def __sub__(self, other):
        a, b = self.contains, other.contains
        return Shape(lambda x, y: a(x, y) and not b(x, y), self.bbox)

    def __and__(self, other):
        a, b = self.contains, other.contains
        return Shape(lambda x, y: a(x, y) and b(x, y), _bbox_meet(self.bbox, other.bbox))

    def scaled(self, s, dx=0.0, dy=0.0):
        """The shape scaled about the origin by s, then moved by (dx, dy)."""
        c = self.contains
        x0, y0, x1, y1 = self.bbox
        return Shape(lambda x, y: c((x - dx) / s, (y - dy) / s),
                     (x0 * s + dx, y0 * s + dy, x1 * s + dx, y1 * s + dy))

    def moved(self, dx, dy):
        return self.scaled(1.0, dx, dy)


def _bbox_union(a, b):
    return (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))


def _bbox_meet(a, b):
    return (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3]))


def rect(x0, y0, x1, y1, r=0.0):
    """Axis-aligned rectangle, corners rounded with radius r."""
    if r <= 0:
        return Shape(lambda x, y: x0 <= x < x1 and y0 <= y < y1, (x0, y0, x1, y1))
    r = min(r, (x1 - x0) / 2, (y1 - y0) / 2)

    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

    return Shape(inside, (x0, y0, x1, y1))


def ellipse(cx, cy, rx, ry):
    return Shape(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0,
                 (cx - rx, cy - ry, cx + rx, cy + ry))


def circle(cx, cy, r):
    return ellipse(cx, cy, r, r)


def ring(cx, cy, r_in, r_out):
    return circle(cx, cy, r_out) - circle(cx, cy, r_in)


def polygon(points):
    """Polygon by the even-odd rule."""
    pts = list(points)
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    edges = list(zip(pts, pts[1:] + pts[:1]))

    def inside(x, y):
        hit = False
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y):
                if x < ax + (y - ay) * (bx - ax) / (by - ay):
                    hit = not hit
        return hit

    return Shape(inside, (min(xs), min(ys), max(xs), max(ys)))


def line(x0, y0, x1, y1, width, caps="round"):
    """A stroke of the given width from (x0, y0) to (x1, y1)."""
    h = width / 2.0
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1e-12
    ext = h if caps == "square" else 0.0
    length = math.sqrt(length2)

    def inside(x, y):
        t = ((x - x0) * dx + (y - y0) * dy) / length2
        if caps == "round":
            t = min(max(t, 0.0), 1.0)
        else:
            lim = ext / length
            if t < -lim or t > 1.0 + lim:
                return False
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= h * h

    return Shape(inside, (min(x0, x1) - h, min(y0, y1) - h, max(x0, x1) + h, max(y0, y1) + h))


def polyline(points, width, caps="round"):
    shape = None
    for a, b in zip(points, points[1:]):
        seg = line(a[0], a[1], b[0], b[1], width, caps)
        shape = seg if shape is None else shape | seg
    return shape


def rotated(shape, angle_deg, cx, cy):
    """The shape turned by angle_deg about (cx, cy)."""
    a = math.radians(angle_deg)
    ca, sa = math.cos(a), math.sin(a)
    c = shape.contains
    x0, y0, x1, y1 = shape.bbox
    corners = [(x0, y0), (x1, y0), (x0, y1), (x1, y1)]
    moved = [(cx + (px - cx) * ca - (py - cy) * sa, cy + (px - cx) * sa + (py - cy) * ca) for px, py in corners]
    return Shape(lambda x, y: c(cx + (x - cx) * ca + (y - cy) * sa, cy - (x - cx) * sa + (y - cy) * ca),
                 (min(p[0] for p in moved), min(p[1] for p in moved),
                  max(p[0] for p in moved), max(p[1] for p in moved)))


# ---------------------------------------------------------------- paint

def rgb(r, g, b, a=255):
    return (r, g, b, a)


def vgradient(y0, c0, y1, c1):
    """A paint that runs from colour c0 at y0 to c1 at y1."""
    def paint(x, y):
        t = min(max((y - y0) / (y1 - y0), 0.0), 1.0)
        return tuple(c0[i] + (c1[i] - c0[i]) * t for i in range(4))
    return paint


def gradient(x0, y0, c0, x1, y1, c1):
    dx, dy = x1 - x0, y1 - y0
    n = dx * dx + dy * dy

    def paint(x, y):
        t = min(max(((x - x0) * dx + (y - y0) * dy) / n, 0.0), 1.0)
        return tuple(c0[i] + (c1[i] - c0[i]) * t for i in range(4))
    return paint


class Canvas:
    """Premultiplied RGBA floats (0..1), composited with 'over'."""

    def __init__(self, width, height, samples=4):
        self.w, self.h, self.n = width, height, samples
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def fill(self, shape, paint):
        if isinstance(paint, tuple):
            colour = paint
            paint = lambda x, y: colour
        n = self.n
        step = 1.0 / n
        offs = [(i + 0.5) * step for i in range(n)]
        x0, y0, x1, y1 = shape.bbox
        i0, i1 = max(0, int(math.floor(x0))), min(self.w, int(math.ceil(x1)))
        j0, j1 = max(0, int(math.floor(y0))), min(self.h, int(math.ceil(y1)))
        inside = shape.contains
        for j in range(j0, j1):
            for i in range(i0, i1):
                hits = 0
                for oy in offs:
                    for ox in offs:
                        if inside(i + ox, j + oy):
                            hits += 1
                if not hits:
                    continue
                cov = hits / (n * n)
                r, g, b, a = paint(i + 0.5, j + 0.5)
                sa = cov * a / 255.0
                d = self.px[j * self.w + i]
                k = 1.0 - sa
                d[0] = r / 255.0 * sa + d[0] * k
                d[1] = g / 255.0 * sa + d[1] * k
                d[2] = b / 255.0 * sa + d[2] * k
                d[3] = sa + d[3] * k

    def rgba(self):
        """Rows of straight (not premultiplied) RGBA byte tuples, top row first."""
        rows = []
        for j in range(self.h):
            row = []
            for i in range(self.w):
                r, g, b, a = self.px[j * self.w + i]
                if a <= 0.0:
                    row.append((0, 0, 0, 0))
                    continue
                row.append((_byte(r / a), _byte(g / a), _byte(b / a), _byte(a)))
            rows.append(row)
        return rows


def _byte(v):
    return max(0, min(255, int(round(v * 255.0))))


# ---------------------------------------------------------------- output

def png_bytes(rows):
    """An 8-bit RGBA PNG of the given rows."""
    h = len(rows)
    w = len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for p in row:
            raw.extend(p)

    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data
                + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def write_png(path, rows):
    with open(path, "wb") as f:
        f.write(png_bytes(rows))


def median_cut(colours, count):
    """Up to count representative colours of a list of (r, g, b) tuples."""
    if not colours:
        return []
    boxes = [list(colours)]
    while len(boxes) < count:
        best, best_range, best_axis = None, -1, 0
        for idx, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for axis in range(3):
                vals = [c[axis] for c in box]
                rng = max(vals) - min(vals)
                if rng > best_range:
                    best, best_range, best_axis = idx, rng, axis
        if best is None or best_range == 0:
            break
        box = sorted(boxes.pop(best), key=lambda c: c[best_axis])
        mid = len(box) // 2
        boxes.append(box[:mid])
        boxes.append(box[mid:])
    palette = []
    for box in boxes:
        n = len(box)
        palette.append(tuple(int(round(sum(c[k] for c in box) / n)) for k in range(3)))
    return palette


def nearest(palette, c):
    best, best_d = 0, None
    for idx, p in enumerate(palette):
        d = (p[0] - c[0]) ** 2 * 3 + (p[1] - c[1]) ** 2 * 4 + (p[2] - c[2]) ** 2 * 2
        if best_d is None or d < best_d:
            best, best_d = idx, d
    return best
