// The parameter group file: line format, round trips, old files and bad
// files.

#include "machine/GroupFile.h"

#include "common/Basic.h"
#include "common/TextFile.h"
#include "machine/ParameterTable.h"
#include "support/TempDir.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <tuple>

namespace korvel::machine {
namespace {

namespace fs = std::filesystem;
const fs::path kData = fs::path(KORVEL_TEST_DATA_DIR) / "params";

// A set with a different, valid value in every field, so that a field
// mixed up with another one shows.
ParameterSet distinctSet() {
    ParameterSet set = FactoryParameterSet();
    for (const auto& info : ParameterTable()) {
        if (info.type == ParameterType::String) {
            set.SlotActionOrder = "FPDUNDUB";
        } else {
            double v = info.line;
            if (!info.limits.contains(v)) {
                v = info.limits.hi;
            }
            SetNumericValue(set, info, v);
        }
        set.description(info.line) = "说明 " + std::to_string(info.line) + "（单位，mm）";
    }
    set.RunMode = 1;
    return set;
}

TEST(GroupLine, SplitsValueAndDescription) {
    // The slot action order has letters, a comma and blanks before the text;
    // a description keeps its inner blanks and ends at an ASCII comma unless
    // quotes protect it.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {" .5 拍打系数", ".5", "拍打系数"},
        {"-2 X轴回零摆正", "-2", "X轴回零摆正"},
        {"PDUNDU,         开槽动作顺序", "PDUNDU", "开槽动作顺序"},
        {" 3 正向 空程角,旧注释", "3", "正向 空程角"},
        {" 3 \"a,b\"", "3", "a,b"},
        {" 7", "7", ""},
        {"", "", ""},
    };
    for (const auto& [line, value, description] : cases) {
        EXPECT_EQ(SplitGroupLine(line).value, value) << line;
        EXPECT_EQ(SplitGroupLine(line).description, description) << line;
    }
}

TEST(GroupFile, SaveAndReloadKeepsEverythingButRunMode) {
    test::TempDir dir;
    const ParameterSet written = distinctSet();
    WriteGroupFile(dir / "SYS_0.ini", written);
    ParameterSet read;
    EXPECT_TRUE(ReadGroupFile(dir / "SYS_0.ini", read).empty());
    ParameterSet expected = written;
    expected.RunMode = 0;
    EXPECT_EQ(read, expected);
    const common::Lines lines = common::ReadLines(dir / "SYS_0.ini");
    ASSERT_EQ(lines.size(), static_cast<size_t>(kParameterLineCount));
    EXPECT_EQ(lines[17], " 0 说明 18（单位，mm）");
    // The slot action order: letters, a comma and nine blanks.
    EXPECT_EQ(lines[63], "FPDUNDUB,         说明 64（单位，mm）");
}

TEST(GroupFile, NumbersRoundTripExactly) {
    test::TempDir dir;
    ParameterSet set = FactoryParameterSet();
    // Double fields with values across their ranges, with the text each is
    // written as (empty: not checked).
    const std::tuple<int, double, std::string> cases[] = {
        {10, 0.5, " .5 "},
        {11, -2, "-2 "},
        {13, 12.3456789012345, " 12.3456789012345 "},
        {23, 1.5e-7, " 1.5E-07 "},
        {30, -0.0001, "-.0001 "},
        {37, -999.999999999999, "-999.999999999999 "},
        {44, 0.1, ""},
        {52, 166.666666666667, ""},
        {75, -0.5, ""},
        {76, 98.7654321, ""},
    };
    for (const auto& [line, value, text] : cases) {
        SetNumericValue(set, ParameterLine(line), value);
    }
    WriteGroupFile(dir / "SYS_1.ini", set);
    const common::Lines lines = common::ReadLines(dir / "SYS_1.ini");
    ParameterSet read;
    ReadGroupFile(dir / "SYS_1.ini", read);
    for (const auto& [line, value, text] : cases) {
        EXPECT_EQ(lines[line - 1].substr(0, text.size()), text) << "line " << line;
        EXPECT_EQ(NumericValue(read, ParameterLine(line)), value) << "line " << line;
    }
}

TEST(GroupFile, OldSeventyFiveLineFileGetsTheLaterDefaults) {
    ParameterSet set; // all zero, as memory before the first load
    set.ArcCorrPos = 0;
    EXPECT_TRUE(ReadGroupFile(kData / "old75_utf8.ini", set).empty());
    const std::pair<const char*, double> values[] = {
        {"AutoSpeedY", 54000},    {"HomeOffsetX", -1.5},   {"EncoderPulseEquiv", 75.5},
        {"DownStrokeBack", 4.2},  {"EncoderTolerance", 2}, {"ArcJoinAngleThreshold", 0.2},
        {"ZToolSetPosition", 20}, {"SlotDepthCorr", 100},  {"InfeedDistanceLimit", 1},
        {"ArcCorrPos", 0},        {"EncoderPort", 0},      {"CutStroke(4)", 0},
        {"MaxFeedLength", 0},     {"ExtraSlotSpacing", 5}, {"ExtraSlotDepth", 0.3},
        {"InfeedToolSetLock", 0},
    };
    for (const auto& [name, value] : values) {
        EXPECT_EQ(NumericValue(set, *FindParameter(name)), value) << name;
    }
    EXPECT_DOUBLE_EQ(set.PulseEquivX, 166.666666666667);
    EXPECT_EQ(set.description(80), "X轴编码器修正精度，单位：编码器脉冲数");
    EXPECT_EQ(set.description(91), "第五刀距度");
    EXPECT_EQ(set.description(108), "锐角附加开槽间距");
    EXPECT_EQ(set.description(64), "开槽动作顺序（U上 D下）");
    EXPECT_EQ(set.SlotActionOrder, "UDPUD");

    test::TempDir dir;
    WriteGroupFile(dir / "SYS_0.ini", set);
    const common::Lines lines = common::ReadLines(dir / "SYS_0.ini");
    ASSERT_EQ(lines.size(), static_cast<size_t>(kParameterLineCount));
    EXPECT_EQ(lines[79], " 2 X轴编码器修正精度，单位：编码器脉冲数");
    EXPECT_EQ(lines[99], " 100 开槽深度修正");
}

TEST(GroupFile, OptionalLinesKeepTheValuesInMemory) {
    test::TempDir dir;
    common::Lines lines = common::ReadLines(kData / "old75_utf8.ini");
    lines.resize(73);
    common::WriteLines(dir / "SYS_0.ini", lines);
    ParameterSet set;
    set.EncoderPulseEquiv = 77;
    set.DownStrokeBack = 3;
    set.ArcCorrNeg = 0.25; // no default: kept too
    EXPECT_TRUE(ReadGroupFile(dir / "SYS_0.ini", set).empty());
    EXPECT_EQ(set.EncoderPulseEquiv, 77);
    EXPECT_EQ(set.DownStrokeBack, 3);
    EXPECT_EQ(set.ArcCorrNeg, 0.25);
    EXPECT_EQ(set.SlotDepthCorr, 100);
}

// Old machines wrote GB18030; an editor may add a UTF-8 byte-order mark.
TEST(GroupFile, EveryEncodingReadsLikeThePlainUtf8File) {
    test::TempDir dir;
    common::RewriteBytesAtomically(dir / "bom.ini",
                                   "\xEF\xBB\xBF" + common::ReadBytes(kData / "old75_utf8.ini"));
    ParameterSet utf8;
    ASSERT_TRUE(ReadGroupFile(kData / "old75_utf8.ini", utf8).empty());
    EXPECT_EQ(utf8.description(19), "X轴脉冲当量");
    EXPECT_EQ(utf8.description(47), "切刀刀刃角度（度）");
    for (const fs::path& file : {kData / "old75_gb18030.ini", dir / "bom.ini"}) {
        SCOPED_TRACE(file.filename().string());
        ParameterSet other;
        EXPECT_TRUE(ReadGroupFile(file, other).empty());
        EXPECT_EQ(other, utf8);
    }
}

// Each bad file: the line at fault names the file and the field, takes
// the factory value, and the file stays byte for byte as it was.
TEST(GroupFile, BadValuesTakeTheFactoryValueAndLeaveTheFile) {
    struct Case {
        const char* file;
        int line;
    };
    const Case cases[] = {{"nonnumeric_line19.ini", 19},
                          {"densify0_line17.ini", 17},
                          {"negative_pulse_line26.ini", 26},
                          {"int16_overflow_line20.ini", 20},
                          {"bad_action_order_line64.ini", 64}};
    const ParameterSet factory = FactoryParameterSet();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const fs::path file = kData / "bad" / c.file;
        const std::string before = common::ReadBytes(file);
        ParameterSet set;
        const common::Message m = ReadGroupFile(file, set);
        ASSERT_FALSE(m.empty());
        EXPECT_EQ(m.kind, common::MessageKind::Error);
        const std::string name(ParameterLine(c.line).name);
        EXPECT_NE(m.en.find(file.string()), std::string::npos);
        EXPECT_NE(m.en.find("line " + std::to_string(c.line) + " (" + name + ")"),
                  std::string::npos)
            << m.en;
        EXPECT_NE(m.zh.find("第 " + std::to_string(c.line) + " 行"), std::string::npos);
        if (c.line == 64) {
            EXPECT_EQ(set.SlotActionOrder, factory.SlotActionOrder);
        } else {
            EXPECT_EQ(NumericValue(set, ParameterLine(c.line)), ParameterLine(c.line).factory);
        }
        // The description of the faulty line is still the file's own.
        EXPECT_EQ(set.description(c.line), factory.description(c.line));
        EXPECT_EQ(common::ReadBytes(file), before);
    }
}

