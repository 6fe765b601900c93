#include "app/FieldText.h"

#include "common/Basic.h"
#include "common/Fields.h"

namespace korvel::app {

std::string FieldText(double value) {
    std::string text(common::Trim(common::Str(value)));
    if (text.starts_with('.')) {
        text.insert(0, "0");
    } else if (text.starts_with("-.")) {
        text.insert(1, "0");
    }
    return text;
}

} // namespace korvel::app
