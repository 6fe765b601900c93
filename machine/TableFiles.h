#pragma once
// The curvature tables SysPara/wanfubiaoP_<m>.ini and wanfubiaoN_<m>.ini
// (rows "angle, radius", both with two decimals) and the tapping-spacing
// tables SysPara/pfjj_<m>.ini and pfjj.ini (rows "radius limit, spacing").
// Both are read number by number, a comma, a blank or a line end
// separating numbers, and two numbers making a row.

#include "common/Message.h"
#include "common/TextFile.h"
#include "machine/ParameterSet.h"

#include <array>
#include <cstdint>
#include <filesystem>

namespace korvel::machine {

using CurvatureTable = std::array<CurvatureRow, kCurvatureRows>;
using TapSpacingTable = std::array<TapSpacingRow, kTapSpacingRows>;

// Factory curvature tables: the arm angle that gives radii from 1000 mm
// down to 10 mm on a typical aluminium strip. The negative side springs
// back a little more. Returns the last row index.
std::int16_t FactoryCurvatureTable(bool positive, CurvatureTable& rows);

// The spacing table used when a spacing file holds no row: tap every 1 mm
// below radius 40, 2 below 100, 3 below 240 and 4 for every larger radius.
std::int16_t DefaultTapSpacing(TapSpacingTable& rows);

// Reads a curvature table: rows 0, 1, ... up to 200 until the file ends;
// `last` = index of the last row read. A missing, empty or unreadable file
// or a value that is not a number gives the factory table and a message.
common::Message ReadCurvatureTable(const std::filesystem::path& file, bool positive,
                                   CurvatureTable& rows, std::int16_t& last);
common::Lines CurvatureTableLines(const CurvatureTable& rows, std::int16_t last);

// Reads a tapping-spacing table: at most 11 rows; a row with spacing 0 ends
// the table and is not counted. No row at all gives the default table; a
// missing file or a value that is not a number gives the default table and
// a message. Returns the message (empty when the file was fine).
common::Message ReadTapSpacing(const std::filesystem::path& file, TapSpacingTable& rows,
                               std::int16_t& count);
// One row per line, both numbers in Str form followed by a blank.
common::Lines TapSpacingLines(const TapSpacingTable& rows, std::int16_t count);

} // namespace korvel::machine
