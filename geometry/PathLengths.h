#pragma once
// The lengths the operator sees after preparation: the total strip length
// of the run and one line per piece with its length, its machining length
// and the corner shortening at its two ends.

#include "common/Message.h"
#include "geometry/OutlineParameters.h"
#include "geometry/PathFile.h"

#include <string>
#include <vector>

namespace korvel::geometry {

struct PieceLength {
    double length = 0.0;     // distances between the piece's points
    double shortening = 0.0; // corner shortening at its first and last point
    double machined() const { return length - shortening; }
};

// Sum over the blocks of the distances between consecutive points plus the
// c value of each second point, with `joinLength` added once between two
// consecutive pieces.
double TotalLength(const PathRecords& path, double joinLength);

// One entry per block, in order.
std::vector<PieceLength> PieceLengths(const PathRecords& path, const PathParameters& params);

// "第 1段,120.000 ,加工长119.571 ,缩短0.429" /
// "No. 1Seg,120.000 ,Length119.571 ,Shorten0.429" (n counts from 1).
std::string PieceListLine(int n, const PieceLength& piece, common::Language lang);

std::vector<std::string> PieceList(const PathRecords& path, const PathParameters& params,
                                   common::Language lang);

// "123.4560  mm": the length labels of the main window.
std::string LengthLabel(double length);

} // namespace korvel::geometry
