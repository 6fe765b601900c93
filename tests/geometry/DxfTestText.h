#pragma once
// Small DXF drawings written line by line for the import tests and the
// benchmark: a header with the drawing extents and SPLINE entities whose
// groups can be left out, renamed or spaced as a hostile file would.

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace korvel::test {

struct SplineSpec {
    std::vector<std::pair<double, double>> points;
    std::vector<double> knots;
    bool withFlag = true;      // group 70
    bool withExtrusion = true; // group 210
    int degree = 3;            // group 71, left out when 0
};

// A decimal text that never reads like a group code ("10.0", not "10").
inline std::string dxfNumber(double v) {
    std::ostringstream s;
    s.precision(17);
    s << v;
    std::string t = s.str();
    if (t.find_first_of(".eE") == std::string::npos) {
        t += ".0";
    }
    return t;
}

inline std::vector<std::string> splineLines(const SplineSpec& s) {
    std::vector<std::string> out = {"0",          "SPLINE", "5", "2F",  "100",
                                    "AcDbEntity", "8",      "0", "100", "AcDbSpline"};
    if (s.withExtrusion) {
        out.insert(out.end(), {"210", "0.0", "220", "0.0", "230", "1.0"});
    }
    if (s.withFlag) {
        out.insert(out.end(), {"70", "8"});
    }
    if (s.degree != 0) {
        out.insert(out.end(), {"71", std::to_string(s.degree)});
    }
    out.insert(out.end(), {"72", std::to_string(s.knots.size()), "73",
                           std::to_string(s.points.size()), "74", "0", "42", "0.0000001"});
    for (double k : s.knots) {
        out.insert(out.end(), {"40", dxfNumber(k)});
    }
    for (const auto& [x, y] : s.points) {
        out.insert(out.end(), {"10", dxfNumber(x), "20", dxfNumber(y), "30", "0.0"});
    }
    return out;
}

inline std::vector<std::string> headerLines() {
    return {"0",  "SECTION", "2",  "HEADER", "9", "$EXTMIN", "10", "0.0",
            "20", "0.0",     "30", "0.0",    "9", "$EXTMAX", "10", "100.0",
            "20", "100.0",   "30", "0.0",    "0", "ENDSEC"};
}

// A whole drawing: header, then the splines in one ENTITIES section.
inline std::vector<std::string> drawingLines(const std::vector<SplineSpec>& splines) {
    std::vector<std::string> out = headerLines();
    out.insert(out.end(), {"0", "SECTION", "2", "ENTITIES"});
    for (const auto& s : splines) {
        const auto lines = splineLines(s);
        out.insert(out.end(), lines.begin(), lines.end());
    }
    out.insert(out.end(), {"0", "ENDSEC", "0", "EOF"});
    return out;
}

inline std::string joinDxf(const std::vector<std::string>& lines, const std::string& lineEnd) {
    std::string out;
    for (const auto& l : lines) {
        out += l;
        out += lineEnd;
    }
    return out;
}

// Clamped cubic knots for n control points with the inner knots evenly
// spread: 0,0,0,0, 1/(n-3), ..., 1,1,1,1.
inline std::vector<double> clampedKnots(int n) {
    std::vector<double> k(4, 0.0);
    const int spans = n - 3;
    for (int i = 1; i < spans; ++i) {
        k.push_back(static_cast<double>(i) / spans);
    }
    k.insert(k.end(), 4, 1.0);
    return k;
}

} // namespace korvel::test
