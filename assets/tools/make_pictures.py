#!/usr/bin/env python3
"""Writes the sensor pictures and the company picture as SVG into assets/pictures/.

Every sensor picture has the same three cards, so a student finds the same things in the same
place whichever sensor is picked: the sensor itself, where it goes on the body, and what its
signal looks like. The waveforms are computed here from simple physiological models, so their
shapes and time scales are right rather than hand-drawn. The SVG files are committed; the build
only renders them. Run this again after changing it:

    python3 assets/tools/make_pictures.py
"""
import math
import os

W, H = 1080, 370  # the size the explanation panel paints a picture at
FONT = "Noto Sans CJK SC"
INK = "#1d3557"
GREY = "#5c6b7a"
LIGHT = "#d6dfe9"
SKIN = "#f3d9c4"
SKIN_EDGE = "#c9a58a"
BODY = "#e3ebf3"
BODY_EDGE = "#9db0c4"

# Card columns: sensor, body, signal. Everything stays left of x = 1040 so that nothing is
# lost where the panel clips the picture.
CARD_Y, CARD_H = 64, 292
CARDS = [(16, 318), (346, 284), (642, 398)]


def esc(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def text(x, y, s, size=14, fill=INK, weight="normal", anchor="start", family=FONT):
    return (f'<text x="{x:.1f}" y="{y:.1f}" font-family="{family}" font-size="{size}" '
            f'font-weight="{weight}" fill="{fill}" text-anchor="{anchor}">{esc(s)}</text>')


def line(x1, y1, x2, y2, stroke=INK, width=1.5, dash=None, cap="round"):
    d = f' stroke-dasharray="{dash}"' if dash else ""
    return (f'<line x1="{x1:.1f}" y1="{y1:.1f}" x2="{x2:.1f}" y2="{y2:.1f}" stroke="{stroke}" '
            f'stroke-width="{width}" stroke-linecap="{cap}"{d}/>')


def rect(x, y, w, h, fill="none", stroke="none", width=1, rx=0, extra=""):
    return (f'<rect x="{x:.1f}" y="{y:.1f}" width="{w:.1f}" height="{h:.1f}" rx="{rx}" '
            f'fill="{fill}" stroke="{stroke}" stroke-width="{width}"{extra}/>')


def circle(cx, cy, r, fill="none", stroke="none", width=1, extra=""):
    return (f'<circle cx="{cx:.1f}" cy="{cy:.1f}" r="{r:.1f}" fill="{fill}" stroke="{stroke}" '
            f'stroke-width="{width}"{extra}/>')


def path(d, fill="none", stroke=INK, width=1.5, extra=""):
    return (f'<path d="{d}" fill="{fill}" stroke="{stroke}" stroke-width="{width}" '
            f'stroke-linejoin="round" stroke-linecap="round"{extra}/>')


def polyline(points, stroke, width=2.0):
    pts = " ".join(f"{x:.1f},{y:.1f}" for x, y in points)
    return (f'<polyline points="{pts}" fill="none" stroke="{stroke}" stroke-width="{width}" '
            f'stroke-linejoin="round" stroke-linecap="round"/>')


def arrow(x1, y1, x2, y2, color=INK, width=1.4, head=7):
    """A line with a filled head at (x2, y2)."""
    a = math.atan2(y2 - y1, x2 - x1)
    bx, by = x2 - head * math.cos(a), y2 - head * math.sin(a)
    px, py = -math.sin(a) * head * 0.45, math.cos(a) * head * 0.45
    return (line(x1, y1, bx, by, color, width) +
            f'<polygon points="{x2:.1f},{y2:.1f} {bx + px:.1f},{by + py:.1f} '
            f'{bx - px:.1f},{by - py:.1f}" fill="{color}"/>')


def double_arrow(x1, y1, x2, y2, color=INK, width=1.2):
    mx, my = (x1 + x2) / 2, (y1 + y2) / 2
    return arrow(mx, my, x1, y1, color, width, 6) + arrow(mx, my, x2, y2, color, width, 6)


def smooth_closed(points):
    """A closed Catmull-Rom curve through the points, as cubic Bezier segments."""
    n = len(points)
    d = f"M{points[0][0]:.1f},{points[0][1]:.1f}"
    for i in range(n):
        p0, p1, p2, p3 = (points[(i - 1) % n], points[i], points[(i + 1) % n],
                          points[(i + 2) % n])
        c1 = (p1[0] + (p2[0] - p0[0]) / 6, p1[1] + (p2[1] - p0[1]) / 6)
        c2 = (p2[0] - (p3[0] - p1[0]) / 6, p2[1] - (p3[1] - p1[1]) / 6)
        d += f" C{c1[0]:.1f},{c1[1]:.1f} {c2[0]:.1f},{c2[1]:.1f} {p2[0]:.1f},{p2[1]:.1f}"
    return d + " Z"


def gradients(accent):
    return f'''<defs>
<linearGradient id="bg" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#f7fafd"/><stop offset="1" stop-color="#e9f0f7"/></linearGradient>
<linearGradient id="module" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#ffffff"/><stop offset="1" stop-color="#dde5ee"/></linearGradient>
<linearGradient id="metal" x1="0" y1="0" x2="1" y2="0">
<stop offset="0" stop-color="#8d99a6"/><stop offset="0.45" stop-color="#f2f5f8"/>
<stop offset="1" stop-color="#7b8794"/></linearGradient>
<linearGradient id="strap" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#4a5a6c"/><stop offset="1" stop-color="#2c3947"/></linearGradient>
<linearGradient id="accentfade" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="{accent}" stop-opacity="0.22"/>
<stop offset="1" stop-color="{accent}" stop-opacity="0.02"/></linearGradient>
</defs>'''


def frame(title, subtitle, accent, cards, body, signal):
    """The common layout: a title line and three cards with a heading and a caption each."""
    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{W}" height="{H}" '
           f'viewBox="0 0 {W} {H}">', gradients(accent), rect(0, 0, W, H, "url(#bg)")]
    out.append(rect(16, 16, 6, 32, accent, rx=3))
    out.append(text(32, 42, title, 26, INK, "bold"))
    out.append(text(32 + text_width(title, 26) + 16, 41, subtitle, 15, GREY))
    out.append(text(1036, 40, "Somatrix", 17, "#9aabbd", "bold", "end", "DejaVu Sans"))
    headings = ["传感器", "佩戴位置", "信号波形"]
    for i, ((x, w), content) in enumerate(zip(CARDS, [cards, body, signal])):
        out.append(rect(x, CARD_Y, w, CARD_H, "#ffffff", LIGHT, 1, 10))
        out.append(circle(x + 24, CARD_Y + 24, 11, accent))
        out.append(text(x + 24, CARD_Y + 29, str(i + 1), 14, "#ffffff", "bold", "middle",
                        "DejaVu Sans"))
        out.append(text(x + 44, CARD_Y + 30, headings[i], 17, INK, "bold"))
        out.append(content["draw"])
        for k, caption in enumerate(content["caption"]):
            out.append(text(x + 18, CARD_Y + CARD_H - 38 + 20 * k, caption, 13.5, GREY))
    out.append("</svg>")
    return "\n".join(out)


