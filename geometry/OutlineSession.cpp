#include "geometry/OutlineSession.h"

#include "common/Basic.h"
#include "common/Fields.h"
#include "common/TextFile.h"
#include "geometry/CoreAlgorithm.h"
#include "geometry/OutlineFiles.h"
#include "geometry/PathFile.h"
#include "geometry/PathLengths.h"
#include "geometry/PathPreparation.h"

#include <cmath>

namespace korvel::geometry {

namespace {

// Header lines (mark 2 or 3) of the control point file, by line index.
std::vector<std::size_t> blockHeaders(const common::Lines& lines) {
    std::vector<std::size_t> headers;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto fields = common::SplitFields(lines[i]);
        if (common::FieldAt(fields, 0) == kSplineWord &&
            common::Val(common::FieldAt(fields, 2)) != 0.0) {
            headers.push_back(i);
        }
    }
    return headers;
}

} // namespace

OutlineSession::OutlineSession(common::AppDir dir, const ControlPointParameters& controlParams,
                               const PathParameters& pathParams)
    : m_dir(std::move(dir)), m_controlParams(controlParams), m_pathParams(pathParams),
      m_writer(controlParams) {}

void OutlineSession::setParameters(const ControlPointParameters& controlParams,
                                   const PathParameters& pathParams) {
    m_controlParams = controlParams;
    m_pathParams = pathParams;
    const bool arc = m_writer.arcMemory();
    m_writer = ControlPointWriter(controlParams);
    m_writer.setArcMemory(arc);
}

void OutlineSession::openDrawing() {
    m_model = OutlineModel::load(m_dir);
    m_view.fit(m_model.fittedView());
    m_selection.clear();
    m_edits.clear();
    m_pointer = Pointer::Normal;
    m_lastPreparation = {};
    m_open = true;
}

void OutlineSession::reloadModel() {
    m_model = OutlineModel::load(m_dir);
}

std::int32_t OutlineSession::pickNode(Point2 click) const {
    const double tol = m_view.pickTolerance();
    for (std::int32_t n = 1; n <= m_model.nodeCount(); ++n) {
        const OutlineNode& node = m_model.node(n);
        if (std::fabs(node.x - click.x) <= tol && std::fabs(node.y - click.y) <= tol &&
            !m_edits.isDeleted(node)) {
            return n;
        }
    }
    return 0;
}

ClickOutcome OutlineSession::leftClick(Point2 click, bool shift, bool runActive) {
    if (runActive || !m_open) {
        return ClickOutcome::Ignored;
    }
    if (m_pointer == Pointer::AddNode) {
        if (m_edits.addNode(m_dir, m_model, click, m_view.pickTolerance())) {
            m_pointer = Pointer::Normal;
            reloadModel();
            return ClickOutcome::NodeAdded;
        }
    }
    const std::int32_t node = pickNode(click);
    if (node == 0) {
        m_pointer = Pointer::Move;
        return ClickOutcome::Panning;
    }
    if (m_pointer == Pointer::DeleteNode) {
        m_edits.deleteNode(m_model.node(node));
        m_pointer = Pointer::Normal;
        return ClickOutcome::NodeDeleted;
    }
    if (m_pointer == Pointer::AddNode) {
        // A node under the click but no outline point to mark (cannot
        // happen: a node is an outline point); treat as a pick.
        m_pointer = Pointer::Normal;
    }
    return pickForSelection(node, shift);
}

ClickOutcome OutlineSession::pickForSelection(std::int32_t node, bool shift) {
    if (!m_selection.waitingForEnd()) {
        m_selection.pickStart(node, m_model.rangeOfNode(node).orientation, shift);
        return ClickOutcome::StartPicked;
    }
    const SelectionEntry& entry = m_selection.current();
    if (m_model.node(entry.startNode).range != m_model.node(node).range) {
        return ClickOutcome::EndOnOtherOutline;
    }
    SelectionList selection = m_selection;
    ControlPointWriter writer = m_writer;
    std::string text = controlText();
    const SelectionEntry done = selection.pickEnd(node);
    writer.appendPieceText(text, m_model, done.startNode, done.endNode, done.k(),
                           m_edits.addedPoints());
    commitSelection(selection, writer, std::move(text));
    return ClickOutcome::PieceAppended;
}

std::string OutlineSession::controlText() const {
    const auto file = m_dir.file(kControlFile);
    return std::filesystem::exists(file) ? common::ReadBytes(file) : std::string();
}

void OutlineSession::selectPieces(const std::vector<PiecePick>& picks, bool keepSelection) {
    SelectionList selection = keepSelection ? m_selection : SelectionList();
    // All or nothing: a choice is never left half selected.
    if (picks.size() > selection.remaining()) {
        SelectionList::throwFull();
    }
    ControlPointWriter writer = m_writer;
    std::string text = keepSelection ? controlText() : std::string();
    for (const auto& pick : picks) {
        CheckPiece(m_model, pick.startNode, pick.endNode);
        selection.pickStart(pick.startNode, m_model.rangeOfNode(pick.startNode).orientation,
                            pick.shift);
        const SelectionEntry done = selection.pickEnd(pick.endNode);
        writer.appendPieceText(text, m_model, done.startNode, done.endNode, done.k(),
                               m_edits.addedPoints());
    }
    commitSelection(selection, writer, std::move(text));
}

