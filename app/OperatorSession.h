#pragma once
// Everything behind the operator window that is not a widget: the machine
// on the simulated card, the geometry object, the outline session the view
// draws and clicks into, the drawing shown (for mirror and reload) and the
// real-time drive of the executor by the window's 30 ms timer. The window
// forwards its commands here and copies the results into its controls;
// tests drive the same object without a screen.

#include "app/CardChoice.h"
#include "app/DrawingSteps.h"
#include "app/SimulatedSession.h"
#include "common/AppDir.h"
#include "common/Message.h"
#include "geometry/DrawingOpener.h"
#include "geometry/OutlineSession.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace korvel::app {

class OperatorSession {
public:
    // Installs the shipped files into `dir` where missing and starts the
    // machine up; start-up messages go to `dialog`.
    // `cardOption`: the text after --card, overriding Card.ini; a text that
    // names no card is reported and Card.ini's card is used.
    OperatorSession(const common::AppDir& dir, const std::filesystem::path& resources,
                    machine::OperatorDialog& dialog,
                    const std::optional<std::string>& cardOption = std::nullopt);
    ~OperatorSession();
    OperatorSession(const OperatorSession&) = delete;
    OperatorSession& operator=(const OperatorSession&) = delete;

    const common::AppDir& appDir() const { return m_dir; }
    SimulatedSession& simulated() { return *m_session; }
    machine::Machine& machine() { return m_session->machine(); }
    geometry::OutlineSession& outlines() { return *m_outlines; }
    const geometry::DrawingState& drawing() const { return m_drawing; }
    common::Language language() const;

    // The open command with a chosen file. Throws UserError for a drawing
    // that cannot be used; the drawing shown before stays as it was.
    geometry::OpenSummary openDrawing(const std::filesystem::path& drawing, double planeZ);
    // "关闭": no drawing, no selection, empty control point files.
    void closeDrawing();
    // "字形Y镜向": the display file mirrored from its unmirrored copy, the
    // model rebuilt with the view kept. Throws UserError without a drawing.
    void mirror();
    // Every outline picked as one piece; returns the number of pieces.
    std::size_t selectWholeLetter();
    // Command1 "轮廓偏移": the contour offset (Text6) and the join length
    // (Text4) as typed, then path preparation. Throws UserError for a text
    // that is not a number; nothing changes then.
    geometry::PreparationResult applyContourOffset(const std::string& offset,
                                                   const std::string& joinLength);
    // The parameter set changed (a setup window saved it): the outline
    // session takes the new thresholds.
    void parametersChanged();

    // Command_Run: a paused run goes on with its next line (the run command
    // clears the wait, as the start button does); while a run is moving or
    // a homing search runs the button does nothing; otherwise the job is
    // generated and started (SimulatedSession::startJob holds the rule).
    // The outcome of the last generation is simulated().lastJob().
    void runCommand();

    // Timer2 on the real clock: the simulated machine moves for the time
    // that really passed since the last tick, then the executor's tick.
    void timerTick(std::int64_t elapsedMs);
    // Unattended: runs in virtual time until every run has ended or
    // `maxTicks` ticks passed; true when every run ended.
    bool runToEnd(std::int64_t maxTicks) { return m_session->runToEnd(maxTicks); }

    // The executor finished a job (its path is in YJG.dat).
    void setJobFinishedHandler(std::function<void()> handler);

private:
    CardChoice chooseCard(const std::filesystem::path& resources, machine::OperatorDialog& dialog,
                          const std::optional<std::string>& cardOption) const;
    common::AppDir m_dir;
    DrawingSteps m_steps;
    std::unique_ptr<SimulatedSession> m_session;
    std::unique_ptr<geometry::OutlineSession> m_outlines;
    geometry::DrawingState m_drawing;
};

} // namespace korvel::app
