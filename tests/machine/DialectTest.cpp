#include "machine/Dialect.h"

#include <gtest/gtest.h>
#include <string>

using namespace korvel::machine;

namespace {

// The present words of a line as "X[10] G[9001]", in the order X Y Z A G M F P.
std::string present(const Words& words) {
    std::string text;
    for (int i = 0; i < kWordCount; ++i) {
        if (words.has(static_cast<Word>(i))) {
            text += std::string(text.empty() ? "" : " ") + "XYZAGMFP"[i] + "[" +
                    words[static_cast<Word>(i)] + "]";
        }
    }
    return text;
}

TEST(DialectWords, SplittingRules) {
    // A repeated letter appends ("G90 G01" is G 9001); either case ("G4" is
    // not "04"); a blank ends the word and what follows belongs to no word;
    // ';' ends the line (the 'a' of "pause" is no word); any other character
    // is part of the value.
    const std::pair<const char*, const char*> cases[] = {
        {"G90 G01", "G[9001]"},
        {"G90 G01 X12.5", "X[12.5] G[9001]"},
        {"X10 X20", "X[1020]"},
        {"g04 p500", "G[04] P[500]"},
        {"G4 P500", "G[4] P[500]"},
        {"x1y2z3a4g5m6f7p8", "X[1] Y[2] Z[3] A[4] G[5] M[6] F[7] P[8]"},
        {"X1 2", "X[1]"},
        {"X 12", ""},
        {"X120.5 F3000 ;connect pause", "X[120.5] F[3000]"},
        {"Y1;M16", "Y[1]"},
        {"   ", ""},
        {"; only a comment X5", ""},
        {"X1#2 M010 M", "X[1#2] M[010]"},
        {"X5 Y30 Z5", "X[5] Y[30] Z[5]"},
    };
    for (const auto& [line, words] : cases) {
        EXPECT_EQ(present(splitWords(line)), words) << line;
    }
}

TEST(DialectValues, LeadingNumberReading) {
    // No exponent, no hexadecimal, no leading blank: a program line can never
    // ask for an infinite or surprising target. The value is the nearest
    // double of the decimal text, so that a position lying exactly on half a
    // pulse rounds to even like every pulse count.
    const std::pair<const char*, double> cases[] = {
        {"12.5", 12.5},     {"-3", -3.0},       {"+7", 7.0},          {".5", 0.5},
        {"-.25", -0.25},    {"1.2.3", 1.2},     {"7abc", 7.0},        {"1#2", 1.0},
        {"abc", 0.0},       {"", 0.0},          {"-", 0.0},           {".", 0.0},
        {"1E400", 1.0},     {"&H10", 0.0},      {" 5", 0.0},          {"0.3", 0.3},
        {"0.0025", 0.0025}, {"2.0025", 2.0025}, {"12.3456", 12.3456},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(wordValue(text), value) << text;
    }
    EXPECT_EQ(wordValue("2.0025") * 200, 400.5);
    EXPECT_EQ(wordValue(std::string(400, '9')), 0.0);
}

TEST(DialectCodes, OutputCodesMatchExactly) {
    const OutputCode* clamp = findOutputCode("16");
    ASSERT_NE(clamp, nullptr);
    EXPECT_EQ(clamp->output, 3);
    EXPECT_EQ(clamp->level, 1);
    EXPECT_EQ(clamp->secondOutput, 11);
    // Grippers share the bender outputs.
    EXPECT_EQ(findOutputCode("22")->output, findOutputCode("18")->output);
    EXPECT_EQ(findOutputCode("25")->output, 5);
    EXPECT_EQ(findOutputCode("25")->level, 0);
    for (const char* other : {"010", "10.0", "30", "100", "34", "36"}) {
        EXPECT_EQ(findOutputCode(other), nullptr) << other;
    }
    EXPECT_TRUE(isHomingCode("36"));
    EXPECT_TRUE(isHomingCode("44"));
    EXPECT_FALSE(isHomingCode("34"));
    EXPECT_FALSE(isHomingCode("038"));
}

TEST(DialectLines, BuilderFormatsEveryNumber) {
    EXPECT_EQ(LineBuilder().word('X', 12.5, "0.0000").word('F', 3000, "0").str(), "X12.5000 F3000");
    EXPECT_EQ(LineBuilder("G90").word('G', "01").str(), "G90 G01");
    EXPECT_EQ(LineBuilder().word('X', -0.00001, "0.0000").str(), "X0.0000");
    EXPECT_EQ(LineBuilder(dwellLine(3000)).comment("connect pause").str(),
              "G04 P3000 ;connect pause");
    EXPECT_EQ(mLine("16"), "M16");
    // What the builder writes reads back as written.
    const Words back =
        splitWords(LineBuilder().word('X', 7.25, "0.0000").word('Y', -3.5, "0.0000").str());
    EXPECT_EQ(back.value(Word::X), 7.25);
    EXPECT_EQ(back.value(Word::Y), -3.5);
}

} // namespace