// The path is prepared in memory first; the control point file and CtrP.dat
// are then replaced together, so a path that cannot be prepared (or a disk
// that is full) leaves the selection as it was.
void OutlineSession::commitSelection(const SelectionList& selection,
                                     const ControlPointWriter& writer, std::string text) {
    const PathRecords control = ParsePathLines(common::SplitLines(text), kControlFile);
    common::Lines pathLines;
    if (!control.empty()) {
        pathLines = FormatPathLines(PreparePathRecords(control, m_pathParams));
        if (pathLines.size() > kMaxPathRecords) {
            ThrowPathTooLong(kPathFile);
        }
    }
    common::FileReplacement replacement;
    replacement.add(m_dir.file(kControlFile), std::move(text));
    replacement.add(m_dir.file(kPathFile), pathLines);
    replacement.commit();
    m_selection = selection;
    m_writer = writer;
    // Lengths from the path as written, as the window shows them after a
    // preparation.
    m_lastPreparation =
        control.empty() ? PreparationResult{} : describe(ParsePathLines(pathLines, kPathFile));
}

PreparationResult OutlineSession::describe(const PathRecords& path) const {
    PreparationResult result;
    result.prepared = true;
    result.totalLength = TotalLength(path, m_pathParams.JoinLength);
    result.pieceList = PieceList(path, m_pathParams, m_lang);
    return result;
}

std::size_t OutlineSession::selectWholeLetter() {
    const auto picks = WholeLetterPieces(m_model);
    if (!picks.empty()) {
        selectPieces(picks, true);
    }
    return picks.size();
}

ClickOutcome OutlineSession::rightClick(Point2 click) {
    if (m_edits.restoreNear(click, m_view.restoreTolerance())) {
        return ClickOutcome::NodeRestored;
    }
    return ClickOutcome::ContextMenu;
}

void OutlineSession::mouseUp() {
    if (m_pointer == Pointer::Move) {
        m_pointer = Pointer::Normal;
    }
}

void OutlineSession::mouseMove(double dmx, double dmy, double pixelScale) {
    if (m_pointer == Pointer::Move) {
        m_view.pan(dmx, dmy, pixelScale);
    }
}

common::Message OutlineSession::needsOpenDrawingWithoutSelection() const {
    if (!m_open) {
        return common::notice("请先打开图形文件", "Open a drawing first");
    }
    if (!m_selection.empty()) {
        return common::notice("请先取消选择，再编辑节点",
                              "Cancel the selection before editing nodes");
    }
    return {};
}

common::Message OutlineSession::enterDeleteMode() {
    auto refused = needsOpenDrawingWithoutSelection();
    if (refused.empty()) {
        m_pointer = Pointer::DeleteNode;
    }
    return refused;
}

common::Message OutlineSession::enterAddMode() {
    auto refused = needsOpenDrawingWithoutSelection();
    if (refused.empty()) {
        m_pointer = Pointer::AddNode;
    }
    return refused;
}

common::Message OutlineSession::undoLastAdd() {
    auto refused = needsOpenDrawingWithoutSelection();
    if (refused.empty() && m_edits.undoLastAdd(m_dir)) {
        reloadModel();
    }
    return refused;
}

common::Message OutlineSession::undoAllAdds() {
    auto refused = needsOpenDrawingWithoutSelection();
    if (refused.empty()) {
        m_edits.undoAllAdds(m_dir);
        reloadModel();
    }
    return refused;
}

void OutlineSession::clearControlFiles() {
    CoreAlgorithm::ControlPointCls(m_dir);
}

void OutlineSession::cancelSelection() {
    m_selection.clear();
    clearControlFiles();
    m_lastPreparation = {};
}

common::Message OutlineSession::cancelLastPath(bool machineIdle) {
    if (!machineIdle) {
        return common::notice("机器运行中，不能取消路径",
                              "The machine is running; the path cannot be cancelled");
    }
    const common::Lines lines = common::ReadLines(m_dir.file(kControlFile));
    const auto headers = blockHeaders(lines);
    if (headers.size() < 2) {
        return common::notice("只选择了一段轮廓，请用“取消选择”",
                              "Only one piece is selected; use Cancel Selection instead");
    }
    const common::Lines kept(lines.begin(), lines.begin() + static_cast<long>(headers.back()));
    common::WriteLines(m_dir.file(kTempFile), lines);
    common::RewriteAtomically(m_dir.file(kControlFile), kept);
    m_selection.stepBack();
    prepare();
    return {};
}

void OutlineSession::close() {
    cancelSelection();
    m_edits.clear();
    m_model = OutlineModel();
    m_pointer = Pointer::Normal;
    m_open = false;
}

std::vector<std::vector<std::int32_t>> OutlineSession::selectedPieces() const {
    std::vector<std::vector<std::int32_t>> pieces;
    for (std::size_t i = 0; i < m_selection.completedCount(); ++i) {
        const SelectionEntry& e = m_selection.entry(i);
        if (e.startNode < 1 || e.startNode > m_model.nodeCount() || e.endNode < 1 ||
            e.endNode > m_model.nodeCount()) {
            continue; // the drawing changed under the selection
        }
        pieces.push_back(m_model.pieceWalk(m_model.node(e.startNode).point,
                                           m_model.node(e.endNode).point, e.k() > 0));
    }
    return pieces;
}

PreparationResult OutlineSession::prepare() {
    if (!PreparePath(m_dir, m_pathParams)) {
        return {};
    }
    m_lastPreparation = describe(ReadPathFile(m_dir.file(kPathFile)));
    return m_lastPreparation;
}

} // namespace korvel::geometry
