#!/usr/bin/env python3
"""Writes the example letter drawings of this folder (ringO.dxf, letterD.dxf).

Each contour is one clamped cubic B-spline made of Bezier pieces: every
piece boundary is a triple knot, so the curve passes through the boundary
point, and a corner stays sharp where the pieces meet at an angle. Quarter
arcs use the usual 0.5523 handle length of a circle's Bezier approximation.
Run it from anywhere; it rewrites the two files beside itself.
"""
import math
import os

K = 0.5523  # handle length of a quarter circle, as a fraction of the radius
HERE = os.path.dirname(os.path.abspath(__file__))


def num(v):
    # Always with a decimal point, so that no value reads like a group code.
    return f"{v:.4f}".rstrip("0").rstrip(".") + (".0" if float(v).is_integer() else "")


def quarter_ellipse(cx, cy, rx, ry, start_deg):
    """Control points of a quarter ellipse, counter-clockwise from start_deg."""
    a0 = math.radians(start_deg)
    a1 = a0 + math.pi / 2
    p0 = (cx + rx * math.cos(a0), cy + ry * math.sin(a0))
    p3 = (cx + rx * math.cos(a1), cy + ry * math.sin(a1))
    t0 = (-rx * math.sin(a0), ry * math.cos(a0))
    t1 = (-rx * math.sin(a1), ry * math.cos(a1))
    p1 = (p0[0] + K * t0[0], p0[1] + K * t0[1])
    p2 = (p3[0] - K * t1[0], p3[1] - K * t1[1])
    return [p0, p1, p2, p3]


def line(p, q):
    return [p, (p[0] + (q[0] - p[0]) / 3, p[1] + (q[1] - p[1]) / 3),
            (p[0] + 2 * (q[0] - p[0]) / 3, p[1] + 2 * (q[1] - p[1]) / 3), q]


def join(pieces):
    """Control points and clamped knots of Bezier pieces joined end to end."""
    pts = list(pieces[0])
    for piece in pieces[1:]:
        pts += piece[1:]
    n = len(pieces)
    knots = [0.0] * 4
    for i in range(1, n):
        knots += [round(i / n, 6)] * 3
    knots += [1.0] * 4
    return pts, knots


def spline_lines(handle, pts, knots, closed):
    out = ["0", "SPLINE", "5", handle, "100", "AcDbEntity", "8", "0", "100", "AcDbSpline",
           "210", "0.0", "220", "0.0", "230", "1.0",
           "70", str(8 + (1 if closed else 0)), "71", "3",
           "72", str(len(knots)), "73", str(len(pts)), "74", "0",
           "42", "0.0000001", "43", "0.0000001"]
    for k in knots:
        out += ["40", num(k)]
    for x, y in pts:
        out += ["10", num(round(x, 4)), "20", num(round(y, 4)), "30", "0.0"]
    return out


def drawing(splines, extmin, extmax):
    out = ["0", "SECTION", "2", "HEADER",
           "9", "$ACADVER", "1", "AC1015",
           "9", "$INSUNITS", "70", "4",
           "9", "$EXTMIN", "10", num(extmin[0]), "20", num(extmin[1]), "30", "0.0",
           "9", "$EXTMAX", "10", num(extmax[0]), "20", num(extmax[1]), "30", "0.0",
           "0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"]
    for i, s in enumerate(splines):
        out += spline_lines(format(0x40 + i, "X"), *s)
    out += ["0", "ENDSEC", "0", "EOF"]
    return out


def write(name, lines, newline):
    with open(os.path.join(HERE, name), "w", newline="") as f:
        f.write(newline.join(lines) + newline)


def ring_o():
    # Outer and inner contour of an upright oval "O", 80 x 110 mm.
    contours = []
    for rx, ry in ((40.0, 55.0), (25.0, 40.0)):
        pieces = [quarter_ellipse(50.0, 60.0, rx, ry, 90 * i) for i in range(4)]
        contours.append((*join(pieces), True))
    return drawing(contours, (10.0, 5.0), (90.0, 115.0))


def letter_d():
    # A "D" 75 x 90 mm: straight back, straight top and bottom, a round bowl
    # of radius 45; sharp corners at the two ends of the back.
    h = 45.0 * K
    bowl_top = [(30.0, 90.0), (30.0 + h, 90.0), (75.0, 45.0 + h), (75.0, 45.0)]
    bowl_bottom = [(75.0, 45.0), (75.0, 45.0 - h), (30.0 + h, 0.0), (30.0, 0.0)]
    pieces = [line((0.0, 0.0), (0.0, 90.0)), line((0.0, 90.0), (30.0, 90.0)),
              bowl_top, bowl_bottom, line((30.0, 0.0), (0.0, 0.0))]
    return drawing([(*join(pieces), True)], (0.0, 0.0), (75.0, 90.0))


if __name__ == "__main__":
    write("ringO.dxf", ring_o(), "\r\n")
    write("letterD.dxf", letter_d(), "\n")