TEST(GroupFile, ShortFileTakesFactoryValuesForTheMissingLines) {
    const fs::path file = kData / "bad" / "short60.ini";
    ParameterSet set;
    const common::Message m = ReadGroupFile(file, set);
    ASSERT_FALSE(m.empty());
    EXPECT_NE(m.en.find("ends after line 60; lines 61 to 73"), std::string::npos) << m.en;
    EXPECT_NE(m.en.find(file.string()), std::string::npos);
    const ParameterSet factory = FactoryParameterSet();
    EXPECT_EQ(set.CutOffStroke, factory.CutOffStroke); // line 63, missing
    EXPECT_EQ(set.BenderType, factory.BenderType);     // line 68, missing
    EXPECT_EQ(set.description(68), factory.description(68));
    EXPECT_EQ(set.SlotActionOrder, factory.SlotActionOrder);
    EXPECT_EQ(set.SlotDepthCorr, 100); // later default
}

TEST(GroupFile, UnreadableFilesGiveTheFactorySet) {
    test::TempDir dir;
    fs::create_directories(dir / "adir.ini");
    {
        std::ofstream big(dir / "big.ini", std::ios::binary);
        big << std::string(2 << 20, '7');
    }
    for (const char* name : {"missing.ini", "adir.ini", "big.ini"}) {
        SCOPED_TRACE(name);
        ParameterSet set = distinctSet();
        const common::Message m = ReadGroupFile(dir / name, set);
        ASSERT_FALSE(m.empty());
        EXPECT_NE(m.en.find((dir / name).string()), std::string::npos);
        EXPECT_NE(m.en.find("factory parameters"), std::string::npos);
        EXPECT_EQ(set, FactoryParameterSet());
    }
}

