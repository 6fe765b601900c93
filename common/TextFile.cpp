#include "common/TextFile.h"

#include "common/Encoding.h"
#include "common/Message.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

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

SimulatedFullDisk::Predicate& fullDisk() {
    static SimulatedFullDisk::Predicate predicate;
    return predicate;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Write `bytes` to `file` (appending or replacing its content) and flush
// them to the disk before returning.
void writeBytes(const fs::path& file, std::string_view bytes, bool append) {
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC);
    const int fd = ::open(file.c_str(), flags, 0644);
    if (fd < 0) {
        throw fileError(file, true);
    }
    bool ok = true;
    if (fullDisk() && fullDisk()(file)) {
        writeAll(fd, bytes.substr(0, bytes.size() / 2));
        ok = false;
    } else {
        ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    }
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        throw fileError(file, true);
    }
}

// A rename is only on the disk once the folder is flushed too.
void flushFolder(const fs::path& file) {
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

fs::path temporaryName(const fs::path& file, const fs::path& temp) {
    return temp.empty() ? fs::path(file.string() + ".tmp") : temp;
}

// Only a file is removed, never a folder that happens to have the name.
void removeQuietly(const fs::path& file) {
    ::unlink(file.c_str());
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
    RewriteAtomically(file, lines);
}

void AppendLines(const fs::path& file, const Lines& lines) {
    writeBytes(file, joinLines(lines), true);
}

void AppendBytes(const fs::path& file, std::string_view bytes) {
    writeBytes(file, bytes, true);
}

void AppendBytesAtomically(const fs::path& file, std::string_view bytes) {
    std::string content = fs::exists(file) ? ReadBytes(file) : std::string();
    content.append(bytes);
    RewriteBytesAtomically(file, content);
}

void AppendLinesAtomically(const fs::path& file, const Lines& lines) {
    AppendBytesAtomically(file, joinLines(lines));
}

void TruncateFile(const fs::path& file) {
    RewriteBytesAtomically(file, {});
}

void RewriteAtomically(const fs::path& file, const Lines& lines, const fs::path& temp) {
    RewriteBytesAtomically(file, joinLines(lines), temp);
}

void RewriteBytesAtomically(const fs::path& file, std::string_view bytes, const fs::path& temp) {
    FileReplacement replacement;
    replacement.add(file, std::string(bytes), temp);
    replacement.commit();
}

void FileReplacement::add(const fs::path& file, std::string bytes, const fs::path& temp) {
    m_entries.push_back({file, temporaryName(file, temp), std::move(bytes)});
}

void FileReplacement::add(const fs::path& file, const Lines& lines, const fs::path& temp) {
    add(file, joinLines(lines), temp);
}

void FileReplacement::commit() {
    size_t written = 0;
    const auto removeTemporaries = [&](size_t from) {
        for (size_t i = from; i < written; ++i) {
            removeQuietly(m_entries[i].temp);
        }
    };
    try {
        for (const auto& entry : m_entries) {
            ++written; // a failed write may still have created the file
            writeBytes(entry.temp, entry.bytes, false);
        }
    } catch (const UserError&) {
        removeTemporaries(0);
        throw;
    }
    for (size_t i = 0; i < m_entries.size(); ++i) {
        std::error_code ec;
        fs::rename(m_entries[i].temp, m_entries[i].file, ec); // replaces the old file in one step
        if (ec) {
            removeTemporaries(i);
            throw fileError(m_entries[i].file, true);
        }
    }
    if (!m_entries.empty()) {
        flushFolder(m_entries.front().file);
    }
    m_entries.clear();
}

SimulatedFullDisk::SimulatedFullDisk(Predicate full) {
    fullDisk() = std::move(full);
}

SimulatedFullDisk::~SimulatedFullDisk() {
    fullDisk() = nullptr;
}

} // namespace korvel::common
