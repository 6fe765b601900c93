#pragma once
// The line files of the application folder. Lines are written with CR LF;
// reading accepts CR LF, a lone CR and a lone LF as one line end each (so a
// line that itself ends in CR gives an empty line after it when read back,
// as the machine's line reader always did). Text is UTF-8; files from old
// installations in GB18030 are converted on reading.

#include <cstddef>
#include <filesystem>
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

// Write lines, each followed by CR LF, replacing the file. Throws UserError.
void WriteLines(const std::filesystem::path& file, const Lines& lines);
// Append lines, each followed by CR LF, creating the file when missing.
void AppendLines(const std::filesystem::path& file, const Lines& lines);
// Append bytes (lines already ended by CR LF), creating the file when missing.
void AppendBytes(const std::filesystem::path& file, std::string_view bytes);
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
