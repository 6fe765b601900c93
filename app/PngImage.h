#pragma once
// A small RGB picture that can be drawn into with lines and dots and saved
// as a PNG file, for pictures the command line writes without the window's
// toolkit. The PNG is written uncompressed (zlib "stored" blocks), which
// every viewer reads.

#include <cstdint>
#include <string>
#include <vector>

namespace korvel::app {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

class RgbImage {
public:
    RgbImage(int width, int height, Rgb background);

    int width() const { return m_width; }
    int height() const { return m_height; }
    Rgb pixel(int x, int y) const;
    // Pixels outside the picture are left out.
    void set(int x, int y, Rgb colour);
    // A line of `thickness` pixels between two points (pixel coordinates,
    // y downwards).
    void line(double x0, double y0, double x1, double y1, Rgb colour, int thickness = 1);
    // A filled square dot of `size` pixels centred on the point.
    void dot(double x, double y, Rgb colour, int size);

    // The picture as the bytes of a PNG file.
    std::string png() const;

private:
    int m_width;
    int m_height;
    std::vector<Rgb> m_pixels;
};

// CRC-32 of PNG chunks and Adler-32 of zlib streams, exposed for tests.
std::uint32_t Crc32(const std::string& bytes);
std::uint32_t Adler32(const std::string& bytes);

} // namespace korvel::app
