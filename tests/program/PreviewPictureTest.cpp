// The preview picture as a PNG file that any viewer opens: the file is
// read back here chunk by chunk and its pixels unpacked from the zlib
// stream, over more than one stored block.

#include "app/PreviewPicture.h"

#include "TestLetters.h"
#include "app/JobTimeEstimate.h"
#include "app/PngImage.h"
#include "program/BendPreview.h"

#include <gtest/gtest.h>

namespace korvel::test {
namespace {

std::uint32_t bigEndian(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    }
    return v;
}

struct Chunk {
    std::string type;
    std::string data;
};

// The chunks of a PNG file, each checked against its CRC.
std::vector<Chunk> chunksOf(const std::string& png) {
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    std::vector<Chunk> chunks;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = bigEndian(png, at);
        const std::string body = png.substr(at + 4, 4 + length);
        EXPECT_EQ(bigEndian(png, at + 8 + length), app::Crc32(body)) << body.substr(0, 4);
        chunks.push_back({body.substr(0, 4), body.substr(4)});
        at += 12 + length;
    }
    return chunks;
}

// The bytes of a zlib stream made of stored blocks.
std::string inflateStored(const std::string& z) {
    std::string out;
    std::size_t at = 2;
    bool last = false;
    while (!last && at + 5 <= z.size()) {
        last = (z[at] & 1) != 0;
        EXPECT_EQ(z[at] & 6, 0) << "not a stored block";
        const unsigned len =
            static_cast<unsigned char>(z[at + 1]) | (static_cast<unsigned char>(z[at + 2]) << 8);
        const unsigned nlen =
            static_cast<unsigned char>(z[at + 3]) | (static_cast<unsigned char>(z[at + 4]) << 8);
        EXPECT_EQ(len ^ 0xFFFFu, nlen);
        out += z.substr(at + 5, len);
        at += 5 + len;
    }
    EXPECT_TRUE(last);
    EXPECT_EQ(bigEndian(z, at), app::Adler32(out));
    return out;
}

TEST(PngImage, PixelsComeBackFromTheFile) {
    // 200 x 120 RGB rows need two stored blocks.
    app::RgbImage image(200, 120, {255, 255, 255});
    image.line(5, 5, 190, 110, {0, 90, 220}, 3);
    image.dot(100, 20, {220, 30, 30}, 7);
    const auto chunks = chunksOf(image.png());
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(bigEndian(chunks[0].data, 0), 200u);
    EXPECT_EQ(bigEndian(chunks[0].data, 4), 120u);
    EXPECT_EQ(chunks[1].type, "IDAT");
    EXPECT_EQ(chunks[2].type, "IEND");
    // The CRC every PNG file ends with.
    EXPECT_EQ(app::Crc32("IEND"), 0xAE426082u);
    const std::string raw = inflateStored(chunks[1].data);
    ASSERT_EQ(raw.size(), 120u * (3 * 200 + 1));
    for (int y = 0; y < 120; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * 601;
        ASSERT_EQ(raw[row], 0);
        for (int x = 0; x < 200; ++x) {
            const app::Rgb p = image.pixel(x, y);
            ASSERT_EQ(static_cast<unsigned char>(raw[row + 1 + 3 * x]), p.r);
            ASSERT_EQ(static_cast<unsigned char>(raw[row + 2 + 3 * x]), p.g);
            ASSERT_EQ(static_cast<unsigned char>(raw[row + 3 + 3 * x]), p.b);
        }
    }
}

TEST(PreviewPicture, TheBentStripLiesOnItsPath) {
    using namespace program::test;
    auto p = plainParams();
    p.SlotActionOrder = "PDUNDU";
    const auto path = letterD();
    const auto tables = plainTables();
    const auto preview =
        program::MakeBendPreview(generateJob(p, tables, path, {1, 10, 0}).lines, path, p, tables);
    const app::RgbImage image = app::DrawBendPreview(preview, 300);
    int strip = 0;
    int grey = 0;
    int slots = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const app::Rgb c = image.pixel(x, y);
            strip += c.b == 220 && c.r == 0 ? 1 : 0;
            grey += c.r == 170 && c.g == 170 ? 1 : 0;
            slots += c.r == 220 && c.g == 30 ? 1 : 0;
        }
    }
    // The strip is drawn over the path, and the three slots (start,
    // corner, end; the ends fall together) are marked.
    EXPECT_GT(strip, 500);
    EXPECT_GT(grey, 0);
    EXPECT_GE(slots, 2 * 49);
}

TEST(JobTime, DurationsReadAsClockTimes) {
    const std::pair<std::int64_t, const char*> rows[] = {
        {0, "0:00"}, {1, "0:01"}, {59999, "1:00"}, {3599000, "59:59"}, {3600001, "1:00:01"}};
    for (const auto& [ms, text] : rows) {
        EXPECT_EQ(app::FormatDuration(ms), text) << ms;
    }
}

} // namespace
} // namespace korvel::test
