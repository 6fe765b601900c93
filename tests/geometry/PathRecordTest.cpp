#include "geometry/PathFile.h"

#include <gtest/gtest.h>

using namespace korvel::geometry;

// A block line with an empty angle field (two blanks after the word) takes
// its angle from the next field; a trailer written that way must stay a
// trailer, or the program would toggle a join at the wrong place.
TEST(PathRecord, EmptyAngleFieldShiftsAngleAndMark) {
    const PathRecord trailer = ParsePathRecord("SPLINE  12.500000");
    EXPECT_EQ(trailer.type, kBlockLine);
    EXPECT_EQ(trailer.b, 12.5);
    EXPECT_EQ(trailer.a, 0.0);
    EXPECT_FALSE(trailer.isHeader());
    const PathRecord header = ParsePathRecord("SPLINE  -90.000000 3.0");
    EXPECT_EQ(header.b, -90.0);
    EXPECT_TRUE(header.isHeader());
}
