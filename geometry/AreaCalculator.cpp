#include "geometry/AreaCalculator.h"

#include "common/Basic.h"
#include "common/Fields.h"
#include "geometry/OutlineFiles.h"

#include <cmath>
#include <vector>

namespace korvel::geometry {

namespace {

constexpr double kClosedTolerance = 0.1;     // mm: an end this near the start closes the outline
constexpr double kSamePointTolerance = 0.01; // mm: consecutive points this near are one

struct Vertex {
    double x = 0.0;
    double y = 0.0;
};

struct Polygon {
    int kind = 0; // 3 adds, 2 subtracts
    std::vector<Vertex> points;
};

bool near(const Vertex& a, const Vertex& b, double tolerance) {
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance;
}

void addVertex(Polygon& polygon, Vertex v) {
    if (!std::isfinite(v.x) || !std::isfinite(v.y)) {
        return;
    }
    if (!polygon.points.empty() && near(polygon.points.back(), v, kSamePointTolerance)) {
        return;
    }
    polygon.points.push_back(v);
}

// Enclosed area by the shoelace formula, taken from the lowest point round
// (the start does not change the sum, but matches the shop's old planimeter
// routine and keeps the rounding the same), closed by the chord back.
double enclosedArea(std::vector<Vertex> points) {
    if (points.size() > 1 && near(points.back(), points.front(), kClosedTolerance)) {
        points.pop_back();
    }
    const std::size_t n = points.size();
    if (n < 3) {
        return 0.0;
    }
    std::size_t lowest = 0;
    for (std::size_t i = 1; i < n; ++i) {
        if (points[i].y < points[lowest].y) {
            lowest = i;
        }
    }
    // Coordinates relative to the lowest point keep the products small, so
    // a letter far from the origin loses no digits.
    const Vertex origin = points[lowest];
    double twice = 0.0;
    for (std::size_t k = 0; k < n; ++k) {
        const Vertex& a = points[(lowest + k) % n];
        const Vertex& b = points[(lowest + k + 1) % n];
        twice += (a.x - origin.x) * (b.y - origin.y) - (b.x - origin.x) * (a.y - origin.y);
    }
    const double area = std::fabs(twice) / 2.0;
    return std::isfinite(area) ? area : 0.0;
}

} // namespace

double PathArea(const common::Lines& pathLines) {
    std::vector<Polygon> polygons;
    Polygon* current = nullptr;
    for (const auto& line : pathLines) {
        const auto fields = common::SplitFields(line);
        if (common::FieldAt(fields, 0) == kSplineWord) {
            const double mark = common::Val(common::FieldAt(fields, 2));
            if (mark == 3.0 || mark == 2.0) {
                polygons.push_back({static_cast<int>(mark), {}});
                current = &polygons.back();
            }
            continue;
        }
        if (current == nullptr || common::Trim(line).empty()) {
            continue;
        }
        addVertex(*current, {common::Val(common::FieldAt(fields, 0)),
                             common::Val(common::FieldAt(fields, 1))});
    }
    double total = 0.0;
    for (const auto& polygon : polygons) {
        const double a = enclosedArea(polygon.points);
        total += polygon.kind == 3 ? a : -a;
    }
    return total;
}

std::string GetArea(const std::filesystem::path& pathFile) {
    if (!std::filesystem::exists(pathFile)) {
        return common::FormatNumber(0.0, "0.000");
    }
    return common::FormatNumber(PathArea(common::ReadLines(pathFile)), "0.000");
}

common::Message AreaMessage(const std::string& areaText) {
    return common::notice("选择字形总面积约为 " + areaText + " 平方毫米",
                          "Select Area is about " + areaText + " square millimeter");
}

std::string AreaMessageTitle(common::Language language) {
    return language == common::Language::English ? "Info" : "提示";
}

double GlueWeight(double areaSquareCm, double density, double thickness) {
    const double weight = areaSquareCm * density * thickness;
    if (!(density >= 0.0) || !(thickness >= 0.0) || !std::isfinite(weight)) {
        throw common::UserError(common::error("胶水比重和胶水厚度必须是不小于零的数值！",
                                              "Glue density and thickness must be numbers of "
                                              "zero or more!"));
    }
    return weight;
}

common::Message GlueAreaMessage(double areaSquareMm) {
    const std::string value = common::FormatNumber(areaSquareMm / 100.0, "0.000");
    return common::notice("选择字形总面积约为 " + value + " 平方厘米",
                          "Select Area is about " + value + " square centimeter");
}

common::Message GlueWeightMessage(double weight) {
    const std::string value = common::FormatNumber(weight, "0.000");
    return common::notice("胶水用量约为： " + value + " 克（g）",
                          "Glue dosage is about " + value + " grame");
}

} // namespace korvel::geometry
