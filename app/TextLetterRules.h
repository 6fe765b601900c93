#pragma once
// The rules of the text dialog ("文件" -> "文字…"): which font it starts
// with, how its fields become a request, and the live preview of the
// letters with the reason when there are none (which also keeps OK off).

#include "app/Captions.h"
#include "common/Message.h"
#include "geometry/FontCatalog.h"
#include "geometry/PlaneGeometry.h"
#include "geometry/TextLetters.h"

#include <string>
#include <vector>

namespace korvel::app {

// The CJK font the machine's set-up installs: it draws Chinese and Latin.
inline constexpr const char* kDefaultTextFamily = "WenQuanYi Micro Hei";

// What the dialog's fields hold, as typed.
struct TextFields {
    std::string text;
    std::string family;
    std::string style;
    std::string height;  // mm
    std::string spacing; // mm; empty is 0
};

// The family the dialog starts with: kDefaultTextFamily, else DejaVu Sans,
// else the first one installed. 0 for an empty list.
std::size_t PreferredFamily(const std::vector<geometry::FontFamily>& families);

// The request of the fields. Throws UserError for a height or spacing that
// is not a number.
geometry::TextRequest TextRequestOf(const TextFields& fields);

struct TextPreview {
    std::vector<std::vector<geometry::Point2>> outlines; // mm, y upwards
    geometry::Point2 low;                                // bounding box
    geometry::Point2 high;
    common::Message problem; // why there are no letters (OK stays off)
    bool acceptable() const { return problem.empty(); }
};

// The letters of the fields as polylines for the preview, or the message
// that tells the operator what to correct.
TextPreview PreviewText(const TextFields& fields);

// The dialog's captions (lines of mainform.txt).
const CaptionTable& TextDialogCaptions();

} // namespace korvel::app
