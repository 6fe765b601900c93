// Drawings the import must reject: each ends with its own message in both
// languages, and the display point file of the drawing opened before stays
// as it was. Random damage to real drawings never crashes or hangs.

#include "ImportFixture.h"
#include "common/Message.h"
#include "common/TextFile.h"
#include "geometry/DxfMessages.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <string>

namespace korvel::test {
namespace {

namespace msg = geometry::dxfmsg;
namespace fs = std::filesystem;

const fs::path kBadDir = fs::path(KORVEL_TEST_DATA_DIR) / "dxf" / "bad";

class DxfBadInputTest : public ImportFixture {
protected:
    // Imports a good drawing first, so that there is a file to keep.
    void SetUp() override {
        import(fs::path(KORVEL_EXAMPLES_DIR) / "letterD.dxf");
        m_before = displayBytes();
    }

    common::Message rejection(const fs::path& drawing) {
        try {
            import(drawing);
        } catch (const common::UserError& e) {
            return e.message();
        }
        ADD_FAILURE() << drawing << " was accepted";
        return {};
    }

    std::string m_before;
};

TEST_F(DxfBadInputTest, EveryFileOfTheRejectFolderEndsWithItsMessage) {
    const std::map<std::string, common::Message> expected = {
        {"empty.dxf", msg::emptyFile((kBadDir / "empty.dxf").string())},
        {"no_extmin.dxf", msg::missingExtents("$EXTMIN")},
        {"no_extmax.dxf", msg::missingExtents("$EXTMAX")},
        {"no_210.dxf", msg::missingExtrusion(1)},
        {"no_210_first_of_two.dxf", msg::missingExtrusion(1)},
        {"ends_inside_spline.dxf", msg::endsInsideSpline(1)},
        {"negative_count.dxf", msg::badValue(1, "73", "-4")},
        // A few hundred lines cannot hold 30000 knots.
        {"huge_knot_count.dxf", msg::countTooLarge(1, "72", 30000, 0)},
        {"absurd_point_count.dxf", msg::countTooLarge(1, "73", 1000000000000000LL, 0)},
        {"descending_knots.dxf", msg::badKnots(1)},
        {"counts_mismatch.dxf", msg::countsMismatch(1, 9, 4, 3)},
        {"missing_points.dxf", msg::missingData(1)},
        {"degree_zero.dxf", msg::unsupportedDegree(1, 0, 10)},
        {"huge_coordinate.dxf", msg::badValue(1, "10", "1E300")},
    };
    std::set<std::string> seen;
    for (const auto& entry : fs::directory_iterator(kBadDir)) {
        if (entry.path().extension() != ".dxf") {
            continue;
        }
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        seen.insert(name);
        const common::Message m = rejection(entry.path());
        EXPECT_EQ(m.kind, common::MessageKind::Error);
        EXPECT_FALSE(m.zh.empty());
        const auto it = expected.find(name);
        ASSERT_NE(it, expected.end()) << "no expected message for " << name;
        if (name == "huge_knot_count.dxf" || name == "absurd_point_count.dxf") {
            // The limit depends on the file's length; the rest must match.
            const std::string& en = it->second.en;
            EXPECT_EQ(m.en.substr(0, en.find("(at most")), en.substr(0, en.find("(at most")));
        } else {
            EXPECT_EQ(m.en, it->second.en);
            EXPECT_EQ(m.zh, it->second.zh);
        }
        EXPECT_EQ(displayBytes(), m_before);
    }
    EXPECT_EQ(seen.size(), expected.size());
}

TEST_F(DxfBadInputTest, MissingOrUnreadableFileEndsWithAMessageAndKeepsTheSplinesReadBefore) {
    const common::Message missing = rejection(m_dir.path() / "no such drawing.dxf");
    EXPECT_NE(missing.en.find("no such drawing.dxf"), std::string::npos);
    EXPECT_FALSE(missing.zh.empty());
    // A folder named like a drawing cannot be read either.
    fs::create_directories(m_dir.path() / "folder.dxf");
    const common::Message folder = rejection(m_dir.path() / "folder.dxf");
    EXPECT_FALSE(folder.en.empty());
    EXPECT_EQ(displayBytes(), m_before);
    // A failed import keeps the splines read before.
    rejection(kBadDir / "no_210.dxf");
    EXPECT_EQ(m_core.SplineCount(), 1);
    EXPECT_EQ(m_core.SplineCounts(1, 2), 16);
}

// Truncations and byte flips of the example drawings: every import either
// succeeds or ends with a UserError; anything else (another exception, a
// crash, a hang) fails the test run.
TEST_F(DxfBadInputTest, DamagedDrawingsNeverCrashOrHang) {
    std::mt19937 random(20261205);
    int accepted = 0;
    int rejected = 0;
    for (const char* name : {"ringO.dxf", "letterD.dxf"}) {
        const std::string original = common::ReadBytes(fs::path(KORVEL_EXAMPLES_DIR) / name);
        for (int round = 0; round < 150; ++round) {
            std::string bytes = original;
            if (round % 3 == 0) {
                bytes.resize(random() % bytes.size());
            }
            const int flips = 1 + static_cast<int>(random() % 8);
            for (int f = 0; f < flips && !bytes.empty(); ++f) {
                const char pool[] = "0123456789-.eE \r\n\x00\xff"
                                    "SPLINE";
                bytes[random() % bytes.size()] = pool[random() % (sizeof(pool) - 1)];
            }
            const auto drawing = writeDrawing("fuzz.dxf", bytes);
            try {
                import(drawing);
                ++accepted;
            } catch (const common::UserError& e) {
                EXPECT_FALSE(e.message().en.empty());
                ++rejected;
            }
        }
    }
    // Both outcomes occur, so the damage is neither too weak nor too strong
    // to exercise the reader.
    EXPECT_GT(accepted, 0);
    EXPECT_GT(rejected, 0);
}

} // namespace
} // namespace korvel::test
