#include "geometry/TextLetters.h"

#include "common/Basic.h"
#include "common/Encoding.h"
#include "common/Fields.h"
#include "geometry/CoreAlgorithm.h"

#include <cmath>
#include <cstdio>

namespace korvel::geometry {

namespace {

// Each character with the UTF-8 bytes it came from, so that a message can
// name it as the operator typed it.
struct Characters {
    std::u32string codes;
    std::vector<std::string_view> texts;
};

Characters decodeUtf8(std::string_view text) {
    Characters out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        out.codes.push_back(code);
        out.texts.push_back(text.substr(i, length));
        i += length;
    }
    return out;
}

std::string shown(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "Inf" : "-Inf";
    }
    return std::string(common::Trim(common::Str(value)));
}

std::string codePoint(char32_t code) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(code));
    return buffer;
}

std::string faceName(const FontFace& face) {
    return face.style.empty() ? face.family : face.family + " " + face.style;
}

void checkHeight(double height) {
    if (!(height >= kMinLetterHeight && height <= kMaxLetterHeight)) {
        throw common::UserError(
            common::error("字高需要一个 1 到 5000 毫米之间的数值：" + shown(height),
                          "The letter height needs a number from 1 to 5000 mm: " + shown(height)));
    }
}

void checkSpacing(double spacing) {
    if (!(std::fabs(spacing) <= kMaxLetterSpacing)) {
        throw common::UserError(common::error(
            "字距需要一个 -1000 到 1000 毫米之间的数值：" + shown(spacing),
            "The letter spacing needs a number from -1000 to 1000 mm: " + shown(spacing)));
    }
}

void checkCharacters(const Characters& characters) {
    if (characters.codes.size() > kMaxTextCharacters) {
        const std::string count = std::to_string(characters.codes.size());
        throw common::UserError(
            common::error("文字最多 100 个字符（现有 " + count + " 个）",
                          "The text may have at most 100 characters (it has " + count + ")"));
    }
    for (const char32_t code : characters.codes) {
        if (code < 0x20 || code == 0x7F) {
            throw common::UserError(common::error("文字只能是一行，不能含控制字符",
                                                  "The text must be one line without control "
                                                  "characters"));
        }
    }
}

[[noreturn]] void throwMissing(const FontFace& face, std::string_view typed, char32_t code) {
    const std::string name = faceName(face);
    const std::string character(typed);
    const std::string point = codePoint(code);
    throw common::UserError(common::error("字体“" + name + "”中没有字符“" + character + "”（" +
                                              point + "），未做任何更改",
                                          "Font \"" + name + "\" has no character \"" + character +
                                              "\" (" + point + "); nothing was changed"));
}

Characters checked(const TextRequest& request) {
    if (request.text.empty()) {
        throw common::UserError(
            common::error("请输入要做成字形的文字", "Type the text to make letters of"));
    }
    if (!common::IsValidUtf8(request.text)) {
        throw common::UserError(
            common::error("文字不是有效的 UTF-8 文本", "The text is not valid UTF-8"));
    }
    Characters characters = decodeUtf8(request.text);
    checkCharacters(characters);
    checkHeight(request.heightMm);
    checkSpacing(request.spacingMm);
    return characters;
}

} // namespace

std::u32string CheckTextRequest(const TextRequest& request) {
    return checked(request).codes;
}

TextLetters MakeTextLetters(const TextRequest& request) {
    const Characters characters = checked(request);
    const FontOutlines font(FindFont(ParseFontSpec(request.font)));
    for (std::size_t i = 0; i < characters.codes.size(); ++i) {
        if (font.missingCharacter(std::u32string_view(&characters.codes[i], 1))) {
            throwMissing(font.face(), characters.texts[i], characters.codes[i]);
        }
    }
    TextLetters letters;
    letters.contours = font.layOut(characters.codes, request.heightMm, request.spacingMm);
    letters.face = font.face();
    letters.measure = font.letterHeight().measure;
    return letters;
}

common::Message HeightMeasureNote(HeightMeasure measure) {
    switch (measure) {
    case HeightMeasure::CapitalH:
        return {};
    case HeightMeasure::FontCapHeight:
        return common::notice("字体没有大写字母 H，字高按字体给出的大写字母高度",
                              "The font has no capital H; the letter height is the cap height "
                              "the font states");
    case HeightMeasure::Ideograph:
        return common::notice("字体没有大写字母 H，字高按汉字“国”的高度",
                              "The font has no capital H; the letter height is the height of "
                              "the character 国");
    case HeightMeasure::Ascender:
        return common::notice("字体没有大写字母 H，字高按字体的上伸高度",
                              "The font has no capital H; the letter height is the font's "
                              "ascender");
    }
    return {};
}

std::string TextLabel(const TextRequest& request, const FontFace& face) {
    return request.text + " (" + faceName(face) + ")";
}

DisplayDrawing TextDrawing(const TextLetters& letters, const ContourTolerances& tolerances,
                           std::string_view label) {
    DrawingBuilder builder("0.000000", label);
    for (const auto& contour : letters.contours) {
        AddContour(builder, contour, tolerances);
    }
    return builder.finish();
}

TextOpenResult OpenText(const common::AppDir& app, const TextRequest& request,
                        const OpenOptions& options, const CoreAlgorithm& core,
                        DrawingState& state) {
    const TextLetters letters = MakeTextLetters(request);
    TextOpenResult result;
    result.label = TextLabel(request, letters.face);
    result.measure = letters.measure;
    const auto tolerances = ContourTolerancesFor(core.parameters(), options.slotAngleThreshold);
    result.summary = OpenBuiltDrawing(app, TextDrawing(letters, tolerances, result.label),
                                      DrawingFormat::Text, result.label, options, state);
    return result;
}

} // namespace korvel::geometry