# --- the sensor module and its cables -------------------------------------------------------

def module(cx, cy, label, accent):
    """The sensor's electronics box with its USB cable to the computer."""
    x, y, w, h = cx - 62, cy - 30, 124, 60
    out = [path(f"M{x:.1f},{cy + 4:.1f} C{x - 24:.1f},{cy + 4:.1f} {x - 22:.1f},{cy - 20:.1f} "
                f"{x - 22:.1f},{cy - 34:.1f}", "none", "#3b4856", 4),
           rect(x - 30, cy - 58, 16, 24, "url(#metal)", "#6b7786", 1, 2),
           rect(x - 26, cy - 64, 8, 7, "#b8c2cc", "#6b7786", 1),
           text(x - 8, cy - 44, "USB 接电脑", 12.5, GREY),
           rect(x, y, w, h, "url(#module)", "#8fa1b4", 1.5, 9),
           rect(x, y, 8, h, accent, rx=4),
           text(cx + 4, cy - 4, "Somatrix", 14, INK, "bold", "middle", "DejaVu Sans"),
           text(cx + 4, cy + 17, label, 12.5, GREY, "normal", "middle"),
           circle(x + w - 12, y + 11, 3.2, "#3ec46d")]
    return "".join(out)


def cable(points, color="#3b4856", width=3):
    d = f"M{points[0][0]:.1f},{points[0][1]:.1f}"
    for i in range(1, len(points) - 2, 3):
        (a, b), (c, e), (f, g) = points[i], points[i + 1], points[i + 2]
        d += f" C{a:.1f},{b:.1f} {c:.1f},{e:.1f} {f:.1f},{g:.1f}"
    return path(d, "none", color, width)


def electrode(cx, cy, ring, label=None, label_dx=0, label_dy=30):
    """A disposable snap electrode: foam pad, coloured lead clip, gel centre."""
    out = [circle(cx, cy, 17, "#ffffff", "#aab6c3", 1.4),
           circle(cx, cy, 10, "#e8edf2", "#c3ccd6", 1),
           circle(cx, cy, 6.5, ring, "#ffffff", 1.5)]
    if label:
        out.append(text(cx + label_dx, cy + label_dy, label, 12.5, INK, "normal", "middle"))
    return "".join(out)


# --- the body --------------------------------------------------------------------------------

# Half of a standing figure, arms a little away from the body, in units of a 240 high figure;
# x grows to the figure's left hand (the viewer's right).
HALF_BODY = [(8, 46), (30, 52), (42, 62), (52, 92), (62, 122), (70, 138), (71, 150), (64, 156),
             (58, 144), (52, 128), (42, 100), (34, 84), (32, 108), (33, 136), (31, 172),
             (26, 216), (28, 236), (12, 238), (9, 226), (8, 176), (3, 150)]


def body(cx, top, scale=0.8, marks=(), extra=""):
    """The figure centred at cx, its head at top; marks are (x, y) points on the 240 figure."""
    pts = [(x, y) for x, y in HALF_BODY] + [(-x, y) for x, y in reversed(HALF_BODY)]
    pts = [(cx + x * scale, top + y * scale) for x, y in pts]
    out = [path(smooth_closed(pts), BODY, BODY_EDGE, 1.6),
           f'<ellipse cx="{cx:.1f}" cy="{top + 22 * scale:.1f}" rx="{17 * scale:.1f}" '
           f'ry="{21 * scale:.1f}" fill="{BODY}" stroke="{BODY_EDGE}" stroke-width="1.6"/>',
           rect(cx - 7 * scale, top + 38 * scale, 14 * scale, 10 * scale, BODY)]
    out.append(extra)
    return "".join(out)


def at(cx, top, x, y, scale=0.8):
    return cx + x * scale, top + y * scale


def text_width(s, size):
    """Rough advance of a label: CJK glyphs are square, Latin ones about half as wide."""
    return sum(size if ord(ch) > 0x2e80 else size * 0.58 for ch in s)


def marker(x, y, color, label, lx, ly, anchor="start"):
    """A glowing dot on the body, with its label on a short shelf at (lx, ly).

    The leader runs from the dot to the shelf's end nearest to it, and the shelf underlines the
    label, so no line ever crosses text."""
    width = text_width(label, 13)
    x0, x1 = (lx, lx + width + 6) if anchor == "start" else (lx - width - 6, lx)
    near = x1 if abs(x1 - x) < abs(x0 - x) else x0
    out = [circle(x, y, 11, color, extra=' fill-opacity="0.22"'),
           line(x, y, near, ly, color, 1.2), line(x0, ly, x1, ly, color, 1.2),
           circle(x, y, 5.5, color, "#ffffff", 1.5),
           text(x0 + 3, ly - 5, label, 13, INK)]
    return "".join(out)


# --- the signal charts -----------------------------------------------------------------------

