// Curvature tables, tapping-spacing tables, the group choice file and the
// main window's remembered fields.

#include "machine/TableFiles.h"

#include "common/TextFile.h"
#include "machine/FormText.h"
#include "machine/ParaGroupFile.h"
#include "machine/ParameterTable.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <optional>
#include <tuple>
#include <vector>

namespace korvel::machine {
namespace {

namespace fs = std::filesystem;

// What a table file reads as: the rows, the last index (curvature) or row
// count (spacing) and the message.
struct ReadCurvature {
    CurvatureTable rows{};
    std::int16_t last = -1;
    common::Message message;
};
ReadCurvature readCurvature(const fs::path& file, bool positive = true) {
    ReadCurvature r;
    r.message = ReadCurvatureTable(file, positive, r.rows, r.last);
    return r;
}

struct ReadSpacing {
    TapSpacingTable rows{};
    std::int16_t count = 0;
    common::Message message;
};
ReadSpacing readSpacing(const fs::path& file) {
    ReadSpacing r;
    r.message = ReadTapSpacing(file, r.rows, r.count);
    return r;
}

TEST(CurvatureTable, FiveLinesGiveLastIndexFour) {
    test::TempDir dir;
    common::WriteLines(dir / "P.ini",
                       {"2.60, 1000.00", "3.00, 600.00", "8.00, 100.00", "32.00, 20.00", "62, 10"});
    const auto [rows, last, message] = readCurvature(dir / "P.ini");
    EXPECT_TRUE(message.empty());
    EXPECT_EQ(last, 4);
    EXPECT_EQ(rows[2], (CurvatureRow{8, 100}));
    EXPECT_EQ(rows[4], (CurvatureRow{62, 10}));
    EXPECT_EQ(rows[5], (CurvatureRow{0, 0}));
    const common::Lines lines = CurvatureTableLines(rows, last);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "2.60, 1000.00");
    EXPECT_EQ(lines[4], "62.00, 10.00");
}

TEST(CurvatureTable, AtMost201RowsAreRead) {
    test::TempDir dir;
    common::Lines lines;
    for (int i = 0; i < 230; ++i) {
        lines.push_back(std::to_string(i) + ", " + std::to_string(2000 - i));
    }
    common::WriteLines(dir / "P.ini", lines);
    const auto r = readCurvature(dir / "P.ini");
    EXPECT_EQ(r.last, 200);
    EXPECT_EQ(r.rows[200], (CurvatureRow{200, 1800}));
    EXPECT_NE(r.message.en.find("only the first 201"), std::string::npos) << r.message.en;
}

TEST(CurvatureTable, UnusableFilesGiveTheFactoryTable) {
    test::TempDir dir;
    common::WriteLines(dir / "empty.ini", {});
    common::WriteLines(dir / "text.ini", {"2.60, 1000.00", "abc, 20"});
    CurvatureTable factory;
    const std::int16_t factoryLast = FactoryCurvatureTable(false, factory);
    for (const char* name : {"missing.ini", "empty.ini", "text.ini"}) {
        SCOPED_TRACE(name);
        const auto r = readCurvature(dir / name, false);
        EXPECT_NE(r.message.en.find((dir / name).string()), std::string::npos);
        EXPECT_EQ(r.last, factoryLast);
        EXPECT_EQ(r.rows, factory);
    }
}

TEST(CurvatureTable, FactoryTableFallsWithRadiusAndStaysWithinTheArm) {
    for (bool positive : {true, false}) {
        CurvatureTable rows;
        const std::int16_t last = FactoryCurvatureTable(positive, rows);
        ASSERT_GT(last, 10);
        for (int i = 1; i <= last; ++i) {
            EXPECT_LT(rows[i].radius, rows[i - 1].radius);
            EXPECT_GT(rows[i].angle, rows[i - 1].angle);
        }
        EXPECT_LT(rows[last].angle, FactoryParameterSet().MaxBendAngle);
    }
}

// An empty file gives the four default rows without a message; a missing
// or broken one gives them with a message naming the file; a row of zero
// spacing ends the table.
TEST(TapSpacing, RowsUntilZeroSpacingOrTheDefaultRows) {
    test::TempDir dir;
    const std::vector<TapSpacingRow> defaults{{40, 1}, {100, 2}, {240, 3}, {0, 4}};
    const std::vector<TapSpacingRow> two{{30, 0.5}, {80, 1.5}};
    const std::tuple<const char*, std::optional<common::Lines>, std::vector<TapSpacingRow>, bool>
        cases[] = {
            {"empty", common::Lines{}, defaults, false},
            {"zero", common::Lines{" 30  .5 ", "80,1.5", " 0  0 ", " 500  9 "}, two, false},
            {"missing", std::nullopt, defaults, true},
            {"broken", common::Lines{" 40  1 ", " 100  zwei "}, defaults, true},
        };
    for (const auto& [name, lines, rows, message] : cases) {
        SCOPED_TRACE(name);
        const fs::path file = dir / (std::string(name) + ".ini");
        if (lines) {
            common::WriteLines(file, *lines);
        }
        const auto r = readSpacing(file);
        EXPECT_EQ(std::vector<TapSpacingRow>(r.rows.begin(), r.rows.begin() + r.count), rows);
        EXPECT_EQ(r.message.empty(), !message);
        EXPECT_EQ(r.message.en.find(file.string()) != std::string::npos, message);
    }
    // Written and read back unchanged.
    const auto zero = readSpacing(dir / "zero.ini");
    common::WriteLines(dir / "again.ini", TapSpacingLines(zero.rows, zero.count));
    const auto again = readSpacing(dir / "again.ini");
    EXPECT_EQ(again.count, 2);
    EXPECT_EQ(again.rows, zero.rows);
    const auto empty = readSpacing(dir / "empty.ini");
    EXPECT_EQ(TapSpacingLines(empty.rows, empty.count),
              (common::Lines{" 40  1 ", " 100  2 ", " 240  3 ", " 0  4 "}));
}

TEST(ParaGroup, ReadsGroupsAndNames) {
    test::TempDir dir;
    common::Lines lines{" 3"};
    for (int g = 0; g < 10; ++g) {
        lines.push_back("铝 " + std::to_string(g));
    }
    lines.push_back(" 10");
    for (int g = 0; g < 10; ++g) {
        lines.push_back("曲 " + std::to_string(g));
    }
    common::WriteLines(dir / "ParaGroup.ini", lines);
    ParameterTables tables;
    EXPECT_TRUE(ReadParaGroup(dir / "ParaGroup.ini", tables).empty());
    EXPECT_EQ(tables.ParaGroupNo, 2);
    EXPECT_EQ(tables.CurvGroupNo, 9);
    EXPECT_EQ(tables.ParaGroupNames[4], "铝 4");
    EXPECT_EQ(tables.CurvGroupNames[9], "曲 9");
    EXPECT_EQ(ParaGroupLines(tables), lines);
}

TEST(ParaGroup, BothNumbersZeroGiveTheMachinesNotice) {
    test::TempDir dir;
    common::Lines lines(22, "x");
    lines[0] = " 0";
    lines[11] = " 0";
    common::WriteLines(dir / "ParaGroup.ini", lines);
    ParameterTables tables;
    tables.ParaGroupNo = 5;
    const auto messages = ReadParaGroup(dir / "ParaGroup.ini", tables);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].zh, "qspzhwj缺少参数组配置文件！");
    EXPECT_EQ(messages[0].en, "qspzhwj缺少参数组配置文件！");
    EXPECT_EQ(tables.ParaGroupNo, 0);
    EXPECT_EQ(tables.CurvGroupNo, 0);
}

