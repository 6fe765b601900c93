#pragma once
// The glyphs of a font file as outlines in mm, read with FreeType. TrueType
// fonts describe letters with quadratic curves, CFF (PostScript) fonts with
// cubic ones; both become ContourPieces unchanged, and every contour keeps
// the direction the font gives it, so that outer contours and holes stay
// what the type designer drew.

#include "geometry/ContourPieces.h"
#include "geometry/FontCatalog.h"

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

struct FT_Outline_;

namespace korvel::geometry {

// What the letter height was measured on. The capital H has a flat top at
// the cap height in every Latin font; a font without one falls back to the
// cap height its OS/2 table states, then to the top of the ideograph 国 (a
// closed square, as tall as CJK letters stand), then to the font's ascender.
enum class HeightMeasure { CapitalH, FontCapHeight, Ideograph, Ascender };

struct LetterHeight {
    double units = 0.0; // font units above the baseline
    HeightMeasure measure = HeightMeasure::CapitalH;
};

// The contours of a glyph outline given in font units, scaled by `scale`
// and moved by `offset`. Every contour is closed; pieces of zero length are
// left out.
std::vector<Contour> OutlineContours(const FT_Outline_& outline, double scale, Point2 offset);

class FontOutlines {
public:
    // Throws UserError when FreeType cannot read the font file.
    explicit FontOutlines(const FontFace& face);
    ~FontOutlines();
    FontOutlines(const FontOutlines&) = delete;
    FontOutlines& operator=(const FontOutlines&) = delete;

    const FontFace& face() const { return m_face; }
    // The first character of `text` the font has no glyph for.
    std::optional<char32_t> missingCharacter(std::u32string_view text) const;
    LetterHeight letterHeight() const;
    // The text on the baseline y = 0 from x = 0, scaled so that the letter
    // height is `heightMm`; `spacingMm` is added to every advance, as is the
    // font's kerning between two letters when it has a kerning table.
    std::vector<Contour> layOut(std::u32string_view text, double heightMm, double spacingMm) const;

private:
    struct Library;
    FontFace m_face;
    std::unique_ptr<Library> m_library;
};

} // namespace korvel::geometry