class Chart:
    """A plot area in the signal card, mapping (t, v) to pixels."""

    def __init__(self, x, y, w, h, t0, t1, v0, v1):
        self.x, self.y, self.w, self.h = x, y, w, h
        self.t0, self.t1, self.v0, self.v1 = t0, t1, v0, v1

    def px(self, t, v):
        return (self.x + (t - self.t0) / (self.t1 - self.t0) * self.w,
                self.y + self.h - (v - self.v0) / (self.v1 - self.v0) * self.h)

    def grid(self, tstep, vstep, xlabel, ylabel, tfmt="{:g}", vfmt="{:g}", vticks=True):
        out = [rect(self.x, self.y, self.w, self.h, "#fbfcfe", "#c7d2de", 1)]
        t = self.t0
        while t <= self.t1 + 1e-9:
            x, _ = self.px(t, self.v0)
            if self.t0 < t < self.t1:
                out.append(line(x, self.y, x, self.y + self.h, "#e4eaf1", 1, cap="butt"))
            out.append(text(x, self.y + self.h + 16, tfmt.format(t), 11.5, GREY, "normal",
                            "middle", "DejaVu Sans"))
            t += tstep
        v = self.v0
        while v <= self.v1 + 1e-9:
            _, y = self.px(self.t0, v)
            if self.v0 < v < self.v1:
                out.append(line(self.x, y, self.x + self.w, y, "#e4eaf1", 1, cap="butt"))
            if vticks:
                out.append(text(self.x - 6, y + 4, vfmt.format(v), 11.5, GREY, "normal", "end",
                                "DejaVu Sans"))
            v += vstep
        out.append(text(self.x + self.w, self.y + self.h + 31, xlabel, 12.5, GREY, "normal",
                        "end"))
        out.append(text(self.x - (34 if vticks else 0), self.y - 8, ylabel, 12.5, GREY))
        return "".join(out)

    def trace(self, f, color, width=2.2, n=600):
        pts = []
        for i in range(n + 1):
            t = self.t0 + (self.t1 - self.t0) * i / n
            pts.append(self.px(t, f(t)))
        return polyline(pts, color, width)


def gauss(t, mu, sigma, a):
    return a * math.exp(-0.5 * ((t - mu) / sigma) ** 2)


def ecg(t, rr=0.8):
    p = t % rr
    return (gauss(p, 0.16, 0.025, 0.15) - gauss(p, 0.265, 0.009, 0.12) +
            gauss(p, 0.285, 0.011, 1.05) - gauss(p, 0.307, 0.010, 0.25) +
            gauss(p, 0.50, 0.045, 0.30))


def arterial(t, period=0.8):
    """Pressure pulse at the wrist: steep rise, main peak, dicrotic notch and wave."""
    p = t % period
    return (gauss(p, 0.13, 0.045, 1.0) + gauss(p, 0.23, 0.06, 0.38) +
            gauss(p, 0.40, 0.045, 0.30) + gauss(p, 0.52, 0.10, 0.10))


def ppg(t, period=0.8):
    """Volume pulse in a fingertip: smoother, a shallow dicrotic shoulder."""
    p = t % period
    return (gauss(p, 0.20, 0.07, 1.0) + gauss(p, 0.45, 0.09, 0.32) +
            gauss(p + period, 0.20, 0.07, 1.0) * 0 + gauss(p - period, 0.20, 0.07, 1.0))


# --- the pictures ----------------------------------------------------------------------------

def card_origin(i):
    x, w = CARDS[i]
    return x, CARD_Y, w


def ecg_picture():
    accent = "#d63031"
    cx0, y0, w0 = card_origin(0)
    mx, my = cx0 + 172, y0 + 100
    red, yellow, green = "#e53935", "#fbc02d", "#43a047"
    leads = [(red, cx0 + 62, y0 + 186, "右手 (红)"), (yellow, cx0 + 160, y0 + 194, "左手 (黄)"),
             (green, cx0 + 258, y0 + 186, "左脚 (绿)")]
    draw = ""
    for color, ex, ey, label in leads:
        draw += cable([(mx, my + 30), (mx, my + 60), (ex, ey - 60), (ex, ey - 17)], color, 2.6)
    draw += module(mx, my, "心电 ECG", accent)
    for color, ex, ey, label in leads:
        draw += electrode(ex, ey, color, label, 0, 36)
    sensor = {"draw": draw, "caption": ["三根导联线接一次性电极片，", "按颜色贴到对应位置。"]}

    bx, bw = CARDS[1][0], CARDS[1][1]
    cx, top = bx + bw / 2, y0 + 44
    marks = ""
    for (x, y), color, label, lx, ly, anchor in [
            ((-66, 144), red, "右手腕", bx + 16, y0 + 126, "start"),
            ((66, 144), yellow, "左手腕", bx + bw - 16, y0 + 126, "end"),
            ((18, 224), green, "左脚踝", bx + bw - 16, y0 + 200, "end")]:
        px, py = at(cx, top, x, y)
        marks += marker(px, py, color, label, lx, ly, anchor)
    hx, hy = at(cx, top, 10, 86)
    heart = path(f"M{hx:.1f},{hy + 7:.1f} C{hx - 14:.1f},{hy - 3:.1f} {hx - 7:.1f},{hy - 13:.1f} "
                 f"{hx:.1f},{hy - 6:.1f} C{hx + 7:.1f},{hy - 13:.1f} {hx + 14:.1f},{hy - 3:.1f} "
                 f"{hx:.1f},{hy + 7:.1f} Z", accent, "none", 0, ' fill-opacity="0.75"')
    placement = {"draw": body(cx, top, extra=heart) + marks,
                 "caption": ["先用酒精擦净皮肤再贴电极，", "测量时保持安静、肌肉放松。"]}

    sx, _, sw = card_origin(2)
    c = Chart(sx + 52, y0 + 62, sw - 72, 136, 0, 2.4, -0.4, 1.2)
    draw = c.grid(0.4, 0.4, "时间 (秒)", "电压 (mV)", vfmt="{:.1f}")
    draw += c.trace(ecg, accent)
    for t, v, label in [(0.16, 0.28, "P"), (0.285 + 0.8, 1.15, "R"), (0.307 + 0.8 + 0.02, -0.36,
                                                                       "S"), (0.50, 0.43, "T")]:
        x, y = c.px(t, v)
        draw += text(x, y, label, 13, INK, "bold", "middle", "DejaVu Sans")
    x1, y1 = c.px(0.285 + 0.8, 1.1)
    x2, _ = c.px(0.285 + 1.6, 1.1)
    draw += double_arrow(x1 + 6, y1 - 4, x2 - 6, y1 - 4, GREY)
    draw += text((x1 + x2) / 2, y1 - 10, "RR 间期 0.8 秒", 12, INK, "normal", "middle")
    qx, qy = c.px(0.285, 0.5)
    draw += text(qx + 10, qy - 12, "QRS 波群", 12, INK)
    signal = {"draw": draw, "caption": ["每跳一次出现一组 P、QRS、T 波；", "心率 = 60 ÷ RR 间期 = 75 次/分。"]}
    return frame("心电传感器", "记录心脏每次跳动时产生的微弱电信号", accent, sensor, placement,
                 signal)


