// Letters typed in a font: outer contours and holes as whole-letter
// selection finds them, the letter height on the capital H, the spacing, the
// glyph pieces FreeType hands over, and every bad request refused with the
// folder left as it was.

#include "geometry/TextLetters.h"

#include "common/Message.h"
#include "common/TextFile.h"
#include "geometry/CoreAlgorithm.h"
#include "geometry/FontOutlines.h"
#include "geometry/LetterSelection.h"
#include "geometry/OutlineFiles.h"
#include "geometry/OutlineModel.h"
#include "support/TempDir.h"

#include <cmath>
#include <ft2build.h>
#include FT_OUTLINE_H
#include <gtest/gtest.h>
#include <limits>

namespace korvel::geometry {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

class TextLettersTest : public ::testing::Test {
protected:
    TextLettersTest() : m_app(m_dir.path() / "app") { m_app.create(); }

    TextOpenResult open(const std::string& text, const std::string& font, double height,
                        double spacing = 0.0) {
        return OpenText(m_app, {text, font, height, spacing}, {}, m_core, m_state);
    }
    OutlineModel model() const { return OutlineModel::load(m_app); }

    test::TempDir m_dir;
    common::AppDir m_app;
    CoreAlgorithm m_core;
    DrawingState m_state;
};

TEST_F(TextLettersTest, OuterContoursAndHolesAsTheFontDrawsThem) {
    struct Case {
        const char* text;
        const char* font;
        int outers;
        int holes;
    };
    const Case cases[] = {
        {"O", "DejaVu Sans", 1, 1},
        {"8", "DejaVu Sans", 1, 2},
        {"8", "DejaVu Serif:Bold", 1, 2},
        {"i", "DejaVu Sans", 2, 0},
        // A square in a square: the inner square is an outer contour again.
        {"回", "WenQuanYi Micro Hei", 2, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " in " + c.font);
        const auto opened = open(c.text, c.font, 200.0);
        EXPECT_EQ(opened.summary.outlines, c.outers + c.holes);
        EXPECT_EQ(m_state.format, DrawingFormat::Text);
        const OutlineModel letters = model();
        int outers = 0;
        int holes = 0;
        int outerTurn = 0;
        for (std::size_t i = 0; i < letters.outlines().size(); ++i) {
            const bool hole = IsHole(letters, i);
            (hole ? holes : outers) += 1;
            // Contours keep the font's direction: holes run against the
            // outer contours.
            const int turn = letters.outlines()[i].orientation * (hole ? -1 : 1);
            EXPECT_TRUE(outerTurn == 0 || turn == outerTurn) << "outline " << i;
            outerTurn = turn;
        }
        EXPECT_EQ(outers, c.outers);
        EXPECT_EQ(holes, c.holes);
        EXPECT_EQ(WholeLetterPieces(letters).size(), static_cast<std::size_t>(c.outers + c.holes));
    }
}

TEST_F(TextLettersTest, CapitalHStandsAsHighAsAskedOnTheBaseline) {
    struct Case {
        const char* font;
        double height;
    };
    for (const Case& c : {Case{"DejaVu Sans", 300.0}, Case{"DejaVu Serif:Bold", 12.5},
                          Case{"WenQuanYi Micro Hei", 4000.0}}) {
        SCOPED_TRACE(c.font);
        EXPECT_EQ(open("H", c.font, c.height).measure, HeightMeasure::CapitalH);
        const BoundingBox box = model().box();
        EXPECT_NEAR(box.maxY - box.minY, c.height, c.height * 0.001);
        EXPECT_NEAR(box.minY, 0.0, c.height * 0.001);
    }
}

TEST_F(TextLettersTest, SpacingWidensEveryGapByItsLength) {
    open("IIII", "DejaVu Sans", 100.0);
    const double tight = model().box().width();
    open("IIII", "DejaVu Sans", 100.0, 25.0);
    EXPECT_NEAR(model().box().width() - tight, 3 * 25.0, 0.01);
    open("IIII", "DejaVu Sans", 100.0, -5.0);
    EXPECT_NEAR(model().box().width() - tight, 3 * -5.0, 0.01);
}

TEST_F(TextLettersTest, BadRequestsAreRefusedAndTheFolderStays) {
    open("O", "DejaVu Sans", 100.0);
    common::WriteLines(m_app.file(kMachinedFile), {"machined"});
    const std::string display = common::ReadBytes(m_app.file(kDisplayFile));
    const auto before = m_state.drawing;
    struct Case {
        TextRequest request;
        const char* en; // part of the English message
    };
    const Case cases[] = {
        {{"", "DejaVu Sans", 100, 0}, "Type the text"},
        {{"O", "DejaVu Sanz", 100, 0}, "close installed families: DejaVu Sans"},
        {{"O", "Korvel Imaginary", 100, 0}, "no installed family comes close"},
        {{"O", "DejaVu Sans:Heavy", 100, 0}, "has no style \"Heavy\"; its styles: Book, Bold"},
        {{"O", ":Bold", 100, 0}, "Name a font"},
        {{"OK国", "DejaVu Sans", 100, 0}, "has no character \"国\" (U+56FD); nothing was changed"},
        {{"O", "DejaVu Sans", 0, 0}, "letter height needs a number from 1 to 5000 mm: 0"},
        {{"O", "DejaVu Sans", -5, 0}, "letter height needs a number from 1 to 5000 mm: -5"},
        {{"O", "DejaVu Sans", 1e9, 0}, "letter height needs"},
        {{"O", "DejaVu Sans", kNaN, 0}, "5000 mm: NaN"},
        {{"O", "DejaVu Sans", kInf, 0}, "5000 mm: Inf"},
        {{"O", "DejaVu Sans", 100, kNaN}, "letter spacing needs"},
        {{"O", "DejaVu Sans", 100, -2000}, "letter spacing needs"},
        {{"A\nB", "DejaVu Sans", 100, 0}, "one line"},
        {{"A\xff", "DejaVu Sans", 100, 0}, "not valid UTF-8"},
        {{std::string(101, 'A'), "DejaVu Sans", 100, 0}, "at most 100 characters (it has 101)"},
        {{"   ", "DejaVu Sans", 100, 0}, "No outline found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.en);
        try {
            OpenText(m_app, c.request, {}, m_core, m_state);
            ADD_FAILURE() << "accepted";
        } catch (const common::UserError& e) {
            EXPECT_NE(e.message().en.find(c.en), std::string::npos) << e.message().en;
            EXPECT_FALSE(e.message().zh.empty());
        }
        EXPECT_EQ(common::ReadBytes(m_app.file(kDisplayFile)), display);
        EXPECT_EQ(common::ReadLines(m_app.file(kMachinedFile)), common::Lines{"machined"});
        EXPECT_EQ(m_state.drawing, before);
    }
}

// FreeType's outline pieces by hand: CFF fonts give cubic pieces, TrueType
// fonts quadratic ones with on-curve points implied between two controls.
TEST(FontOutlineContours, PiecesKeepTheirKindOrderAndEnds) {
    using Kind = ContourPiece::Kind;
    constexpr char on = FT_CURVE_TAG_ON;
    constexpr char conic = FT_CURVE_TAG_CONIC;
    constexpr char cubic = FT_CURVE_TAG_CUBIC;
    struct Case {
        const char* name;
        std::vector<FT_Vector> points;
        std::vector<char> tags;
        std::vector<Kind> kinds;
        std::vector<Point2> ends; // scaled by 0.5, moved by (10, 0)
    };
    const Case cases[] = {
        {"cubic",
         {{0, 0}, {100, 0}, {100, 50}, {50, 100}, {0, 100}},
         {on, on, cubic, cubic, on},
         {Kind::Line, Kind::Cubic, Kind::Line},
         {{60, 0}, {10, 50}, {10, 0}}},
        {"implied on-curve point",
         {{0, 0}, {100, 0}, {100, 100}, {0, 100}},
         {on, conic, conic, on},
         {Kind::Quadratic, Kind::Quadratic, Kind::Line},
         {{60, 25}, {10, 50}, {10, 0}}},
        {"closing point repeated",
         {{0, 0}, {20, 0}, {20, 20}, {0, 0}},
         {on, on, on, on},
         {Kind::Line, Kind::Line, Kind::Line},
         {{20, 0}, {20, 10}, {10, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<FT_Vector> points = c.points;
        std::vector<char> tags = c.tags;
        const short last = static_cast<short>(points.size() - 1);
        FT_Outline outline{};
        outline.n_contours = 1;
        outline.n_points = static_cast<short>(points.size());
        outline.points = points.data();
        outline.tags = tags.data();
        outline.contours = const_cast<short*>(&last);
        const auto contours = OutlineContours(outline, 0.5, {10.0, 0.0});
        ASSERT_EQ(contours.size(), 1u);
        EXPECT_TRUE(contours[0].closed);
        const auto& pieces = contours[0].pieces;
        ASSERT_EQ(pieces.size(), c.kinds.size());
        Point2 at{10.0, 0.0};
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_EQ(pieces[i].kind, c.kinds[i]) << i;
            EXPECT_DOUBLE_EQ(pieces[i].start.x, at.x) << i;
            EXPECT_DOUBLE_EQ(pieces[i].start.y, at.y) << i;
            EXPECT_DOUBLE_EQ(pieces[i].end.x, c.ends[i].x) << i;
            EXPECT_DOUBLE_EQ(pieces[i].end.y, c.ends[i].y) << i;
            at = pieces[i].end;
        }
        if (c.kinds[1] == Kind::Cubic) {
            EXPECT_DOUBLE_EQ(pieces[1].c1.y, 25.0);
            EXPECT_DOUBLE_EQ(pieces[1].c2.x, 35.0);
        }
    }
}

} // namespace
} // namespace korvel::geometry
