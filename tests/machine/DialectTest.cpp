#include "machine/Dialect.h"

#include <gtest/gtest.h>
#include <string>

using namespace korvel::machine;

namespace {

TEST(DialectWords, RepeatedLettersAppendTheirValues) {
    const Words header = splitWords("G90 G01");
    EXPECT_EQ(header[Word::G], "9001");
    EXPECT_FALSE(header.has(Word::X));

    const Words move = splitWords("G90 G01 X12.5");
    EXPECT_EQ(move[Word::G], "9001");
    EXPECT_DOUBLE_EQ(move.value(Word::X), 12.5);

    EXPECT_EQ(splitWords("X10 X20")[Word::X], "1020");
}

TEST(DialectWords, LettersInEitherCase) {
    const Words dwell = splitWords("g04 p500");
    EXPECT_EQ(dwell[Word::G], "04");
    EXPECT_EQ(dwell[Word::P], "500");
    // "G4" is not the dwell code: the value text is compared as it stands.
    EXPECT_EQ(splitWords("G4 P500")[Word::G], "4");
    const Words all = splitWords("x1y2z3a4g5m6f7p8");
    const std::string expected[] = {"1", "2", "3", "4", "5", "6", "7", "8"};
    for (int i = 0; i < kWordCount; ++i) {
        EXPECT_EQ(all[static_cast<Word>(i)], expected[i]) << i;
    }
}

TEST(DialectWords, BlankEndsTheWordAndCommentEndsTheLine) {
    // Text after a blank belongs to no word until the next letter.
    EXPECT_EQ(splitWords("X1 2")[Word::X], "1");
    EXPECT_FALSE(splitWords("X 12").has(Word::X));
    const Words marked = splitWords("X120.5 F3000 ;connect pause");
    EXPECT_EQ(marked[Word::X], "120.5");
    EXPECT_EQ(marked[Word::F], "3000");
    EXPECT_FALSE(marked.has(Word::A)); // the 'a' of "pause" is in the comment
    EXPECT_FALSE(marked.has(Word::P));
    EXPECT_FALSE(splitWords("Y1;M16").has(Word::M));
    EXPECT_FALSE(splitWords("   ").has(Word::X));
    EXPECT_FALSE(splitWords("; only a comment X5").has(Word::X));
}

TEST(DialectWords, OtherCharactersBelongToTheValue) {
    const Words odd = splitWords("X1#2 M010 M");
    EXPECT_EQ(odd[Word::X], "1#2");
    EXPECT_DOUBLE_EQ(odd.value(Word::X), 1.0);
    EXPECT_EQ(odd[Word::M], "010");
    EXPECT_EQ(splitWords("X5 Y30 Z5")[Word::Z], "5");
}

TEST(DialectValues, LeadingNumberReading) {
    EXPECT_DOUBLE_EQ(wordValue("12.5"), 12.5);
    EXPECT_DOUBLE_EQ(wordValue("-3"), -3.0);
    EXPECT_DOUBLE_EQ(wordValue("+7"), 7.0);
    EXPECT_DOUBLE_EQ(wordValue(".5"), 0.5);
    EXPECT_DOUBLE_EQ(wordValue("-.25"), -0.25);
    EXPECT_DOUBLE_EQ(wordValue("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(wordValue("7abc"), 7.0);
    EXPECT_DOUBLE_EQ(wordValue("abc"), 0.0);
    EXPECT_DOUBLE_EQ(wordValue(""), 0.0);
    EXPECT_DOUBLE_EQ(wordValue("-"), 0.0);
    EXPECT_DOUBLE_EQ(wordValue("."), 0.0);
    // No exponent and no hexadecimal: a program line cannot ask for an
    // infinite or surprising target.
    EXPECT_DOUBLE_EQ(wordValue("1E400"), 1.0);
    EXPECT_DOUBLE_EQ(wordValue("&H10"), 0.0);
    EXPECT_DOUBLE_EQ(wordValue(" 5"), 0.0);
    EXPECT_DOUBLE_EQ(wordValue(std::string(400, '9')), 0.0);
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
    EXPECT_EQ(findOutputCode("010"), nullptr);
    EXPECT_EQ(findOutputCode("10.0"), nullptr);
    EXPECT_EQ(findOutputCode("30"), nullptr);
    EXPECT_EQ(findOutputCode("100"), nullptr);
    EXPECT_TRUE(isHomingCode("36"));
    EXPECT_TRUE(isHomingCode("44"));
    EXPECT_FALSE(isHomingCode("34"));
    EXPECT_FALSE(isHomingCode("038"));
}

TEST(DialectLines, BuilderFormatsEveryNumber) {
    EXPECT_EQ(LineBuilder().word('X', 12.5, "0.0000").word('F', 3000, "0").str(), "X12.5000 F3000");
    EXPECT_EQ(LineBuilder("G90").word('G', "01").str(), "G90 G01");
    EXPECT_EQ(LineBuilder().word('X', -0.00001, "0.0000").str(), "X0.0000");
    EXPECT_EQ(dwellLine(500), "G04 P500");
    EXPECT_EQ(LineBuilder(dwellLine(3000)).comment("connect pause").str(),
              "G04 P3000 ;connect pause");
    EXPECT_EQ(mLine("16"), "M16");
    // What the builder writes reads back as written.
    const Words back =
        splitWords(LineBuilder().word('X', 7.25, "0.0000").word('Y', -3.5, "0.0000").str());
    EXPECT_DOUBLE_EQ(back.value(Word::X), 7.25);
    EXPECT_DOUBLE_EQ(back.value(Word::Y), -3.5);
}

} // namespace
