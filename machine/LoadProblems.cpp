#include "machine/LoadProblems.h"

#include "common/Encoding.h"
#include "common/TextFile.h"

#include <string_view>
#include <system_error>

namespace korvel::machine {
namespace {
// The largest of the machine's parameter and table files is a few kB.
constexpr std::uintmax_t kMaxFileBytes = 1 << 20;
} // namespace

void LoadProblems::add(std::string zh, std::string en) {
    ++m_count;
    if (static_cast<int>(m_zh.size()) < kMaxShown) {
        m_zh.push_back(std::move(zh));
        m_en.push_back(std::move(en));
    }
}

common::Message LoadProblems::message(const std::string& whatZh, const std::string& whatEn) const {
    const std::string name = m_file.string();
    std::string zh = "文件 " + name + " 有误，" + whatZh + "；文件保持原样，直到再次保存：";
    std::string en = "The file " + name + " has errors; " + whatEn +
                     ". The file is left as it is until it is saved again:";
    for (size_t i = 0; i < m_zh.size(); ++i) {
        zh += "\n" + m_zh[i];
        en += "\n" + m_en[i];
    }
    if (m_count > static_cast<int>(m_zh.size())) {
        const std::string more = std::to_string(m_count - static_cast<int>(m_zh.size()));
        zh += "\n……另有 " + more + " 处错误";
        en += "\n... and " + more + " more";
    }
    return common::error(std::move(zh), std::move(en));
}

bool ReadSmallTextFile(const std::filesystem::path& file, std::vector<std::string>& lines,
                       LoadProblems& problems) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        problems.add("文件不存在或无法打开", "the file is missing or cannot be opened");
        return false;
    }
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size > kMaxFileBytes) {
        problems.add("文件过大，不是本机的参数文件",
                     "the file is far too large for this kind of file");
        return false;
    }
    try {
        lines = common::ReadLines(file);
    } catch (const common::UserError&) {
        problems.add("文件无法读取", "the file cannot be read");
        return false;
    }
    if (!lines.empty()) {
        lines[0] = std::string(common::WithoutByteOrderMark(lines[0]));
    }
    return true;
}

} // namespace korvel::machine