TEST(GroupFile, GripperFeedWithoutStrokeIsRefused) {
    test::TempDir dir;
    ParameterSet set = FactoryParameterSet();
    set.FeedType = 1;
    set.GripperStroke = 0;
    WriteGroupFile(dir / "SYS_0.ini", set);
    ParameterSet read;
    const common::Message m = ReadGroupFile(dir / "SYS_0.ini", read);
    EXPECT_FALSE(m.empty());
    EXPECT_EQ(read.FeedType, 1);
    EXPECT_EQ(read.GripperStroke, FactoryParameterSet().GripperStroke);
}

// The table drives reading and writing: a slip in it would shift or lose
// values silently.
TEST(ParameterTableCheck, NamesFactoryValuesAndDescriptionsAreUsable) {
    std::set<std::string_view> names;
    for (const auto& info : ParameterTable()) {
        SCOPED_TRACE(info.name);
        EXPECT_TRUE(names.insert(info.name).second);
        EXPECT_EQ(FindParameter(info.name), &info);
        if (info.type != ParameterType::String) {
            EXPECT_EQ(CheckValue(info, info.factory), ValueProblem::None);
            if (info.ifMissing) {
                EXPECT_GE(info.line, 76);
            }
        }
        // Only the 16-bit fields may lean on their type for a range: any
        // other field without finite bounds lets "1e308" into the machine.
        if (info.type == ParameterType::Double || info.type == ParameterType::Int32) {
            EXPECT_TRUE(std::isfinite(info.limits.lo) && std::isfinite(info.limits.hi));
        }
        // An ASCII comma would cut the description when it is read back.
        EXPECT_EQ(info.description.find(','), std::string_view::npos);
        EXPECT_FALSE(info.description.empty());
    }
    EXPECT_EQ(FindParameter("CutStroke(4)"), &ParameterLine(91));
    EXPECT_EQ(FindParameter("NoSuchThing"), nullptr);
    EXPECT_EQ(ParameterLine(32).type, ParameterType::Int32);
}

TEST(ParameterTableCheck, NumbersAreParsedStrictly) {
    EXPECT_EQ(ParseNumber("-.5"), -0.5);
    EXPECT_EQ(ParseNumber("1.5E-07"), 1.5e-7);
    EXPECT_EQ(ParseNumber("1D+3"), 1000);
    for (const char* bad : {"12abc", "", "-", "1E", "1E999"}) {
        EXPECT_FALSE(ParseNumber(bad)) << bad;
    }
    const std::tuple<int, double, ValueProblem> checks[] = {
        {17, 0, ValueProblem::OutOfLimits}, {20, 40000, ValueProblem::OutOfType},
        {32, 40000, ValueProblem::None},    {47, 180, ValueProblem::None},
        {47, 0, ValueProblem::OutOfLimits}, {76, 1e308, ValueProblem::OutOfLimits},
        {76, -100, ValueProblem::None},     {19, 1e7, ValueProblem::OutOfLimits},
    };
    for (const auto& [line, value, problem] : checks) {
        EXPECT_EQ(CheckValue(ParameterLine(line), value), problem) << line << " = " << value;
    }
}

} // namespace
} // namespace korvel::machine
