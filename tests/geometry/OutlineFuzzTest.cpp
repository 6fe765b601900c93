// Damaged display point files (truncated, bytes flipped, absurd numbers)
// must give a model or a message, and whatever model comes out must select,
// classify and prepare without crashing or hanging.

#include "DxfTestText.h"
#include "OutlineShapes.h"
#include "common/Message.h"
#include "common/TextFile.h"
#include "geometry/ControlPointWriter.h"
#include "geometry/LetterSelection.h"
#include "geometry/OutlineModel.h"
#include "geometry/PathFile.h"
#include "geometry/PathPreparation.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace korvel::geometry {
namespace {

// Runs the whole outline stage on a model; returns the records written.
std::size_t selectAndPrepare(const OutlineModel& model) {
    ControlPointWriter writer({5.0, 0.2});
    common::Lines control;
    for (const auto& pick : WholeLetterPieces(model)) {
        const int k = model.rangeOfNode(pick.startNode).orientation * (pick.shift ? 2 : -3);
        const auto block = writer.pieceLines(model, pick.startNode, pick.endNode, k, {});
        control.insert(control.end(), block.begin(), block.end());
    }
    const PathRecords path =
        PreparePathRecords(ParsePathLines(control, "fuzz"), {1.0, 1.0, 0.5, 10.0});
    return FormatPathLines(path).size();
}

TEST(OutlineFuzz, DamagedDisplayFilesNeverCrashTheSelection) {
    test::DisplayFileBuilder b = test::RingO();
    b.outline(test::Square20());
    const std::string original = test::joinDxf(b.lines(), "\r\n");
    std::mt19937 rng(20261205);
    const std::string noise = " -.0123456789eENodeSPLINE\r\n\t&H";
    int built = 0;
    for (int round = 0; round < 300; ++round) {
        std::string text = original;
        const int flips = 1 + static_cast<int>(rng() % 40);
        for (int f = 0; f < flips; ++f) {
            text[rng() % text.size()] = noise[rng() % noise.size()];
        }
        if (round % 3 == 0) {
            text.resize(rng() % text.size());
        }
        if (round % 7 == 0) {
            text.insert(rng() % (text.size() + 1), "\r\n1E999 -1E999 Node\r\n");
        }
        try {
            const OutlineModel model = OutlineModel::fromLines(common::SplitLines(text), "fuzz");
            selectAndPrepare(model);
            ++built;
        } catch (const common::UserError& e) {
            EXPECT_FALSE(e.message().en.empty());
            EXPECT_FALSE(e.message().zh.empty());
        }
    }
    // A flipped byte often makes an exponent ("12e34"): such a coordinate is
    // refused with its line; most damaged files still give a letter.
    EXPECT_GT(built, 100);
}

} // namespace
} // namespace korvel::geometry