TEST(ParaGroup, MissingFileOrAbsurdNumbersUseGroupOneAndFactoryNames) {
    test::TempDir dir;
    ParameterTables tables;
    const auto missing = ReadParaGroup(dir / "ParaGroup.ini", tables);
    ASSERT_EQ(missing.size(), 2u);
    EXPECT_NE(missing[0].en.find((dir / "ParaGroup.ini").string()), std::string::npos);
    EXPECT_EQ(tables.ParaGroupNames[9], "参数组10");
    EXPECT_EQ(tables.CurvGroupNames[0], "曲率表1");

    common::WriteLines(dir / "ParaGroup.ini", {" 12", "a", "b"});
    const auto absurd = ReadParaGroup(dir / "ParaGroup.ini", tables);
    ASSERT_EQ(absurd.size(), 1u);
    EXPECT_NE(absurd[0].en.find("parameter group 12 is not within 1 to 10"), std::string::npos);
    EXPECT_NE(absurd[0].en.find("curvature group 0"), std::string::npos);
    EXPECT_EQ(tables.ParaGroupNo, 0);
    EXPECT_EQ(tables.ParaGroupNames[0], "a");
    EXPECT_EQ(tables.ParaGroupNames[2], "参数组3");
}

TEST(FormTextFile, RoundTripsAndRestoresTheOffsetOnlyWhenKept) {
    test::TempDir dir;
    FormText saved;
    saved.Text3 = "75";
    saved.Text6 = "1.5";
    saved.Check2 = 1;
    saved.LanguageFlag = 1;
    saved.Setting1 = 0.25;
    saved.Setting4 = -1;
    saved.Text14 = "3000";
    saved.Check5 = 1;
    WriteFormText(dir / "formtext.ini", saved);
    EXPECT_EQ(common::ReadLines(dir / "formtext.ini").size(), 16u);

    ParameterSet keeps = FactoryParameterSet();
    keeps.SaveContourOffset = 1;
    FormText read;
    ReadFormText(dir / "formtext.ini", keeps, read);
    FormText expected = saved;
    expected.Text6 = "1.50";
    EXPECT_EQ(read, expected);

    FormText notKept;
    ReadFormText(dir / "formtext.ini", FactoryParameterSet(), notKept);
    EXPECT_EQ(notKept.Text6, "0");
    EXPECT_EQ(notKept.LanguageFlag, 1);
}

TEST(FormTextFile, ShortOrMissingFileLeavesTheRestAsItWas) {
    test::TempDir dir;
    common::WriteLines(dir / "formtext.ini", {"30", "12", "150", " 1", " 0", " 2", " 1", " 1"});
    FormText read;
    ReadFormText(dir / "formtext.ini", FactoryParameterSet(), read);
    EXPECT_EQ(read.Text7, "150");
    EXPECT_EQ(read.Check4, 1);
    EXPECT_EQ(read.LanguageFlag, 1);
    EXPECT_EQ(read.Text14, "2500");
    FormText untouched;
    ReadFormText(dir / "nothing.ini", FactoryParameterSet(), untouched);
    EXPECT_EQ(untouched, FormText{});
}

} // namespace
} // namespace korvel::machine
