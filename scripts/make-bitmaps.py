#!/usr/bin/env python3
"""Draws the GUI's bitmaps and the program icon as PNG files.

Every picture is drawn from simple shapes at 4x resolution and reduced. Strips
that the program draws with a transparent colour get a pure cyan (0, 255, 255)
background and hard edges: a pixel is either the picture's colour or cyan, so
no cyan-tinted fringe shows when cyan is left out. Uses only the standard
library. Run from anywhere: it writes into app/resources/.
"""
import math
import os
import struct
import zlib

SS = 4  # supersampling factor
CYAN = (0, 255, 255)
ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app", "resources")


class Canvas:
    """An RGBA canvas drawn at SS times the final size."""

    def __init__(self, width, height):
        self.w, self.h = width, height
        self.px = [[None] * (width * SS) for _ in range(height * SS)]

    def shape(self, inside, colour, box=None):
        """Paints every sample whose centre (in final-pixel units) is inside."""
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        sx0, sy0 = max(0, int(x0 * SS) - 1), max(0, int(y0 * SS) - 1)
        sx1, sy1 = min(self.w * SS, int(math.ceil(x1 * SS)) + 1), min(self.h * SS, int(math.ceil(y1 * SS)) + 1)
        for sy in range(sy0, sy1):
            y = (sy + 0.5) / SS
            row = self.px[sy]
            for sx in range(sx0, sx1):
                x = (sx + 0.5) / SS
                if inside(x, y):
                    row[sx] = colour(x, y) if callable(colour) else colour

    def rect(self, x0, y0, x1, y1, colour):
        self.shape(lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour, (x0, y0, x1, y1))

    def round_rect(self, x0, y0, x1, y1, r, colour):
        def inside(x, y):
            if not (x0 <= x < x1 and y0 <= y < y1):
                return False
            cx = min(max(x, x0 + r), x1 - r)
            cy = min(max(y, y0 + r), y1 - r)
            return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
        self.shape(inside, colour, (x0, y0, x1, y1))

    def circle(self, cx, cy, r, colour):
        self.shape(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour, (cx - r, cy - r, cx + r, cy + r))

    def ring(self, cx, cy, r, width, colour):
        inner = r - width
        self.shape(lambda x, y: inner * inner <= (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour,
                   (cx - r, cy - r, cx + r, cy + r))

    def polygon(self, points, colour):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]

        def inside(x, y):
            hit = False
            n = len(points)
            for i in range(n):
                ax, ay = points[i]
                bx, by = points[(i + 1) % n]
                if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
                    hit = not hit
            return hit
        self.shape(inside, colour, (min(xs), min(ys), max(xs), max(ys)))

    def line(self, ax, ay, bx, by, width, colour):
        half = width / 2.0
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy or 1.0

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
            px, py = ax + t * dx, ay + t * dy
            return (x - px) ** 2 + (y - py) ** 2 <= half * half
        self.shape(inside, colour, (min(ax, bx) - half, min(ay, by) - half, max(ax, bx) + half, max(ay, by) + half))

    def pixels(self, keyed):
        """Final pixels: averaged samples; `keyed` makes hard edges on cyan."""
        out = []
        n = SS * SS
        for y in range(self.h):
            row = []
            for x in range(self.w):
                r = g = b = 0
                covered = 0
                for sy in range(y * SS, y * SS + SS):
                    for sx in range(x * SS, x * SS + SS):
                        c = self.px[sy][sx]
                        if c is not None:
                            r += c[0]
                            g += c[1]
                            b += c[2]
                            covered += 1
                if keyed:
                    if covered * 2 < n:
                        row.append(CYAN + (255,))
                    else:
                        row.append((r // covered, g // covered, b // covered, 255))
                elif covered == 0:
                    row.append((0, 0, 0, 0))
                else:
                    row.append((r // covered, g // covered, b // covered, covered * 255 // n))
            out.append(row)
        return out


def write_png(path, rows, alpha):
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for p in row:
            raw.extend(p if alpha else p[:3])

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def stack(frames):
    """Frames one above the other (the strips are one column wide)."""
    rows = []
    for frame in frames:
        rows.extend(frame)
    return rows


def scaled(f, size):
    """Runs a drawing function designed on a 16-unit grid at `size` pixels."""
    c = Canvas(size, size)
    f(c, size / 16.0)
    return c


# --- pictures -------------------------------------------------------------

def placeholder(size=96):
    """Bitmap 138: an empty photo frame with hills and a sun."""
    c = Canvas(size, size)
    k = size / 96.0
    c.rect(0, 0, size, size, (226, 232, 240))
    c.round_rect(12 * k, 18 * k, 84 * k, 78 * k, 5 * k, (150, 162, 180))
    c.round_rect(16 * k, 22 * k, 80 * k, 74 * k, 3 * k, (246, 249, 252))
    c.circle(62 * k, 36 * k, 6 * k, (250, 196, 64))
    c.polygon([(16 * k, 74 * k), (38 * k, 44 * k), (56 * k, 74 * k)], (120, 168, 120))
    c.polygon([(40 * k, 74 * k), (60 * k, 52 * k), (80 * k, 74 * k)], (92, 140, 96))
    return c.pixels(False)


def group_badge(size=21):
    """Bitmap 152: two people on a round badge, for group blogs."""
    c = Canvas(size, size)
    k = size / 21.0
    c.circle(10.5 * k, 10.5 * k, 10.2 * k, (30, 86, 170))
    c.circle(10.5 * k, 10.5 * k, 9.0 * k, (70, 140, 230))
    white, pale = (255, 255, 255), (200, 222, 250)
    c.circle(7.5 * k, 7.5 * k, 2.6 * k, pale)
    c.round_rect(3.3 * k, 10.8 * k, 11.7 * k, 16.5 * k, 2.6 * k, pale)
    c.circle(13.0 * k, 8.5 * k, 2.8 * k, white)
    c.round_rect(8.6 * k, 12.0 * k, 17.4 * k, 17.6 * k, 2.8 * k, white)
    return c.pixels(True)


def tick(size=16):
    """Bitmap 157: a white tick on a green disc (a chosen photo)."""
    def draw(c, u):
        c.circle(8 * u, 8 * u, 7.8 * u, (24, 110, 40))
        c.circle(8 * u, 8 * u, 6.8 * u, (52, 168, 72))
        c.line(4.4 * u, 8.4 * u, 7.0 * u, 11.0 * u, 2.2 * u, (255, 255, 255))
        c.line(7.0 * u, 11.0 * u, 11.8 * u, 5.2 * u, 2.2 * u, (255, 255, 255))
    return scaled(draw, size).pixels(True)


def busy_frames(size):
    """Bitmaps 158 (16) and 162 (32): four frames of a turning ring of dots."""
    frames = []
    for step in range(4):
        def draw(c, u, step=step):
            for i in range(8):
                angle = (i / 8.0) * 2 * math.pi - math.pi / 2
                age = (step * 2 - i) % 8  # 0: the leading dot
                shade = min(210, 40 + age * 30)
                colour = (shade // 2, shade // 2 + 20, min(255, shade + 40))
                radius = (1.9 if age < 2 else 1.4) * u
                c.circle(8 * u + 5.2 * u * math.cos(angle), 8 * u + 5.2 * u * math.sin(angle), radius, colour)
        frames.append(scaled(draw, size).pixels(True))
    return stack(frames)


def state_icons():
    """Bitmap 159: new entry, new comments, pending, read-only (16 x 16 each)."""
    def new_entry(c, u):
        star = []
        for i in range(10):
            angle = i * math.pi / 5 - math.pi / 2
            r = (7.6 if i % 2 == 0 else 3.4) * u
            star.append((8 * u + r * math.cos(angle), 8.4 * u + r * math.sin(angle)))
        c.polygon(star, (196, 110, 0))
        inner = [(8 * u + (p[0] - 8 * u) * 0.72, 8.4 * u + (p[1] - 8.4 * u) * 0.72) for p in star]
        c.polygon(inner, (255, 200, 40))

    def comments(c, u):
        c.round_rect(0.8 * u, 1.5 * u, 15.2 * u, 11.5 * u, 3 * u, (24, 72, 150))
        c.polygon([(3.5 * u, 10 * u), (8 * u, 10 * u), (3.2 * u, 15 * u)], (24, 72, 150))
        c.round_rect(1.8 * u, 2.5 * u, 14.2 * u, 10.5 * u, 2.2 * u, (255, 255, 255))
        for x in (5, 8, 11):
            c.circle(x * u, 6.5 * u, 1.1 * u, (24, 72, 150))

    def pending(c, u):
        c.circle(8 * u, 8 * u, 7.6 * u, (170, 90, 0))
        c.circle(8 * u, 8 * u, 6.6 * u, (250, 150, 30))
        c.polygon([(8 * u, 3 * u), (12.5 * u, 8 * u), (9.6 * u, 8 * u), (9.6 * u, 12.6 * u),
                   (6.4 * u, 12.6 * u), (6.4 * u, 8 * u), (3.5 * u, 8 * u)], (255, 255, 255))

    def read_only(c, u):
        c.ring(8 * u, 6.6 * u, 4 * u, 1.6 * u, (90, 90, 100))
        c.rect(3.4 * u, 6.6 * u, 4.9 * u, 8.5 * u, (90, 90, 100))
        c.rect(11.1 * u, 6.6 * u, 12.6 * u, 8.5 * u, (90, 90, 100))
        c.round_rect(2.4 * u, 7.6 * u, 13.6 * u, 15.4 * u, 1.5 * u, (150, 110, 20))
        c.round_rect(3.4 * u, 8.6 * u, 12.6 * u, 14.4 * u, 1 * u, (236, 186, 60))
        c.circle(8 * u, 11.5 * u, 1.3 * u, (110, 70, 0))

    return stack([scaled(f, 16).pixels(True) for f in (new_entry, comments, pending, read_only)])


def viewer_markers(size):
    """Bitmaps 160 (16) and 161 (32): new comments, more below, more above, more
    to the side."""
    def bubble(c, u):
        c.round_rect(0.8 * u, 1.5 * u, 15.2 * u, 11.5 * u, 3 * u, (160, 80, 0))
        c.polygon([(3.5 * u, 10 * u), (8 * u, 10 * u), (3.2 * u, 15 * u)], (160, 80, 0))
        c.round_rect(1.8 * u, 2.5 * u, 14.2 * u, 10.5 * u, 2.2 * u, (255, 214, 90))
        for x in (5, 8, 11):
            c.circle(x * u, 6.5 * u, 1.1 * u, (160, 80, 0))

    def arrow(points):
        def draw(c, u):
            c.circle(8 * u, 8 * u, 7.6 * u, (20, 40, 90))
            c.circle(8 * u, 8 * u, 6.6 * u, (60, 110, 210))
            c.polygon([(x * u, y * u) for x, y in points], (255, 255, 255))
        return draw

    down = arrow([(4, 6), (12, 6), (8, 11.5)])
    up = arrow([(4, 10), (12, 10), (8, 4.5)])
    side = arrow([(6, 4), (6, 12), (11.5, 8)])
    return stack([scaled(f, size).pixels(True) for f in (bubble, down, up, side)])


def program_icon(size):
    """The program icon: a blue tile with a white photo card and a lens."""
    c = Canvas(size, size)
    k = size / 64.0
    c.round_rect(2 * k, 2 * k, 62 * k, 62 * k, 12 * k, (20, 56, 128))
    c.round_rect(4 * k, 4 * k, 60 * k, 60 * k, 10 * k, lambda x, y: (
        int(40 + 30 * (1 - y / size)), int(100 + 60 * (1 - y / size)), int(200 + 40 * (1 - y / size))))
    c.round_rect(12 * k, 16 * k, 52 * k, 50 * k, 4 * k, (255, 255, 255))
    c.rect(15 * k, 19 * k, 49 * k, 41 * k, (170, 214, 250))
    c.circle(41 * k, 26 * k, 4 * k, (255, 200, 40))
    c.polygon([(15 * k, 41 * k), (27 * k, 27 * k), (39 * k, 41 * k)], (56, 150, 80))
    c.polygon([(30 * k, 41 * k), (40 * k, 32 * k), (49 * k, 41 * k)], (36, 120, 60))
    c.ring(45 * k, 46 * k, 10 * k, 3 * k, (20, 56, 128))
    c.circle(45 * k, 46 * k, 7 * k, (240, 246, 255))
    c.circle(45 * k, 46 * k, 4 * k, (40, 80, 160))
    return c.pixels(False)


def main():
    bitmaps = os.path.join(ROOT, "bitmaps")
    icons = os.path.join(ROOT, "icons")
    os.makedirs(bitmaps, exist_ok=True)
    os.makedirs(icons, exist_ok=True)
    write_png(os.path.join(bitmaps, "138.png"), placeholder(), False)
    write_png(os.path.join(bitmaps, "152.png"), group_badge(), False)
    write_png(os.path.join(bitmaps, "157.png"), tick(), False)
    write_png(os.path.join(bitmaps, "158.png"), busy_frames(16), False)
    write_png(os.path.join(bitmaps, "162.png"), busy_frames(32), False)
    write_png(os.path.join(bitmaps, "159.png"), state_icons(), False)
    write_png(os.path.join(bitmaps, "160.png"), viewer_markers(16), False)
    write_png(os.path.join(bitmaps, "161.png"), viewer_markers(32), False)
    for size in (16, 32, 48, 64, 128, 256):
        write_png(os.path.join(icons, "tessary-%d.png" % size), program_icon(size), True)
    write_png(os.path.join(bitmaps, "icon.png"), program_icon(64), True)


if __name__ == "__main__":
    main()
