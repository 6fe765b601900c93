#pragma once
// Turns a picked piece of outline into one block of PointForControl.dat:
// every point between the start and the end node is classified as a plain
// end point, a corner with its turn angle, a joint the operator added by
// hand, or a contour point that is straight or lies on an arc (radius and
// bend angle).

#include "common/AppDir.h"
#include "common/TextFile.h"
#include "geometry/OutlineModel.h"
#include "geometry/OutlineParameters.h"
#include "geometry/PlaneGeometry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvel::geometry {

// Fixed limits of the arc classification.
inline constexpr double kArcNeighbourhood = 20.0; // both segments at most this long (mm)
inline constexpr double kArcStartRadius = 500.0;  // an arc may start only below this radius
inline constexpr double kArcMaxRadius = 1000.0;   // and continue up to this one
inline constexpr double kCoincidence = 0.001;     // same point (mm)

// Throws UserError unless both nodes exist and lie on the same outline.
void CheckPiece(const OutlineModel& model, std::int32_t startNode, std::int32_t endNode);

class ControlPointWriter {
public:
    explicit ControlPointWriter(const ControlPointParameters& params) : m_params(params) {}

    // The lines of one block for the piece from startNode to endNode (node
    // indices of one outline). k = direction sign x piece mode: k > 0
    // travels towards increasing point indices, k <= 0 towards decreasing
    // ones; the header carries |k|. Start node = end node travels once round
    // the outline. `addedNodes` are the joints the operator inserted.
    // Nodes that do not exist or lie on different outlines throw UserError.
    common::Lines pieceLines(const OutlineModel& model, std::int32_t startNode,
                             std::int32_t endNode, int k, const std::vector<Point2>& addedNodes);
    // The same block as file text, every line ended by CR LF, appended to
    // `out` (several pieces go into one buffer and one write).
    void appendPieceText(std::string& out, const OutlineModel& model, std::int32_t startNode,
                         std::int32_t endNode, int k, const std::vector<Point2>& addedNodes);

    // The same block appended to PointForControl.dat.
    void appendPiece(const common::AppDir& dir, const OutlineModel& model, std::int32_t startNode,
                     std::int32_t endNode, int k, const std::vector<Point2>& addedNodes);

    // Whether the last contour point was an arc point. It carries over from
    // block to block: an arc of 500 to 1000 mm radius continues only when
    // the point before it was already on an arc.
    bool arcMemory() const { return m_lastWasArc; }
    void setArcMemory(bool value) { m_lastWasArc = value; }

    const ControlPointParameters& parameters() const { return m_params; }

private:
    struct Walk {
        const OutlineModel& model;
        std::int32_t startNode;
        bool increasing;
        const std::vector<Point2>& addedNodes;
    };

    double travelTurnAngle(const Walk& walk, std::int32_t i);
    double segmentAngle(const OutlineModel& model, std::int32_t from, std::int32_t to);
    void classifyPoint(std::string& out, const Walk& walk, std::int32_t i);
    void writeContourPoint(std::string& out, const Walk& walk, std::int32_t i);

    // The direction of the segment last measured: walking along the piece,
    // each point's incoming segment is the outgoing one of the point before.
    struct Segment {
        std::int32_t from = -1;
        std::int32_t to = -1;
        double angle = 0.0;
    };

    ControlPointParameters m_params;
    bool m_lastWasArc = false;
    Segment m_segment;
};

// "x y T a b c" with six decimals for the coordinates and eight for a, b, c.
std::string ControlPointLine(Point2 p, int type, double a, double b, double c);
// "SPLINE -90.0000 3" / "SPLINE 12.5000 0".
std::string ControlBlockLine(double turnAngle, int mark);

} // namespace korvel::geometry
