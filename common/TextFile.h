#pragma once
// The line files of the application folder. Lines are written with CR LF;
// reading accepts CR LF, a lone CR and a lone LF as one line end each (so a
// line that itself ends in CR gives an empty line after it when read back,
// as the machine's line reader always did). Text is UTF-8; files from old
// installations in GB18030 are converted on reading.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <iterator>
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

// The same lines again, found one at a time while a reader walks through
// them: nothing is allocated for a file read once from start to end.
class LineViews {
public:
    class iterator {
    public:
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::string_view*;
        using reference = const std::string_view&;
        using iterator_category = std::forward_iterator_tag;

        iterator() = default;
        iterator(std::string_view text, size_t start) : m_text(text), m_start(start) { find(); }
        reference operator*() const { return m_line; }
        pointer operator->() const { return &m_line; }
        iterator& operator++() {
            m_start = m_next;
            find();
            return *this;
        }
        iterator operator++(int) {
            iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const iterator& other) const { return m_start == other.m_start; }

    private:
        void find();

        std::string_view m_text;
        size_t m_start = std::string_view::npos; // npos: past the last line
        size_t m_next = std::string_view::npos;
        std::string_view m_line;
    };

    explicit LineViews(std::string_view text) : m_text(text) {}
    iterator begin() const { return {m_text, 0}; }
    iterator end() const { return {}; }
    // At least as many as there are lines (for reserving tables).
    size_t sizeHint() const;

private:
    std::string_view m_text;
};

// The text of a file, decoded (UTF-8 or GB18030). Throws UserError.
std::string ReadText(const std::filesystem::path& file);
// Lines of a text file, decoded (UTF-8 or GB18030). Throws UserError.
Lines ReadLines(const std::filesystem::path& file);

// Every file the operator's work lives in is replaced only by a complete new
// version: the content goes to a temporary file beside it, is flushed to the
// disk, and only then renamed over the old name in one step. A failure (full
// disk, killed process) leaves the old file as it was, and the temporary
// file is removed on every failure the program sees.

// Write lines, each followed by CR LF, replacing the file (through a
// temporary file). Throws UserError.
void WriteLines(const std::filesystem::path& file, const Lines& lines);
// Append lines, each followed by CR LF, creating the file when missing. For
// logs only: an append cut short leaves a half line at the end.
void AppendLines(const std::filesystem::path& file, const Lines& lines);
// Append bytes (lines already ended by CR LF), creating the file when missing.
// For logs only, as AppendLines.
void AppendBytes(const std::filesystem::path& file, std::string_view bytes);
// The file replaced by its old content (none when missing) followed by
// `bytes` (lines already ended by CR LF), through a temporary file.
void AppendBytesAtomically(const std::filesystem::path& file, std::string_view bytes);
// The same for lines, each followed by CR LF.
void AppendLinesAtomically(const std::filesystem::path& file, const Lines& lines);
// Empty a file (create it when missing), through a temporary file.
void TruncateFile(const std::filesystem::path& file);

// Rewrite a file through a temporary file beside it: `temp` (default:
// file + ".tmp").
void RewriteAtomically(const std::filesystem::path& file, const Lines& lines,
                       const std::filesystem::path& temp = {});
// The same for raw bytes.
void RewriteBytesAtomically(const std::filesystem::path& file, std::string_view bytes,
                            const std::filesystem::path& temp = {});

// Several files replaced as one change: every new content is written and
// flushed to its temporary file first; only when all of them are complete
// are they renamed over the old files. When a write fails, every temporary
// file is removed and every old file is left as it was.
class FileReplacement {
public:
    void add(const std::filesystem::path& file, std::string bytes,
             const std::filesystem::path& temp = {});
    void add(const std::filesystem::path& file, const Lines& lines,
             const std::filesystem::path& temp = {});
    // Throws UserError naming the file that could not be written.
    void commit();

private:
    struct Entry {
        std::filesystem::path file;
        std::filesystem::path temp;
        std::string bytes;
    };
    std::vector<Entry> m_entries;
};

// A disk that fills up, for tests: while an instance lives, writing a file
// for which `full` returns true stops half-way with the error a full disk
// gives. Not for use outside tests.
class SimulatedFullDisk {
public:
    using Predicate = std::function<bool(const std::filesystem::path& file)>;
    explicit SimulatedFullDisk(Predicate full);
    ~SimulatedFullDisk();
    SimulatedFullDisk(const SimulatedFullDisk&) = delete;
    SimulatedFullDisk& operator=(const SimulatedFullDisk&) = delete;
};

inline void LineViews::iterator::find() {
    if (m_start >= m_text.size()) {
        m_start = std::string_view::npos;
        return;
    }
    size_t i = m_start;
    while (i < m_text.size() && m_text[i] != '\r' && m_text[i] != '\n') {
        ++i;
    }
    m_line = m_text.substr(m_start, i - m_start);
    if (i < m_text.size()) {
        // CR LF, a lone CR or a lone LF ends the line.
        if (m_text[i] == '\r' && i + 1 < m_text.size() && m_text[i + 1] == '\n') {
            ++i;
        }
        ++i;
    }
    m_next = i;
}

} // namespace korvel::common
