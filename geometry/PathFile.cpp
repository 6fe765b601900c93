#include "geometry/PathFile.h"

#include "common/Basic.h"
#include "common/Fields.h"
#include "common/Message.h"
#include "common/TextFile.h"
#include "geometry/OutlineFiles.h"

#include <algorithm>

namespace korvel::geometry {

namespace {

double fieldValue(const std::vector<std::string_view>& fields, std::size_t index) {
    return common::Val(common::FieldAt(fields, index));
}

bool isBlank(std::string_view line) {
    return common::Trim(line).empty();
}

} // namespace

void ThrowPathTooLong(std::string_view source) {
    const std::string name(source);
    const std::string limit = std::to_string(kMaxPathRecords);
    throw common::UserError(common::error(
        "加工路径超过 " + limit + " 行，请减少选择的轮廓段：" + name,
        "The machining path exceeds " + limit + " lines; select fewer outline pieces: " + name));
}

PathRecord ParsePathRecord(std::string_view line) {
    const auto fields = common::SplitFields(line);
    if (common::FieldAt(fields, 0) == kSplineWord) {
        // A trailer written at the end of a pass may carry two blanks after the
        // word: the angle then stands one field further on, the mark after it.
        const size_t angleField = common::FieldAt(fields, 1).empty() ? 2 : 1;
        return PathRecord::blockLine(fieldValue(fields, angleField),
                                     fieldValue(fields, angleField + 1));
    }
    PathRecord r;
    r.x = fieldValue(fields, 0);
    r.y = fieldValue(fields, 1);
    r.type = common::CIntSaturated(common::Fix(fieldValue(fields, 2)));
    r.a = fieldValue(fields, 3);
    r.b = fieldValue(fields, 4);
    r.c = fieldValue(fields, 5);
    return r;
}

namespace {

template <typename LineRange>
PathRecords parseRange(const LineRange& lines, std::string_view source) {
    PathRecords records;
    records.reserve(std::min(lines.size(), kMaxPathRecords));
    for (const auto& line : lines) {
        if (isBlank(line)) {
            continue;
        }
        if (records.size() >= kMaxPathRecords) {
            ThrowPathTooLong(source);
        }
        records.push_back(ParsePathRecord(line));
    }
    return records;
}

} // namespace

PathRecords ParsePathLines(const common::Lines& lines, std::string_view source) {
    return parseRange(lines, source);
}

namespace {

// Every piece in the file is a header, its points and a trailer, and every
// line ends with CR LF (a file edited elsewhere may end its lines with LF
// alone). A file cut short (a copy that broke off, a process
// killed while an old version appended to it) ends in the middle of a line
// or of a piece.
bool complete(std::string_view text, const PathRecords& records) {
    if (records.empty()) {
        return true;
    }
    return text.ends_with('\n') && records.front().isHeader() && records.back().isTrailer();
}

} // namespace

PathRecords ReadPathFile(const std::filesystem::path& file) {
    // Parsed straight from the file's text, without a string per line.
    const std::string text = common::ReadText(file);
    const std::string name = file.filename().string();
    PathRecords records = parseRange(common::SplitLineViews(text), name);
    if (!complete(text, records)) {
        throw common::UserError(
            common::error("文件不完整，在一段轮廓中间结束，请重新选择轮廓：" + name,
                          "The file is incomplete: it ends inside a piece. Select the pieces "
                          "again: " +
                              name));
    }
    return records;
}

std::string FormatPathRecord(const PathRecord& r) {
    if (r.type == kBlockLine) {
        return std::string(kSplineWord) + ' ' + common::FormatNumber(r.b, "0.000000") + ' ' +
               common::FormatNumber(r.a, "0.0");
    }
    constexpr std::string_view six = "0.000000";
    std::string line;
    line.reserve(80);
    line += common::FormatNumber(r.x, six);
    line += ' ';
    line += common::FormatNumber(r.y, six);
    line += ' ';
    line += std::to_string(r.type);
    for (double v : {r.a, r.b, r.c}) {
        line += ' ';
        // Most parameters are exactly 0; their text is known.
        line += v == 0.0 ? std::string(six) : common::FormatNumber(v, six);
    }
    return line;
}

common::Lines FormatPathLines(const PathRecords& records) {
    common::Lines lines;
    lines.reserve(records.size());
    for (const auto& r : records) {
        lines.push_back(FormatPathRecord(r));
    }
    return lines;
}

void WritePathFile(const std::filesystem::path& file, const PathRecords& records) {
    if (records.size() > kMaxPathRecords) {
        ThrowPathTooLong(file.filename().string());
    }
    common::RewriteAtomically(file, FormatPathLines(records));
}

} // namespace korvel::geometry