def placement(accent, marks, caption, extra=lambda cx, top: ""):
    """The body card: marks are ((x, y) on the figure, label, side, shelf height)."""
    bx, bw = CARDS[1]
    cx, top = bx + bw / 2, CARD_Y + 44
    out = body(cx, top, extra=extra(cx, top))
    for (x, y), label, side, ly in marks:
        px, py = at(cx, top, x, y)
        if side == "l":
            out += marker(px, py, accent, label, bx + 16, CARD_Y + ly, "start")
        else:
            out += marker(px, py, accent, label, bx + bw - 16, CARD_Y + ly, "end")
    return {"draw": out, "caption": caption}


def finger(x, y, length, tip_right=True, width=28):
    """A finger seen from the side, nail up, its tip at the right (or left) end."""
    x0 = x if tip_right else x - length
    nx = x + length - 22 if tip_right else x - length + 6
    return (rect(x0, y - width / 2, length, width, SKIN, SKIN_EDGE, 1.4, width / 2) +
            rect(nx, y - width / 2 + 2, 16, 7, "#f9e9dd", SKIN_EDGE, 1, 3) +
            line(x0 + length * 0.35, y - 4, x0 + length * 0.35, y + 4, SKIN_EDGE, 1.2) +
            line(x0 + length * 0.62, y - 4, x0 + length * 0.62, y + 4, SKIN_EDGE, 1.2))


def label(x, y, s, size=12.5, anchor="start", fill=INK, weight="normal"):
    return text(x, y, s, size, fill, weight, anchor)


def pointer(x, y, lx, ly, s, anchor="start", color=GREY):
    """A thin line from a part of the drawing to its name."""
    anchor = "start" if lx >= x else "end"
    tx = lx + 4 if anchor == "start" else lx - 4
    return (line(x, y, lx, ly, color, 1) + circle(x, y, 2.2, color) +
            text(tx, ly + 4.5, s, 12.5, INK, "normal", anchor))


def blood_pressure_picture():
    accent = "#7d3c98"
    x0, y0, w0 = card_origin(0)
    mx, my = x0 + 190, y0 + 92
    cuff_x, cuff_y = x0 + 40, y0 + 160
    draw = cable([(mx - 20, my + 30), (mx - 20, my + 60), (cuff_x + 120, cuff_y - 40),
                  (cuff_x + 120, cuff_y + 4)], "#9aa7b5", 7)
    draw += cable([(mx - 20, my + 30), (mx - 20, my + 60), (cuff_x + 120, cuff_y - 40),
                   (cuff_x + 120, cuff_y + 4)], "#dfe5ec", 3)
    draw += module(mx, my, "血压 BP", accent)
    draw += rect(cuff_x, cuff_y, 240, 60, "url(#strap)", "#233040", 1.2, 14)
    draw += rect(cuff_x + 176, cuff_y + 6, 56, 48, "#6c7a89", "none", 0, 8)
    for k in range(7):
        draw += line(cuff_x + 182 + 7 * k, cuff_y + 12, cuff_x + 182 + 7 * k, cuff_y + 48,
                     "#8795a4", 1.2)
    draw += rect(cuff_x + 98, cuff_y + 17, 44, 26, "none", "#ffffff", 1.4, 4)
    draw += path(f"M{cuff_x + 120:.1f},{cuff_y + 22:.1f} l0,12 m-5,-5 l5,6 l5,-6", "none",
                 "#ffffff", 1.6)
    draw += pointer(cuff_x + 30, cuff_y + 6, cuff_x + 44, cuff_y - 20, "充气袖带")
    draw += pointer(cuff_x + 134, cuff_y + 40, cuff_x + 196, cuff_y + 84, "动脉标记")
    sensor = {"draw": draw, "caption": ["传感器自动充气和放气，", "由袖带里的压力波动算出血压。"]}

    def cuff_on_arm(cx, top):
        ax, ay = at(cx, top, 47, 80)
        return rect(ax - 12, ay - 10, 24, 30, accent, "#4a235a", 1.2, 4,
                    f' transform="rotate(-22 {ax:.1f} {ay:.1f})"')
    placement_card = placement(accent, [((47, 84), "左上臂", "r", 96)],
                               ["袖带下缘在肘窝上 2~3 厘米；", "坐姿，手臂放松并与心脏同高。"],
                               cuff_on_arm)

    sx, _, sw = card_origin(2)
    c = Chart(sx + 52, y0 + 58, sw - 72, 104, 0, 40, 0, 200)
    sys_t, dia_t = None, None

    def cuff(t):
        return 180 * t / 6 if t < 6 else 180 - 3.4 * (t - 6)

    def osc_amp(t):
        p = cuff(t)
        return 0 if t < 6 else 7 * math.exp(-0.5 * ((p - 95) / 21) ** 2)

    def osc(t):
        return osc_amp(t) * math.sin(2 * math.pi * t / 0.8) ** 3

    sys_t = 6 + (180 - 120) / 3.4
    dia_t = 6 + (180 - 80) / 3.4
    draw = c.grid(5, 50, "", "袖带压力 (mmHg)", vfmt="{:g}")
    draw += c.trace(lambda t: cuff(t) + 0.35 * osc(t), accent, 2.0, 900)
    o = Chart(sx + 52, y0 + 178, sw - 72, 40, 0, 40, -8, 8)
    draw += rect(o.x, o.y, o.w, o.h, "#fbfcfe", "#c7d2de", 1)
    draw += o.trace(osc, "#8e5aa8", 1.4, 1600)
    draw += text(o.x + 4, o.y + 13, "压力振荡", 11.5, GREY)
    for k in range(0, 41, 5):
        x, _ = o.px(k, 0)
        draw += text(x, o.y + o.h + 15, f"{k}", 11.5, GREY, "normal", "middle", "DejaVu Sans")
    draw += text(o.x + o.w, o.y + o.h + 30, "时间 (秒)", 12.5, GREY, "normal", "end")
    for t, name, dx, dy, anchor in [(sys_t, "收缩压 120", 6, -14, "start"),
                                    (dia_t, "舒张压 80", -6, 22, "end")]:
        x, y = c.px(t, cuff(t))
        draw += line(x, y, x, o.y + o.h, INK, 1, "4 3")
        draw += circle(x, y, 3.5, INK)
        draw += text(x + dx, y + dy, name, 12, INK, "bold", anchor)
    x, y = c.px(0.5, 118)
    draw += text(x, y, "充气", 12, GREY)
    x, y = c.px(10, 118)
    draw += text(x, y, "匀速放气", 12, GREY)
    signal = {"draw": draw, "caption": ["放气时压力振荡先增强后减弱，", "由振荡幅度的变化推算出收缩压和舒张压。"]}
    return frame("血压传感器", "用充气袖带无创测量动脉血压", accent, sensor, placement_card,
                 signal)


