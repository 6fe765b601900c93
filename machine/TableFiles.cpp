#include "machine/TableFiles.h"

#include "common/Basic.h"
#include "machine/LoadProblems.h"
#include "machine/ParameterTable.h"

#include <optional>
#include <string_view>
#include <vector>

namespace korvel::machine {
namespace {

// The numbers of a table file in reading order, with the line each came
// from. Numbers are separated by commas, blanks, tabs and line ends.
struct Token {
    std::string_view text;
    int line;
};

std::vector<Token> tokens(const common::Lines& lines) {
    std::vector<Token> out;
    for (size_t l = 0; l < lines.size(); ++l) {
        const std::string_view line = lines[l];
        size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == ',')) {
                ++i;
            }
            const size_t start = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != ',') {
                ++i;
            }
            if (i > start) {
                out.push_back({line.substr(start, i - start), static_cast<int>(l) + 1});
            }
        }
    }
    return out;
}

// Pairs of numbers, at most `maxRows`; nullopt with a problem recorded when
// a token is not a number. Tokens after `maxRows` rows are left unread.
std::optional<std::vector<std::array<double, 2>>>
readPairs(const common::Lines& lines, size_t maxRows, LoadProblems& problems) {
    std::vector<std::array<double, 2>> rows;
    const std::vector<Token> all = tokens(lines);
    for (size_t i = 0; i < all.size() && rows.size() < maxRows; i += 2) {
        std::array<double, 2> row{0, 0};
        for (size_t k = 0; k < 2 && i + k < all.size(); ++k) {
            const auto v = ParseNumber(all[i + k].text);
            if (!v) {
                problems.add("第 " + std::to_string(all[i + k].line) + " 行：“" +
                                 std::string(all[i + k].text) + "”不是数值",
                             "line " + std::to_string(all[i + k].line) + ": \"" +
                                 std::string(all[i + k].text) + "\" is not a number");
                return std::nullopt;
            }
            row[k] = *v;
        }
        rows.push_back(row);
    }
    if (all.size() > maxRows * 2) {
        problems.add("表格超过 " + std::to_string(maxRows) + " 行，只读入前 " +
                         std::to_string(maxRows) + " 行",
                     "the table has more than " + std::to_string(maxRows) +
                         " rows; only the first " + std::to_string(maxRows) + " are used");
    }
    return rows;
}

} // namespace

std::int16_t FactoryCurvatureTable(bool positive, CurvatureTable& rows) {
    // Radii in decreasing order; the arm angle grows roughly with the
    // curvature 1/r on top of the angle needed before the strip yields.
    static constexpr double kRadii[] = {1000, 800, 600, 500, 400, 300, 250, 200, 150, 120,
                                        100,  80,  60,  50,  40,  30,  25,  20,  15,  10};
    const double yield = positive ? 2.0 : 2.5;
    const double stiffness = positive ? 600.0 : 650.0;
    rows = {};
    std::int16_t last = -1;
    for (double r : kRadii) {
        ++last;
        const double angle = yield + stiffness / r;
        // Kept at two decimals, as the file holds them.
        rows[static_cast<size_t>(last)] = {common::Val(common::FormatNumber(angle, "0.00")), r};
    }
    return last;
}

std::int16_t DefaultTapSpacing(TapSpacingTable& rows) {
    rows = {};
    rows[0] = {40, 1};
    rows[1] = {100, 2};
    rows[2] = {240, 3};
    rows[3] = {0, 4};
    return 4;
}

common::Message ReadCurvatureTable(const std::filesystem::path& file, bool positive,
                                   CurvatureTable& rows, std::int16_t& last) {
    LoadProblems problems(file);
    common::Lines lines;
    std::optional<std::vector<std::array<double, 2>>> pairs;
    if (ReadSmallTextFile(file, lines, problems)) {
        pairs = readPairs(lines, kCurvatureRows, problems);
        if (pairs && pairs->empty()) {
            problems.add("曲率表为空", "the curvature table is empty");
            pairs.reset();
        }
    }
    if (!pairs) {
        last = FactoryCurvatureTable(positive, rows);
        return problems.message("已使用出厂曲率表", "the factory curvature table is used");
    }
    rows = {};
    for (size_t i = 0; i < pairs->size(); ++i) {
        rows[i] = {(*pairs)[i][0], (*pairs)[i][1]};
    }
    last = static_cast<std::int16_t>(pairs->size() - 1);
    if (problems.empty()) {
        return {};
    }
    return problems.message("多余的行未读入", "the extra rows are not used");
}

common::Lines CurvatureTableLines(const CurvatureTable& rows, std::int16_t last) {
    common::Lines lines;
    for (int i = 0; i <= last && i < kCurvatureRows; ++i) {
        const CurvatureRow& row = rows[static_cast<size_t>(i)];
        lines.push_back(common::FormatNumber(row.angle, "0.00") + ", " +
                        common::FormatNumber(row.radius, "0.00"));
    }
    return lines;
}

common::Message ReadTapSpacing(const std::filesystem::path& file, TapSpacingTable& rows,
                               std::int16_t& count) {
    LoadProblems problems(file);
    common::Lines lines;
    std::optional<std::vector<std::array<double, 2>>> pairs;
    if (ReadSmallTextFile(file, lines, problems)) {
        pairs = readPairs(lines, kTapSpacingRows, problems);
    }
    rows = {};
    count = 0;
    if (pairs) {
        for (const auto& pair : *pairs) {
            if (pair[1] == 0) {
                break;
            }
            rows[static_cast<size_t>(count++)] = {pair[0], pair[1]};
        }
    }
    if (count == 0) {
        count = DefaultTapSpacing(rows);
    }
    if (problems.empty()) {
        return {};
    }
    return problems.message(pairs ? "多余的行未读入" : "已使用默认拍弧间距表",
                            pairs ? "the extra rows are not used"
                                  : "the default tapping-spacing table is used");
}

common::Lines TapSpacingLines(const TapSpacingTable& rows, std::int16_t count) {
    common::Lines lines;
    for (int i = 0; i < count && i < kTapSpacingRows; ++i) {
        const TapSpacingRow& row = rows[static_cast<size_t>(i)];
        lines.push_back(common::Str(row.radiusLimit) + " " + common::Str(row.spacing) + " ");
    }
    return lines;
}

} // namespace korvel::machine
