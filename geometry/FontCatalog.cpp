#include "geometry/FontCatalog.h"

#include "common/Fields.h"
#include "common/Message.h"

#include <algorithm>
#include <fontconfig/fontconfig.h>
#include <memory>
#include <numeric>
#include <tuple>

namespace korvel::geometry {

namespace {

// One family name of an installed face with the style that goes with it:
// fontconfig lists a face's names in parallel ("DejaVu Sans" with
// "Condensed Bold", "DejaVu Sans Condensed" with "Bold").
struct NamedFace {
    FontFace face;
    bool listed = true; // shown in font lists (localized duplicates are not)
};

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return out;
}

bool sameName(std::string_view a, std::string_view b) {
    return lower(a) == lower(b);
}

// Regular faces sort first: they are what a family name alone means.
int styleRank(std::string_view style) {
    for (const char* regular : {"regular", "book", "normal", "roman", "medium"}) {
        if (lower(style) == regular) {
            return 0;
        }
    }
    return 1;
}

bool styleBefore(const std::string& a, const std::string& b) {
    return std::make_pair(styleRank(a), a) < std::make_pair(styleRank(b), b);
}

std::vector<std::string> strings(FcPattern* pattern, const char* object) {
    std::vector<std::string> out;
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(pattern, object, i, &value) == FcResultMatch; ++i) {
        out.emplace_back(reinterpret_cast<const char*>(value));
    }
    return out;
}

void addFaces(FcPattern* pattern, std::vector<NamedFace>& out) {
    FcBool scalable = FcFalse;
    FcChar8* file = nullptr;
    if (FcPatternGetBool(pattern, FC_SCALABLE, 0, &scalable) != FcResultMatch || !scalable ||
        FcPatternGetString(pattern, FC_FILE, 0, &file) != FcResultMatch) {
        return; // bitmap fonts have no outlines to bend
    }
    int index = 0;
    FcPatternGetInteger(pattern, FC_INDEX, 0, &index);
    const auto families = strings(pattern, FC_FAMILY);
    const auto langs = strings(pattern, FC_FAMILYLANG);
    const auto styles = strings(pattern, FC_STYLE);
    for (std::size_t i = 0; i < families.size(); ++i) {
        NamedFace named;
        named.face.file = reinterpret_cast<const char*>(file);
        named.face.index = index;
        named.face.family = families[i];
        named.face.style = styles.empty() ? std::string() : styles[std::min(i, styles.size() - 1)];
        named.listed = i == 0 || i >= langs.size() || langs[i] == "en";
        out.push_back(std::move(named));
    }
}

std::vector<NamedFace> installedFaces() {
    if (!FcInit()) {
        throw common::UserError(common::error("无法读取已安装的字体（fontconfig）",
                                              "The installed fonts cannot be read (fontconfig)"));
    }
    std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(),
                                                                    FcPatternDestroy);
    std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
        FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_STYLE, FC_FILE, FC_INDEX, FC_SCALABLE,
                         nullptr),
        FcObjectSetDestroy);
    std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> set(
        FcFontList(nullptr, pattern.get(), objects.get()), FcFontSetDestroy);
    std::vector<NamedFace> faces;
    for (int i = 0; set && i < set->nfont; ++i) {
        addFaces(set->fonts[i], faces);
    }
    // Same order whatever order fontconfig's caches list the files in.
    std::sort(faces.begin(), faces.end(), [](const NamedFace& a, const NamedFace& b) {
        return std::tie(a.face.family, a.face.file, a.face.index) <
               std::tie(b.face.family, b.face.file, b.face.index);
    });
    return faces;
}

std::string joined(const std::vector<std::string>& names, const char* separator) {
    std::string out;
    for (const auto& name : names) {
        out += (out.empty() ? "" : separator) + name;
    }
    return out;
}

std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

bool sharesWord(const std::string& a, const std::string& b) {
    for (const auto& word : common::SplitFields(a)) {
        if (word.size() >= 4 &&
            (" " + b + " ").find(" " + std::string(word) + " ") != std::string::npos) {
            return true;
        }
    }
    return false;
}

