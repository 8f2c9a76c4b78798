// Screenshots as PNG: the picture read back by an independent decoder is the
// window's, upright, every chunk of the file is whole, and a file that cannot
// be written leaves nothing behind.
#include "formats/PngImage.h"
#include "tests/support/ErrorLog.h"

#include <stb/stb_image.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

// A 5 x 3 record, bottom row first as glReadPixels gives it: pixel (x, y)
// from the bottom holds (10x, 50y, 7).
CTgaImage Picture()
{
    CTgaImage image;
    image.width = 5;
    image.height = 3;
    image.bitsPerPixel = 24;
    image.pixels.reset(new unsigned char[5 * 3 * 3]);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            unsigned char* p = image.pixels.get() + (y * 5 + x) * 3;
            p[0] = static_cast<unsigned char>(10 * x);
            p[1] = static_cast<unsigned char>(50 * y);
            p[2] = 7;
        }
    return image;
}

TEST(PngImageSave, WritesTheRecordUpright)
{
    const std::string path = ::testing::TempDir() + "kx_png_test.png";
    ASSERT_TRUE(PngImageSave(path.c_str(), Picture()));
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    int width = 0, height = 0, channels = 0;
    unsigned char* decoded =
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, 3);
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(width, 5);
    EXPECT_EQ(height, 3);
    for (int row = 0; row < 3; ++row)  // the file's first row is the top
        for (int x = 0; x < 5; ++x) {
            const unsigned char* p = decoded + (row * 5 + x) * 3;
            EXPECT_EQ(p[0], 10 * x);
            EXPECT_EQ(p[1], 50 * (2 - row)) << "row " << row;
            EXPECT_EQ(p[2], 7);
        }
    stbi_image_free(decoded);
    std::remove(path.c_str());
}

// A record of that size, bottom row first, whose bytes come from a fixed
// seed: noise that deflate cannot shrink, so a large one spans several IDAT
// chunks.
CTgaImage Noise(unsigned short width, unsigned short height)
{
    CTgaImage image;
    image.width = width;
    image.height = height;
    image.bitsPerPixel = 24;
    const std::size_t size = static_cast<std::size_t>(width) * height * 3;
    image.pixels.reset(new unsigned char[size]);
    std::mt19937 random(width * 7919u + height);
    for (std::size_t i = 0; i < size; ++i)
        image.pixels[i] = static_cast<unsigned char>(random() >> 24);
    return image;
}

std::uint32_t BigEndian(const unsigned char* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// The chunk types of a PNG file in their order; a chunk cut short or whose
// CRC does not check stops the list with "bad".
std::vector<std::string> ChunkTypes(const std::vector<unsigned char>& png)
{
    std::vector<std::string> types;
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::size_t length = BigEndian(&png[at]);
        if (at + 12 + length > png.size() ||
            crc32(0L, &png[at + 4], static_cast<uInt>(4 + length)) != BigEndian(&png[at + 8 + length])) {
            types.push_back("bad");
            return types;
        }
        types.emplace_back(reinterpret_cast<const char*>(&png[at + 4]), 4);
        at += 12 + length;
    }
    if (at != png.size())
        types.push_back("bad");
    return types;
}

TEST(PngEncode, DecodesToTheRecordUprightWithEveryChunkWhole)
{
    const struct {
        unsigned short width, height;
    } cases[] = {{7, 5}, {1, 9}, {9, 1}, {400, 300}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        const CTgaImage image = Noise(c.width, c.height);
        const std::vector<unsigned char> png = PngEncode(image);
        ASSERT_GT(png.size(), 8u);
        EXPECT_EQ(std::vector<unsigned char>(png.begin(), png.begin() + 8),
                  (std::vector<unsigned char>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'}));
        const std::vector<std::string> types = ChunkTypes(png);
        ASSERT_GE(types.size(), 3u);
        EXPECT_EQ(types.front(), "IHDR");
        EXPECT_EQ(types.back(), "IEND");
        EXPECT_EQ(std::count(types.begin(), types.end(), "bad"), 0) << "a chunk cut short or with a wrong CRC";
        EXPECT_NE(std::find(types.begin(), types.end(), "IDAT"), types.end());

        int width = 0, height = 0, channels = 0;
        unsigned char* decoded =
            stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &width, &height, &channels, 3);
        ASSERT_NE(decoded, nullptr);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
        const std::size_t stride = static_cast<std::size_t>(c.width) * 3;
        int wrongRows = 0;
        for (int row = 0; row < c.height; ++row)  // the file's first row is the record's last
            wrongRows += !std::equal(decoded + row * stride, decoded + (row + 1) * stride,
                                     image.pixels.get() + (c.height - 1 - row) * stride);
        EXPECT_EQ(wrongRows, 0);
        stbi_image_free(decoded);
    }
}

TEST(PngEncode, RefusesWhatIsNotA24BitPicture)
{
    CTgaImage empty;
    EXPECT_TRUE(PngEncode(empty).empty());
    CTgaImage grey = Picture();
    grey.bitsPerPixel = 8;
    EXPECT_TRUE(PngEncode(grey).empty());
}

class PngImageFailures : public ErrorLogTest {
protected:
    PngImageFailures() : ErrorLogTest("kx_png_failures.png") {}
};

TEST_F(PngImageFailures, RefusedRecordsAndUnwritableFilesLeaveNothing)
{
    CTgaImage empty;
    EXPECT_FALSE(PngImageSave(path.c_str(), empty));
    EXPECT_FALSE(std::ifstream(path).good());
    EXPECT_FALSE(PngImageSave("/nonexistent-directory/a.png", Picture()));
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "PngImageSave -- Image de 24 bits par pixel attendue pour " + path,
                              "PngImageSave -- Impossible d'écrire le fichier /nonexistent-directory/a.png"}));
}

}  // namespace
