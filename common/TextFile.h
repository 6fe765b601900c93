#pragma once
// The line files of the application folder. Lines are written with CR LF;
// reading accepts CR LF, a lone CR and a lone LF as one line end each (so a
// line that itself ends in CR gives an empty line after it when read back,
// as the machine's line reader always did). Text is UTF-8; files from old
// installations in GB18030 are converted on reading.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::common {

using Lines = std::vector<std::string>;

// Raw bytes of a file. Throws UserError (naming the file) when it cannot be
// opened or read.
std::string ReadBytes(const std::filesystem::path& file);

// Split text into lines at CR LF, CR or LF. A final line end does not give
// an extra empty line; text after the last line end is the last line.
Lines SplitLines(std::string_view text);
// The same lines as views into `text` (for large files read once).
std::vector<std::string_view> SplitLineViews(std::string_view text);

// Lines of a text file, decoded (UTF-8 or GB18030). Throws UserError.
Lines ReadLines(const std::filesystem::path& file);

// Write lines, each followed by CR LF, replacing the file. Throws UserError.
void WriteLines(const std::filesystem::path& file, const Lines& lines);
// Append lines, each followed by CR LF, creating the file when missing.
void AppendLines(const std::filesystem::path& file, const Lines& lines);
// Empty a file (create it when missing).
void TruncateFile(const std::filesystem::path& file);

// Rewrite a file through a temporary file beside it: the content is written
// to `temp` (default: file + ".tmp"), then the old file is deleted and the
// temporary one renamed, so a failure while writing leaves the old file as
// it was.
void RewriteAtomically(const std::filesystem::path& file, const Lines& lines,
                       const std::filesystem::path& temp = {});
// The same for raw bytes.
void RewriteBytesAtomically(const std::filesystem::path& file, std::string_view bytes,
                            const std::filesystem::path& temp = {});

} // namespace korvel::common
