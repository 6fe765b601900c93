#include "geometry/FontOutlines.h"

#include "common/Message.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

namespace korvel::geometry {

namespace {

// Loaded in font units: the outline exactly as designed, no hinting.
constexpr FT_Int32 kLoadFlags = FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;
// A closed square ideograph: the height CJK letters are measured by.
constexpr char32_t kIdeographForHeight = U'\u56FD';

// Collects the pieces FT_Outline_Decompose hands over.
class ContourCollector {
public:
    ContourCollector(double scale, Point2 offset) : m_scale(scale), m_offset(offset) {}

    static int moveTo(const FT_Vector* to, void* self) {
        auto& c = *static_cast<ContourCollector*>(self);
        c.finish();
        c.m_current = c.point(to);
        return 0;
    }
    static int lineTo(const FT_Vector* to, void* self) {
        auto& c = *static_cast<ContourCollector*>(self);
        const Point2 end = c.point(to);
        if (end.x != c.m_current.x || end.y != c.m_current.y) {
            c.add(ContourPiece::line(c.m_current, end));
        }
        return 0;
    }
    static int conicTo(const FT_Vector* control, const FT_Vector* to, void* self) {
        auto& c = *static_cast<ContourCollector*>(self);
        c.add(ContourPiece::quadratic(c.m_current, c.point(control), c.point(to)));
        return 0;
    }
    static int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* self) {
        auto& c = *static_cast<ContourCollector*>(self);
        c.add(ContourPiece::cubic(c.m_current, c.point(c1), c.point(c2), c.point(to)));
        return 0;
    }

    // Ends the contour being collected (FreeType has already drawn the
    // closing piece back to its start).
    void finish() {
        if (!m_open.pieces.empty()) {
            m_open.closed = true;
            m_contours.push_back(std::move(m_open));
        }
        m_open = Contour{};
    }
    std::vector<Contour> take() { return std::move(m_contours); }

private:
    Point2 point(const FT_Vector* v) const {
        return {m_offset.x + static_cast<double>(v->x) * m_scale,
                m_offset.y + static_cast<double>(v->y) * m_scale};
    }
    void add(const ContourPiece& piece) {
        m_open.pieces.push_back(piece);
        m_current = piece.end;
    }

    double m_scale;
    Point2 m_offset;
    Point2 m_current;
    Contour m_open;
    std::vector<Contour> m_contours;
};

[[noreturn]] void throwUnreadable(const FontFace& face) {
    const std::string file = face.file.string();
    throw common::UserError(
        common::error("无法读取字体文件：" + file, "The font file cannot be read: " + file));
}

} // namespace

struct FontOutlines::Library {
    FT_Library library = nullptr;
    FT_Face face = nullptr;

    ~Library() {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
        if (library != nullptr) {
            FT_Done_FreeType(library);
        }
    }

    // Loads the glyph of `index`; false when it has no outline.
    bool load(FT_UInt index) const {
        return FT_Load_Glyph(face, index, kLoadFlags) == 0 &&
               face->glyph->format == FT_GLYPH_FORMAT_OUTLINE;
    }
    // The top of a character's outline above the baseline (0 when the font
    // has no such character or it draws nothing).
    double top(char32_t character) const {
        const FT_UInt index = FT_Get_Char_Index(face, character);
        if (index == 0 || !load(index) || face->glyph->outline.n_points == 0) {
            return 0.0;
        }
        FT_BBox box;
        FT_Outline_Get_CBox(&face->glyph->outline, &box);
        return static_cast<double>(box.yMax);
    }
};

std::vector<Contour> OutlineContours(const FT_Outline_& outline, double scale, Point2 offset) {
    FT_Outline_Funcs funcs{};
    funcs.move_to = &ContourCollector::moveTo;
    funcs.line_to = &ContourCollector::lineTo;
    funcs.conic_to = &ContourCollector::conicTo;
    funcs.cubic_to = &ContourCollector::cubicTo;
    ContourCollector collector(scale, offset);
    if (FT_Outline_Decompose(const_cast<FT_Outline*>(&outline), &funcs, &collector) != 0) {
        return {}; // a broken glyph draws nothing rather than half a letter
    }
    collector.finish();
    return collector.take();
}

FontOutlines::FontOutlines(const FontFace& face)
    : m_face(face), m_library(std::make_unique<Library>()) {
    if (FT_Init_FreeType(&m_library->library) != 0 ||
        FT_New_Face(m_library->library, face.file.c_str(), face.index, &m_library->face) != 0 ||
        !FT_IS_SCALABLE(m_library->face)) {
        throwUnreadable(face);
    }
}

FontOutlines::~FontOutlines() = default;

std::optional<char32_t> FontOutlines::missingCharacter(std::u32string_view text) const {
    for (const char32_t character : text) {
        if (FT_Get_Char_Index(m_library->face, character) == 0) {
            return character;
        }
    }
    return std::nullopt;
}

LetterHeight FontOutlines::letterHeight() const {
    if (const double h = m_library->top(U'H'); h > 0.0) {
        return {h, HeightMeasure::CapitalH};
    }
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(m_library->face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version >= 2 && os2->sCapHeight > 0) {
        return {static_cast<double>(os2->sCapHeight), HeightMeasure::FontCapHeight};
    }
    if (const double h = m_library->top(kIdeographForHeight); h > 0.0) {
        return {h, HeightMeasure::Ideograph};
    }
    const FT_Face face = m_library->face;
    return {static_cast<double>(face->ascender > 0 ? face->ascender : face->units_per_EM),
            HeightMeasure::Ascender};
}

std::vector<Contour> FontOutlines::layOut(std::u32string_view text, double heightMm,
                                          double spacingMm) const {
    const FT_Face face = m_library->face;
    const double scale = heightMm / letterHeight().units;
    std::vector<Contour> contours;
    double pen = 0.0;
    FT_UInt previous = 0;
    for (const char32_t character : text) {
        const FT_UInt index = FT_Get_Char_Index(face, character);
        FT_Vector kerning{0, 0};
        if (previous != 0 && index != 0 && FT_HAS_KERNING(face) &&
            FT_Get_Kerning(face, previous, index, FT_KERNING_UNSCALED, &kerning) == 0) {
            pen += static_cast<double>(kerning.x) * scale;
        }
        if (!m_library->load(index)) {
            throwUnreadable(m_face);
        }
        auto glyph = OutlineContours(face->glyph->outline, scale, {pen, 0.0});
        contours.insert(contours.end(), std::make_move_iterator(glyph.begin()),
                        std::make_move_iterator(glyph.end()));
        pen += static_cast<double>(face->glyph->advance.x) * scale + spacingMm;
        previous = index;
    }
    return contours;
}

} // namespace korvel::geometry
