#include "app/JobLog.h"

#include "common/Basic.h"
#include "common/Encoding.h"
#include "common/TextFile.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>

namespace korvel::app {

namespace {

using common::kByteOrderMark;
constexpr std::size_t kColumns = 8;

const std::vector<std::string>& columnNames() {
    static const std::vector<std::string> names = {
        "日期时间 Date",       "图纸 Drawing",      "段数 Pieces", "加工次数 Runs",
        "用料长度 Strip (mm)", "机器时间 Time (s)", "结束 Ended",  "信息 Message"};
    return names;
}

// A field as the log keeps it: one line, no line ends inside.
std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return text;
}

std::string quoted(const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        return field;
    }
    std::string out = "\"";
    for (char c : field) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

// A count or a length as the log writes it: a finite number, never Inf or
// NaN (a stop before the feed plan gives no strip at all).
std::string number(double v, const char* pattern) {
    return common::FormatNumber(std::isfinite(v) ? v : 0.0, pattern);
}

} // namespace

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        line += quoted(fields[i]);
    }
    return line;
}

std::vector<std::string> SplitCsvLine(std::string_view line) {
    std::vector<std::string> fields(1);
    bool inQuotes = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (inQuotes) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            inQuotes = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

void AppendJobLog(const common::AppDir& app, const JobLogEntry& e) {
    const auto file = app.file(kJobLogFile);
    std::string bytes;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        bytes += kByteOrderMark;
        bytes += CsvLine(columnNames()) + "\r\n";
    }
    bytes += CsvLine({oneLine(e.time), oneLine(e.drawing), std::to_string(e.pieces),
                      std::to_string(e.runs), number(e.strip, "0.0"), number(e.seconds, "0.00"),
                      oneLine(e.ended), oneLine(e.message)}) +
             "\r\n";
    common::AppendBytes(file, bytes);
}

std::vector<JobLogEntry> ReadJobLog(const common::AppDir& app) {
    const auto file = app.file(kJobLogFile);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        return {};
    }
    std::string text = common::ReadBytes(file);
    if (text.starts_with(kByteOrderMark)) {
        text.erase(0, kByteOrderMark.size());
    }
    std::vector<JobLogEntry> entries;
    for (const std::string& line : common::SplitLines(text)) {
        const auto f = SplitCsvLine(line);
        if (f.size() != kColumns || f == columnNames()) {
            continue;
        }
        JobLogEntry e{f[0], f[1], 0, 0, 0, 0, f[6], f[7]};
        e.pieces = common::CIntSaturated(common::Val(f[2]));
        e.runs = common::CIntSaturated(common::Val(f[3]));
        e.strip = common::Val(f[4]);
        e.seconds = common::Val(f[5]);
        if (!std::isfinite(e.strip) || !std::isfinite(e.seconds)) {
            continue;
        }
        entries.push_back(std::move(e));
    }
    return entries;
}

std::string LocalTimeText() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

} // namespace korvel::app
