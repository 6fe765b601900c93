#pragma once
// The job log: JobLog.csv in the application folder, one line per job that
// finished or was stopped, for the shop's own records. It opens in a
// spreadsheet as it is: UTF-8 with a byte-order mark, CR LF lines, fields
// separated by commas and quoted where they hold a comma, a quote or a
// line end (a drawing named "门头,大字.dxf" stays one field).
//
// Columns: date and time, drawing, pieces, runs (letters made in the job),
// strip used (mm), machine time (s), how the job ended ("finished",
// "stopped" or "alarm") and, for an alarm, its message.

#include "common/AppDir.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvel::app {

inline constexpr std::string_view kJobLogFile = "JobLog.csv";

struct JobLogEntry {
    std::string time; // "2026-12-06 02:30:09"
    std::string drawing;
    int pieces = 0;
    int runs = 0;
    double strip = 0;   // mm
    double seconds = 0; // machine time
    std::string ended;  // "finished", "stopped", "alarm"
    std::string message;
    bool operator==(const JobLogEntry&) const = default;
};

// Appends one line, starting the file with its mark and the column names
// when it does not exist yet. Throws common::UserError when the folder
// cannot be written.
void AppendJobLog(const common::AppDir& app, const JobLogEntry& entry);
// Every entry of the log (none when there is no log). Lines that are not
// entries (a hand-edited file) are skipped. Throws common::UserError when
// the file cannot be read.
std::vector<JobLogEntry> ReadJobLog(const common::AppDir& app);

// One CSV line (without the line end) and back.
std::string CsvLine(const std::vector<std::string>& fields);
std::vector<std::string> SplitCsvLine(std::string_view line);

// The local date and time as the log writes it.
std::string LocalTimeText();

} // namespace korvel::app
