// Whole letters against programs reviewed line by line by hand
// (tests/data/program/<letter>/G5.dat, with the review notes beside them
// in REVIEW.md). Setting KORVEL_WRITE_GOLDEN=1 writes the current output as
// G5.new next to the fixture for a new review; it never replaces G5.dat.

#include "ProgramTestSupport.h"
#include "common/TextFile.h"
#include "program/ProgramGenerator.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace korvel::program {
namespace {

using namespace korvel::program::test;

const std::filesystem::path kData = std::filesystem::path(KORVEL_TEST_DATA_DIR) / "program";

// The golden letters' machine: the plain test machine with a cutter that
// only goes down and up once per slot.
machine::ParameterSet goldenParams() {
    auto p = plainParams();
    p.SlotActionOrder = "D";
    p.TapBendRadiusThreshold = 30; // both circles of the ring are pressed
    return p;
}

void checkLetter(const std::string& name, const RunPanel& panel) {
    const auto dir = kData / name;
    const auto path = geometry::ReadPathFile(dir / "CtrP.dat");
    const auto result = generateJob(goldenParams(), plainTables(), path, panel);
    ASSERT_FALSE(result.refusal.has_value());
    if (std::getenv("KORVEL_WRITE_GOLDEN") != nullptr) {
        common::WriteLines(dir / "G5.new", result.lines);
    }
    const auto expected = common::ReadLines(dir / "G5.dat");
    const size_t n = std::min(expected.size(), result.lines.size());
    for (size_t i = 0; i < n; ++i) {
        ASSERT_EQ(result.lines[i], expected[i]) << name << " line " << i + 1;
    }
    EXPECT_EQ(result.lines.size(), expected.size()) << name;
}

TEST(GoldenLetters, Square20) {
    checkLetter("square20", RunPanel{1, 10, 30});
}

TEST(GoldenLetters, RingOTwoPieces) {
    checkLetter("ringO", RunPanel{1, 10, 0});
}

} // namespace
} // namespace korvel::program
