#pragma once
// An application folder with a drawing opened in an outline session, a
// prepared path and a record of machined pieces, for the tests of what the
// outline view draws and how it answers the mouse.

#include "common/AppDir.h"
#include "common/TextFile.h"
#include "geometry/OutlineFiles.h"
#include "geometry/OutlineSession.h"
#include "geometry/OutlineShapes.h"
#include "geometry/PathFile.h"
#include "program/MarkedPoints.h"
#include "support/TempDir.h"

namespace korvel::test {

class ViewFixture {
public:
    // A 20 mm square (nodes at its corners) and a second square beside it.
    ViewFixture() {
        DisplayFileBuilder b;
        b.outline(Square20());
        b.outline(Polygon({{40, 0}, {60, 0}, {60, 20}, {40, 20}}, 1.0));
        open(b);
    }

    // Opens another drawing, shown 200 mm wide round (10, 10).
    void open(const DisplayFileBuilder& b) {
        b.write(dir);
        common::TruncateFile(dir.file(geometry::kControlFile));
        session.openDrawing();
        session.view().setView({10, 10, 200});
    }

    // Two pieces along the first square's lower and right edges; the first
    // has arc points of radius 3 mm at (5, 0), 8 mm at (10, 0) and 2 mm at
    // (19, 0), next to the corner node (20, 0).
    void writePath() const {
        using geometry::PathRecord;
        const geometry::PathRecords path = {
            PathRecord::blockLine(0, 3),
            PathRecord::point(1, 0, geometry::kPlainPoint),
            PathRecord::point(5, 0, geometry::kContourPoint, 3.0, 0.1),
            PathRecord::point(10, 0, geometry::kContourPoint, 8.0, 0.1),
            PathRecord::point(19, 0, geometry::kContourPoint, 2.0, 0.1),
            PathRecord::point(20, 0, geometry::kPlainPoint),
            PathRecord::blockLine(0, 0),
            PathRecord::blockLine(0, 3),
            PathRecord::point(20, 1, geometry::kPlainPoint),
            PathRecord::point(20, 20, geometry::kPlainPoint),
            PathRecord::blockLine(0, 0),
        };
        geometry::WritePathFile(dir.file(geometry::kPathFile), path);
    }
    void writeMachined() const {
        common::WriteLines(dir.file(geometry::kMachinedFile),
                           {"SPLINE 0.000000 3.0", "40.000000 0.000000 1 0 0 0",
                            "60.000000 0.000000 1 0 0 0", "SPLINE 0.000000 0.0"});
    }

    TempDir tmp;
    common::AppDir dir{tmp.path()};
    geometry::OutlineSession session{dir, {30.0, 0.2}, {0.0, 1.0, 0.0, 10.0}};
    program::MarkedPoints marked;
};

} // namespace korvel::test
