// The SVG reader: the path language in all its compact spellings, arcs from
// their end points, transforms that keep arcs exact, page units and the
// viewBox, and the drawings it must refuse with a message.

#include "geometry/SvgReader.h"

#include "common/Message.h"
#include "geometry/SvgPathData.h"
#include "geometry/SvgTransform.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvel::geometry {
namespace {

constexpr double kEps = 1e-9;

void expectNear(Point2 a, Point2 b, double tol = kEps) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
}

// Two readings give the same outlines when every piece has the same kind
// and passes through the same points.
void expectSameOutlines(const std::vector<Contour>& a, const std::vector<Contour>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].closed, b[i].closed);
        ASSERT_EQ(a[i].pieces.size(), b[i].pieces.size());
        for (std::size_t j = 0; j < a[i].pieces.size(); ++j) {
            EXPECT_EQ(a[i].pieces[j].kind, b[i].pieces[j].kind);
            for (const double t : {0.0, 0.3, 0.5, 1.0}) {
                expectNear(a[i].pieces[j].at(t), b[i].pieces[j].at(t));
            }
        }
    }
}

TEST(SvgPathData, CompactSpellingsReadLikeTheirLongForms) {
    struct Case {
        const char* compact;
        const char* spelled;
    };
    const Case cases[] = {
        {"m10 20 l20 20 h-5 v-10 z", "M 10 20 L 30 40 L 25 40 L 25 30 Z"},
        {"M0 0 10 0 10 10", "M 0 0 L 10 0 L 10 10"},
        {"M0,0L1.5.5", "M 0 0 L 1.5 0.5"},
        {"M0-1e1L1e-3 2E+1", "M 0 -10 L 0.001 20"},
        {"M0 0a5 5 0 0110 10", "M 0 0 A 5 5 0 0 1 10 10"},
        {"M0 0a5,5,0,1,0,10,0 5 5 0 1 0 -10 0", "M0 0 A 5 5 0 1 0 10 0 A 5 5 0 1 0 0 0"},
        {"M0 0 C 0 10 10 10 10 0 S 20 -10 20 0", "M0 0 C0 10 10 10 10 0 C 10 -10 20 -10 20 0"},
        {"M0 0 Q 5 10 10 0 T 20 0", "M0 0 Q 5 10 10 0 Q 15 -10 20 0"},
        // A smooth curve after another family starts at its own point.
        {"M0 0 Q 5 10 10 0 S 20 10 20 0", "M0 0 Q 5 10 10 0 C 10 0 20 10 20 0"},
        {"M0 0 L 10 0 L 10 10 z l 5 5 10 0", "M0 0 L 10 0 L 10 10 Z M 0 0 L 5 5 L 15 5"},
        // A zero radius draws the straight line.
        {"M0 0 A 0 5 0 0 1 10 0", "M 0 0 L 10 0"},
        {"M 1 1 m 2 2 l 1 0", "M 3 3 L 4 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.compact);
        const SvgPathData compact = ParseSvgPathData(c.compact);
        const SvgPathData spelled = ParseSvgPathData(c.spelled);
        EXPECT_FALSE(compact.errorAt.has_value());
        EXPECT_FALSE(spelled.errorAt.has_value());
        expectSameOutlines(compact.contours, spelled.contours);
    }
    EXPECT_EQ(ParseSvgPathData("M0 0 A 0 5 0 0 1 10 0 a 5 0 0 0 1 3 3").zeroRadiusArcs, 2);
}

TEST(SvgPathData, UnreadableDataStopsWhereItGoesWrong) {
    struct Case {
        const char* d;
        std::size_t at;
    };
    const Case cases[] = {
        {"L 10 10", 0},         {"M 0 0 L 10", 10},
        {"M 0 0 X 1 2", 6},     {"M 0 0 A 1 1 0 2 0 5 5", 14},
        {"M 0 0 L 1e999 3", 8}, {"M 0 0 L inf 3", 8},
        {"M 0 0 z 5 5", 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.d);
        const SvgPathData data = ParseSvgPathData(c.d);
        ASSERT_TRUE(data.errorAt.has_value());
        EXPECT_EQ(*data.errorAt, c.at);
    }
}

// An arc must pass through both of its ends, turn the way the sweep flag
// says and take the long or short way as the large-arc flag says; radii too
// small to reach are scaled up until the ends are a diameter apart.
TEST(SvgArc, CentreFromEndPointsMeetsBothEndsWithEveryFlag) {
    struct Case {
        double rx, ry, rotation;
        Point2 to;
    };
    const Case cases[] = {
        {10, 10, 0, {10, 10}}, {20, 10, 30, {15, -5}}, {3, 3, 0, {20, 0}}, {5, 1, 90, {0, 30}}};
    for (const auto& c : cases) {
        for (const bool large : {false, true}) {
            for (const bool sweep : {false, true}) {
                SCOPED_TRACE(testing::Message() << c.rx << " " << c.ry << " " << c.rotation
                                                << " large " << large << " sweep " << sweep);
                const Point2 from{0.0, 0.0};
                const auto arc = SvgArc(from, c.rx, c.ry, c.rotation, large, sweep, c.to);
                ASSERT_TRUE(arc.has_value());
                const double tol = 1e-9 * (1.0 + std::hypot(c.to.x, c.to.y));
                // at() works from the centre and the angles: both ends meet.
                expectNear(arc->at(0.0), from, tol);
                expectNear(arc->at(1.0), c.to, tol);
                EXPECT_EQ(arc->sweep > 0.0, sweep);
                const bool scaledUp = arc->rx > c.rx + 1e-12;
                EXPECT_EQ(std::fabs(arc->sweep) > kPi + 1e-9, large && !scaledUp);
                if (scaledUp) {
                    EXPECT_NEAR(std::fabs(arc->sweep), kPi, 1e-6);
                    EXPECT_NEAR(arc->rx / arc->ry, c.rx / c.ry, 1e-9);
                }
            }
        }
    }
    EXPECT_FALSE(SvgArc({0, 0}, 0.0, 5.0, 0.0, false, true, {1, 1}).has_value());
    EXPECT_FALSE(SvgArc({1, 1}, 5.0, 5.0, 0.0, false, true, {1, 1}).has_value());
}

TEST(SvgTransform, ListsCombineLeftToRight) {
    struct Case {
        const char* text;
        Point2 in;
        Point2 out;
    };
    const Case cases[] = {
        {"translate(5) scale(2)", {1, 1}, {7, 2}},
        {"rotate(90 10 0)", {20, 0}, {10, 10}},
        {"skewX(45)", {0, 1}, {1, 1}},
        {"skewY(45)", {1, 0}, {1, 1}},
        {"matrix(1,2,3,4,5,6)", {1, 1}, {9, 12}},
        {" scale( 2 , 3 ) , translate(1,1)", {0, 0}, {2, 3}},
        {"translate(10 0)rotate(-90)", {1, 0}, {10, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto m = ParseSvgTransform(c.text);
        ASSERT_TRUE(m.has_value());
        expectNear(m->apply(c.in), c.out, 1e-12);
    }
    for (const char* bad : {"rotate(1 2)", "scale()", "turn(1)", "translate(1 2 3)",
                            "matrix(1,2,3)", "translate(1e400)", "scale(2", "scale 2"}) {
        EXPECT_FALSE(ParseSvgTransform(bad).has_value()) << bad;
    }
}

// Whatever the map, the mapped arc is the image of the arc point for point:
// stretched circles become ellipses, mirrored arcs run the other way.
TEST(SvgTransform, ArcsStayExactUnderEveryMap) {
    const ContourPiece arc = *SvgArc({10, 0}, 10, 6, 20, true, true, {-3, 4});
    const Affine maps[] = {
        Affine::rotate(33),
        Affine::scale(3, 0.5),
        Affine::scale(1, -1) * Affine::translate(4, 5),
        *ParseSvgTransform("skewX(40) rotate(10) scale(2 -0.7)"),
        *ParseSvgTransform("matrix(0.2 1.3 -0.9 0.4 7 -8)"),
    };
    for (const Affine& m : maps) {
        const ContourPiece mapped = Transformed(arc, m);
        for (const double t : {0.0, 0.1, 0.35, 0.5, 0.8, 1.0}) {
            SCOPED_TRACE(t);
            expectNear(mapped.at(t), m.apply(arc.at(t)), 1e-9);
        }
    }
}

struct Box {
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
};

Box boundsOf(const std::vector<Contour>& contours) {
    Box b;
    for (const auto& c : contours) {
        for (const auto& p : c.pieces) {
            for (const Point2 q : {p.start, p.end}) {
                b.x0 = std::min(b.x0, q.x);
                b.y0 = std::min(b.y0, q.y);
                b.x1 = std::max(b.x1, q.x);
                b.y1 = std::max(b.y1, q.y);
            }
        }
    }
    return b;
}

// The rectangle x 10..40, y 20..60 of the drawing's own units lands on the
// page at its true size and upright: x0 + 10 kx .. x0 + 40 kx across and
// H - (y0 + 60 ky) .. H - (y0 + 20 ky) up, where kx, ky are mm per unit, H
// the page height and x0, y0 where the viewBox's origin sits on the page.
TEST(SvgReader, PageSizeAndViewBoxGiveTheTrueSizeUpright) {
    constexpr double px = 25.4 / 96.0;
    struct Case {
        const char* svg;
        double kx, ky, height, x0, y0;
    };
    const Case cases[] = {
        {R"(width="100mm" height="80mm" viewBox="0 0 100 80")", 1, 1, 80, 0, 0},
        {R"(width="10cm" height="8cm" viewBox="0 0 1000 800")", 0.1, 0.1, 80, 0, 0},
        {R"(width="2in" height="1in")", px, px, 25.4, 0, 0},
        {R"(width="144pt" height="72pt" viewBox="0 0 144 72")", 25.4 / 72, 25.4 / 72, 25.4, 0, 0},
        {R"(width="12pc" height="6pc" viewBox="0 0 2 1")", 25.4, 25.4, 25.4, 0, 0},
        {R"(width="96" height="48px")", px, px, 12.7, 0, 0},
        {R"(viewBox="0 0 200 100")", px, px, 100 * px, 0, 0},
        {R"(width="200mm" viewBox="0 0 100 50")", 2, 2, 100, 0, 0},
        {R"(width="100mm" height="80mm" viewBox="-10 -20 100 80")", 1, 1, 80, 10, 20},
        // Centred and whole by default; slice fills and cuts; none stretches.
        {R"(width="100mm" height="100mm" viewBox="0 0 50 100")", 1, 1, 100, 25, 0},
        {R"(width="100mm" height="100mm" viewBox="0 0 50 100" preserveAspectRatio="xMinYMax slice")",
         2, 2, 100, 0, -100},
        {R"(width="100mm" height="100mm" viewBox="0 0 50 100" preserveAspectRatio="none")", 2, 1,
         100, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.svg);
        const std::string text = std::string("<svg xmlns=\"http://www.w3.org/2000/svg\" ") + c.svg +
                                 R"(><rect x="10" y="20" width="30" height="40"/></svg>)";
        const Box b = boundsOf(ParseSvg(text, "t.svg").contours);
        const double tol = 1e-9;
        EXPECT_NEAR(b.x0, c.x0 * 1 + 10 * c.kx, tol);
        EXPECT_NEAR(b.x1, c.x0 + 40 * c.kx, tol);
        EXPECT_NEAR(b.y0, c.height - (c.y0 + 60 * c.ky), tol);
        EXPECT_NEAR(b.y1, c.height - (c.y0 + 20 * c.ky), tol);
    }
}

// Templates, hidden parts and other vocabularies draw nothing; text, clones
// and pictures are counted by kind in the order met.
TEST(SvgReader, OnlyVisibleShapesAreOutlinesAndTheRestIsCounted) {
    const char* text = R"(<?xml version="1.0"?>
<svg:svg xmlns:svg="http://www.w3.org/2000/svg" xmlns:sodipodi="x" width="100mm" height="100mm"
    viewBox="0 0 100 100">
  <sodipodi:namedview><svg:rect width="5" height="5"/></sodipodi:namedview>
  <svg:defs><svg:path id="p" d="M0 0 L 10 10"/></svg:defs>
  <svg:symbol id="s"><svg:circle r="4"/></svg:symbol>
  <svg:text x="1" y="2">A<svg:tspan>B</svg:tspan></svg:text>
  <svg:use href="#p"/>
  <svg:g display="none"><svg:rect width="5" height="5"/></svg:g>
  <svg:g style="fill:red; display : none"><svg:rect width="5" height="5"/></svg:g>
  <svg:image href="a.png" width="5" height="5"/>
  <svg:g><svg:g><svg:use href="#s"/><svg:circle cx="50" cy="50" r="10"/></svg:g></svg:g>
  <svg:polyline points="0,0 10,0 10,10"/>
  <svg:path d="M 0 0 L 10 0 L 10 10 L 0 0"/>
</svg:svg>)";
    const SvgDrawing d = ParseSvg(text, "t.svg");
    ASSERT_EQ(d.contours.size(), 3u);
    EXPECT_TRUE(d.contours[0].closed);
    EXPECT_FALSE(d.contours[1].closed);
    // Ends that meet close the outline without a "z".
    EXPECT_TRUE(d.contours[2].closed);
    ASSERT_EQ(d.skipped.size(), 3u);
    EXPECT_EQ(d.skipped[0].kind, "text");
    EXPECT_EQ(d.skipped[0].count, 1);
    EXPECT_EQ(d.skipped[1].kind, "use");
    EXPECT_EQ(d.skipped[1].count, 2);
    EXPECT_EQ(d.skipped[2].kind, "image");
}

std::string nested(int depth) {
    std::string text = "<svg>";
    for (int i = 0; i < depth; ++i) {
        text += "<g>";
    }
    text += R"(<rect width="5" height="5"/>)";
    for (int i = 0; i < depth; ++i) {
        text += "</g>";
    }
    return text + "</svg>";
}

TEST(SvgReader, BrokenDrawingsAreRefusedWithTheirReason) {
    struct Case {
        std::string svg;
        const char* en;
    };
    const Case cases[] = {
        {R"(<svg><path d="M0 0 L 1 1"></svg>)",
         "not valid SVG/XML (line 1, byte 28: Start-end tags mismatch)"},
        {"", "not valid SVG/XML"},
        {"<html><body/></html>", "not an SVG drawing (its root element is <html>)"},
        {R"(<svg><text>A</text><use/></svg>)", "no shape to bend (path, rect, circle, ellipse, "
                                               "line, polyline, polygon), only 1 text, 1 use; "
                                               "convert text and clones to paths"},
        {"<svg>\n</svg>", "no shape to bend"},
        {nested(10000), "Groups are nested more than 500 levels deep on line 1"},
        {R"x(<svg><g transform="scale(1 0)"><rect width="5" height="5"/></g></svg>)x",
         "The transform of <rect> on line 1 squeezes the drawing onto a line"},
        {R"x(<svg><g transform="matrix(1 2 2 4 0 0)"><circle id="c" r="5"/></g></svg>)x",
         "The transform of <circle id=\"c\"> on line 1 squeezes"},
        {"<svg>\n<path transform=\"rotate(\" d=\"M0 0 L 1 1\"/></svg>",
         "Unreadable transform value of <path> on line 2: \"rotate(\""},
        {R"(<svg><path d="M 0 0 L 5"/></svg>)", "Unreadable d value at character 10 of <path>"},
        {R"(<svg><circle r="-1"/></svg>)", "Unreadable r value of <circle>"},
        {R"(<svg><rect width="5" height="5" ry="-2"/></svg>)", "Unreadable ry value of <rect>"},
        {R"(<svg><polygon points="1 2 3"/></svg>)", "Unreadable points value at character 6"},
        {R"(<svg viewBox="0 0 0 10"><rect width="5" height="5"/></svg>)",
         "Unreadable viewBox value of <svg>"},
        {R"(<svg width="abc"><rect width="5" height="5"/></svg>)", "Unreadable width value"},
        {R"(<svg width="-5mm"><rect width="5" height="5"/></svg>)", "Unreadable width value"},
        {R"(<svg preserveAspectRatio="xMidYMid cut"><rect width="5" height="5"/></svg>)",
         "Unreadable preserveAspectRatio value"},
        {R"x(<svg><rect width="5" height="5" transform="scale(1e300)"/></svg>)x",
         "Coordinate out of range"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.svg.substr(0, 120));
        try {
            ParseSvg(c.svg, "bad.svg");
            ADD_FAILURE() << "read";
        } catch (const common::UserError& e) {
            EXPECT_NE(e.message().en.find(c.en), std::string::npos) << e.message().en;
            EXPECT_NE(e.message().en.find("bad.svg"), std::string::npos);
            EXPECT_NE(e.message().zh.find("bad.svg"), std::string::npos);
            EXPECT_NE(e.message().zh, e.message().en);
        }
    }
    // Deep nesting that stays within the limit reads, without recursion.
    EXPECT_EQ(ParseSvg(nested(kMaxSvgNesting - 1), "deep.svg").contours.size(), 1u);
}

} // namespace
} // namespace korvel::geometry
