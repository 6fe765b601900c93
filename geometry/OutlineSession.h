#pragma once
// What happens behind the outline view of the main window: the model of the
// opened drawing, the visible part, the operator's clicks (picking pieces,
// deleting and adding nodes, panning), the control point file they fill and
// the path preparation after each completed piece. The window draws from it
// and forwards mouse clicks in drawing coordinates; nothing here draws.

#include "common/AppDir.h"
#include "common/Message.h"
#include "geometry/ControlPointWriter.h"
#include "geometry/LetterSelection.h"
#include "geometry/NodeEdits.h"
#include "geometry/OutlineModel.h"
#include "geometry/OutlineParameters.h"
#include "geometry/OutlineView.h"
#include "geometry/PathFile.h"
#include "geometry/SelectionList.h"

#include <string>
#include <vector>

namespace korvel::geometry {

// The picture box pointer decides what a left click does.
enum class Pointer {
    Normal,     // pick start and end nodes
    Move,       // dragging pans the view (after a click away from any node)
    DeleteNode, // the next node clicked is deleted
    AddNode,    // the next click adds a node
};

enum class ClickOutcome {
    Ignored, // a run is requested, or a right click on nothing
    Panning, // no node under the click: the drag pans the view
    NodeDeleted,
    NodeAdded,
    StartPicked,
    PieceAppended,     // end node picked, piece appended, path prepared
    EndOnOtherOutline, // the entry keeps waiting for a valid end node
    NodeRestored,      // right click on a deleted node
    ContextMenu,       // right click elsewhere
};

// The result of a preparation: the length labels and the piece list.
struct PreparationResult {
    bool prepared = false; // false: the control point file was empty
    double totalLength = 0.0;
    std::vector<std::string> pieceList;
};

class OutlineSession {
public:
    OutlineSession(common::AppDir dir, const ControlPointParameters& controlParams,
                   const PathParameters& pathParams);

    // The drawing was (re)opened: rebuild the model from
    // PointForDisplay.dat, fit the view, forget selection and node edits.
    void openDrawing();
    // PointForDisplay.dat changed (node edit, mirror): rebuild the model,
    // keep the view.
    void reloadModel();
    bool drawingOpen() const { return m_open; }
    const common::AppDir& dir() const { return m_dir; }

    const OutlineModel& model() const { return m_model; }
    OutlineView& view() { return m_view; }
    const OutlineView& view() const { return m_view; }
    const SelectionList& selection() const { return m_selection; }
    const NodeEdits& nodeEdits() const { return m_edits; }
    Pointer pointer() const { return m_pointer; }
    ControlPointWriter& controlPoints() { return m_writer; }

    void setParameters(const ControlPointParameters& controlParams,
                       const PathParameters& pathParams);
    const PathParameters& pathParameters() const { return m_pathParams; }
    void setLanguage(common::Language lang) { m_lang = lang; }

    // The first node in index order within the view's pick tolerance (w/100
    // in both coordinates) that is not deleted; 0 when none.
    std::int32_t pickNode(Point2 click) const;

    // Left click at drawing coordinates. `runActive`: a run is requested
    // and clicks do nothing.
    ClickOutcome leftClick(Point2 click, bool shift, bool runActive = false);
    ClickOutcome rightClick(Point2 click);
    // Mouse up ends panning.
    void mouseUp();
    // Mouse moved by (dmx, dmy) pixels; pans while the move pointer is on.
    void mouseMove(double dmx, double dmy, double pixelScale);

    // "删除节点" / "增加节点": only with a drawing open and no selection;
    // otherwise the returned message says why and nothing changes.
    common::Message enterDeleteMode();
    common::Message enterAddMode();

    // Node edit undo items (with no selection, like the edits themselves).
    common::Message undoLastAdd();
    common::Message undoAllAdds();
    void undoLastDelete() { m_edits.undoLastDelete(); }
    void undoAllDeletes() { m_edits.undoAllDeletes(); }

    // "取消选择": the selection, the control point files and the piece
    // list are cleared.
    void cancelSelection();
    // "取消路径": drops the last piece from PointForControl.dat (only while
    // the machine is idle and the file holds at least two pieces), steps
    // the selection back and prepares the path again.
    common::Message cancelLastPath(bool machineIdle);
    // "关闭": closes the drawing view and clears the selection and the
    // control point files.
    void close();

    // Every outline as one piece (holes clockwise), appended to the
    // control point file; the path is prepared afterwards. Returns the
    // number of pieces. A letter with more outlines than the selection list
    // has room for is refused (UserError) before anything is appended.
    std::size_t selectWholeLetter();
    // Pieces by node indices, as the clicks would pick them, appended to the
    // selection (`keepSelection`) or replacing it, and the path prepared.
    // Every piece is checked and the new control point file and path built
    // in memory first; both files are then replaced in one step. A refused
    // piece (UserError) changes nothing.
    void selectPieces(const std::vector<PiecePick>& picks, bool keepSelection);
    void selectPiece(std::int32_t startNode, std::int32_t endNode, bool shift) {
        selectPieces({{startNode, endNode, shift}}, true);
    }

    // The points of every completed piece in travel order, for drawing the
    // selection over the outlines.
    std::vector<std::vector<std::int32_t>> selectedPieces() const;

    // Path preparation, total length and piece list (the contour offset
    // button and the end of every selection).
    PreparationResult prepare();
    const PreparationResult& lastPreparation() const { return m_lastPreparation; }

private:
    ClickOutcome pickForSelection(std::int32_t node, bool shift);
    common::Message needsOpenDrawingWithoutSelection() const;
    void clearControlFiles();
    std::string controlText() const;
    void commitSelection(const SelectionList& selection, const ControlPointWriter& writer,
                         std::string text);
    PreparationResult describe(const PathRecords& path) const;

    common::AppDir m_dir;
    ControlPointParameters m_controlParams;
    PathParameters m_pathParams;
    common::Language m_lang = common::Language::Chinese;
    OutlineModel m_model;
    OutlineView m_view;
    SelectionList m_selection;
    NodeEdits m_edits;
    ControlPointWriter m_writer;
    Pointer m_pointer = Pointer::Normal;
    bool m_open = false;
    PreparationResult m_lastPreparation;
};

} // namespace korvel::geometry
