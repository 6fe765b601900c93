#include "program/JobRun.h"

#include "common/Basic.h"
#include "geometry/PathFile.h"
#include "geometry/PathLengths.h"
#include "geometry/PathPreparation.h"
#include "program/FeedWriter.h"
#include "program/JobChecks.h"
#include "program/JobMessages.h"

#include <cmath>
#include <filesystem>

namespace korvel::program {

namespace {

constexpr const char* kPathFile = "CtrP.dat";

bool recordFinite(const geometry::PathRecord& r) {
    return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.a) && std::isfinite(r.b) &&
           std::isfinite(r.c);
}

bool pathHasLines(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::exists(file, ec) && std::filesystem::file_size(file, ec) > 0;
}

} // namespace

std::optional<common::Message> JobRun::readRunPanel(const MainWindowFields& fields,
                                                    RunPanel& panel) {
    const double repeat = common::Val(fields.Text5);
    if (!std::isfinite(repeat)) {
        return RepeatCountMessage();
    }
    panel.repeatCount = common::CIntSaturated(repeat);
    if (panel.repeatCount < 1) {
        return RepeatCountMessage();
    }
    panel.joinLength = common::Val(fields.Text4);
    panel.endFeed = common::Val(fields.Text7);
    if (!std::isfinite(panel.joinLength) || !std::isfinite(panel.endFeed)) {
        return RunPanelValueMessage();
    }
    return std::nullopt;
}

std::optional<common::Message> JobRun::checkSetUp() const {
    const bool gripper = m_p.FeedType == kFeedGripperSingle || m_p.FeedType == kFeedGripperDouble;
    if (gripper && !(m_p.GripperStroke > 0)) {
        return GripperStrokeMissingMessage();
    }
    return std::nullopt;
}

JobOutcome JobRun::Command_Run(machine::MotionCard& card, machine::RunState& state) {
    JobOutcome outcome;
    if (auto failed = CheckMachineBeforeRun(m_p, m_fields, card)) {
        outcome.message = std::move(failed);
        return outcome;
    }
    RunPanel panel;
    if (auto bad = readRunPanel(m_fields, panel)) {
        outcome.message = std::move(bad);
        return outcome;
    }
    if (auto bad = checkSetUp()) {
        outcome.message = std::move(bad);
        return outcome;
    }

    const auto pathFile = m_dir.file(kPathFile);
    if (!pathHasLines(pathFile)) {
        return outcome; // nothing selected: nothing to do
    }
    geometry::PathParameters prep;
    prep.EngraveCutterRadius = m_p.EngraveCutterRadius;
    prep.CutterRadiusCompFactor = m_p.CutterRadiusCompFactor;
    prep.ContourOffset = common::Val(m_fields.Text6);
    prep.JoinLength = panel.joinLength;
    geometry::PreparePath(m_dir, prep);

    const geometry::PathRecords path = geometry::ReadPathFile(pathFile);
    const double r = panel.repeatCount;
    outcome.selectedLength = geometry::TotalLength(path, panel.joinLength);
    outcome.totalLength = (r - 1) * panel.joinLength + r * outcome.selectedLength + panel.endFeed +
                          m_p.BendToSlotDistance;
    outcome.selectedLabel = geometry::LengthLabel(outcome.selectedLength);
    outcome.totalLabel = geometry::LengthLabel(outcome.totalLength);
    if (path.empty()) {
        return outcome;
    }
    for (const auto& rec : path) {
        if (!recordFinite(rec)) {
            outcome.message = PathValueMessage();
            return outcome;
        }
    }

    // As the drawing of the path does: every small arc point is listed, the
    // operator's earlier choices stay.
    m_marked.enterArcPoints(path, m_p.BendToSlotRadiusThreshold);
    ProgramGenerator generator(m_p, m_tables, m_fields, panel, m_marked);
    GeneratedProgram program = generator.generate(path, card);
    if (program.refusal) {
        outcome.message = std::move(program.refusal);
        return outcome;
    }
    common::RewriteAtomically(m_dir.file(kProgramFile), program.lines);
    outcome.lineCount = static_cast<int>(program.lines.size());
    outcome.corrections = std::move(program.corrections);
    state.loadLines(std::move(program.lines), machine::RunKind::Job);
    outcome.started = true;
    return outcome;
}

} // namespace korvel::program
