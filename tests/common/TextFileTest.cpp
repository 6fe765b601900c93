#include "common/TextFile.h"

#include "common/AppDir.h"
#include "common/Encoding.h"
#include "common/Fields.h"
#include "common/Message.h"
#include "support/TempDir.h"

#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <tuple>

using namespace korvel::common;

TEST(SplitLines, AnyLineEndEndsOneLine) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(SplitLines(""), Lines{});
    // A line that itself ends in CR gives an empty line after it: this is
    // how a CR LF drawing copied at LF reads back.
    EXPECT_EQ(SplitLines("0\r\r\nSPLINE\r\r\n"), (Lines{"0", "", "SPLINE", ""}));
    EXPECT_EQ(SplitLines("\n\n"), (Lines{"", ""}));
}

TEST(SplitFields, EveryBlankSeparatesAndTrimTakesBlanksAndTabs) {
    EXPECT_EQ(SplitFields("SPLINE 1"), (std::vector<std::string_view>{"SPLINE", "1"}));
    EXPECT_EQ(SplitFields("SPLINE -3"), (std::vector<std::string_view>{"SPLINE", "-3"}));
    EXPECT_EQ(SplitFields("1  2"), (std::vector<std::string_view>{"1", "", "2"}));
    EXPECT_EQ(SplitFields(" x"), (std::vector<std::string_view>{"", "x"}));
    EXPECT_EQ(SplitFields(""), (std::vector<std::string_view>{""}));
    const auto f = SplitFields("1.000 2.000 Node");
    EXPECT_EQ(FieldAt(f, 2), "Node");
    EXPECT_EQ(FieldAt(f, 3), "");
    EXPECT_EQ(Trim("  10 \t"), "10");
    EXPECT_EQ(TrimLeft("  10 "), "10 ");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(ToUpper("endsec"), "ENDSEC");
}

TEST(TextFile, WritesCrLfAndReadsBack) {
    korvel::test::TempDir tmp;
    const auto f = tmp / "a.dat";
    WriteLines(f, {"SPLINE 1", "1.000 2.000 Node"});
    EXPECT_EQ(ReadBytes(f), "SPLINE 1\r\n1.000 2.000 Node\r\n");
    AppendLines(f, {"SPLINE END"});
    EXPECT_EQ(ReadLines(f), (Lines{"SPLINE 1", "1.000 2.000 Node", "SPLINE END"}));
    TruncateFile(f);
    EXPECT_EQ(ReadBytes(f), "");
}

TEST(TextFile, MissingFileIsAUserErrorNamingIt) {
    korvel::test::TempDir tmp;
    try {
        ReadLines(tmp / "missing.ini");
        FAIL() << "no error";
    } catch (const UserError& e) {
        EXPECT_NE(e.message().en.find("missing.ini"), std::string::npos);
        EXPECT_NE(e.message().zh.find("missing.ini"), std::string::npos);
        EXPECT_EQ(e.message().title(Language::English), "Wrong");
        EXPECT_EQ(e.message().title(Language::Chinese), "错误");
    }
}

TEST(TextFile, AtomicRewriteReplacesLeavesNoTemporaryOrKeepsTheOldFile) {
    korvel::test::TempDir tmp;
    const auto f = tmp / "PointForDisplay.dat";
    WriteLines(f, {"old"});
    RewriteAtomically(f, {"new"}, tmp / "PointForDisplay0.dat");
    EXPECT_EQ(ReadLines(f), Lines{"new"});
    EXPECT_FALSE(std::filesystem::exists(tmp / "PointForDisplay0.dat"));
    // The temporary file cannot be created in a missing folder: the old
    // file stays.
    EXPECT_THROW(RewriteAtomically(f, {"newer"}, tmp / "no" / "such" / "tmp"), UserError);
    EXPECT_EQ(ReadLines(f), Lines{"new"});
}

// Every way of writing the operator's files goes through a complete
// temporary file: a disk that fills up while writing leaves every old file
// as it was and no temporary file behind; several files replaced together
// are all old or all new.
TEST(TextFile, AFullDiskLeavesEveryOldFileAndNoTemporaryOne) {
    korvel::test::TempDir tmp;
    const auto a = tmp / "CtrP.dat";
    const auto b = tmp / "YJG.dat";
    const auto both = [&] {
        FileReplacement replacement;
        replacement.add(a, Lines{"new a"});
        replacement.add(b, Lines{"new b"}, tmp / "PointForDisplay0.dat");
        replacement.commit();
    };
    const std::vector<std::tuple<const char*, std::function<void()>, std::string>> cases = {
        {"WriteLines", [&] { WriteLines(a, {"new"}); }, ""},
        {"TruncateFile", [&] { TruncateFile(a); }, ""},
        {"RewriteAtomically", [&] { RewriteAtomically(a, {"new"}, tmp / "other.tmp"); }, ""},
        {"AppendLinesAtomically", [&] { AppendLinesAtomically(a, {"more"}); }, ""},
        {"first of two", both, a.filename().string()},
        {"second of two", both, "PointForDisplay0.dat"},
    };
    for (const auto& [name, write, fullAt] : cases) {
        SCOPED_TRACE(name);
        WriteLines(a, {"old a"});
        WriteLines(b, {"old b"});
        {
            const SimulatedFullDisk disk([&](const std::filesystem::path& f) {
                return fullAt.empty() || f.filename().string().starts_with(fullAt);
            });
            EXPECT_THROW(write(), UserError);
        }
        EXPECT_EQ(ReadBytes(a), "old a\r\n");
        EXPECT_EQ(ReadBytes(b), "old b\r\n");
        const auto files = std::distance(std::filesystem::directory_iterator(tmp.path()), {});
        EXPECT_EQ(files, 2) << "a temporary file was left behind";
    }
    both();
    EXPECT_EQ(ReadLines(a), Lines{"new a"});
    EXPECT_EQ(ReadLines(b), Lines{"new b"});
}

TEST(Encoding, Gb18030IsReadAsUtf8AndBrokenBytesDoNotStopTheRead) {
    korvel::test::TempDir tmp;
    const std::string utf8 = "两节点间密化点数 10";
    const std::string gb = EncodeGb18030(utf8);
    ASSERT_NE(gb, utf8);
    EXPECT_FALSE(IsValidUtf8(gb));
    EXPECT_TRUE(IsValidUtf8(utf8));
    WriteLines(tmp / "old.ini", {gb});
    EXPECT_EQ(ReadLines(tmp / "old.ini"), Lines{utf8});
    // Broken bytes do not stop the read.
    EXPECT_FALSE(IsValidUtf8("\xE4\xB8"));         // truncated sequence
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong
    const std::string text = DecodeText("ab\x81"); // a lone lead byte
    EXPECT_EQ(text.substr(0, 2), "ab");
    EXPECT_TRUE(IsValidUtf8(text));
}

TEST(AppDir, NamesFilesInsideTheFolder) {
    korvel::test::TempDir tmp;
    const AppDir dir(tmp.path() / "app");
    dir.create();
    EXPECT_TRUE(std::filesystem::is_directory(tmp.path() / "app" / "SysPara"));
    EXPECT_EQ(dir.file("G5.dat"), tmp.path() / "app" / "G5.dat");
    EXPECT_EQ(dir.sysPara("SYS_0.ini"), tmp.path() / "app" / "SysPara" / "SYS_0.ini");
    EXPECT_EQ(dir.language("mainform.txt"), tmp.path() / "app" / "Language" / "mainform.txt");
}
