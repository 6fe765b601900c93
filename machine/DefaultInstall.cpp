#include "machine/DefaultInstall.h"

#include "common/Message.h"
#include "common/TextFile.h"
#include "machine/GroupFile.h"
#include "machine/ParaGroupFile.h"
#include "machine/ParameterStore.h"
#include "machine/ParameterTable.h"
#include "machine/TableFiles.h"

#include <functional>
#include <system_error>

namespace korvel::machine {
namespace fs = std::filesystem;
namespace {

bool present(const fs::path& p) {
    std::error_code ec;
    return fs::exists(p, ec);
}

void copyMissing(const fs::path& from, const fs::path& to, std::vector<fs::path>& written,
                 const fs::path& relative) {
    std::error_code ec;
    fs::create_directories(to.parent_path(), ec);
    // copy_file with skip_existing never replaces a file the operator has.
    if (fs::copy_file(from, to, fs::copy_options::skip_existing, ec)) {
        written.push_back(relative);
    } else if (ec) {
        const std::string name = to.string();
        throw common::UserError(
            common::error("无法写入文件：" + name, "Cannot write the file: " + name));
    }
}

// The parameter files every installation has, with their factory content.
std::vector<std::pair<fs::path, std::function<common::Lines()>>> factoryFiles() {
    std::vector<std::pair<fs::path, std::function<common::Lines()>>> files;
    files.emplace_back("ParaGroup.ini", [] {
        ParameterTables tables;
        for (int g = 0; g < kGroupCount; ++g) {
            tables.ParaGroupNames[static_cast<size_t>(g)] = FactoryParaGroupName(g);
            tables.CurvGroupNames[static_cast<size_t>(g)] = FactoryCurvGroupName(g);
        }
        return ParaGroupLines(tables);
    });
    for (int g = 0; g < kGroupCount; ++g) {
        files.emplace_back(fs::path("SysPara") / SysParaFileName(g),
                           [] { return GroupFileLines(FactoryParameterSet()); });
        for (bool positive : {true, false}) {
            files.emplace_back(fs::path("SysPara") / CurvatureFileName(positive, g), [positive] {
                CurvatureTable rows;
                const auto last = FactoryCurvatureTable(positive, rows);
                return CurvatureTableLines(rows, last);
            });
        }
        files.emplace_back(fs::path("SysPara") / TapSpacingFileName(g), [] {
            TapSpacingTable rows;
            const auto count = DefaultTapSpacing(rows);
            return TapSpacingLines(rows, count);
        });
    }
    return files;
}

} // namespace

std::vector<fs::path> InstallDefaults(const common::AppDir& appDir, const fs::path& resourcesDir) {
    appDir.create();
    std::vector<fs::path> written;
    std::error_code ec;
    if (fs::is_directory(resourcesDir, ec)) {
        for (auto it = fs::recursive_directory_iterator(resourcesDir, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            if (!it->is_regular_file(ec) || it->path().filename() == "README.md") {
                continue;
            }
            const fs::path relative = fs::relative(it->path(), resourcesDir, ec);
            copyMissing(it->path(), appDir.root() / relative, written, relative);
        }
    }
    for (const auto& [relative, lines] : factoryFiles()) {
        const fs::path target = appDir.root() / relative;
        if (!present(target)) {
            common::RewriteAtomically(target, lines());
            written.push_back(relative);
        }
    }
    return written;
}

} // namespace korvel::machine
