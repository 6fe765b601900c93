#pragma once
// Numbers as the operator sees and types them in text boxes and messages:
// the machine's shortest general form without the leading blank the files
// carry, and with the zero before the point ("0.5", "-0.25").

#include <string>

namespace korvel::common {

std::string FieldText(double value);

} // namespace korvel::common
