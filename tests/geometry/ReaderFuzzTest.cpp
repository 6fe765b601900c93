// Damaged drawings: random truncations and byte flips of the example
// letters. Each reader must either read them or refuse them with a message,
// never crash, hang or run away with memory. Bounded: a fixed number of
// variants per reader with a fixed seed.

#include "common/Message.h"
#include "common/TextFile.h"
#include "geometry/AiReader.h"
#include "geometry/DisplayPasses.h"
#include "geometry/DxfEntities.h"
#include "geometry/DxfOutlines.h"
#include "geometry/NcReader.h"
#include "geometry/PltReader.h"
#include "geometry/SvgReader.h"
#include "geometry/TextLetters.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace korvel::geometry {
namespace {

constexpr int kVariants = 150;

std::string damaged(const std::string& original, std::mt19937& rng) {
    std::string bytes = original;
    std::uniform_int_distribution<int> what(0, 2);
    const int kind = what(rng);
    if (kind != 1 && !bytes.empty()) { // truncate
        bytes.resize(std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(rng));
    }
    if (kind != 0 && !bytes.empty()) { // flip bytes
        const int flips = std::uniform_int_distribution<int>(1, 40)(rng);
        for (int i = 0; i < flips; ++i) {
            const auto at = std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(rng);
            bytes[at] = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
        }
    }
    return bytes;
}

// `readable`: variants at least expected to read. Most damage leaves a
// line-based drawing readable; a fuzz that refuses everything would test
// nothing.
void fuzz(const char* example, const std::function<DisplayDrawing(const std::string&)>& read,
          int readable = kVariants / 4) {
    const std::string original =
        common::ReadBytes(std::filesystem::path(KORVEL_EXAMPLES_DIR) / example);
    std::mt19937 rng(20261205);
    SCOPED_TRACE(example);
    int read_ok = 0;
    for (int i = 0; i < kVariants; ++i) {
        const std::string bytes = damaged(original, rng);
        try {
            const DisplayDrawing d = read(bytes);
            // Whatever was read goes through the cleaning passes as well.
            RemoveDuplicateLines(ThinDisplayPoints(d.lines));
            EXPECT_EQ(d.lines.back(), "SPLINE END");
            ++read_ok;
        } catch (const common::UserError& e) {
            EXPECT_FALSE(e.message().en.empty());
        }
    }
    EXPECT_GT(read_ok, readable);
}

TEST(ReaderFuzz, DamagedExampleLettersAreReadOrRefused) {
    fuzz("letterD.nc", [](const std::string& b) {
        return ReadNc(common::SplitLines(b), {-1.0, 30.0});
    });
    fuzz("letterD.plt", [](const std::string& b) { return ReadPlt(b, {}); });
    fuzz("letterD.ai", [](const std::string& b) { return ReadAi(common::SplitLines(b), {}); });
    // XML damaged anywhere is refused as a whole: few variants get through.
    fuzz(
        "letterD.svg", [](const std::string& b) { return ReadSvg(b, ContourTolerances{}); },
        kVariants / 50);
}

TEST(ReaderFuzz, DamagedTextIsLetteredOrRefused) {
    const std::string original = "Korvel 招牌 8";
    std::mt19937 rng(20261206);
    for (int i = 0; i < kVariants / 5; ++i) {
        const std::string text = damaged(original, rng);
        try {
            const auto letters = MakeTextLetters({text, "WenQuanYi Micro Hei", 100.0, 2.0});
            EXPECT_EQ(TextDrawing(letters, {}, "fuzz").lines.back(), "SPLINE END");
        } catch (const common::UserError& e) {
            EXPECT_FALSE(e.message().en.empty());
        }
    }
}

TEST(ReaderFuzz, DamagedDxfLetterOfLinesAndArcsIsReadOrRefused) {
    fuzz(
        "letterP.dxf",
        [](const std::string& b) {
            return DxfDisplayDrawing(ReadDxfEntities(b, "P"), {}, {}, "P");
        },
        // A DXF cut off inside its entities is refused whole, so most
        // damage is refused.
        kVariants / 50);
}

} // namespace
} // namespace korvel::geometry
