#!/usr/bin/env python3
"""Writes the SVG sources of the installer's artwork into this folder.

Every picture is drawn separately for each of its sizes, in pixel coordinates, so that straight
edges fall on whole pixels at every scale instead of being a blurred enlargement of the 100 %
picture. The SVG files are what the build renders (rsvg-convert); edit a drawing here and run
`python3 resources/art/draw.py` to rewrite them, or touch up a single SVG by hand.
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
SCALES = (100, 125, 150, 200)

GLYPH = "#dcdcdc"  # caption glyphs: a little lighter than the caption text (200, 200, 200)
ACCENT = (7, 165, 216)
WORDMARK = "#e6e6e6"
LENS_HOLE = "#101115"


def num(v):
    text = f"{v:.3f}".rstrip("0").rstrip(".")
    return "0" if text in ("", "-0") else text


def svg(width, height, body):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">\n{body}</svg>\n')


def rect(x, y, w, h):
    return f"M{num(x)} {num(y)}h{num(w)}v{num(h)}h{num(-w)}Z"


def outline(x, y, w, h, t):
    """A w x h frame t pixels thick, as a path for fill-rule evenodd."""
    return rect(x, y, w, h) + rect(x + t, y + t, w - 2 * t, h - 2 * t)


def path(d, fill, extra=""):
    return f'  <path d="{d}" fill="{fill}"{extra}/>\n'


def polyline(points, stroke, width, cap="butt", join="miter"):
    pts = " ".join(f"{num(x)},{num(y)}" for x, y in points)
    return (f'  <polyline points="{pts}" fill="none" stroke="{stroke}" stroke-width="{num(width)}" '
            f'stroke-linecap="{cap}" stroke-linejoin="{join}"/>\n')


def write(name, text):
    with open(os.path.join(HERE, name), "w", encoding="utf-8") as f:
        f.write(text)


# Caption glyphs: 16, 20, 24, 32 pixels; the drawing fills a centred square of `box` pixels.
GLYPH_SIZES = {100: (16, 10, 1), 125: (20, 12, 1), 150: (24, 14, 1), 200: (32, 20, 2)}


def caption_glyphs(scale):
    size, box, t = GLYPH_SIZES[scale]
    o = (size - box) // 2
    # Close: two diagonals. One pixel thick they are laid pixel by pixel, which keeps them as
    # sharp as the straight glyphs; the two-pixel ones of 200 % read better smoothed.
    if t == 1:
        close = path("".join(rect(o + i, o + i, 1, 1) + rect(o + box - 1 - i, o + i, 1, 1)
                             for i in range(box)), GLYPH)
    else:
        a, b = o + t / 2, o + box - t / 2
        close = polyline([(a, a), (b, b)], GLYPH, t * 1.25, cap="square") + polyline(
            [(a, b), (b, a)], GLYPH, t * 1.25, cap="square")
    write(f"close_{scale}.svg", svg(size, size, close))
    # Minimize: a bar on the row just below the middle.
    write(f"minimize_{scale}.svg", svg(size, size, path(rect(o, size // 2, box, t), GLYPH)))
    # Maximize: a square frame.
    write(f"maximize_{scale}.svg",
          svg(size, size, path(outline(o, o, box, box, t), GLYPH, ' fill-rule="evenodd"')))
    # Restore: a front frame and the top and right edges of the one behind it.
    d = 2 * t if scale != 150 else 3
    front = box - d
    back = (rect(o + d, o, front, t) + rect(o + box - t, o, t, front) + rect(o + d, o, t, d) +
            rect(o + front, o + front - t, box - front, t))
    write(f"restore_{scale}.svg", svg(size, size, path(outline(o, o + d, front, front, t), GLYPH,
                                                        ' fill-rule="evenodd"') + path(back, GLYPH)))


# Check boxes: 16, 20, 24, 32 pixels; a rounded box inset by one pixel (two at 200 %).
CHECK_SIZES = {100: (16, 1, 1, 2), 125: (20, 1, 1, 2.5), 150: (24, 2, 1, 3), 200: (32, 2, 2, 4)}
CHECK_BORDER = "#8e9099"
CHECK_FILL = "#25262d"
CHECK_MARK = "#ffffff"


def rounded(x, y, w, h, r, fill, extra=""):
    return (f'  <rect x="{num(x)}" y="{num(y)}" width="{num(w)}" height="{num(h)}" rx="{num(r)}" '
            f'fill="{fill}"{extra}/>\n')


def check_boxes(scale):
    size, inset, t, r = CHECK_SIZES[scale]
    box = size - 2 * inset
    half = t / 2
    unchecked = rounded(inset + half, inset + half, box - t, box - t, r - half, CHECK_FILL,
                        f' stroke="{CHECK_BORDER}" stroke-width="{t}"')
    write(f"check_off_{scale}.svg", svg(size, size, unchecked))
    s = box / 14  # the tick is laid out on the 14-pixel box of the 100 % picture
    tick = [(inset + 3 * s, inset + 7.2 * s), (inset + 5.8 * s, inset + 10 * s),
            (inset + 11 * s, inset + 4.2 * s)]
    checked = rounded(inset, inset, box, box, r, rgb(ACCENT)) + polyline(
        tick, CHECK_MARK, 1.6 * s, cap="round", join="round")
    write(f"check_on_{scale}.svg", svg(size, size, checked))


# Chevrons: the expander (14 x 8 at 100 %) and the combo box strip of three 14 x 14 frames.
EXPANDER_SIZES = {100: (14, 8), 125: (17, 11), 150: (21, 12), 200: (28, 16)}
EXPANDER = "#c8c8c8"
STRIP_FRAME = {100: 14, 125: 18, 150: 21, 200: 28}
STRIP_COLOURS = ("#5a5c64", "#ebebeb", "#a0a2a8")  # dark, light (hot), mid grey (normal)


def chevron_points(cx, top, half, down):
    """A 45-degree chevron `half` pixels wide on each side of cx, its arms starting at `top`."""
    if down:
        return [(cx - half, top), (cx, top + half), (cx + half, top)]
    return [(cx - half, top + half), (cx, top), (cx + half, top + half)]


def chevrons(scale):
    width, height = EXPANDER_SIZES[scale]
    t = 1.5 if scale < 200 else 2.5
    half = round(5 * scale / 100)  # arm reach, in step with the 100 % picture
    top = (height - half) / 2
    for name, down in (("expand_up", False), ("expand_down", True)):
        write(f"{name}_{scale}.svg",
              svg(width, height, polyline(chevron_points(width / 2, top, half, down), EXPANDER, t)))
    frame = STRIP_FRAME[scale]
    half = round(frame * 2 / 7)
    t = 1.5 if scale < 200 else 2.5
    top = (frame - half) / 2
    body = ""
    for i, colour in enumerate(STRIP_COLOURS):
        body += polyline(chevron_points(i * frame + frame / 2, top, half, True), colour, t)
    write(f"chevron_strip_{scale}.svg", svg(3 * frame, frame, body))


# The product mark: a six-bladed camera aperture in the accent blue, each blade a shade lit from
# the upper left, around a dark hexagonal opening.
def rgb(c):
    return "#%02x%02x%02x" % tuple(max(0, min(255, round(v))) for v in c)


def shade(colour, k):
    if k >= 0:
        return tuple(v + (255 - v) * k for v in colour)
    return tuple(v * (1 + k) for v in colour)


def aperture(cx, cy, radius, seams=0.0, opening=0.4):
    hole = radius * opening
    corners = [(cx + hole * math.cos(math.radians(-90 + 60 * k)),
                cy + hole * math.sin(math.radians(-90 + 60 * k))) for k in range(6)]

    def rim_point(p, q):
        # Where the line from p through q leaves the circle, beyond q.
        dx, dy = q[0] - p[0], q[1] - p[1]
        fx, fy = q[0] - cx, q[1] - cy
        a = dx * dx + dy * dy
        b = 2 * (fx * dx + fy * dy)
        c = fx * fx + fy * fy - radius * radius
        s = (-b + math.sqrt(b * b - 4 * a * c)) / (2 * a)
        return (q[0] + s * dx, q[1] + s * dy)

    rims = [rim_point(corners[k], corners[(k + 1) % 6]) for k in range(6)]
    body = ""
    for k in range(6):
        v1, v2 = corners[(k + 1) % 6], corners[(k + 2) % 6]
        p1, p2 = rims[k], rims[(k + 1) % 6]
        mid = math.atan2((p1[1] + p2[1]) / 2 - cy, (p1[0] + p2[0]) / 2 - cx)
        light = math.cos(mid - math.radians(-135))  # 1 towards the upper left, -1 lower right
        colour = shade(ACCENT, 0.28 * light if light > 0 else 0.38 * light)
        d = (f"M{num(v1[0])} {num(v1[1])}L{num(p1[0])} {num(p1[1])}"
             f"A{num(radius)} {num(radius)} 0 0 1 {num(p2[0])} {num(p2[1])}"
             f"L{num(v2[0])} {num(v2[1])}Z")
        body += path(d, rgb(colour), f' stroke="{rgb(colour)}" stroke-width="0.35"')
    hexagon = "M" + "L".join(f"{num(x)} {num(y)}" for x, y in corners) + "Z"
    body += path(hexagon, LENS_HOLE)
    if seams:
        for k in range(6):
            v, p = corners[(k + 1) % 6], rims[k]
            body += polyline([v, p], LENS_HOLE, seams)
    return body


ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)


def icons():
    for size in ICON_SIZES:
        radius = size / 2 - (0.5 if size <= 32 else size / 64)
        seams = 0 if size < 32 else size / 48
        write(f"icon_{size}.svg", svg(size, size, aperture(size / 2, size / 2, radius, seams)))


# The logo: the mark beside a geometric LUMETRA wordmark, drawn with straight strokes of whole
# pixels; it sits in the page's top right corner, so it keeps a margin at the top and the right.
LOGO_SIZES = {100: (161, 26, 12, 2), 125: (202, 33, 15, 2), 150: (242, 39, 18, 3),
              200: (321, 52, 24, 4)}


def letters(h, t):
    """Each letter of the wordmark as (width, body) in a box h pixels high at the origin."""

    def w(f):
        return round(h * f)

    out = []
    lw = w(0.62)
    out.append((lw, path(rect(0, 0, t, h) + rect(0, h - t, lw, t), WORDMARK)))
    uw = w(0.8)
    r = uw / 2
    ri = r - t
    u = (f"M0 0h{t}V{num(h - r)}A{num(ri)} {num(ri)} 0 0 0 {num(uw - t)} {num(h - r)}V0h{t}"
         f"V{num(h - r)}A{num(r)} {num(r)} 0 0 1 0 {num(h - r)}Z")
    out.append((uw, path(u, WORDMARK)))
    mw = w(1.0) + (w(1.0) % 2)
    m = path(rect(0, 0, t, h) + rect(mw - t, 0, t, h), WORDMARK)
    m += polyline([(t / 2, -t), (mw / 2, h * 0.66), (mw - t / 2, -t)], WORDMARK, t * 1.05)
    out.append((mw, m))
    ew = w(0.6)
    mid = (h - t) // 2
    out.append((ew, path(rect(0, 0, t, h) + rect(0, 0, ew, t) + rect(0, mid, ew - t, t) +
                         rect(0, h - t, ew, t), WORDMARK)))
    tw = w(0.72)
    tw += (tw - t) % 2
    out.append((tw, path(rect(0, 0, tw, t) + rect((tw - t) // 2, 0, t, h), WORDMARK)))
    rw = w(0.68)
    bowl = (h + t) // 2 + (((h + t) // 2 - t) % 2 == 1)
    br = bowl / 2
    bi = br - t
    rp = (f"M0 0H{num(rw - br)}A{num(br)} {num(br)} 0 0 1 {num(rw - br)} {num(bowl)}H0Z"
          f"M{t} {t}V{num(bowl - t)}H{num(rw - br)}A{num(bi)} {num(bi)} 0 0 0 {num(rw - br)} {t}Z")
    rr = path(rect(0, 0, t, h), WORDMARK) + path(rp, WORDMARK, ' fill-rule="evenodd"')
    rr += polyline([(rw * 0.42, bowl - t / 2), (rw - t / 2 - 0.3, h + t)], WORDMARK, t * 1.1)
    out.append((rw, rr))
    aw = w(0.9) + (w(0.9) % 2)
    a = polyline([(0.6 * t / 2, h + t), (aw / 2, -t * 0.4), (aw - 0.6 * t / 2, h + t)],
                 WORDMARK, t * 1.1)
    bar_y = round(h * 0.64)
    a += path(rect(aw * 0.24, bar_y, aw * 0.52, t), WORDMARK)
    out.append((aw, a))
    return out


def logo(scale):
    width, height, h, t = LOGO_SIZES[scale]
    track = round(h * 0.3)
    parts = letters(h, t)
    text_width = sum(lw for lw, _ in parts) + track * (len(parts) - 1)
    right_margin = round(h * 1.0)
    x = width - right_margin - text_width
    top = (height - h) // 2
    body = f'  <clipPath id="band"><rect x="0" y="{top}" width="{width}" height="{h}"/></clipPath>\n'
    body += f'  <g clip-path="url(#band)">\n'
    for lw, letter in parts:
        body += f'  <g transform="translate({x} {top})">\n' + letter + "  </g>\n"
        x += lw + track
    body += "  </g>\n"
    mark = round(h * 1.5)
    mark_x = width - right_margin - text_width - round(h * 0.75) - mark
    body += aperture(mark_x + mark / 2, height / 2, mark / 2, 0, 0.42)
    write(f"logo_{scale}.svg", svg(width, height, body))


def main():
    for scale in SCALES:
        caption_glyphs(scale)
        check_boxes(scale)
        chevrons(scale)
        logo(scale)
    icons()


if __name__ == "__main__":
    main()
