#pragma once
// Numbers as a settings window shows them in its text boxes: the machine's
// shortest general form without the leading blank the files carry, and
// with the zero before the point an operator expects ("0.5", "-0.25").

#include <string>

namespace korvel::app {

std::string FieldText(double value);

} // namespace korvel::app
