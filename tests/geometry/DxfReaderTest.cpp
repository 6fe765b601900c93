// Reading the splines of DXF drawings: line ends, counts that grow, the
// group 70 flag, spelling of names and codes, section ends.

#include "DxfTestText.h"
#include "ImportFixture.h"
#include "common/TextFile.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace korvel::test {
namespace {

using geometry::CoreAlgorithm;

SplineSpec square(double size, int points) {
    SplineSpec s;
    for (int i = 0; i < points; ++i) {
        s.points.emplace_back(size * i, size * i * i / 10.0 + 0.25);
    }
    s.knots = clampedKnots(points);
    return s;
}

class DxfReaderTest : public ImportFixture {};

TEST_F(DxfReaderTest, CrLfAndLfDrawingsGiveTheSameSplinesAndDisplayFile) {
    const std::string crlf = common::ReadBytes(KORVEL_EXAMPLES_DIR "/ringO.dxf");
    ASSERT_NE(crlf.find("\r\n"), std::string::npos);
    std::string lf = crlf;
    lf.erase(std::remove(lf.begin(), lf.end(), '\r'), lf.end());

    import(writeDrawing("crlf.dxf", crlf));
    const auto crlfTemp = common::ReadLines(m_app.file(geometry::kTempFile));
    const auto crlfSplines = m_core.splines();
    const std::string crlfDisplay = displayBytes();

    import(writeDrawing("lf.dxf", lf));
    const auto lfTemp = common::ReadLines(m_app.file(geometry::kTempFile));

    // Temp.dat: a CR LF drawing reads back with an empty line after each
    // line, an LF drawing without any.
    // (The text after the last LF, empty here, is one more line of both.)
    ASSERT_EQ(crlfTemp.size() + 1, 2 * lfTemp.size());
    for (size_t i = 0; i + 1 < lfTemp.size(); ++i) {
        EXPECT_EQ(crlfTemp[2 * i], lfTemp[i]);
        EXPECT_EQ(crlfTemp[2 * i + 1], "");
    }
    EXPECT_EQ(std::count(lfTemp.begin(), lfTemp.end(), ""), 1);

    ASSERT_EQ(m_core.SplineCount(), 2);
    for (int s = 1; s <= 2; ++s) {
        const auto& a = crlfSplines[static_cast<size_t>(s - 1)];
        const auto& b = m_core.splines()[static_cast<size_t>(s - 1)];
        EXPECT_EQ(a.knots, b.knots);
        ASSERT_EQ(a.ctrlPts.size(), b.ctrlPts.size());
        for (size_t k = 0; k < a.ctrlPts.size(); ++k) {
            EXPECT_EQ(a.ctrlPts[k].x, b.ctrlPts[k].x);
            EXPECT_EQ(a.ctrlPts[k].y, b.ctrlPts[k].y);
        }
    }
    EXPECT_EQ(displayBytes(), crlfDisplay);
}

TEST_F(DxfReaderTest, TablesGrowToTheLargestSplineAndKeepEarlierPoints) {
    const SplineSpec seven = square(2.0, 7);
    const SplineSpec twelve = square(3.0, 12);
    importSplines({seven, twelve});

    ASSERT_EQ(m_core.SplineCount(), 2);
    EXPECT_EQ(m_core.maxCtrlPts(), 12);
    EXPECT_EQ(m_core.maxKnots(), 16);
    EXPECT_EQ(m_core.SplineCounts(1, 2), 7);
    EXPECT_EQ(m_core.SplineCounts(1, 1), 11);
    EXPECT_EQ(m_core.SplineCounts(2, 2), 12);
    EXPECT_EQ(m_core.SplineCounts(2, 1), 16);
    for (int k = 1; k <= 7; ++k) {
        EXPECT_EQ(m_core.CtrlPts(1, 1, k), seven.points[static_cast<size_t>(k - 1)].first);
        EXPECT_EQ(m_core.CtrlPts(1, 2, k), seven.points[static_cast<size_t>(k - 1)].second);
    }
    // The first spline's rows beyond its own 7 points are empty.
    EXPECT_EQ(m_core.CtrlPts(1, 1, 12), 0.0);
    EXPECT_EQ(m_core.CtrlPts(2, 2, 12), twelve.points[11].second);
    EXPECT_EQ(m_core.Knots(1, 5), 0.25);
    EXPECT_EQ(m_core.Knots(2, 16), 1.0);
}

TEST_F(DxfReaderTest, NamesInAnyCaseAndCodesWithBlanksAreRecognised) {
    auto lines = drawingLines({square(1.0, 6)});
    for (auto& l : lines) {
        if (l == "SPLINE" || l == "ENDSEC" || l == "$EXTMIN" || l == "$EXTMAX") {
            std::transform(l.begin(), l.end(), l.begin(), ::tolower);
        } else if (l == "10" || l == "20" || l == "40" || l == "72" || l == "73" || l == "210") {
            l = " " + l + "  ";
        }
    }
    const auto summary = import(writeDrawing("d.dxf", joinDxf(lines, "\n")));
    ASSERT_EQ(m_core.SplineCount(), 1);
    EXPECT_EQ(m_core.SplineCounts(1, 2), 6);
    EXPECT_EQ(m_core.CtrlPts(1, 1, 6), 5.0);
    EXPECT_EQ(summary.outlines, 1);
}

TEST_F(DxfReaderTest, SectionEndEndsTheSplineAndTheNextStartsAfresh) {
    // One spline in a BLOCKS section, one in ENTITIES: the first ends at its
    // section's ENDSEC, and the LINE entity after it is not read into it.
    const SplineSpec a = square(1.0, 5);
    const SplineSpec b = square(2.0, 8);
    std::vector<std::string> lines = headerLines();
    lines.insert(lines.end(), {"0", "SECTION", "2", "BLOCKS"});
    const auto la = splineLines(a);
    lines.insert(lines.end(), la.begin(), la.end());
    lines.insert(lines.end(), {"0", "endsec", "0", "SECTION", "2", "ENTITIES"});
    const auto lb = splineLines(b);
    lines.insert(lines.end(), lb.begin(), lb.end());
    lines.insert(lines.end(), {"0", "LINE", "8", "0", "10", "99.5", "20", "98.5", "11", "1.5", "21",
                               "2.5", "0", "ENDSEC", "0", "EOF"});
    import(writeDrawing("d.dxf", joinDxf(lines, "\r\n")));
    ASSERT_EQ(m_core.SplineCount(), 2);
    EXPECT_EQ(m_core.SplineCounts(1, 2), 5);
    EXPECT_EQ(m_core.CtrlPts(1, 1, 5), 4.0);
    EXPECT_EQ(m_core.SplineCounts(2, 2), 8);
    EXPECT_EQ(m_core.CtrlPts(2, 1, 1), 0.0);
    EXPECT_EQ(m_core.CtrlPts(2, 1, 8), 14.0);
    EXPECT_EQ(m_core.CtrlPts(2, 2, 8), b.points[7].second);
}

TEST_F(DxfReaderTest, ExactlyOneEmptyLineIsPassedBeforeAValue) {
    auto lines = drawingLines({square(1.0, 5)});
    // An LF drawing with one empty line between the code 10 of the last
    // point and its value.
    const auto last10 = std::find(lines.rbegin(), lines.rend(), "10");
    lines.insert(last10.base(), "");
    import(writeDrawing("d.dxf", joinDxf(lines, "\n")));
    EXPECT_EQ(m_core.CtrlPts(1, 1, 5), 4.0);

    // With two empty lines the value is the second empty line (0), and the
    // real value is met as a line of its own.
    auto twice = drawingLines({square(1.0, 5)});
    const auto again = std::find(twice.rbegin(), twice.rend(), "10");
    twice.insert(again.base(), {"", ""});
    import(writeDrawing("e.dxf", joinDxf(twice, "\n")));
    EXPECT_EQ(m_core.CtrlPts(1, 1, 5), 0.0);
}

TEST_F(DxfReaderTest, GroupSeventySetsTheFlagAndNoSplinesGiveAnEmptyDisplayFile) {
    SplineSpec plain = square(1.0, 5);
    plain.withFlag = false;
    importSplines({square(1.0, 5), plain}, 10, "\r\n");
    EXPECT_EQ(m_core.SplineFlag(1), 1);
    EXPECT_EQ(m_core.SplineFlag(2), 0);
    const auto summary = importSplines({}, 10, "\r\n");
    EXPECT_EQ(m_core.SplineCount(), 0);
    EXPECT_EQ(summary.outlines, 0);
    EXPECT_EQ(summary.points, 0);
    EXPECT_EQ(displayBytes(), "SPLINE END\r\n");
}

TEST_F(DxfReaderTest, ChineseFileNameAndGb18030TextAreRead) {
    auto lines = drawingLines({square(1.0, 5)});
    // A layer name in the Chinese code page.
    const std::string layer = "\xCE\xC4\xD7\xD6"; // "文字" in GB18030
    std::replace(lines.begin(), lines.end(), std::string("AcDbEntity"), layer);
    const auto summary = import(writeDrawing("字母.dxf", joinDxf(lines, "\r\n")));
    EXPECT_EQ(summary.outlines, 1);
    EXPECT_EQ(m_core.SplineCounts(1, 2), 5);
}

TEST_F(DxfReaderTest, ControlPointClsEmptiesTheSelectionAndPathFiles) {
    common::WriteLines(m_app.file(geometry::kControlFile), {"SPLINE 0.0000 3", "1 2 1 0 0 0"});
    common::WriteLines(m_app.file(geometry::kPathFile), {"SPLINE 0.000000 3.0"});
    CoreAlgorithm::ControlPointCls(m_app);
    EXPECT_EQ(common::ReadBytes(m_app.file(geometry::kControlFile)), "");
    EXPECT_EQ(common::ReadBytes(m_app.file(geometry::kPathFile)), "");
    // Missing files are created empty.
    std::filesystem::remove(m_app.file(geometry::kPathFile));
    CoreAlgorithm::ControlPointCls(m_app);
    EXPECT_TRUE(std::filesystem::exists(m_app.file(geometry::kPathFile)));
}

} // namespace
} // namespace korvel::test
