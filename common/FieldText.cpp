#include "common/FieldText.h"

#include "common/Basic.h"
#include "common/Fields.h"

namespace korvel::common {

std::string FieldText(double value) {
    std::string text(Trim(Str(value)));
    if (text.starts_with('.')) {
        text.insert(0, "0");
    } else if (text.starts_with("-.")) {
        text.insert(1, "0");
    }
    return text;
}

} // namespace korvel::common
