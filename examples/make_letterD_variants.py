#!/usr/bin/env python3
"""Writes the letter "D" of letterD.dxf again as G-code (letterD.nc), as an
HPGL plotter file (letterD.plt) and as an Illustrator 8 file (letterD.ai), so
that one letter can be imported from every format the machine opens and the
results compared.

The D is 75 x 90 mm: a straight back from (0, 0) to (0, 90), straight top and
bottom 30 mm long and a round bowl of radius 45 mm around (30, 45). The NC and
PLT files draw the bowl as chords of 3 degrees (as CAM programs and plotter
drivers do); the AI file keeps it as two Bezier curves with the same 0.5523
handle length as the DXF. All three run clockwise from the top of the back.
Run it from anywhere; it rewrites the three files beside itself.
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
K = 0.5523
R = 45.0
PT_PER_MM = 360.0 / 127.0


def outline():
    """Vertices of the D, clockwise from the top of the back, closed."""
    pts = [(0.0, 90.0), (30.0, 90.0)]
    for deg in range(87, -90, -3):  # bowl from the top (90) to the bottom (-90)
        a = math.radians(deg)
        pts.append((30.0 + R * math.cos(a), 45.0 + R * math.sin(a)))
    pts += [(30.0, 0.0), (0.0, 0.0), (0.0, 90.0)]
    return pts


def nc():
    out = ["%", "(LETTER D 75 X 90 MM, CUT AT Z-1)", "G90 G21 G17", "G00 Z5.000",
           "G00 X0.000 Y90.000"]
    pts = outline()
    out.append("G01 Z-1.000 F300")
    for x, y in pts[1:]:
        out.append(f"G01 X{x:.3f} Y{y:.3f}")
    out += ["G00 Z5.000", "G00 X0.000 Y0.000", "M30", "%"]
    return out


def plt():
    pts = outline()
    out = ["IN;", "SP1;"]
    x, y = pts[0]
    out.append(f"PU{round(x * 40)},{round(y * 40)};")
    for x, y in pts[1:]:
        out.append(f"PD{round(x * 40)},{round(y * 40)};")
    out += ["PU;", "SP0;"]
    return out


def ai():
    def p(x, y):
        return f"{x * PT_PER_MM:.4f} {y * PT_PER_MM:.4f}"

    h = R * K
    path = [
        f"{p(0, 90)} m",
        f"{p(30, 90)} L",
        f"{p(30 + h, 90)} {p(75, 45 + h)} {p(75, 45)} c",
        f"{p(75, 45 - h)} {p(30 + h, 0)} {p(30, 0)} c",
        f"{p(0, 0)} L",
        f"{p(0, 90)} L",
        "f",
    ]
    w, hgt = 75 * PT_PER_MM, 90 * PT_PER_MM
    return ["%!PS-Adobe-3.0",
            "%%Creator: Adobe Illustrator(R) 8.0",
            "%%Title: (letterD.ai)",
            f"%%BoundingBox: 0 0 {math.ceil(w)} {math.ceil(hgt)}",
            "%%DocumentProcessColors: Black",
            "%%EndComments",
            "%%BeginProlog",
            "%%BeginResource: procset Adobe_level2_AI5 1.2 0",
            "/_lp /none def",
            "/m {moveto} bind def",
            "/l {lineto} bind def",
            "/c {curveto} bind def",
            "%%EndResource",
            "%%EndProlog",
            "%%BeginSetup",
            "%AI5_BeginPalette",
            "0 0 Pb",
            "0 0 0 1 k",
            "PB",
            "%AI5_EndPalette",
            "%%EndSetup",
            "%AI5_BeginLayer",
            "1 1 1 1 0 0 0 79 128 255 0 50 Lb",
            "(Layer 1) Ln",
            "0 A",
            "0 O",
            "0 0 0 1 k",
            "0 i 0 J 0 j 1 w 4 M []0 d",
            "%AI3_Note:",
            "0 D",
            "0 XR",
            *path,
            "LB",
            "%AI5_EndLayer--",
            "%%PageTrailer",
            "gsave annotatepage grestore showpage",
            "%%Trailer",
            "Adobe_Illustrator_AI5 /terminate get exec",
            "%%EOF"]


def write(name, lines, newline):
    with open(os.path.join(HERE, name), "w", newline="") as f:
        f.write(newline.join(lines) + newline)


if __name__ == "__main__":
    write("letterD.nc", nc(), "\r\n")
    write("letterD.plt", plt(), "\n")
    write("letterD.ai", ai(), "\r\n")
