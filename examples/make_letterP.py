#!/usr/bin/env python3
"""Writes letterP.dxf: a "P" drawn as a CAD program draws it, from LINE and
ARC entities that only touch at their ends, in no particular order and some
of them the other way round. The opener chains them into two outlines: the
outer contour and the hole of the bowl.

Outer contour: the stem 20 mm wide and 100 mm high, the bowl from y 40 to
100 with a half circle of radius 30 around (45, 70). Hole: from x 20 to 45
and y 55 to 85, closed by a half circle of radius 15 around (45, 70).
Run it from anywhere; it rewrites the file beside itself.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def num(v):
    return f"{float(v):.4f}".rstrip("0").rstrip(".") + (".0" if float(v).is_integer() else "")


def group(code, value):
    return [str(code), value if isinstance(value, str) else num(value)]


def line(x1, y1, x2, y2):
    return (group(0, "LINE") + group(8, "P") + group(10, x1) + group(20, y1) + group(30, 0)
            + group(11, x2) + group(21, y2) + group(31, 0))


def arc(cx, cy, r, a0, a1):
    return (group(0, "ARC") + group(8, "P") + group(10, cx) + group(20, cy) + group(30, 0)
            + group(40, r) + group(50, a0) + group(51, a1))


def main():
    entities = (
        line(0, 0, 20, 0) + line(20, 40, 20, 0) + line(20, 40, 45, 40)
        + arc(45, 70, 30, 270, 90) + line(0, 100, 45, 100) + line(0, 0, 0, 100)
        + line(45, 55, 20, 55) + arc(45, 70, 15, -90, 90) + line(20, 85, 45, 85)
        + line(20, 55, 20, 85)
    )
    lines = (group(0, "SECTION") + group(2, "HEADER")
             + group(9, "$EXTMIN") + group(10, 0) + group(20, 0) + group(30, 0)
             + group(9, "$EXTMAX") + group(10, 75) + group(20, 100) + group(30, 0)
             + group(0, "ENDSEC")
             + group(0, "SECTION") + group(2, "ENTITIES") + entities + group(0, "ENDSEC")
             + group(0, "EOF"))
    with open(os.path.join(HERE, "letterP.dxf"), "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
