#pragma once
// The operator's node edits. Deleting a node only hides it from picking (a
// right click next to it brings it back); adding a node rewrites
// PointForDisplay.dat with the new node, and the piece classification then
// writes it as a joint point.

#include "common/AppDir.h"
#include "geometry/OutlineModel.h"
#include "geometry/PlaneGeometry.h"

#include <cstddef>
#include <vector>

namespace korvel::geometry {

struct AddedNode {
    Point2 p;
    bool inserted = false; // a new point line was inserted (else a point got the mark)
    bool wasNode = false;  // the point was already a node before
};

class NodeEdits {
public:
    static constexpr std::size_t kMaxEdits = 1001;
    // Two nodes within this distance (both coordinates) are the same node.
    static constexpr double kSameNode = 0.01;

    const std::vector<OutlineNode>& deleted() const { return m_deleted; }
    const std::vector<AddedNode>& added() const { return m_added; }
    // The added nodes as the classification looks them up.
    std::vector<Point2> addedPoints() const;

    bool isDeleted(const OutlineNode& node) const;
    // Throws UserError when the list is full.
    void deleteNode(const OutlineNode& node);
    // Right click: brings back the deleted node within `tolerance` (both
    // coordinates) of the click; false when there is none.
    bool restoreNear(Point2 click, double tolerance);
    void undoLastDelete();
    void undoAllDeletes() { m_deleted.clear(); }

    // Adds a node at the outline under the click. An outline point within
    // 0.1 mm of the click becomes a node; otherwise a new node is inserted
    // on the nearest segment within `tolerance` (both coordinates), at the
    // foot of the perpendicular from the click; failing that, the nearest
    // outline point within `tolerance` becomes a node.
    // PointForDisplay.dat is copied to Temp.dat and rewritten. Returns false
    // (and changes nothing) when no outline is under the click. Throws
    // UserError when the list is full or the file cannot be written.
    bool addNode(const common::AppDir& dir, const OutlineModel& model, Point2 click,
                 double tolerance);
    // "取消前一个增加": takes the last added node out of the display point
    // file again. False when there is none.
    bool undoLastAdd(const common::AppDir& dir);
    // "取消全部增加".
    void undoAllAdds(const common::AppDir& dir);

    // A new drawing: forget everything.
    void clear();

private:
    std::vector<OutlineNode> m_deleted;
    std::vector<AddedNode> m_added;
};

} // namespace korvel::geometry