def skin_resistance_picture():
    accent = "#138d75"
    x0, y0, w0 = card_origin(0)
    mx, my = x0 + 220, y0 + 92
    draw = ""
    ends = [(x0 + 70, y0 + 150), (x0 + 70, y0 + 196)]
    for ex, ey in ends:
        draw += cable([(mx - 30, my + 30), (mx - 30, my + 60), (ex + 110, ey), (ex + 20, ey)],
                      "#3b4856", 2.6)
    draw += module(mx, my, "皮肤电阻 GSR", accent)
    for k, (ex, ey) in enumerate(ends):
        draw += finger(ex - 54, ey, 120, True, 26)
        draw += rect(ex - 6, ey - 17, 26, 34, "#2c3e50", "#1c2833", 1, 5)
        draw += circle(ex + 7, ey + 13, 6, "url(#metal)", "#6b7786", 1)
    draw += pointer(x0 + 72, y0 + 150 - 16, x0 + 84, y0 + 116, "魔术贴绑带")
    draw += pointer(x0 + 77, y0 + 196 + 13, x0 + 150, y0 + 236, "金属电极（贴指腹）")
    sensor = {"draw": draw, "caption": ["两个电极之间通过极小的电流，", "测出皮肤的电阻。"]}

    placement_card = placement(accent, [((64, 154), "两指指腹", "r", 130)],
                               ["电极贴在食指和中指的指腹，", "测量时手放平，保持不动。"])

    sx, _, sw = card_origin(2)
    c = Chart(sx + 52, y0 + 62, sw - 72, 136, 0, 60, 150, 250)

    def resistance(t):
        r = 232 - 0.35 * t
        for s0 in (12, 38):
            d = t - s0 - 1.8
            if d > 0:
                r -= 34 * (1 - math.exp(-d / 0.9)) * math.exp(-d / 9)
        return r

    draw = c.grid(10, 25, "时间 (秒)", "电阻 (kΩ)")
    for s0, name in [(12, "深呼吸"), (38, "突然的声音")]:
        x, _ = c.px(s0, 150)
        draw += line(x, c.y, x, c.y + c.h, GREY, 1, "4 3")
        draw += text(x + 4, c.y + c.h - 8, name, 12, GREY)
        draw += arrow(x, c.y - 2, x, c.y + 12, accent, 1.6, 7)
    draw += c.trace(resistance, accent, 2.4)
    x, y = c.px(16, 205)
    draw += text(x + 8, y + 22, "电阻下降", 12, INK, "bold")
    x, y = c.px(26, 220)
    draw += text(x, y - 18, "慢慢恢复", 12, INK)
    signal = {"draw": draw, "caption": ["紧张或受到刺激时手指微微出汗，", "电阻在 1~3 秒内下降，再慢慢恢复。"]}
    return frame("皮肤电阻传感器", "反映情绪与注意力变化的皮肤电活动", accent, sensor,
                 placement_card, signal)


def finger_clip(cx, cy, top_glow, glow_color):
    """A finger inside a spring clip, the light shining through it from top to bottom."""
    out = finger(cx - 110, cy, 150, True, 30)
    out += path(f"M{cx - 40:.1f},{cy - 16:.1f} L{cx - 40:.1f},{cy - 40:.1f} Q{cx - 40:.1f},"
                f"{cy - 50:.1f} {cx - 28:.1f},{cy - 50:.1f} L{cx + 52:.1f},{cy - 50:.1f} "
                f"Q{cx + 62:.1f},{cy - 50:.1f} {cx + 62:.1f},{cy - 40:.1f} L{cx + 62:.1f},"
                f"{cy - 16:.1f} Z", "#eef2f6", "#7d8b99", 1.5)
    out += path(f"M{cx - 40:.1f},{cy + 16:.1f} L{cx - 40:.1f},{cy + 38:.1f} Q{cx - 40:.1f},"
                f"{cy + 48:.1f} {cx - 28:.1f},{cy + 48:.1f} L{cx + 52:.1f},{cy + 48:.1f} "
                f"Q{cx + 62:.1f},{cy + 48:.1f} {cx + 62:.1f},{cy + 38:.1f} L{cx + 62:.1f},"
                f"{cy + 16:.1f} Z", "#dfe6ee", "#7d8b99", 1.5)
    out += circle(cx + 12, cy - 20, 9, glow_color, extra=' fill-opacity="0.25"')
    out += rect(cx + 6, cy - 26, 12, 8, top_glow, "#7d8b99", 1, 2)
    out += rect(cx + 5, cy + 18, 14, 7, "#34495e", "#7d8b99", 1, 2)
    for dx in (-4, 0, 4):
        out += line(cx + 12 + dx, cy - 14, cx + 12 + dx * 1.5, cy + 14, glow_color, 1.4, "3 3")
    return out