[[noreturn]] void throwUnknownFamily(const std::string& family,
                                     const std::vector<NamedFace>& faces) {
    std::vector<std::string> names;
    for (const auto& named : faces) {
        if (named.listed && (names.empty() || names.back() != named.face.family)) {
            names.push_back(named.face.family);
        }
    }
    const auto close = CloseFamilies(family, names);
    if (close.empty()) {
        throw common::UserError(common::error(
            "找不到字体“" + family + "”，也没有名称相近的已安装字体",
            "Font \"" + family + "\" is not installed, and no installed family comes close"));
    }
    throw common::UserError(
        common::error("找不到字体“" + family + "”；相近的已安装字体：" + joined(close, "、"),
                      "Font \"" + family +
                          "\" is not installed; close installed families: " + joined(close, ", ")));
}

[[noreturn]] void throwUnknownStyle(const FontSpec& wanted, std::vector<std::string> styles) {
    std::sort(styles.begin(), styles.end(), styleBefore);
    styles.erase(std::unique(styles.begin(), styles.end()), styles.end());
    throw common::UserError(common::error(
        "字体“" + wanted.family + "”没有“" + wanted.style + "”样式；可选：" + joined(styles, "、"),
        "Font \"" + wanted.family + "\" has no style \"" + wanted.style +
            "\"; its styles: " + joined(styles, ", ")));
}

} // namespace

FontSpec ParseFontSpec(std::string_view text) {
    const auto colon = text.find(':');
    FontSpec wanted;
    wanted.family = std::string(common::Trim(text.substr(0, colon)));
    if (colon != std::string_view::npos) {
        wanted.style = std::string(common::Trim(text.substr(colon + 1)));
    }
    if (wanted.family.empty()) {
        throw common::UserError(common::error("请指定字体，例如“DejaVu Sans:Bold”",
                                              "Name a font, for example \"DejaVu Sans:Bold\""));
    }
    return wanted;
}

std::vector<FontFamily> InstalledFontFamilies() {
    std::vector<FontFamily> families;
    for (const auto& named : installedFaces()) {
        if (!named.listed) {
            continue;
        }
        if (families.empty() || families.back().name != named.face.family) {
            families.push_back({named.face.family, {}});
        }
        families.back().styles.push_back(named.face.style);
    }
    for (auto& family : families) {
        std::sort(family.styles.begin(), family.styles.end(), styleBefore);
        family.styles.erase(std::unique(family.styles.begin(), family.styles.end()),
                            family.styles.end());
    }
    return families;
}

FontFace FindFont(const FontSpec& wanted) {
    const auto faces = installedFaces();
    std::vector<const FontFace*> family;
    for (const auto& named : faces) {
        if (sameName(named.face.family, wanted.family)) {
            family.push_back(&named.face);
        }
    }
    if (family.empty()) {
        throwUnknownFamily(wanted.family, faces);
    }
    if (wanted.style.empty()) {
        // stable: among equally regular faces the first file wins
        return **std::min_element(family.begin(), family.end(), [](auto* a, auto* b) {
            return styleRank(a->style) < styleRank(b->style);
        });
    }
    std::vector<std::string> styles;
    for (const FontFace* face : family) {
        if (sameName(face->style, wanted.style)) {
            return *face;
        }
        styles.push_back(face->style);
    }
    throwUnknownStyle(wanted, std::move(styles));
}

std::vector<std::string>
CloseFamilies(std::string_view name, const std::vector<std::string>& families, std::size_t count) {
    const std::string wanted = lower(name);
    std::vector<std::pair<std::size_t, std::string>> close;
    for (const auto& family : families) {
        const std::string candidate = lower(family);
        const std::size_t distance = editDistance(wanted, candidate);
        const bool inside = candidate.find(wanted) != std::string::npos ||
                            wanted.find(candidate) != std::string::npos;
        if (inside || distance <= std::max<std::size_t>(2, wanted.size() / 4) ||
            sharesWord(wanted, candidate)) {
            close.emplace_back(distance, family);
        }
    }
    std::sort(close.begin(), close.end());
    std::vector<std::string> out;
    for (std::size_t i = 0; i < close.size() && i < count; ++i) {
        out.push_back(close[i].second);
    }
    return out;
}

} // namespace korvel::geometry
