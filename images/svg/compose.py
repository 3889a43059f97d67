#!/usr/bin/env python3
"""Writes the SVG sources of the block pictures in this folder.

The pictures share one frame, so it is drawn here and not by hand in each
file: a 40 x 40 picture with a 28 x 28 body in the colours of its palette
group, the input stub on the left (a slash across it when the block takes
several inputs) and the output stub with an arrowhead on the right, coloured
like the wire it feeds (blue value, green text, red time or date). The
palette glyph (24 x 24) repeats the frame smaller; groups get a 16 x 16 icon.
Everything outside the frame stays transparent and becomes magenta when the
build renders the files. Run it after changing the frame or a symbol; the
SVG files it writes are what the build uses.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
FONT = "DejaVu Sans"
COND = "DejaVu Sans Condensed"

# Palette groups: body fill, outline and ink.
GROUPS = {
    "io": ("#dcefdc", "#2e6b2e"),
    "arith": ("#dce6f5", "#2a4f85"),
    "logic": ("#e9e0f5", "#5b3a8a"),
    "compare": ("#fae6d2", "#94501a"),
    "time": ("#d6efef", "#1f6666"),
    "memory": ("#e8e8e8", "#3c3c3c"),
    "const": ("#ffff9c", "#6b5a00"),
    "file": ("#efe3d3", "#6b4a2a"),
    "serial": ("#eef0cf", "#5f6118"),
    "flow": ("#f7dede", "#8a2828"),
}
OUT_COLOUR = {1: "#1f3fbf", 2: "#1a8a1a", 4: "#c02020", 8: "#c02020"}
IN_COLOUR = "#303030"

# ---------------------------------------------------------------- symbols
# Symbols are drawn in picture coordinates: body 6..34, centre (20, 20).


def text(x, y, s, size, ink, family=FONT, weight="bold"):
    s = s.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    return (f'<text x="{x}" y="{y}" font-family="{family}" font-size="{size}" '
            f'font-weight="{weight}" text-anchor="middle" fill="{ink}">{s}</text>')


def stroke(d, ink, w=2, fill="none", join="miter"):
    return (f'<path d="{d}" fill="{fill}" stroke="{ink}" stroke-width="{w}" '
            f'stroke-linejoin="{join}" stroke-linecap="butt"/>')


def fill(d, ink):
    return f'<path d="{d}" fill="{ink}" stroke="none"/>'


def circle(cx, cy, r, ink, w=1.5, fillc="none"):
    return f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{fillc}" stroke="{ink}" stroke-width="{w}"/>'


def dot(cx, cy, r, ink):
    return f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{ink}"/>'


def big(s, size=18, dy=0, family=FONT):
    return lambda ink: text(20, 26.5 + dy, s, size, ink, family=family)


def word(s):
    return big(s, 10, -2, COND)


def labelled(picto, label, size=10):
    """A small pictogram in the upper half and a short label below it."""
    return lambda ink: picto(ink) + text(20, 31, label, size, ink, family=COND)


def sym(*parts):
    return lambda ink: "".join(p(ink) if callable(p) else p for p in parts)


# Pictograms for the upper half (y 8 .. 19).
def square_wave(ink):
    return stroke("M10 18 H14 V10 H20 V18 H26 V10 H30", ink, 1.5)


def pulse_train(ink):
    return stroke("M9 18 H11 V10 H14 V18 H17 V10 H20 V18 H23 V10 H26 V18 H29 V10 H31", ink, 1.2)


def sine(ink):
    return stroke("M10 14 C12.5 7.5 17.5 7.5 20 14 C22.5 20.5 27.5 20.5 30 14", ink, 1.5)


def relay_contact(ink):
    return (stroke("M9 17.5 H14 L25 10.5 M25 17.5 H31", ink, 1.5) + dot(14, 17.5, 1.6, ink))


def push_button(ink):
    return (stroke("M15 9.5 H25 M20 9.5 V17.5 M11 17.5 H17 M23 17.5 H29", ink, 1.5) +
            stroke("M17 17.5 L23 14", ink, 1.5))


def led(ink):
    return (fill("M13 9 L13 19 L20.5 14 Z", ink) + stroke("M21 9 V19", ink, 1.5) +
            stroke("M23 11 L27 7.5 M25.5 14 L29.5 10.5", ink, 1.2) +
            fill("M28 6.5 L27.6 9.4 L25.4 8.6 Z", ink) + fill("M30.5 9.5 L30.1 12.4 L27.9 11.6 Z", ink))


def celsius(ink):
    return text(20, 18.5, "\u00b0C", 10, ink)


def voltmeter(ink):
    return circle(20, 13.5, 5.2, ink, 1.3) + text(20, 16.8, "V", 8, ink)


def small_clock(ink, cx=20, cy=13.5, r=5.2):
    return circle(cx, cy, r, ink, 1.3) + stroke(f"M{cx} {cy - r + 1.5} V{cy} H{cx + r - 1.8}", ink, 1.2)


def small_calendar(ink, x=14, y=8.5, w=12, h=10):
    return (f'<rect x="{x}" y="{y}" width="{w}" height="{h}" fill="#ffffff" stroke="{ink}" stroke-width="1"/>' +
            fill(f"M{x} {y} h{w} v3 h-{w} Z", ink) +
            "".join(dot(x + 3 + 3 * i, y + 6 + 2.2 * j, 0.7, ink) for i in range(3) for j in range(2)))


def cells(n_filled, rows=1):
    def draw(ink):
        out = []
        for r in range(rows):
            for i in range(8):
                x, y = 10.5 + 2.5 * i, (9.5 if rows == 2 else 11.5) + 4.5 * r
                on = (r * 8 + i) < n_filled
                out.append(f'<rect x="{x}" y="{y}" width="2.5" height="4" fill="{ink if on else "#ffffff"}" '
                           f'stroke="{ink}" stroke-width="0.8"/>')
        return "".join(out)
    return draw


def document(ink, x=13, y=9, w=14, h=22):
    f = 5
    return (stroke(f"M{x} {y} H{x + w - f} L{x + w} {y + f} V{y + h} H{x} Z", ink, 1.2, fill="#ffffff") +
            stroke(f"M{x + w - f} {y} V{y + f} H{x + w}", ink, 1))


def small_document(ink):
    return document(ink, 15.5, 8.5, 9, 11)


def connector(ink):
    return (stroke("M11 9.5 H29 L27 18 H13 Z", ink, 1.2, fill="#ffffff") +
            "".join(dot(14.5 + 2.75 * i, 12.2, 0.8, ink) for i in range(5)) +
            "".join(dot(15.9 + 2.75 * i, 15.2, 0.8, ink) for i in range(4)))


def arrow(x1, y1, x2, y2, ink, w=1.8, head=4):
    import math
    a = math.atan2(y2 - y1, x2 - x1)
    bx, by = x2 - head * math.cos(a), y2 - head * math.sin(a)
    px, py = -math.sin(a) * head * 0.6, math.cos(a) * head * 0.6
    return (stroke(f"M{x1} {y1} L{bx:.2f} {by:.2f}", ink, w) +
            fill(f"M{x2} {y2} L{bx + px:.2f} {by + py:.2f} L{bx - px:.2f} {by - py:.2f} Z", ink))


def chevrons(direction):
    if direction == "left":
        d = "M19 13 L13 20 L19 27 M27 13 L21 20 L27 27"
    else:
        d = "M13 13 L19 20 L13 27 M21 13 L27 20 L21 27"
    return lambda ink: stroke(d, ink, 2)


def selector(ink):
    """Change-over switch: c picks a (upper contact) or b (lower contact)."""
    small = dict(size=7, ink=ink, family=COND)
    return (dot(13, 14, 1.7, ink) + dot(13, 26, 1.7, ink) + dot(26, 20, 2, ink) +
            stroke("M26 20 L14.5 14.7", ink, 1.8) +
            text(17.5, 13, "a", **small) + text(17.5, 31, "b", **small) + text(27.5, 30.5, "c", **small))


def die(ink):
    return (f'<rect x="12.5" y="12.5" width="15" height="15" rx="2.5" fill="#ffffff" stroke="{ink}" stroke-width="1.3"/>' +
            dot(16.3, 16.3, 1.4, ink) + dot(20, 20, 1.4, ink) + dot(23.7, 23.7, 1.4, ink))


def root(ink):
    return stroke("M11 21 L13.5 19.8 L16.5 27 L20 12.5 H29.5", ink, 1.5) + text(24.5, 25.5, "x", 11, ink)


def op_lt(ink):
    return stroke("M25 13 L15 20 L25 27", ink, 2)


def op_gt(ink):
    return stroke("M15 13 L25 20 L15 27", ink, 2)


def op_le(ink):
    return stroke("M25 11 L15 16.5 L25 22", ink, 2) + stroke("M15 27 H25", ink, 2)


def op_ge(ink):
    return stroke("M15 11 L25 16.5 L15 22", ink, 2) + stroke("M15 27 H25", ink, 2)


def op_eq(ink):
    return stroke("M13 16 H27 M13 24 H27", ink, 2)


def op_ne(ink):
    return op_eq(ink) + stroke("M23.5 11 L16.5 29", ink, 2)


def zero_op(d):
    """x op 0: a narrow operator on the left, a zero on the right."""
    return lambda ink: stroke(d, ink, 2) + text(26, 24.5, "0", 12, ink)


ZERO_EQ = "M10 16.5 H19 M10 23.5 H19"
ZERO_NE = ZERO_EQ + " M17 13 L12 27"
ZERO_LT = "M19 13.5 L11 20 L19 26.5"
ZERO_GT = "M11 13.5 L19 20 L11 26.5"


def clock(ink):
    ticks = "".join(stroke(f"M20 {12.5} V14" if a == 0 else "", ink, 1) for a in [0])
    return (circle(20, 20, 9.5, ink, 1.5, "#ffffff") +
            stroke("M20 20 V13.5 M20 20 L25 22.5", ink, 1.6) + dot(20, 20, 1.2, ink) + ticks)


def calendar(ink):
    return small_calendar(ink, 11.5, 11.5, 17, 17) + text(20, 27, "31", 7, ink, family=COND)


def stopwatch(ink):
    return (circle(20, 21.5, 8.5, ink, 1.5, "#ffffff") + stroke("M18 10.5 H22 M20 10.5 V13", ink, 1.5) +
            stroke("M20 21.5 L24 17", ink, 1.5) + dot(20, 21.5, 1.1, ink))


def speaker(ink):
    return (fill("M10 16.5 H14 V23.5 H10 Z", ink) + fill("M14 16.5 L20 11 V29 L14 23.5 Z", ink) +
            stroke("M23 16 Q25.5 20 23 24", ink, 1.3) + stroke("M26 13 Q30.5 20 26 27", ink, 1.3))


def hourglass(ink):
    return (stroke("M14 10.5 H26 M14 29.5 H26", ink, 1.5) +
            stroke("M15.5 10.5 L20 19 L24.5 10.5 M15.5 29.5 L20 21 L24.5 29.5", ink, 1.3) +
            fill("M17 29 L20 24 L23 29 Z", ink))


def pause_bars(ink):
    return fill("M14.5 12 H18 V28 H14.5 Z M22 12 H25.5 V28 H22 Z", ink)


def stop_sign(ink):
    return (fill("M16 9.5 H24 L30.5 16 V24 L24 30.5 H16 L9.5 24 V16 Z", "#c42a2a") +
            text(20, 23.3, "END", 7.5, "#ffffff", family=COND))


def return_arrow(ink):
    return stroke("M28 9 V14.5 H16", ink, 1.6) + fill("M12 14.5 L16.5 11 V18 Z", ink)


def goto(ink):
    return arrow(10, 20, 30, 20, ink, 2.5, 7)


def gosub(ink):
    return stroke("M10 14 H26 Q30 14 30 20 Q30 26 26 26 H18", ink, 2.2) + fill("M12 26 L18.5 21.5 V30.5 Z", ink)


def fan(ink):
    return (dot(12, 20, 2, ink) + arrow(12, 20, 29, 12, ink, 1.6, 5) + arrow(12, 20, 30, 20, ink, 1.6, 5) +
            arrow(12, 20, 29, 28, ink, 1.6, 5))


def fan_return(ink):
    return fan(ink) + stroke("M24 31.5 H13", ink, 1) + fill("M10.5 31.5 L13.5 29.8 V33.2 Z", ink)


def file_arrow(into):
    def draw(ink):
        body = document(ink, 17, 9, 13, 22)
        a = arrow(8.5, 20, 23, 20, ink, 1.8, 5) if into else arrow(21, 20, 33, 20, ink, 1.8, 5)
        return body + a
    return draw


def file_letter(letter):
    return lambda ink: document(ink) + text(20, 26.5, letter, 11, ink)


def file_closed(ink):
    return document(ink) + stroke("M16 17 L24 27 M24 17 L16 27", ink, 1.8)


# ------------------------------------------------------------- the blocks
# type id: (group, inputs, output kind, symbol, glyph symbol or None).
# inputs: 0 none, 1 one, "n" several (slash on the stub); "bubble" marks an
# inverted output.
def port(picto, label):
    return labelled(picto, label), big(label, 13, -3)


BLOCKS = {}


def block(tid, group, inputs, out, symbol, glyph=None, bubble=False, picture=True):
    BLOCKS[tid] = dict(group=group, inputs=inputs, out=out, symbol=symbol,
                       glyph=glyph or symbol, bubble=bubble, picture=picture)


for i in range(6):
    block(130 + i, "io", 1, 1, *port(square_wave, f"P{i + 1}"))
for i in range(2):
    block(110 + i, "io", 1, 1, *port(relay_contact, f"K{i + 1}"))
for i in range(4):
    block(112 + i, "io", 0, 1, *port(push_button, f"F{i + 1}"))
for i in range(4):
    block(116 + i, "io", 1, 1, labelled(led, f"LED{i + 1}", 9), big(f"L{i + 1}", 13, -3))
for i in range(4):
    block(124 + i, "io", 0, 1, labelled(sine, f"AD{i + 1}"), big(f"A{i + 1}", 13, -3))
for i in range(2):
    block(120 + i, "io", 0, 1, *port(celsius, f"T{i + 1}"))
    block(122 + i, "io", 0, 1, *port(voltmeter, f"U{i + 1}"))
block(105, "io", 0, 1, labelled(pulse_train, "Hz"), big("Hz", 13, -3))
block(108, "io", "n", 0, speaker)

block(200, "arith", "n", 1, lambda ink: stroke("M12 20 H28 M20 12 V28", ink, 2.5))
block(201, "arith", "n", 1, lambda ink: stroke("M12 20 H28", ink, 2.5))
block(202, "arith", "n", 1, lambda ink: stroke("M14 14 L26 26 M26 14 L14 26", ink, 2.5))
block(203, "arith", "n", 1, lambda ink: stroke("M12 20 H28", ink, 2.5) + dot(20, 14, 2, ink) + dot(20, 26, 2, ink))
block(204, "arith", "n", 1, word("mod"))
block(205, "arith", 1, 1, big("\u2212x", 14, -1))
block(206, "arith", 1, 1, big("|x|", 14, -1))
block(207, "arith", 1, 1, word("sgn"))
block(215, "arith", 1, 1, root)
block(210, "arith", "n", 1, word("min"))
block(211, "arith", "n", 1, word("max"))
block(212, "arith", "n", 1, chevrons("left"))
block(213, "arith", "n", 1, chevrons("right"))
block(214, "arith", "n", 1, selector)
block(208, "arith", 1, 1, die)
block(209, "arith", 1, 1, lambda ink: (
    f'<rect x="11.5" y="11.5" width="17" height="17" fill="#ffffff" stroke="{ink}" stroke-width="1"/>' +
    stroke("M11.5 17 H28.5 M11.5 22.5 H28.5 M20 11.5 V28.5", ink, 1)), picture=False)

block(301, "logic", "n", 1, big("&", 16, -1))
block(302, "logic", "n", 1, big("&", 16, -1), bubble=True)
block(303, "logic", "n", 1, big("\u22651", 13, -1.5))
block(304, "logic", "n", 1, big("\u22651", 13, -1.5), bubble=True)
block(305, "logic", "n", 1, big("=1", 13, -1.5))
block(300, "logic", 1, 1, big("1", 15, -1), bubble=True)

block(400, "compare", "n", 1, op_lt)
block(401, "compare", "n", 1, op_le)
block(402, "compare", "n", 1, op_gt)
block(403, "compare", "n", 1, op_ge)
block(404, "compare", "n", 1, op_eq)
block(405, "compare", "n", 1, op_ne)
block(406, "compare", 1, 1, zero_op(ZERO_EQ))
block(407, "compare", 1, 1, zero_op(ZERO_NE))
block(408, "compare", 1, 1, zero_op(ZERO_LT))
block(409, "compare", 1, 1, zero_op(ZERO_GT))

block(503, "time", 0, 4, clock)
block(502, "time", 1, 1, labelled(small_clock, "Std"), big("h", 14, -1))
block(501, "time", 1, 1, labelled(small_clock, "Min"), word("min"))
block(500, "time", 1, 1, labelled(small_clock, "Sek"), big("s", 14, -1))
block(508, "time", 0, 8, calendar)
block(504, "time", 1, 1, labelled(small_calendar, "Tag"), big("T", 14, -1))
block(506, "time", 1, 1, labelled(small_calendar, "Mon"), big("M", 14, -1))
block(507, "time", 1, 1, labelled(small_calendar, "Jahr"), big("J", 14, -1))
block(509, "time", 0, 1, stopwatch)

block(600, "memory", 1, 1, labelled(cells(1), "Bit"), big("bit", 11, -1.5))
block(601, "memory", 1, 1, labelled(cells(8), "Byte"), big("B", 14, -1))
block(602, "memory", 1, 1, labelled(cells(16, 2), "Wort"), big("W", 14, -1))

block(700, "const", 0, 1, big("123", 11, -1.5), picture=False)
block(701, "const", 0, 1, big("'C'", 13, -1), picture=False)
block(702, "const", 0, 2, big("abc", 11, -1.5), picture=False)
block(703, "const", 0, 4, clock, picture=False)
block(704, "const", 0, 8, calendar, picture=False)

block(800, "file", 0, 0, file_letter("S"))
block(801, "file", 0, 0, file_letter("A"))
block(802, "file", 0, 0, file_letter("L"))
block(803, "file", 1, 0, file_arrow(True))
block(804, "file", 0, 1, file_arrow(False))
block(805, "file", 0, 0, file_closed)
block(806, "file", 0, 1, labelled(small_document, "EOF"), big("EOF", 10, -2))
block(807, "file", 0, 1, labelled(small_document, "frei"), big("frei", 10, -2))

block(900, "serial", 1, 0, big("PRN", 10, -2), picture=False)
block(901, "serial", 0, 1, labelled(connector, "INP"), big("INP", 10, -2))
block(902, "serial", 1, 0, labelled(connector, "PUT"), big("PUT", 10, -2))
block(903, "serial", 0, 1, labelled(connector, "GET"), big("GET", 10, -2))
block(905, "serial", 0, 1, labelled(connector, "RX?"), big("RX?", 10, -2))
block(904, "serial", 0, 0, labelled(connector, "Baud", 9), big("Bd", 12, -2))

block(1000, "flow", 1, 0, goto, picture=False)
block(1001, "flow", 1, 0, gosub, picture=False)
block(1002, "flow", 1, 0, labelled(return_arrow, "RET"), return_arrow)
block(1003, "flow", 1, 0, fan, picture=False)
block(1004, "flow", 1, 0, fan_return, picture=False)
block(1005, "flow", 1, 0, hourglass)
block(1006, "flow", 1, 0, pause_bars)
block(1007, "flow", 1, 0, stop_sign)


# ------------------------------------------------------------- the frame
def frame(b, glyph):
    """The whole picture (40 x 40) or glyph (drawn at 40 x 40, shown at 24)."""
    body_fill, ink = GROUPS[b["group"]]
    parts = []
    if b["inputs"]:
        parts.append(stroke("M0 20 H6", IN_COLOUR, 2))
        if b["inputs"] == "n":
            parts.append(stroke("M1.5 23.5 L4.5 16.5", IN_COLOUR, 1))
    if b["out"]:
        c = OUT_COLOUR[b["out"]]
        parts.append(stroke("M34 20 H36", c, 2) + fill("M35 15 L40 18.5 V21.5 L35 25 Z", c))
    parts.append(f'<rect x="6.5" y="6.5" width="27" height="27" rx="2" fill="{body_fill}" '
                 f'stroke="{ink}" stroke-width="1"/>')
    parts.append((b["glyph"] if glyph else b["symbol"])(ink))
    if b["bubble"]:
        parts.append(circle(35.5, 20, 2.2, ink, 1.2, "#ffffff"))
    return "".join(parts)


def svg(w, h, content, view=None):
    view = view or f"0 0 {w} {h}"
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" viewBox="{view}">\n'
            f'{content}\n</svg>\n')


# ---------------------------------------------------------- group icons
def group_icon(group, content):
    body_fill, ink = GROUPS[group]
    return svg(16, 16, f'<rect x="1.5" y="1.5" width="13" height="13" rx="1.5" fill="{body_fill}" '
                       f'stroke="{ink}" stroke-width="1"/>' + content(ink))


GROUP_ICONS = {
    "group_io": ("io", lambda ink: stroke("M3 11.5 H5.5 V4.5 H8 V11.5 H10.5 V4.5 H13", ink, 1.2)),
    "group_arith": ("arith", lambda ink: stroke("M4 8 H12 M8 4 V12", ink, 2)),
    "group_logic": ("logic", lambda ink: text(8, 12.5, "&", 10, ink)),
    "group_compare": ("compare", lambda ink: stroke("M11 4 L5 8 L11 12", ink, 1.6)),
    "group_time": ("time", lambda ink: circle(8, 8, 4.5, ink, 1.2, "#ffffff") + stroke("M8 4.8 V8 H10.5", ink, 1.1)),
    "group_memory": ("memory", lambda ink: "".join(
        f'<rect x="{3.5 + 3 * i}" y="{4.5 + 4 * j}" width="3" height="3" fill="{ink if (i + j) % 2 else "#ffffff"}" '
        f'stroke="{ink}" stroke-width="0.7"/>' for i in range(3) for j in range(2))),
    "group_const": ("const", lambda ink: text(8, 11.5, "12", 8, ink, family=COND)),
    "group_file": ("file", lambda ink: stroke("M5 3.5 H9 L11.5 6 V12.5 H5 Z", ink, 1, fill="#ffffff")),
    "group_serial": ("serial", lambda ink: stroke("M3.5 5.5 H12.5 L11.5 10.5 H4.5 Z", ink, 1, fill="#ffffff") +
                     dot(6, 7.5, 0.6, ink) + dot(8, 7.5, 0.6, ink) + dot(10, 7.5, 0.6, ink)),
    "group_flow": ("flow", lambda ink: stroke("M3.5 8 H9.5", ink, 1.6) + fill("M13 8 L9 4.5 V11.5 Z", ink)),
}


def write(path, content):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(content)


def main():
    for sub in ("blocks", "glyphs", "groups"):
        d = os.path.join(HERE, sub)
        os.makedirs(d, exist_ok=True)
        for name in os.listdir(d):
            if name.endswith(".svg"):
                os.remove(os.path.join(d, name))
    for tid, b in sorted(BLOCKS.items()):
        if b["picture"]:
            write(os.path.join(HERE, "blocks", f"{tid}.svg"), svg(40, 40, frame(b, False)))
        write(os.path.join(HERE, "glyphs", f"{tid}.svg"), svg(24, 24, frame(b, True), "2 2 36 36"))
    for name, (group, content) in GROUP_ICONS.items():
        write(os.path.join(HERE, "groups", f"{name}.svg"), group_icon(group, content))


if __name__ == "__main__":
    main()
