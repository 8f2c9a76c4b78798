// Screenshots as PNG: the picture read back by an independent decoder is the
// window's, upright, and a file that cannot be written leaves nothing behind.
#include "graphics/PngImage.h"
#include "tests/support/ErrorLog.h"

#include <stb/stb_image.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
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