def finger_clip_card(accent, module_label, top_glow, glow_color, emitter, receiver, caption):
    """The sensor card of a finger-clip sensor: its module, the cable and the clip."""
    x0, y0, _ = card_origin(0)
    mx, my = x0 + 196, y0 + 88
    fx, fy = x0 + 150, y0 + 190
    draw = cable([(mx - 10, my + 30), (mx - 10, my + 60), (fx + 80, fy - 60),
                  (fx + 62, fy - 30)], "#3b4856", 3)
    draw += module(mx, my, module_label, accent)
    draw += finger_clip(fx, fy, top_glow, glow_color)
    draw += pointer(fx + 12, fy - 26, x0 + 128, y0 + 140, emitter)
    draw += pointer(fx + 12, fy + 25, x0 + 232, y0 + 236, receiver)
    return {"draw": draw, "caption": caption}


def blood_oxygen_picture():
    accent = "#c0392b"
    _, y0, _ = card_origin(0)
    sensor = finger_clip_card(accent, "血氧 SpO2", "#e74c3c", "#e74c3c", "红光与红外光发射",
                              "光电接收", ["两种光透过手指，由对面的", "光电管接收透过的光。"])

    placement_card = placement(accent, [((66, 154), "食指指端", "r", 130)],
                               ["手指插到底，指甲朝上；", "不涂指甲油，测量时保持不动。"])

    sx, _, sw = card_origin(2)
    c = Chart(sx + 22, y0 + 62, sw - 150, 136, 0, 2.4, -0.8, 2.6)
    draw = c.grid(0.4, 1, "时间 (秒)", "透过光强的脉动", vticks=False)
    draw += c.trace(lambda t: 1.35 + 0.55 * ppg(t), "#e74c3c", 2.2)
    draw += c.trace(lambda t: -0.45 + 0.95 * ppg(t), "#7b241c", 2.2)
    x, y = c.px(0.02, 2.35)
    draw += text(x, y, "红光", 12, "#e74c3c", "bold")
    x, y = c.px(0.02, 0.75)
    draw += text(x, y, "红外光", 12, "#7b241c", "bold")
    rx = sx + sw - 116
    draw += rect(rx, y0 + 62, 100, 136, "#17202a", "none", 0, 8)
    draw += text(rx + 50, y0 + 86, "SpO2 (%)", 12, "#aab7c4", "normal", "middle", "DejaVu Sans")
    draw += text(rx + 50, y0 + 120, "98", 34, "#2ecc71", "bold", "middle", "DejaVu Sans")
    draw += text(rx + 50, y0 + 148, "脉率 (次/分)", 12, "#aab7c4", "normal", "middle")
    draw += text(rx + 50, y0 + 184, "75", 30, "#f5b041", "bold", "middle", "DejaVu Sans")
    signal = {"draw": draw, "caption": ["比较红光和红外光两路脉动的大小，", "算出血氧饱和度（正常 95% 以上）。"]}
    return frame("血氧传感器", "测量血液中氧合血红蛋白的比例和脉率", accent, sensor,
                 placement_card, signal)


def body_temperature_picture():
    accent = "#e67e22"
    x0, y0, w0 = card_origin(0)
    mx, my = x0 + 196, y0 + 92
    px, py = x0 + 44, y0 + 188
    draw = cable([(mx - 10, my + 30), (mx - 10, my + 80), (px + 230, py), (px + 160, py)],
                  "#3b4856", 3)
    draw += module(mx, my, "体温 TEMP", accent)
    draw += rect(px + 96, py - 9, 66, 18, "#34495e", "#1c2833", 1, 6)
    draw += rect(px + 10, py - 5, 90, 10, "url(#metal)", "#6b7786", 1, 5)
    draw += circle(px + 12, py, 6, "url(#metal)", "#6b7786", 1)
    draw += circle(px + 12, py, 10, accent, extra=' fill-opacity="0.25"')
    draw += pointer(px + 12, py - 6, px + 20, py - 44, "热敏电阻（探头尖端）")
    draw += pointer(px + 128, py + 9, px + 150, py + 36, "手柄")
    sensor = {"draw": draw, "caption": ["热敏电阻的阻值随温度变化，", "换算成温度，精确到 0.1 ℃。"]}

    placement_card = placement(accent, [((34, 86), "左侧腋窝正中", "r", 96)],
                               ["探头尖端放在腋窝正中，", "夹紧上臂，约 5 分钟后读数。"])

    sx, _, sw = card_origin(2)
    c = Chart(sx + 52, y0 + 62, sw - 72, 136, 0, 8, 24, 38)

    def temp(t):
        return 36.5 - (36.5 - 26) * math.exp(-t / 1.1)

    draw = c.grid(1, 2, "时间 (分钟)", "温度 (℃)")
    x1, y = c.px(0, 36.5)
    x2, _ = c.px(8, 36.5)
    draw += line(x1, y, x2, y, GREY, 1, "5 4")
    draw += c.trace(temp, accent, 2.6)
    x, y = c.px(5, 36.5)
    draw += circle(x, y, 4, accent, "#ffffff", 1.5)
    draw += text(x, y + 22, "稳定读数 36.5 ℃", 12.5, INK, "bold", "middle")
    x, y = c.px(0.55, 31)
    draw += text(x + 10, y + 4, "探头升温", 12, GREY)
    signal = {"draw": draw, "caption": ["探头从室温开始慢慢升温，", "曲线变平以后的读数才是体温。"]}
    return frame("体温传感器", "测量人体腋下温度", accent, sensor, placement_card, signal)


