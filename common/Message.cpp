#include "common/Message.h"

namespace korvel::common {

std::string Message::title(Language lang) const {
    const bool en = lang == Language::English;
    if (kind == MessageKind::Error) {
        return en ? "Wrong" : "错误";
    }
    return en ? "Operation Tips" : "操作提示";
}

} // namespace korvel::common
