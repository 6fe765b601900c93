#include "app/MotorSettings.h"

#include "machine/ParameterTable.h"

namespace korvel::app {

std::string_view AxisField(int axis, int value) {
    constexpr int kFirstAxisLine = 19;
    return machine::ParameterLine(kFirstAxisLine + kAxisValueCount * axis + value).name;
}

std::vector<std::string_view> MotorWindowFields() {
    std::vector<std::string_view> fields;
    for (int a = 0; a < kMotorAxisCount; ++a) {
        for (int v = 0; v < kAxisValueCount; ++v) {
            fields.push_back(AxisField(a, v));
        }
    }
    fields.push_back(kEncoderEquivField);
    return fields;
}

MotorWindowAccess MotorAccess(std::int16_t userLevel) {
    MotorWindowAccess access;
    if (userLevel <= 0) {
        access.saveEnabled = false;
        access.framesEnabled = false;
        access.holdJogEnabled.fill(false);
    } else if (userLevel == 1) {
        access.holdJogEnabled = {true, false, false, false};
    }
    return access;
}

} // namespace korvel::app
