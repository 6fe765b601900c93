#pragma once
// Letters typed in a font: a word becomes outlines as if a drawing of it had
// been opened. The letter height is the cap height in mm (the flat top of
// the capital H above the baseline), so "H" typed 300 high bends into a
// letter 300 mm tall; the spacing in mm is added between letters. The word
// is checked completely (values, font, every character) before anything is
// written.

#include "common/AppDir.h"
#include "common/Message.h"
#include "geometry/ContourPieces.h"
#include "geometry/DrawingOpener.h"
#include "geometry/FontOutlines.h"

#include <string>
#include <vector>

namespace korvel::geometry {

class CoreAlgorithm;

// Letter heights (mm) the machine makes sense of: smaller letters cannot be
// bent from strip, larger ones are a slip of the keyboard.
inline constexpr double kMinLetterHeight = 1.0;
inline constexpr double kMaxLetterHeight = 5000.0;
// Spacing beyond this either way is a slip, not a design.
inline constexpr double kMaxLetterSpacing = 1000.0;
// A sign's word, with room to spare.
inline constexpr std::size_t kMaxTextCharacters = 100;

struct TextRequest {
    std::string text;       // UTF-8, one line
    std::string font;       // "FAMILY[:STYLE]"
    double heightMm = 0.0;  // cap height
    double spacingMm = 0.0; // added to every advance
};

struct TextLetters {
    std::vector<Contour> contours; // mm, baseline at y = 0, first letter from x = 0
    FontFace face;
    HeightMeasure measure = HeightMeasure::CapitalH;
};

// Checks the values of a request without touching any font: the text (not
// empty, valid UTF-8, one line, at most kMaxTextCharacters), the height and
// the spacing. Returns the characters. Throws UserError.
std::u32string CheckTextRequest(const TextRequest& request);

// The outlines of the request. Throws UserError for a bad value, an unknown
// font or style, or a character the font has not got (naming it).
TextLetters MakeTextLetters(const TextRequest& request);

// "Letter height measured on ..." for the fallbacks a font without a
// capital H needs; empty for the capital H itself.
common::Message HeightMeasureNote(HeightMeasure measure);

// How the opened letters are named in the view and in messages:
// "HELLO (DejaVu Sans Bold)".
std::string TextLabel(const TextRequest& request, const FontFace& face);

// The display lines of the letters, with the curve tolerances of the process.
DisplayDrawing TextDrawing(const TextLetters& letters, const ContourTolerances& tolerances,
                           std::string_view label);

struct TextOpenResult {
    OpenSummary summary;
    std::string label;
    HeightMeasure measure = HeightMeasure::CapitalH;
};

// The text command: checks the request, makes the letters and opens them as
// the open command opens a drawing (display file written, YJG.dat and the
// selection files emptied, drawingReplaced called). Throws UserError with
// nothing changed.
TextOpenResult OpenText(const common::AppDir& app, const TextRequest& request,
                        const OpenOptions& options, const CoreAlgorithm& core, DrawingState& state);

} // namespace korvel::geometry
