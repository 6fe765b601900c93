#pragma once
// The problems found while reading one of the machine's files, collected
// into one message for the operator: a heading that names the file and what
// was used instead, then one line per problem. The list is bounded, so a
// file full of rubbish still gives a message of reasonable size.

#include "common/Message.h"

#include <filesystem>
#include <string>
#include <vector>

namespace korvel::machine {

class LoadProblems {
public:
    explicit LoadProblems(std::filesystem::path file) : m_file(std::move(file)) {}

    void add(std::string zh, std::string en);
    bool empty() const { return m_count == 0; }
    int count() const { return m_count; }

    // "文件 <file> 有误，<what>；文件保持原样，直到再次保存：" and one line per problem.
    common::Message message(const std::string& whatZh, const std::string& whatEn) const;

private:
    static constexpr int kMaxShown = 12;
    std::filesystem::path m_file;
    std::vector<std::string> m_zh;
    std::vector<std::string> m_en;
    int m_count = 0;
};

// Bytes of a small text file, decoded, or a problem recorded when the file
// is missing, unreadable or larger than any file of this kind can be.
// Returns false when nothing could be read.
bool ReadSmallTextFile(const std::filesystem::path& file, std::vector<std::string>& lines,
                       LoadProblems& problems);

} // namespace korvel::machine
