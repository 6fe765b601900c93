#include "app/PngImage.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace korvel::app {

namespace {

// A zlib stored block holds at most this many bytes.
constexpr std::size_t kStoredBlock = 65535;

const std::array<std::uint32_t, 256>& crcTable() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void putBigEndian(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
    }
}

void putChunk(std::string& out, const char* type, const std::string& data) {
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::string body(type, 4);
    body += data;
    out += body;
    putBigEndian(out, Crc32(body));
}

// A zlib stream of stored (uncompressed) blocks.
std::string zlibStored(const std::string& raw) {
    std::string out{'\x78', '\x01'};
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min(kStoredBlock, raw.size() - pos);
        const bool last = pos + n == raw.size();
        out.push_back(last ? '\x01' : '\x00');
        const auto len = static_cast<std::uint16_t>(n);
        const auto nlen = static_cast<std::uint16_t>(~len);
        out.push_back(static_cast<char>(len & 0xFF));
        out.push_back(static_cast<char>(len >> 8));
        out.push_back(static_cast<char>(nlen & 0xFF));
        out.push_back(static_cast<char>(nlen >> 8));
        out.append(raw, pos, n);
        pos += n;
    } while (pos < raw.size());
    putBigEndian(out, Adler32(raw));
    return out;
}

} // namespace

std::uint32_t Crc32(const std::string& bytes) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        c = crcTable()[(c ^ b) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const std::string& bytes) {
    constexpr std::uint32_t kMod = 65521;
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (unsigned char c : bytes) {
        a = (a + c) % kMod;
        b = (b + a) % kMod;
    }
    return (b << 16) | a;
}

RgbImage::RgbImage(int width, int height, Rgb background)
    : m_width(std::max(width, 1)), m_height(std::max(height, 1)),
      m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), background) {
}

Rgb RgbImage::pixel(int x, int y) const {
    return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                    static_cast<std::size_t>(x)];
}

void RgbImage::set(int x, int y, Rgb colour) {
    if (x >= 0 && y >= 0 && x < m_width && y < m_height) {
        m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                 static_cast<std::size_t>(x)] = colour;
    }
}

void RgbImage::dot(double x, double y, Rgb colour, int size) {
    const int x0 = static_cast<int>(std::lround(x)) - size / 2;
    const int y0 = static_cast<int>(std::lround(y)) - size / 2;
    for (int dx = 0; dx < size; ++dx) {
        for (int dy = 0; dy < size; ++dy) {
            set(x0 + dx, y0 + dy, colour);
        }
    }
}

void RgbImage::line(double x0, double y0, double x1, double y1, Rgb colour, int thickness) {
    const double length = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    const int steps = std::max(1, static_cast<int>(std::ceil(length)));
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        dot(x0 + t * (x1 - x0), y0 + t * (y1 - y0), colour, thickness);
    }
}

std::string RgbImage::png() const {
    std::string raw;
    raw.reserve(static_cast<std::size_t>(m_height) * (3 * static_cast<std::size_t>(m_width) + 1));
    for (int y = 0; y < m_height; ++y) {
        raw.push_back('\0'); // filter: none
        for (int x = 0; x < m_width; ++x) {
            const Rgb p = pixel(x, y);
            raw.push_back(static_cast<char>(p.r));
            raw.push_back(static_cast<char>(p.g));
            raw.push_back(static_cast<char>(p.b));
        }
    }
    std::string out("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    putBigEndian(header, static_cast<std::uint32_t>(m_width));
    putBigEndian(header, static_cast<std::uint32_t>(m_height));
    header += std::string{'\x08', '\x02', '\x00', '\x00', '\x00'}; // 8-bit RGB
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", zlibStored(raw));
    putChunk(out, "IEND", {});
    return out;
}

} // namespace korvel::app
