#include "program/FolderFiles.h"

#include "common/Fields.h"
#include "common/Message.h"
#include "geometry/ShapePltExport.h"

#include <array>
#include <string>

namespace korvel::program {

namespace {

bool endsWith(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() && text.substr(text.size() - ending.size()) == ending;
}

} // namespace

bool IsFolderOwnFile(std::string_view name) {
    const std::string upper = common::ToUpper(name);
    // Point, path and program files (PointForDisplay.dat ... G5.dat) and the
    // settings (SYS_n.ini, ParaGroup.ini, SimMachine.ini, ...).
    if (endsWith(upper, ".DAT") || endsWith(upper, ".INI")) {
        return true;
    }
    const std::array<std::string, 3> records = {
        geometry::ShapePltFileName(common::Language::English),
        geometry::ShapePltFileName(common::Language::Chinese), "JobLog.csv"};
    for (const auto& record : records) {
        if (upper == common::ToUpper(record)) {
            return true;
        }
    }
    return false;
}

void CheckNotFolderOwnFile(std::string_view name) {
    if (IsFolderOwnFile(name)) {
        const std::string text(name);
        throw common::UserError(common::error(
            "不能覆盖应用文件夹自己的文件，请换一个文件名：" + text,
            "This name belongs to one of the application folder's own files; choose another: " +
                text));
    }
}

} // namespace korvel::program
