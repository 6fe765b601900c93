#include "app/MainFormRules.h"

#include "common/Fields.h"
#include "machine/ParameterTable.h"
#include "machine/RunState.h"

#include <cmath>

namespace korvel::app {

namespace {

// The feed home switch reads 1 while the feed stands on it; the other
// switches and the in-position inputs read 0 when closed.
constexpr int kFeedHomeInput = 2;

bool InputClosed(int input, std::uint8_t level) {
    return input == kFeedHomeInput ? level != 0 : level == 0;
}

// The stroke as a number the parameter line accepts, or the message.
std::optional<common::Message> CheckStroke(std::string_view name, const std::string& text,
                                           double& value) {
    const machine::ParameterInfo* info = machine::FindParameter(name);
    const auto number = machine::ParseNumber(std::string(common::Trim(text)));
    if (!number || !std::isfinite(*number)) {
        return common::error("行程需要一个数值：" + text, "The stroke needs a number: " + text);
    }
    if (machine::CheckValue(*info, *number) != machine::ValueProblem::None) {
        const std::string range = machine::LimitsText(*info);
        return common::error("行程 " + text + " 超出范围（" + range + "）",
                             "The stroke " + text + " is out of range (" + range + ")");
    }
    value = *number;
    return std::nullopt;
}

} // namespace

InfoPanels InfoPanelsForTab(int tab) {
    InfoPanels panels;
    panels.jobInfo = tab == 0;
    panels.segmentList = tab == 1;
    panels.calibration = tab == 2;
    panels.clearHighlight = tab == 0;
    return panels;
}

bool TabClickAllowed(const machine::RunState& run) {
    return run.JobRunActive == 0;
}

bool NodeUndoAllowed(geometry::Pointer pointer) {
    return pointer != geometry::Pointer::DeleteNode && pointer != geometry::Pointer::AddNode;
}

StatusLamps LampsOf(const machine::ExecutorDisplay& display) {
    StatusLamps lamps;
    for (std::size_t i = 0; i < lamps.outputs.size(); ++i) {
        lamps.outputs[i] = display.outputs[i] != 0;
    }
    for (std::size_t i = 0; i < lamps.inputs.size(); ++i) {
        const int input = kStatusLampInputs[i];
        lamps.inputs[i] = InputClosed(input, display.inputs[static_cast<std::size_t>(input)]);
    }
    return lamps;
}

common::Message SaveCutterStrokes(machine::ParameterSet& params, machine::ParameterStore& store,
                                  int group, const std::string& front, const std::string& back) {
    double frontValue = 0;
    double backValue = 0;
    if (auto bad = CheckStroke("DownStrokeFront", front, frontValue)) {
        return *bad;
    }
    if (auto bad = CheckStroke("DownStrokeBack", back, backValue)) {
        return *bad;
    }
    params.DownStrokeFront = frontValue;
    params.DownStrokeBack = backValue;
    return store.SaveSysPara(group, false);
}

int PanelButtonInput(PanelButton button, const machine::ParameterSet& params) {
    const bool limitSwitches = params.InfeedLimitActive == 1;
    switch (button) {
    case PanelButton::Start:
        return 13;
    case PanelButton::Pause:
        return 12;
    case PanelButton::Feed:
        return limitSwitches ? 22 : 18;
    case PanelButton::Retract:
        return limitSwitches ? 23 : 19;
    }
    return 13;
}

} // namespace korvel::app
