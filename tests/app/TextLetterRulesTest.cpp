// The text dialog's rules without the dialog: the fields as typed become a
// request or the message that keeps OK off, the preview stands as high as
// asked, and the dialog starts on the CJK font when it is installed.

#include "app/TextLetterRules.h"

#include <gtest/gtest.h>

namespace korvel::app {
namespace {

TEST(TextLetterRules, FieldsGiveLettersOrTheReasonWhyNot) {
    struct Case {
        TextFields fields;
        const char* problem; // part of the English message; empty: letters
    };
    const Case cases[] = {
        {{"Ab", "DejaVu Sans", "Bold", "120", ""}, ""},
        {{"招牌", "WenQuanYi Micro Hei", "Regular", " 300 ", "-5"}, ""},
        {{"", "DejaVu Sans", "", "120", "0"}, "Type the text"},
        {{"  ", "DejaVu Sans", "", "120", "0"}, "no strokes"},
        {{"A", "DejaVu Sans", "", "", "0"}, "letter height needs a number from 1 to 5000 mm: "},
        {{"A", "DejaVu Sans", "", "12x", "0"},
         "letter height needs a number from 1 to 5000 mm: 12x"},
        {{"A", "DejaVu Sans", "", "0.5", "0"}, "letter height needs"},
        {{"A", "DejaVu Sans", "", "100", "wide"}, "letter spacing needs a number"},
        {{"A", "DejaVu Sans", "Heavy", "100", ""}, "has no style \"Heavy\""},
        {{"国", "DejaVu Sans", "", "100", ""}, "has no character \"国\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fields.text + " / " + c.fields.height + " / " + c.fields.spacing);
        const TextPreview preview = PreviewText(c.fields);
        EXPECT_EQ(preview.acceptable(), std::string(c.problem).empty());
        EXPECT_NE(preview.problem.en.find(c.problem), std::string::npos) << preview.problem.en;
        EXPECT_EQ(preview.outlines.empty(), !preview.acceptable());
    }
    const auto request = TextRequestOf({"Ab", "DejaVu Sans", "Bold", "120", ""});
    EXPECT_EQ(request.font, "DejaVu Sans:Bold");
    EXPECT_EQ(request.spacingMm, 0.0);
}

TEST(TextLetterRules, PreviewIsClosedAndAsHighAsTheLetters) {
    const TextPreview preview = PreviewText({"HO", "DejaVu Sans", "", "100", "10"});
    ASSERT_TRUE(preview.acceptable());
    EXPECT_EQ(preview.outlines.size(), 3u);
    for (const auto& outline : preview.outlines) {
        EXPECT_DOUBLE_EQ(outline.front().x, outline.back().x);
        EXPECT_DOUBLE_EQ(outline.front().y, outline.back().y);
    }
    // The H alone: its flat top at the letter height.
    const TextPreview h = PreviewText({"H", "DejaVu Sans", "", "100", "10"});
    EXPECT_NEAR(h.high.y - h.low.y, 100.0, 0.1);
}

TEST(TextLetterRules, DialogStartsOnTheCjkFontWhenInstalled) {
    using Families = std::vector<geometry::FontFamily>;
    const Families withBoth = {{"Alpha", {}}, {"DejaVu Sans", {}}, {kDefaultTextFamily, {}}};
    const Families latinOnly = {{"Alpha", {}}, {"DejaVu Sans", {}}};
    const Families others = {{"Alpha", {}}, {"Beta", {}}};
    EXPECT_EQ(PreferredFamily(withBoth), 2u);
    EXPECT_EQ(PreferredFamily(latinOnly), 1u);
    EXPECT_EQ(PreferredFamily(others), 0u);
    EXPECT_EQ(PreferredFamily({}), 0u);
    // And the real catalogue has it, regular face first.
    const auto installed = geometry::InstalledFontFamilies();
    ASSERT_FALSE(installed.empty());
    EXPECT_EQ(installed[PreferredFamily(installed)].name, kDefaultTextFamily);
    for (const auto& family : installed) {
        if (family.name == "DejaVu Sans") {
            EXPECT_EQ(family.styles.front(), "Book");
        }
    }
}

} // namespace
} // namespace korvel::app
