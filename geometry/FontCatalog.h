#pragma once
// The fonts installed on the machine, as fontconfig knows them. The operator
// names a font as "FAMILY[:STYLE]" ("DejaVu Sans:Bold", "WenQuanYi Micro
// Hei"); only a font of exactly that family is used. Fontconfig would
// quietly hand back a substitute for a misspelt name, and letters bent in
// the wrong typeface are scrap, so an unknown family is refused with the
// installed families whose names come close.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::geometry {

struct FontSpec {
    std::string family;
    std::string style; // empty: the family's regular face
};

// Splits "FAMILY[:STYLE]" at the first colon and trims both parts. Throws
// UserError for an empty family.
FontSpec ParseFontSpec(std::string_view text);

struct FontFace {
    std::filesystem::path file;
    int index = 0; // face inside a font collection (.ttc)
    std::string family;
    std::string style;
};

struct FontFamily {
    std::string name;
    std::vector<std::string> styles; // sorted, regular faces first
};

// Scalable fonts by family name, sorted by name.
std::vector<FontFamily> InstalledFontFamilies();

// The face the request names. Throws UserError for a family that is not
// installed (naming the close ones) or a style the family does not have
// (naming the styles it has).
FontFace FindFont(const FontSpec& wanted);

// Up to `count` of `families` whose names come close to `name`: the same
// words, one inside the other, or a few typing slips apart; closest first.
std::vector<std::string> CloseFamilies(std::string_view name,
                                       const std::vector<std::string>& families,
                                       std::size_t count = 5);

} // namespace korvel::geometry
