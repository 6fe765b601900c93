#include "common/TextFile.h"

#include "common/Encoding.h"
#include "common/Message.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace korvel::common {
namespace fs = std::filesystem;

namespace {

UserError fileError(const fs::path& file, bool writing) {
    const std::string name = file.string();
    if (writing) {
        return UserError(error("无法写入文件：" + name, "Cannot write the file: " + name));
    }
    return UserError(error("无法读取文件：" + name, "Cannot read the file: " + name));
}

std::string joinLines(const Lines& lines) {
    std::string out;
    size_t size = 0;
    for (const auto& l : lines) {
        size += l.size() + 2;
    }
    out.reserve(size);
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

void writeBytes(const fs::path& file, std::string_view bytes, std::ios::openmode mode) {
    std::ofstream out(file, std::ios::binary | mode);
    if (!out) {
        throw fileError(file, true);
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw fileError(file, true);
    }
}

} // namespace

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw fileError(file, false);
    }
    // Read in large blocks straight into the result (a drawing can be
    // megabytes; a stream buffer copy would double the work). The size the
    // file has now is only a hint: it may still grow or shrink.
    std::string bytes;
    std::error_code ec;
    const auto hint = fs::file_size(file, ec);
    if (!ec && hint < (std::uintmax_t{1} << 30)) {
        bytes.reserve(static_cast<size_t>(hint) + 1);
    }
    char block[1 << 16];
    while (in) {
        in.read(block, sizeof block);
        bytes.append(block, static_cast<size_t>(in.gcount()));
    }
    if (in.bad()) {
        throw fileError(file, false);
    }
    return bytes;
}

size_t LineViews::sizeHint() const {
    const auto count = [this](char c) {
        return static_cast<size_t>(std::count(m_text.begin(), m_text.end(), c));
    };
    return count('\n') + count('\r') + 1;
}

std::vector<std::string_view> SplitLineViews(std::string_view text) {
    const LineViews lines(text);
    return {lines.begin(), lines.end()};
}

Lines SplitLines(std::string_view text) {
    const auto views = SplitLineViews(text);
    return Lines(views.begin(), views.end());
}

std::string ReadText(const fs::path& file) {
    std::string bytes = ReadBytes(file);
    if (IsValidUtf8(bytes)) {
        return bytes; // no copy for the usual UTF-8 file
    }
    return DecodeText(bytes);
}

Lines ReadLines(const fs::path& file) {
    return SplitLines(ReadText(file));
}

void WriteLines(const fs::path& file, const Lines& lines) {
    writeBytes(file, joinLines(lines), std::ios::trunc);
}

void AppendLines(const fs::path& file, const Lines& lines) {
    writeBytes(file, joinLines(lines), std::ios::app);
}

void AppendBytes(const fs::path& file, std::string_view bytes) {
    writeBytes(file, bytes, std::ios::app);
}

void TruncateFile(const fs::path& file) {
    writeBytes(file, {}, std::ios::trunc);
}

void RewriteAtomically(const fs::path& file, const Lines& lines, const fs::path& temp) {
    RewriteBytesAtomically(file, joinLines(lines), temp);
}

void RewriteBytesAtomically(const fs::path& file, std::string_view bytes, const fs::path& temp) {
    const fs::path tmp = temp.empty() ? fs::path(file.string() + ".tmp") : temp;
    writeBytes(tmp, bytes, std::ios::trunc);
    std::error_code ec;
    fs::rename(tmp, file, ec); // replaces the old file in one step
    if (ec) {
        fs::remove(tmp, ec);
        throw fileError(file, true);
    }
}

} // namespace korvel::common
