// The caption loader: which lines of a caption file reach which control.

#include "app/Captions.h"

#include "common/Encoding.h"
#include "common/TextFile.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

using korvel::app::CaptionTable;
using korvel::app::CaptionText;
using korvel::app::LoadCaptions;

namespace {

// Lines 3 and 6 are read and ignored, as a window's line order says.
const CaptionTable kTable = {{1, "title", "主窗口"},
                             {2, "Command_SL", "送  料"},
                             {4, "Check1", "单步步长："},
                             {5, "Tabs#1", "设置"},
                             {7, "Command7", "保存行程"}};

std::vector<std::pair<std::string, std::string>> pairs(const std::vector<CaptionText>& c) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& t : c) {
        out.emplace_back(t.key, t.text);
    }
    return out;
}

void writeRaw(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

} // namespace

TEST(Captions, ChineseUsesTheBuiltInTextsWithoutReadingTheFile) {
    korvel::test::TempDir dir;
    const korvel::common::AppDir app(dir.path());
    writeRaw(app.language("main.txt"), "Main\r\nFeed\r\n");
    EXPECT_EQ(pairs(LoadCaptions(app, "main.txt", kTable, 0)), (Pairs{{"title", "主窗口"},
                                                                      {"Command_SL", "送  料"},
                                                                      {"Check1", "单步步长："},
                                                                      {"Tabs#1", "设置"},
                                                                      {"Command7", "保存行程"}}));
}

TEST(Captions, EnglishTakesWholeLinesAndSkipsTheIgnoredOnes) {
    korvel::test::TempDir dir;
    const korvel::common::AppDir app(dir.path());
    // Blank and note lines sit at the ignored positions 3 and 6; blanks
    // around a caption belong to it.
    writeRaw(app.language("main.txt"),
             "Main window\r\n  Feed  \r\n\r\nSingle step:\r\nSetup\r\n' note\r\nSave strokes\r\n");
    EXPECT_EQ(pairs(LoadCaptions(app, "main.txt", kTable, 1)),
              (Pairs{{"title", "Main window"},
                     {"Command_SL", "  Feed  "},
                     {"Check1", "Single step:"},
                     {"Tabs#1", "Setup"},
                     {"Command7", "Save strokes"}}));
}

TEST(Captions, AShortMissingOrOldFileKeepsWhatItDoesNotReach) {
    korvel::test::TempDir dir;
    const korvel::common::AppDir app(dir.path());
    writeRaw(app.language("short.txt"), "Main\nFeed\n\nStep:");
    EXPECT_EQ(pairs(LoadCaptions(app, "short.txt", kTable, 1)),
              (Pairs{{"title", "Main"}, {"Command_SL", "Feed"}, {"Check1", "Step:"}}));
    EXPECT_TRUE(LoadCaptions(app, "missing.txt", kTable, 1).empty());
    writeRaw(app.language("old.txt"), korvel::common::EncodeGb18030("主\r\n送料\r\n"));
    EXPECT_EQ(pairs(LoadCaptions(app, "old.txt", kTable, 1)),
              (Pairs{{"title", "主"}, {"Command_SL", "送料"}}));
}