def pulse_picture():
    accent = "#c2185b"
    x0, y0, w0 = card_origin(0)
    mx, my = x0 + 196, y0 + 88
    sx0, sy0 = x0 + 150, y0 + 180
    draw = cable([(mx - 10, my + 30), (mx - 10, my + 60), (sx0, sy0 - 70), (sx0, sy0 - 22)],
                  "#3b4856", 3)
    draw += module(mx, my, "脉搏 VT-306", accent)
    draw += rect(x0 + 24, sy0 - 14, 252, 28, "url(#strap)", "#1c2833", 1, 14)
    draw += rect(x0 + 210, sy0 - 10, 58, 20, "#6c7a89", "none", 0, 8)
    draw += circle(sx0, sy0, 22, "url(#metal)", "#6b7786", 1.4)
    draw += circle(sx0, sy0, 13, "#ffffff", accent, 2)
    draw += pointer(sx0 + 14, sy0 + 16, x0 + 190, y0 + 230, "压电换能器")
    draw += pointer(x0 + 60, sy0 + 12, x0 + 44, y0 + 230, "绑带")
    sensor = {"draw": draw, "caption": ["动脉搏动的压力压到压电片上，", "转换成电信号。"]}

    placement_card = placement(accent, [((64, 140), "左手腕桡动脉", "r", 126)],
                               ["先用手指摸到腕部脉搏跳动处，", "换能器对准它，绑带松紧适中。"])

    sx, _, sw = card_origin(2)
    c = Chart(sx + 22, y0 + 62, sw - 42, 136, 0, 2.4, -0.15, 1.5)
    draw = c.grid(0.4, 0.5, "时间 (秒)", "脉搏压力 (相对值)", vticks=False)
    draw += c.trace(arterial, accent, 2.4)
    ts = [0.8 + k / 1000 for k in range(800)]
    peak = max(ts, key=arterial)
    # The notch and the dicrotic wave are the first turning points after the main peak's
    # shoulder.
    notch = next(t for t in ts if t > peak + 0.15 and arterial(t) < arterial(t - 0.001) and
                 arterial(t) <= arterial(t + 0.001))
    wave = next(t for t in ts if t > notch and arterial(t) >= arterial(t + 0.001))
    for t, name, dx, dy in [(peak, "主波", 8, 4), (notch, "重搏切迹", -40, 22),
                            (wave, "重搏波", 8, -8)]:
        x, y = c.px(t, arterial(t))
        draw += circle(x, y, 3.2, INK)
        draw += text(x + dx, y + dy, name, 12, INK)
    xa, y1 = c.px(peak - 0.8, 1.36)
    x1, _ = c.px(peak, 1.36)
    draw += double_arrow(xa, y1, x1, y1, GREY)
    draw += text((xa + x1) / 2, y1 - 6, "脉搏周期 0.8 秒", 12, INK, "normal", "middle")
    signal = {"draw": draw, "caption": ["每次心跳在动脉里推出一个压力波；", "脉率 = 60 ÷ 周期 = 75 次/分。"]}
    return frame("脉搏传感器 VT-306", "在腕部记录动脉搏动的压力波", accent, sensor,
                 placement_card, signal)


def infrared_pulse_picture():
    accent = "#d35400"
    _, y0, _ = card_origin(0)
    sensor = finger_clip_card(accent, "红外脉搏 VT-305", "#8e44ad", "#c0392b", "红外发射管",
                              "光敏接收管", ["红外光透过手指，接收管测出", "透过的光有多强。"])

    placement_card = placement(accent, [((66, 154), "手指指端", "r", 130),
                                        ((-16, 26), "或耳垂", "l", 88)],
                               ["夹在指端或耳垂上，避开强光；", "测量时保持安静、不要移动。"])

    sx, _, sw = card_origin(2)
    c = Chart(sx + 22, y0 + 62, sw - 42, 136, 0, 2.4, -0.25, 1.45)
    draw = c.grid(0.4, 0.5, "时间 (秒)", "血容积脉搏 (相对值)", vticks=False)
    draw += c.trace(ppg, accent, 2.4)
    x, y = c.px(0.8 + 0.12, ppg(0.92))
    draw += text(x - 8, y + 4, "上升支", 12, INK, "normal", "end")
    x, y = c.px(0.8 + 0.6, ppg(1.4))
    draw += text(x + 6, y - 8, "下降支", 12, INK)
    x1, y1 = c.px(0.2, 1.25)
    x2, _ = c.px(1.0, 1.25)
    draw += double_arrow(x1, y1, x2, y1, GREY)
    draw += text((x1 + x2) / 2, y1 - 6, "脉搏周期 0.8 秒", 12, INK, "normal", "middle")
    signal = {"draw": draw, "caption": ["心跳时指端血量增多，透过的光变弱；", "曲线每个波峰就是一次脉搏。"]}
    return frame("红外脉搏传感器 VT-305", "用红外光记录指端血容积的变化", accent, sensor,
                 placement_card, signal)


