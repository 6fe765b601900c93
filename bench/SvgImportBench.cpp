// Opening a large SVG: 50,000 path pieces, half straight lines and half
// arcs, on a page in mm, as a CAD export of a sheet of slotted parts writes
// them: 500 slot outlines, each with sides of 25 one-millimetre lines and
// round ends of 25 arcs. Read (XML, transforms, display points) and then
// cleaned as the open command does; the operator waits for this after
// "打开". The cleaned drawing stays within the display file's limit.

#include "common/Basic.h"
#include "geometry/DisplayPasses.h"
#include "geometry/SvgReader.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <string>

namespace {

using korvel::common::FormatNumber;

constexpr int kColumns = 25;
constexpr int kRows = 20;
constexpr int kSidePieces = 25; // lines of 1 mm along each side
constexpr int kEndPieces = 25;  // arcs round each end
constexpr double kRadius = 10.0;

std::string number(double v) {
    return FormatNumber(v, "0.######");
}

// One slot: top side left to right, right end down, bottom side back, left
// end up (clockwise on the page).
std::string slot(double x, double y) {
    const double pi = std::acos(-1.0);
    std::string d = "M " + number(x) + " " + number(y);
    auto end = [&](double cx, double startAngle) {
        for (int k = 1; k <= kEndPieces; ++k) {
            const double a = startAngle + pi * k / kEndPieces;
            d += " A 10 10 0 0 1 " + number(cx + kRadius * std::cos(a)) + " " +
                 number(y + kRadius + kRadius * std::sin(a));
        }
    };
    for (int k = 0; k < kSidePieces; ++k) {
        d += " h 1";
    }
    end(x + kSidePieces, -pi / 2.0);
    for (int k = 0; k < kSidePieces; ++k) {
        d += " h -1";
    }
    end(x, pi / 2.0);
    return "<path d=\"" + d + " z\"/>\n";
}

std::string sheet() {
    std::string svg = R"svg(<?xml version="1.0"?>
<svg xmlns="http://www.w3.org/2000/svg" width="1500mm" height="500mm" viewBox="0 0 1500 500">
<g transform="translate(15 5)">
)svg";
    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kColumns; ++col) {
            svg += slot(55.0 * col, 24.0 * row);
        }
    }
    return svg + "</g>\n</svg>\n";
}

void BM_ReadSvg50000Pieces(benchmark::State& state) {
    const std::string svg = sheet();
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvel::geometry::ReadSvg(svg, {}));
    }
}
BENCHMARK(BM_ReadSvg50000Pieces)->Unit(benchmark::kMillisecond);

// Read and cleaned: what the open command does before writing the file.
void BM_OpenSvg50000Pieces(benchmark::State& state) {
    const std::string svg = sheet();
    for (auto _ : state) {
        const auto display = korvel::geometry::ReadSvg(svg, {});
        benchmark::DoNotOptimize(korvel::geometry::CleanDisplayLines(display.lines));
    }
}
BENCHMARK(BM_OpenSvg50000Pieces)->Unit(benchmark::kMillisecond);

} // namespace
