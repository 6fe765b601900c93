#pragma once
// Opening a letter drawing: the logic behind the open command of the main
// window and `korvel-cli import`, without any dialog. The drawing is read
// by the reader its file ending names (DXF, NC, PLT, AI, SVG), cleaned (thinned,
// duplicate lines removed) and only then written as PointForDisplay.dat,
// together with emptying YJG.dat and the control point and path files. A
// drawing that cannot be read ends with a UserError and changes nothing:
// the operator keeps the drawing shown before.

#include "common/AppDir.h"
#include "common/Message.h"
#include "geometry/DrawingBuilder.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace korvel::geometry {

class CoreAlgorithm;

// Text: letters typed in a font (no file behind them).
enum class DrawingFormat { Unknown, Dxf, Nc, Plt, Ai, Svg, Text };

// By the file name's ending, compared without regard to case.
DrawingFormat DrawingFormatOf(const std::filesystem::path& drawing);

// Drawings larger than this are refused before they are read.
inline constexpr std::uintmax_t kMaxDrawingBytes = std::uintmax_t{64} * 1024 * 1024;

struct OpenOptions {
    double planeZ = 0.0;              // machining plane of NC drawings (mm)
    double slotAngleThreshold = 30.0; // SlotAngleThreshold (degrees): corners that become nodes
    // Called once the new drawing has been written, so that the owner of the
    // outline view can reset its selection list, its added-node list and
    // rebuild the outline model. May be empty.
    std::function<void()> drawingReplaced;
};

// What the open command knows about the drawing shown: the reload and
// the shape export work from it.
struct DrawingState {
    std::filesystem::path drawing; // empty: no drawing open
    DrawingFormat format = DrawingFormat::Unknown;
    double planeZ = 0.0;
    bool mirrored = false; // the mirror flag: shown mirrored in Y
    bool open() const { return !drawing.empty(); }
};

struct OpenSummary {
    DrawingFormat format = DrawingFormat::Unknown;
    int outlines = 0;                 // outlines in the display file
    int droppedOutlines = 0;          // outlines of fewer than two points left out
    int openOutlines = 0;             // outlines whose ends do not meet
    std::vector<SkippedKind> skipped; // parts of the drawing not read as outlines
    int straightenedArcs = 0;         // arcs of radius 0 read as straight lines
    long long pointLines = 0;         // point lines after cleaning, nodes included
    long long nodes = 0;              // node lines after cleaning
    // "Opened ... with N outlines" and, when outlines were left out, did not
    // close or parts of the drawing were skipped, what and why.
    common::Message message(const std::filesystem::path& drawing) const;
    // The same for a drawing named by `name` as the operator knows it.
    common::Message messageFor(const std::string& name) const;
};

// The open command. On success the display point file holds the cleaned
// drawing, YJG.dat, PointForControl.dat and CtrP.dat are empty, `state`
// names the drawing with the mirror flag cleared, and drawingReplaced has
// been called. Throws UserError (nothing changed) for an unknown ending, an
// unreadable or malformed drawing, one without any outline, or one too
// large for the display file.
OpenSummary OpenDrawing(const common::AppDir& app, const std::filesystem::path& drawing,
                        const OpenOptions& options, CoreAlgorithm& core, DrawingState& state);

// Opens outlines made in memory (letters typed in a font) exactly as
// OpenDrawing opens a file: cleaned, YJG.dat and the selection files
// emptied, the display file replaced. `label` names them in `state` and in
// messages. Throws UserError (nothing changed) when no outline is left or
// the display file could not hold them.
OpenSummary OpenBuiltDrawing(const common::AppDir& app, DisplayDrawing display,
                             DrawingFormat format, const std::string& label,
                             const OpenOptions& options, DrawingState& state);

// Re-imports the drawing of `state` (after the parameters changed, or to
// undo node edits): read, thin, remove duplicates, mirror again when the
// drawing was shown mirrored. YJG.dat and the selection files stay; the
// caller offers it only while nothing is selected.
OpenSummary ReloadDrawing(const common::AppDir& app, const OpenOptions& options,
                          CoreAlgorithm& core, const DrawingState& state);

// Mirrors the display file in Y and toggles the mirror flag.
void MirrorDrawing(const common::AppDir& app, DrawingState& state);

} // namespace korvel::geometry