def respiration_picture():
    accent = "#2874a6"
    x0, y0, w0 = card_origin(0)
    mx, my = x0 + 196, y0 + 88
    by = y0 + 178
    draw = cable([(mx - 10, my + 30), (mx - 10, my + 60), (x0 + 150, by - 60),
                  (x0 + 150, by - 20)], "#3b4856", 3)
    draw += module(mx, my, "呼吸 RESP", accent)
    draw += path(f"M{x0 + 24:.1f},{by - 4:.1f} Q{x0 + 150:.1f},{by + 26:.1f} {x0 + 280:.1f},"
                 f"{by - 4:.1f}", "none", "#2c3e50", 18)
    for k in range(12):
        t = (k + 0.5) / 12
        bx_ = (1 - t) ** 2 * (x0 + 24) + 2 * t * (1 - t) * (x0 + 150) + t * t * (x0 + 280)
        by_ = (1 - t) ** 2 * (by - 4) + 2 * t * (1 - t) * (by + 26) + t * t * (by - 4)
        draw += line(bx_ - 3, by_ - 6, bx_ + 3, by_ + 6, "#5d6d7e", 1.4)
    draw += rect(x0 + 124, by - 6, 52, 30, "url(#module)", "#7d8b99", 1.4, 6)
    draw += rect(x0 + 130, by + 4, 40, 10, accent, extra=' fill-opacity="0.8"', rx=3)
    draw += pointer(x0 + 170, by + 20, x0 + 196, by + 50, "张力传感器")
    draw += pointer(x0 + 60, by + 12, x0 + 84, by + 50, "弹性胸带")
    sensor = {"draw": draw, "caption": ["胸廓起伏时胸带被拉长又放松，", "张力传感器把拉力变成电信号。"]}

    def belt(cx, top):
        lx, ly = at(cx, top, -34, 100)
        rx, _ = at(cx, top, 34, 100)
        return rect(lx - 2, ly - 6, rx - lx + 4, 13, accent, "#1b4f72", 1, 5)
    placement_card = placement(accent, [((30, 102), "胸廓下部", "r", 96)],
                               ["胸带绕胸廓下部一周，", "平静呼吸时略有张力即可。"], belt)

    sx, _, sw = card_origin(2)
    c = Chart(sx + 22, y0 + 62, sw - 42, 136, 0, 16, -0.2, 1.35)

    def breath(t):
        p = t % 4
        if p < 1.6:
            return 0.5 - 0.5 * math.cos(math.pi * p / 1.6)
        return 0.5 + 0.5 * math.cos(math.pi * (p - 1.6) / 2.4)

    draw = c.grid(2, 0.5, "时间 (秒)", "胸廓扩张 (相对值)", vticks=False)
    draw += c.trace(breath, accent, 2.6)
    x, y = c.px(4.8, 0.5)
    draw += text(x - 6, y, "吸气", 12.5, INK, "bold", "end")
    x, y = c.px(6.8, 0.5)
    draw += text(x + 6, y, "呼气", 12.5, INK, "bold")
    x1, y1 = c.px(1.6, 1.15)
    x2, _ = c.px(5.6, 1.15)
    draw += double_arrow(x1, y1, x2, y1, GREY)
    draw += text((x1 + x2) / 2, y1 - 6, "呼吸周期 4 秒", 12, INK, "normal", "middle")
    signal = {"draw": draw, "caption": ["吸气时曲线上升，呼气时下降；", "呼吸频率 = 60 ÷ 周期 = 15 次/分。"]}
    return frame("呼吸传感器", "记录胸廓随呼吸的起伏", accent, sensor, placement_card, signal)


def company_picture():
    accent = "#1f6fb2"
    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{W}" height="{H}" '
           f'viewBox="0 0 {W} {H}">', gradients(accent),
           '<defs><linearGradient id="sky" x1="0" y1="0" x2="1" y2="1">'
           '<stop offset="0" stop-color="#0f2c4a"/><stop offset="1" stop-color="#1d5a8c"/>'
           '</linearGradient></defs>', rect(0, 0, W, H, "url(#sky)")]
    # A faint heartbeat running across the whole picture.
    pts = [(x, 250 - 70 * ecg(x / 260.0)) for x in range(0, W + 1, 2)]
    out.append(polyline(pts, "#4fa3e0", 2.0).replace("/>", ' stroke-opacity="0.35"/>'))
    out.append(text(48, 96, "欢迎使用 Somatrix", 40, "#ffffff", "bold"))
    out.append(text(50, 136, "组合式电生理传感器采集程序", 22, "#cfe3f5"))
    out.append(text(50, 170, "一个传感器、一根 USB 线，看见身体发出的信号。", 15, "#9cc3e6"))
    steps = [("1", "连接", "把传感器插到电脑 USB 口"), ("2", "扫描", "点击“扫描设备”找到它"),
             ("3", "选择", "在设备列表中选中传感器"), ("4", "测量", "点击“启动测量”看波形和数值")]
    for k, (num, head, body_text) in enumerate(steps):
        x = 600 + (k % 2) * 218
        y = 44 + (k // 2) * 92
        out.append(rect(x, y, 204, 78, "#ffffff", "none", 0, 10,
                        ' fill-opacity="0.10"'))
        out.append(circle(x + 26, y + 28, 14, "#ffffff"))
        out.append(text(x + 26, y + 33.5, num, 15, "#0f2c4a", "bold", "middle", "DejaVu Sans"))
        out.append(text(x + 50, y + 34, head, 17, "#ffffff", "bold"))
        out.append(text(x + 16, y + 62, body_text, 12.5, "#cfe3f5"))
    names = ["心电", "心音", "血压", "呼吸", "脉搏", "红外脉搏", "体温", "皮肤温度", "心率",
             "血氧", "肌电", "皮肤电阻", "胃肠电"]
    x = 48
    out.append(text(48, 296, "支持的传感器", 13, "#9cc3e6"))
    for name in names:
        w = text_width(name, 13) + 22
        out.append(rect(x, 308, w, 28, "#ffffff", "#ffffff", 1, 14,
                        ' fill-opacity="0.12" stroke-opacity="0.35"'))
        out.append(text(x + w / 2, 327, name, 13, "#ffffff", "normal", "middle"))
        x += w + 8
    out.append("</svg>")
    return "\n".join(out)


def write_all(folder):
    pictures = {"ecg": ecg_picture(), "blood_pressure": blood_pressure_picture(),
                "skin_resistance": skin_resistance_picture(),
                "blood_oxygen": blood_oxygen_picture(),
                "body_temperature": body_temperature_picture(), "pulse": pulse_picture(),
                "infrared_pulse": infrared_pulse_picture(),
                "respiration": respiration_picture(), "company": company_picture()}
    for name, svg in pictures.items():
        with open(os.path.join(folder, name + ".svg"), "w", encoding="utf-8") as f:
            f.write(svg + "\n")


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    write_all(os.path.join(here, "..", "pictures"))
