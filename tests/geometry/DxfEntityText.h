#pragma once
// DXF drawings of lines, arcs, circles, polylines and ellipses written
// group by group, for the entity reader's tests and benchmark.

#include "DxfTestText.h"

#include <string>
#include <vector>

namespace korvel::test::dxf {

struct Bulged {
    double x;
    double y;
    double bulge = 0.0;
};

inline std::string group(int code, const std::string& value) {
    return std::to_string(code) + "\n" + value + "\n";
}
inline std::string group(int code, double value) {
    return group(code, dxfNumber(value));
}
// Extrusion along -Z when `down`; nothing (the default +Z) otherwise.
inline std::string extrusion(bool down) {
    return down ? group(210, 0.0) + group(220, 0.0) + group(230, -1.0) : std::string();
}

inline std::string line(double x1, double y1, double x2, double y2) {
    return group(0, "LINE") + group(10, x1) + group(20, y1) + group(11, x2) + group(21, y2);
}
inline std::string arc(double cx, double cy, double r, double fromDeg, double toDeg,
                       bool down = false) {
    return group(0, "ARC") + group(10, cx) + group(20, cy) + group(40, r) + group(50, fromDeg) +
           group(51, toDeg) + extrusion(down);
}
inline std::string circle(double cx, double cy, double r, bool down = false) {
    return group(0, "CIRCLE") + group(10, cx) + group(20, cy) + group(40, r) + extrusion(down);
}
inline std::string ellipse(double cx, double cy, double mx, double my, double ratio,
                           double from = 0.0, double to = 6.283185307179586, bool down = false) {
    return group(0, "ELLIPSE") + group(10, cx) + group(20, cy) + group(11, mx) + group(21, my) +
           group(40, ratio) + group(41, from) + group(42, to) + extrusion(down);
}
inline std::string lwpolyline(const std::vector<Bulged>& v, bool closed, bool down = false) {
    std::string out = group(0, "LWPOLYLINE") + group(90, std::to_string(v.size())) +
                      group(70, closed ? "1" : "0") + group(38, 0.0) + extrusion(down);
    for (const auto& p : v) {
        out += group(10, p.x) + group(20, p.y);
        if (p.bulge != 0.0) {
            out += group(42, p.bulge);
        }
    }
    return out;
}
// A 2-D POLYLINE; `frame` vertices (flag 16) are listed but not drawn.
inline std::string polyline(const std::vector<Bulged>& v, bool closed,
                            const std::vector<Bulged>& frame = {}) {
    std::string out = group(0, "POLYLINE") + group(66, "1") + group(70, closed ? "1" : "0");
    for (const auto& p : frame) {
        out += group(0, "VERTEX") + group(10, p.x) + group(20, p.y) + group(70, "16");
    }
    for (const auto& p : v) {
        out += group(0, "VERTEX") + group(10, p.x) + group(20, p.y) + group(42, p.bulge);
    }
    return out + group(0, "SEQEND");
}

// A whole drawing: no header (the entity reader needs none), the given
// block definitions and entities.
inline std::string drawing(const std::string& entities, const std::string& blocks = {}) {
    std::string out;
    if (!blocks.empty()) {
        out += group(0, "SECTION") + group(2, "BLOCKS") + blocks + group(0, "ENDSEC");
    }
    return out + group(0, "SECTION") + group(2, "ENTITIES") + entities + group(0, "ENDSEC") +
           group(0, "EOF");
}

} // namespace korvel::test::dxf
