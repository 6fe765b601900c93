#pragma once
// The bent-letter preview as a picture: the machining path in grey, the
// bent strip over it in its own colour, the slots as red dots; the drawing
// fills the picture with a margin, y upwards as in the outline view.

#include "app/PngImage.h"
#include "program/BendPreview.h"

#include <filesystem>

namespace korvel::app {

inline constexpr int kPreviewPictureSize = 800;

RgbImage DrawBendPreview(const program::BendPreview& preview, int size = kPreviewPictureSize);
// Draws the preview and writes it as a PNG file (through a temporary file).
// Throws common::UserError when the file cannot be written.
void SavePreviewPicture(const program::BendPreview& preview, const std::filesystem::path& file);

} // namespace korvel::app
