#include "common/AppDir.h"

#include "common/Message.h"

namespace korvel::common {

void AppDir::create() const {
    std::error_code ec;
    std::filesystem::create_directories(m_root / "SysPara", ec);
    if (!ec) {
        std::filesystem::create_directories(m_root / "Language", ec);
    }
    if (ec) {
        const std::string name = m_root.string();
        throw UserError(
            error("无法创建应用文件夹：" + name, "Cannot create the application folder: " + name));
    }
}

} // namespace korvel::common
