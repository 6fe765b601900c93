#include "app/OperatorSession.h"

#include "app/OutlineParams.h"
#include "common/Fields.h"
#include "geometry/CoreAlgorithm.h"
#include "machine/OperatorDialog.h"
#include "machine/ParameterTable.h"

#include <algorithm>
#include <cmath>

namespace korvel::app {

namespace {

// A modal box or a busy machine can hold the window's timer up; the card
// is advanced in slices so that no move is simulated in one giant step.
constexpr std::int64_t kMaxAdvanceMs = 1000;
// A contour offset beyond this is a typing slip, not a letter.
constexpr double kMaxOffsetMm = 100.0;

} // namespace

OperatorSession::OperatorSession(const common::AppDir& dir, const std::filesystem::path& resources,
                                 machine::OperatorDialog& dialog,
                                 const std::optional<std::string>& cardOption)
    : m_dir(dir) {
    m_session = std::make_unique<SimulatedSession>(
        m_dir, resources, dialog, chooseCard(resources, dialog, cardOption), m_steps.tranParas());
    const OutlineParams params = OutlineParamsOf(machine().params());
    m_outlines = std::make_unique<geometry::OutlineSession>(m_dir, params.control, params.path);
    m_outlines->setLanguage(language());
}

OperatorSession::~OperatorSession() = default;

CardChoice OperatorSession::chooseCard(const std::filesystem::path& resources,
                                       machine::OperatorDialog& dialog,
                                       const std::optional<std::string>& cardOption) const {
    try {
        return ChooseCard(m_dir, resources, cardOption);
    } catch (const common::UserError& e) {
        dialog.show(e.message());
        return ChooseCard(m_dir, resources);
    }
}

common::Language OperatorSession::language() const {
    return m_session->machine().tables().LanguageFlag == 0 ? common::Language::Chinese
                                                           : common::Language::English;
}

geometry::OpenSummary OperatorSession::openDrawing(const std::filesystem::path& drawing,
                                                   double planeZ) {
    m_outlines->setLanguage(language());
    const geometry::OpenSummary summary =
        m_steps.open(m_dir, drawing, planeZ, machine().params().SlotAngleThreshold, m_drawing);
    m_outlines->openDrawing();
    return summary;
}

void OperatorSession::closeDrawing() {
    m_outlines->close();
    m_drawing = geometry::DrawingState{};
}

void OperatorSession::mirror() {
    if (!m_drawing.open()) {
        throw common::UserError(common::notice("尚未打开文件！", "Have no opened file!"));
    }
    geometry::MirrorDrawing(m_dir, m_drawing);
    m_outlines->reloadModel();
}

std::size_t OperatorSession::selectWholeLetter() {
    m_outlines->setLanguage(language());
    return m_outlines->selectWholeLetter();
}

geometry::PreparationResult OperatorSession::applyContourOffset(const std::string& offset,
                                                                const std::string& joinLength) {
    const auto offsetValue = machine::ParseNumber(common::Trim(offset));
    const auto joinValue = machine::ParseNumber(common::Trim(joinLength));
    if (!offsetValue || !std::isfinite(*offsetValue) || std::fabs(*offsetValue) > kMaxOffsetMm) {
        throw common::UserError(common::error("轮廓偏移需要一个 -100 到 100 之间的数值：" + offset,
                                              "The contour offset needs a number from -100 to "
                                              "100: " +
                                                  offset));
    }
    if (!joinValue || !std::isfinite(*joinValue) || *joinValue < 0) {
        throw common::UserError(
            common::error("接料长度需要一个不小于0的数值：" + joinLength,
                          "The joining length needs a number of 0 or more: " + joinLength));
    }
    geometry::PathParameters path = m_outlines->pathParameters();
    path.ContourOffset = *offsetValue;
    path.JoinLength = *joinValue;
    m_outlines->setParameters(OutlineParamsOf(machine().params()).control, path);
    m_outlines->setLanguage(language());
    return m_outlines->prepare();
}

void OperatorSession::parametersChanged() {
    // The thresholds come from the parameter set; the contour offset and
    // join length stay as the operator typed them.
    const OutlineParams params = OutlineParamsOf(machine().params());
    geometry::PathParameters path = m_outlines->pathParameters();
    path.EngraveCutterRadius = params.path.EngraveCutterRadius;
    path.CutterRadiusCompFactor = params.path.CutterRadiusCompFactor;
    m_outlines->setParameters(params.control, path);
}

void OperatorSession::runCommand() {
    m_session->startJob();
}

void OperatorSession::timerTick(std::int64_t elapsedMs) {
    if (m_session->simulatedCard() == nullptr) {
        // A card behind a driver library moves in its own time (a simulator
        // driver is moved on by the clock): only the executor's tick is due.
        m_session->clock().step();
        return;
    }
    for (std::int64_t left = std::max<std::int64_t>(elapsedMs, 0); left > 0;) {
        const std::int64_t slice = std::min(left, kMaxAdvanceMs);
        m_session->simulatedCard()->advance(slice);
        left -= slice;
    }
    machine().executor().tick();
}

void OperatorSession::setJobFinishedHandler(std::function<void()> handler) {
    m_session->setJobFinishedHandler(std::move(handler));
}

} // namespace korvel::app
