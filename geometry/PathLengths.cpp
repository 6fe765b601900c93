#include "geometry/PathLengths.h"

#include "common/Basic.h"
#include "geometry/PathPreparation.h"
#include "geometry/PlaneGeometry.h"

namespace korvel::geometry {

namespace {

double distance(const PathRecord& a, const PathRecord& b) {
    return Distance({a.x, a.y}, {b.x, b.y});
}

// Calls onPoint(previous, current) for consecutive points of a block,
// onHeader(record) and onTrailer(record, isLastRecord) at the block lines.
// A block line after points closes the block; any other opens one.
template <typename Header, typename Segment, typename Trailer>
void walkBlocks(const PathRecords& path, Header onHeader, Segment onSegment, Trailer onTrailer) {
    bool inBlock = false;
    const PathRecord* previous = nullptr;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const PathRecord& r = path[i];
        if (r.isBlockLine()) {
            if (inBlock) {
                onTrailer(r, i + 1 == path.size());
                inBlock = false;
            } else {
                onHeader(r);
                inBlock = true;
            }
            previous = nullptr;
            continue;
        }
        if (!inBlock) {
            // Points without a header still form a piece.
            onHeader(PathRecord::blockLine(0.0, 0.0));
            inBlock = true;
        }
        if (previous != nullptr) {
            onSegment(*previous, r);
        }
        previous = &r;
    }
}

} // namespace

double TotalLength(const PathRecords& path, double joinLength) {
    double total = 0.0;
    walkBlocks(
        path, [](const PathRecord&) {},
        [&](const PathRecord& a, const PathRecord& b) { total += distance(a, b) + b.c; },
        [&](const PathRecord&, bool last) {
            if (!last) {
                total += joinLength;
            }
        });
    return total;
}

std::vector<PieceLength> PieceLengths(const PathRecords& path, const PathParameters& params) {
    std::vector<PieceLength> pieces;
    const double r = params.EngraveCutterRadius;
    const double k = params.CutterRadiusCompFactor;
    walkBlocks(
        path,
        [&](const PathRecord& header) {
            pieces.push_back({0.0, CornerShortening(header.b, r, k)});
        },
        [&](const PathRecord& a, const PathRecord& b) { pieces.back().length += distance(a, b); },
        [&](const PathRecord& trailer, bool) {
            pieces.back().shortening += CornerShortening(trailer.b, r, k);
        });
    return pieces;
}

std::string PieceListLine(int n, const PieceLength& piece, common::Language lang) {
    const std::string length = common::FormatNumber(piece.length, "0.000");
    const std::string machined = common::FormatNumber(piece.machined(), "0.000");
    const std::string shortening = common::FormatNumber(piece.shortening, "0.000");
    if (lang == common::Language::Chinese) {
        return "第" + common::Str(n) + "段," + length + " ,加工长" + machined + " ,缩短" +
               shortening;
    }
    return "No." + common::Str(n) + "Seg," + length + " ,Length" + machined + " ,Shorten" +
           shortening;
}

std::vector<std::string> PieceList(const PathRecords& path, const PathParameters& params,
                                   common::Language lang) {
    std::vector<std::string> lines;
    int n = 0;
    for (const auto& piece : PieceLengths(path, params)) {
        lines.push_back(PieceListLine(++n, piece, lang));
    }
    return lines;
}

std::string LengthLabel(double length) {
    return common::FormatNumber(length, "0.0000") + "  mm";
}

} // namespace korvel::geometry
