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
#include <limits>

namespace korvel::program {

namespace {

constexpr const char* kPathFile = "CtrP.dat";
constexpr const char* kControlFile = "PointForControl.dat";

// No letter is a kilometre long: a length or coordinate beyond this is a
// broken file, and would only give feed targets the card cannot reach.
constexpr double kMaxLength = 1e6;

bool usableLength(double v) {
    return std::isfinite(v) && std::abs(v) <= kMaxLength;
}

bool recordUsable(const geometry::PathRecord& r) {
    return usableLength(r.x) && usableLength(r.y) && usableLength(r.a) && usableLength(r.b) &&
           usableLength(r.c);
}

bool pathHasLines(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::exists(file, ec) && std::filesystem::file_size(file, ec) > 0;
}

} // namespace

std::optional<common::Message> JobRun::readRunPanel(const MainWindowFields& fields,
                                                    RunPanel& panel) {
    // A count beyond the 16-bit range ("&HFFFFFFFFFFFFFFFF") is refused,
    // not cut down to 32767 runs.
    const double repeat = common::RoundHalfEven(common::Val(fields.Text5));
    if (!(repeat >= 1 && repeat <= std::numeric_limits<std::int16_t>::max())) {
        return RepeatCountMessage();
    }
    panel.repeatCount = common::CInt(repeat);
    panel.joinLength = common::Val(fields.Text4);
    panel.endFeed = common::Val(fields.Text7);
    if (!usableLength(panel.joinLength) || !usableLength(panel.endFeed)) {
        return RunPanelValueMessage();
    }
    return std::nullopt;
}

std::optional<common::Message> JobRun::checkSetUp() const {
    const bool gripper = m_p.FeedType == kFeedGripperSingle || m_p.FeedType == kFeedGripperDouble;
    if (gripper && !(m_p.GripperStroke > 0)) {
        return GripperStrokeMissingMessage();
    }
    // The executor counts the double-stroke gripper's strokes by their lines,
    // which carry the stroke in whole millimetres: a fractional stroke would
    // go uncounted and the strip position be lost.
    if (m_p.FeedType == kFeedGripperDouble && m_p.GripperStroke != std::floor(m_p.GripperStroke)) {
        return GripperStrokeNotWholeMessage();
    }
    return std::nullopt;
}

JobOutcome JobRun::Command_Run(machine::MotionCard& card, machine::RunState& state) {
    JobOutcome outcome;
    if (m_firstPiece > 1) {
        // After a stop nothing stands where the program expects it: the
        // restarted job homes every axis first.
        m_fields.Check2 = true;
    }
    try {
        generateAndLoad(card, state, outcome);
    } catch (const common::UserError& e) {
        // An unreadable path file or a folder that cannot be written: the
        // operator sees why, nothing is loaded.
        outcome.started = false;
        outcome.message = e.message();
    }
    return outcome;
}

void JobRun::generateAndLoad(machine::MotionCard& card, machine::RunState& state,
                             JobOutcome& outcome) {
    if (auto failed = CheckMachineBeforeRun(m_p, m_fields, card)) {
        outcome.message = std::move(failed);
        return;
    }
    RunPanel panel;
    if (auto bad = readRunPanel(m_fields, panel)) {
        outcome.message = std::move(bad);
        return;
    }
    panel.firstPiece = m_firstPiece;
    if (auto bad = checkSetUp()) {
        outcome.message = std::move(bad);
        return;
    }

    const auto pathFile = m_dir.file(kPathFile);
    if (!pathHasLines(pathFile)) {
        return; // nothing selected: nothing to do
    }
    geometry::PathParameters prep;
    prep.EngraveCutterRadius = m_p.EngraveCutterRadius;
    prep.CutterRadiusCompFactor = m_p.CutterRadiusCompFactor;
    prep.ContourOffset = common::Val(m_fields.Text6);
    prep.JoinLength = panel.joinLength;
    // The control point file and CtrP.dat are created and emptied
    // together; without a control point file the path stays as it is.
    if (std::filesystem::exists(m_dir.file(kControlFile))) {
        geometry::PreparePath(m_dir, prep);
    }

    const geometry::PathRecords path = geometry::ReadPathFile(pathFile);
    // A broken number is named before any length is worked out from it.
    for (const auto& rec : path) {
        if (!recordUsable(rec)) {
            outcome.message = PathValueMessage();
            return;
        }
    }
    const double r = panel.repeatCount;
    outcome.selectedLength = geometry::TotalLength(path, panel.joinLength);
    outcome.totalLength = (r - 1) * panel.joinLength + r * outcome.selectedLength + panel.endFeed +
                          m_p.BendToSlotDistance;
    outcome.selectedLabel = geometry::LengthLabel(outcome.selectedLength);
    outcome.totalLabel = geometry::LengthLabel(outcome.totalLength);
    if (path.empty()) {
        return;
    }

    // As the drawing of the path does: every small arc point is listed, the
    // operator's earlier choices stay.
    m_marked.enterArcPoints(path, m_p.BendToSlotRadiusThreshold);
    ProgramGenerator generator(m_p, m_tables, m_fields, panel, m_marked);
    GeneratedProgram program = generator.generate(path, card);
    if (program.refusal) {
        outcome.message = std::move(program.refusal);
        return;
    }
    common::RewriteAtomically(m_dir.file(kProgramFile), program.lines);
    outcome.lineCount = static_cast<int>(program.lines.size());
    outcome.corrections = std::move(program.corrections);
    state.loadLines(std::move(program.lines), machine::RunKind::Job);
    // The run button also ends a wait that a stopped or paused run left behind,
    // or the new job would stand still at its first line.
    state.WaitFlag = 0;
    outcome.started = true;
}

} // namespace korvel::program
