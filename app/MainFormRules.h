#pragma once
// The main window's own rules, apart from the widgets: which panel a tab
// shows, when a tab click or an undo is allowed, the status lamps, the
// job information labels, the cutter strokes of Command7 and the machine
// buttons of the simulated panel.

#include "common/Message.h"
#include "geometry/OutlineSession.h"
#include "machine/ExecutorDisplay.h"
#include "machine/ParameterSet.h"
#include "machine/ParameterStore.h"
#include "machine/RunState.h"

#include <array>
#include <optional>
#include <string>

namespace korvel::app {

// TabStrip3: job information (Frame6), segment list (List1) or the
// calibration buttons (Frame10).
struct InfoPanels {
    bool jobInfo = false;
    bool segmentList = false;
    bool calibration = false;
    // Tab 1 redraws the view with no segment highlighted.
    bool clearHighlight = false;
};
InfoPanels InfoPanelsForTab(int tab);

// TabStrip1 tab 2 shows the setup buttons (Frame4); tab clicks are ignored
// while a job runs, and so are List1 clicks.
bool TabClickAllowed(const machine::RunState& run);
// The node-deletion undo items act only while the view is neither deleting
// nor adding nodes.
bool NodeUndoAllowed(geometry::Pointer pointer);

// The status frame's lamps: Label2(0..5) for OUT0..OUT5, Label3(0..5) for
// the feed, bend, cutter and swing/infeed home switches and the cutter's
// back and out in-position inputs. A lamp is lit while its output is on or
// its switch is closed.
inline constexpr std::array<int, 6> kStatusLampInputs{2, 8, 14, 20, 17, 16};
struct StatusLamps {
    std::array<bool, 6> outputs{};
    std::array<bool, 6> inputs{};
};
StatusLamps LampsOf(const machine::ExecutorDisplay& display);

// Command7 "保存行程": the two texts become the front-cut and back-cut
// cutter strokes and the parameter set is saved to the current group.
// A text that is not a number, or a stroke out of its range, changes
// nothing and returns the message saying which.
common::Message SaveCutterStrokes(machine::ParameterSet& params, machine::ParameterStore& store,
                                  int group, const std::string& front, const std::string& back);

// The simulated panel's machine buttons and the inputs they press: the
// feed and retract buttons sit on IN22/IN23 while the infeed limit switches
// use IN18/IN19.
enum class PanelButton { Start, Pause, Feed, Retract };
int PanelButtonInput(PanelButton button, const machine::ParameterSet& params);

} // namespace korvel::app
