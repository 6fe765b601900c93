#include "app/PreviewPicture.h"

#include "common/TextFile.h"

#include <algorithm>
#include <limits>

namespace korvel::app {

namespace {

constexpr Rgb kBackground{255, 255, 255};
constexpr Rgb kPathColour{170, 170, 170};
constexpr Rgb kStripColour{0, 90, 220};
constexpr Rgb kSlotColour{220, 30, 30};
constexpr int kMargin = 20;

// Drawing coordinates to pixels.
class Frame {
public:
    Frame(const program::BendPreview& preview, int size) : m_size(size) {
        const auto take = [this](const std::vector<geometry::Point2>& line) {
            for (const auto& p : line) {
                m_x1 = std::min(m_x1, p.x);
                m_y1 = std::min(m_y1, p.y);
                m_x2 = std::max(m_x2, p.x);
                m_y2 = std::max(m_y2, p.y);
            }
        };
        for (const auto& line : preview.path) {
            take(line);
        }
        for (const auto& piece : preview.pieces) {
            take(piece.strip);
        }
        const double extent = std::max({m_x2 - m_x1, m_y2 - m_y1, 1e-6});
        m_scale = m_x1 <= m_x2 ? (size - 2 * kMargin) / extent : 1.0;
    }
    double x(const geometry::Point2& p) const { return kMargin + (p.x - m_x1) * m_scale; }
    double y(const geometry::Point2& p) const { return m_size - kMargin - (p.y - m_y1) * m_scale; }

private:
    int m_size;
    double m_x1 = std::numeric_limits<double>::infinity();
    double m_y1 = std::numeric_limits<double>::infinity();
    double m_x2 = -std::numeric_limits<double>::infinity();
    double m_y2 = -std::numeric_limits<double>::infinity();
    double m_scale = 1;
};

void drawLine(RgbImage& image, const Frame& f, const std::vector<geometry::Point2>& line,
              Rgb colour, int thickness) {
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        image.line(f.x(line[i]), f.y(line[i]), f.x(line[i + 1]), f.y(line[i + 1]), colour,
                   thickness);
    }
}

} // namespace

RgbImage DrawBendPreview(const program::BendPreview& preview, int size) {
    RgbImage image(size, size, kBackground);
    const Frame frame(preview, size);
    for (const auto& line : preview.path) {
        drawLine(image, frame, line, kPathColour, 5);
    }
    for (const auto& piece : preview.pieces) {
        drawLine(image, frame, piece.strip, kStripColour, 2);
        for (const auto& s : piece.slotPoints) {
            image.dot(frame.x(s), frame.y(s), kSlotColour, 7);
        }
    }
    return image;
}

void SavePreviewPicture(const program::BendPreview& preview, const std::filesystem::path& file) {
    common::RewriteBytesAtomically(file, DrawBendPreview(preview).png());
}

} // namespace korvel::app
