#include "machine/RunState.h"

#include "common/Basic.h"
#include "common/Message.h"

namespace korvel::machine {

std::string_view RunState::line(int index) const {
    if (index < 0 || index >= LineCount || index >= static_cast<int>(ProgramLines.size())) {
        return {};
    }
    return ProgramLines[static_cast<size_t>(index)];
}

bool RunState::anyRunActive() const {
    return JobRunActive != 0 || SlotRunActive != 0 || ActionRunActive != 0;
}

RunCommandStep RunState::runCommandStep() const {
    if (anyRunActive()) {
        return WaitFlag == 1 ? RunCommandStep::Resume : RunCommandStep::Busy;
    }
    // A homing search started by hand holds the machine until it has ended.
    return HomingAxisCode == 0 ? RunCommandStep::NewJob : RunCommandStep::Busy;
}

RunCommandStep RunState::runCommand() {
    const RunCommandStep step = runCommandStep();
    if (step == RunCommandStep::Resume) {
        WaitFlag = 0;
    }
    return step;
}

void RunState::loadLines(common::Lines lines, RunKind kind) {
    if (lines.size() > static_cast<size_t>(kProgramCapacity)) {
        throw common::UserError(common::error(
            "加工程序超过" + common::FormatNumber(kProgramCapacity, "0") + "行，无法装入！",
            "The machine program has more than " + common::FormatNumber(kProgramCapacity, "0") +
                " lines and cannot be loaded!"));
    }
    ProgramLines = std::move(lines);
    LineCount = static_cast<std::int16_t>(ProgramLines.size());
    CurrentLine = 0;
    switch (kind) {
    case RunKind::Job:
        JobRunActive = common::kTrue;
        break;
    case RunKind::Slot:
        SlotRunActive = common::kTrue;
        break;
    case RunKind::Action:
        ActionRunActive = common::kTrue;
        break;
    }
}

void RunState::loadProgram(const common::AppDir& dir, RunKind kind) {
    loadLines(common::ReadLines(dir.file(kProgramFileName)), kind);
}

} // namespace korvel::machine
