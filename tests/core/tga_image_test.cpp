#include "formats/TgaImage.h"

#include "base/Cp1252.h"
#include "base/Log.h"

#include "tests/support/ErrorLog.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void WriteBytes(const std::string& name, const Bytes& bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& name)
{
    FILE* f = std::fopen(name.c_str(), "rb");
    if (f)
        std::fclose(f);
    return f != nullptr;
}

// A record filled by its user, as the screenshot does.
CTgaImage Image(unsigned width, unsigned height, unsigned depth, const Bytes& pixels)
{
    CTgaImage image;
    image.width = static_cast<std::uint16_t>(width);
    image.height = static_cast<std::uint16_t>(height);
    image.bitsPerPixel = static_cast<std::uint8_t>(depth);
    image.pixels.reset(new unsigned char[pixels.size()]);
    std::copy(pixels.begin(), pixels.end(), image.pixels.get());
    return image;
}

Bytes PixelsOf(const CTgaImage& image)
{
    std::size_t size = std::size_t(image.width) * image.height * (image.bitsPerPixel / 8);
    return Bytes(image.pixels.get(), image.pixels.get() + size);
}

class TgaImageTest : public ErrorLogTest {
protected:
    TgaImageTest() : ErrorLogTest("kx_tga_test.tga") {}
};

const char* const kNullMessage = "CTgaImage::TgaImageLoad -- Erreur ! Le pointeur _ctiImage est NULL !";

TEST_F(TgaImageTest, EmptyRecordHasSentinelsAndNoBlock)
{
    CTgaImage image;
    EXPECT_EQ(image.width, 65535);
    EXPECT_EQ(image.height, 65535);
    EXPECT_EQ(image.bitsPerPixel, 255);
    EXPECT_EQ(image.pixels, nullptr);
}

TEST_F(TgaImageTest, SaveThenLoadGivesSameImageAndLeavesCallerBlock)
{
    struct Case {
        unsigned width, height;
    };
    // 5 x 3: rows whose byte length is not a multiple of 4.
    const Case cases[] = {{1, 1}, {5, 3}, {64, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        const Bytes pixels = Ramp(c.width * c.height * 3);
        CTgaImage saved = Image(c.width, c.height, 24, pixels);
        ASSERT_TRUE(CTgaImage::TgaImageSave(path.c_str(), &saved));
        EXPECT_EQ(PixelsOf(saved), pixels);  // swapped back after writing
        EXPECT_EQ(ReadBytes(path).size(), 18 + pixels.size());

        CTgaImage loaded;
        ASSERT_TRUE(CTgaImage::TgaImageLoad(path.c_str(), &loaded));
        EXPECT_EQ(loaded.width, c.width);
        EXPECT_EQ(loaded.height, c.height);
        EXPECT_EQ(loaded.bitsPerPixel, 24);
        EXPECT_EQ(PixelsOf(loaded), pixels);
    }
    EXPECT_TRUE(g_Records.empty());
}

TEST_F(TgaImageTest, SavedFileHasHeaderAndBlueGreenRedPixels)
{
    const Bytes pixels = Ramp(800 * 2 * 3);
    CTgaImage image = Image(800, 2, 24, pixels);
    ASSERT_TRUE(CTgaImage::TgaImageSave(path.c_str(), &image));
    Bytes file = ReadBytes(path);
    ASSERT_EQ(file.size(), 18u + pixels.size());
    const Bytes header = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x20, 0x03, 0x02, 0x00, 24, 8};
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 18), header);
    // First pixel R, G, B in memory is stored B, G, R.
    EXPECT_EQ(file[18], pixels[2]);
    EXPECT_EQ(file[19], pixels[1]);
    EXPECT_EQ(file[20], pixels[0]);
}

TEST_F(TgaImageTest, LoadSwapsRedAndBlueAndKeepsAlpha)
{
    // File order B, G, R, A for two pixels.
    const Bytes file = {1, 2, 3, 4, 5, 6, 7, 8};
    WriteBytes(path, TgaFile(2, 1, 32, file));
    CTgaImage image;
    ASSERT_TRUE(CTgaImage::TgaImageLoad(path.c_str(), &image));
    EXPECT_EQ(image.bitsPerPixel, 32);
    EXPECT_EQ(PixelsOf(image), (Bytes{3, 2, 1, 4, 7, 6, 5, 8}));
}

TEST_F(TgaImageTest, ImageIdIsSkipped)
{
    const Bytes file = Ramp(3 * 2 * 3);
    WriteBytes(path, TgaFile(3, 2, 24, file, 2, {'a', 'b', 'c', 'd', 'e'}));
    CTgaImage withId;
    ASSERT_TRUE(CTgaImage::TgaImageLoad(path.c_str(), &withId));
    WriteBytes(path, TgaFile(3, 2, 24, file));
    CTgaImage without;
    ASSERT_TRUE(CTgaImage::TgaImageLoad(path.c_str(), &without));
    EXPECT_EQ(PixelsOf(withId), PixelsOf(without));
}

TEST_F(TgaImageTest, PixelDataCutShortLoadsWithMissingPartZeroed)
{
    // 2 x 2 at 24 bits announces 12 bytes; the file supplies 4.
    WriteBytes(path, TgaFile(2, 2, 24, {10, 20, 30, 40}));
    CTgaImage image;
    ASSERT_TRUE(CTgaImage::TgaImageLoad(path.c_str(), &image));
    EXPECT_EQ(PixelsOf(image), (Bytes{30, 20, 10, 0, 0, 40, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(g_Records.empty());
}

TEST_F(TgaImageTest, RefusedFilesFailWithoutMessage)
{
    const Bytes good = TgaFile(2, 1, 24, Ramp(6));
    struct Case {
        const char* what;
        Bytes file;
    };
    const Case cases[] = {
        {"run-length encoded (type 10)", TgaFile(2, 1, 24, Ramp(6), 10)},
        {"colour-mapped (type 1)", TgaFile(2, 1, 24, Ramp(6), 1)},
        {"8 bits per pixel", TgaFile(2, 1, 8, Ramp(2))},
        {"16 bits per pixel", TgaFile(2, 1, 16, Ramp(4))},
        {"15 bits per pixel", TgaFile(2, 1, 15, Ramp(4))},
        {"empty file", {}},
        {"header cut in the first bytes", Prefix(good, 2)},
        {"header cut in the colour-map block", Prefix(good, 8)},
        {"header cut in the geometry", Prefix(good, 15)},
        {"header cut before the descriptor", Prefix(good, 17)},
        {"image ID cut short", Prefix(TgaFile(2, 1, 24, {}, 2, {1, 2, 3, 4, 5}), 20)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(path, c.file);
        CTgaImage image;
        EXPECT_FALSE(CTgaImage::TgaImageLoad(path.c_str(), &image));
        EXPECT_EQ(image.pixels, nullptr);
    }
    CTgaImage image;
    EXPECT_FALSE(CTgaImage::TgaImageLoad((::testing::TempDir() + "kx_no_such.tga").c_str(), &image));
    EXPECT_TRUE(g_Records.empty()) << g_Records.front();
}

TEST_F(TgaImageTest, HugeAnnouncedBlockFailsCleanly)
{
    // 65535 x 65535 x 4 bytes (17 GB) announced by a file of a few bytes.
    WriteBytes(path, TgaFile(65535, 65535, 32, Ramp(16)));
    CTgaImage image;
    EXPECT_FALSE(CTgaImage::TgaImageLoad(path.c_str(), &image));
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.width, 65535);
    ASSERT_EQ(g_Records.size(), 1u);
    EXPECT_EQ(MessageOf(g_Records[0]).rfind("CTgaImage::TgaImageLoad -- ", 0), 0u);
}

TEST_F(TgaImageTest, LoadReplacesBlockOfAFilledRecord)
{
    WriteBytes(path, TgaFile(1, 1, 24, {1, 2, 3}));
    CTgaImage image = Image(2, 2, 32, Ramp(16));
    ASSERT_TRUE(CTgaImage::TgaImageLoad(path.c_str(), &image));
    EXPECT_EQ(image.width, 1);
    EXPECT_EQ(PixelsOf(image), (Bytes{3, 2, 1}));
}

TEST_F(TgaImageTest, SaveOfNon24BitImageLogsAndCreatesNoFile)
{
    const unsigned depths[] = {32, 8, 255};
    for (unsigned depth : depths) {
        SCOPED_TRACE(depth);
        g_Records.clear();
        CTgaImage image = Image(2, 2, depth, Ramp(2 * 2 * 4));
        EXPECT_FALSE(CTgaImage::TgaImageSave(path.c_str(), &image));
        EXPECT_FALSE(FileExists(path));
        EXPECT_EQ(Messages(),
                  std::vector<std::string>{"CTgaImage::TgaImageLoad -- Uniquement 24 bits par pixel supporté"});
    }
}

TEST_F(TgaImageTest, SaveOfRecordWithoutBlockIsRefused)
{
    CTgaImage image;
    image.width = 4;
    image.height = 4;
    image.bitsPerPixel = 24;
    EXPECT_FALSE(CTgaImage::TgaImageSave(path.c_str(), &image));
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(g_Records.size(), 1u);
}

TEST_F(TgaImageTest, SaveToUnwritablePlaceFailsWithoutMessage)
{
    CTgaImage image = Image(1, 1, 24, {1, 2, 3});
    std::string bad = ::testing::TempDir() + "kx_no_such_dir/shot.tga";
    EXPECT_FALSE(CTgaImage::TgaImageSave(bad.c_str(), &image));
    EXPECT_TRUE(g_Records.empty());
}

TEST_F(TgaImageTest, NullRecordPointerLogsTheSameMessageForLoadAndSave)
{
    WriteBytes(path, TgaFile(1, 1, 24, {1, 2, 3}));
    EXPECT_FALSE(CTgaImage::TgaImageLoad(path.c_str(), nullptr));
    EXPECT_FALSE(CTgaImage::TgaImageSave(path.c_str(), nullptr));
    EXPECT_EQ(Messages(), (std::vector<std::string>{kNullMessage, kNullMessage}));
}

TEST_F(TgaImageTest, UnloadFreesOnceThenComplains)
{
    CTgaImage image = Image(1, 1, 24, {1, 2, 3});
    image.cvUnloadImage();
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_TRUE(g_Records.empty());
    image.cvUnloadImage();
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"CTgaImage::cvUnloadImage -- On essaie de décharger une image inexistante."});
}

// A file of a few bytes whose header announces far more than it holds: the
// block is needed whole, but no more than 64 MiB of it may be missing, so a
// forged header cannot make the reader commit and zero a gigabyte.
TEST_F(TgaImageTest, MissingPixelDataIsBoundedAt64MiB)
{
    const std::uint64_t limit = std::uint64_t(64) << 20;
    struct Case {
        unsigned width, height;
        std::size_t supplied;
        bool loads;
    };
    const Case cases[] = {
        {4096, 4096, 0, true},         // exactly 64 MiB missing
        {4097, 4096, 0, false},        // 16 KiB more
        {4097, 4096, 4096 * 4, true},  // the same, 16 KiB supplied: 64 MiB missing again
        {16384, 16384, 8, false},      // 1 GiB announced by 26 bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " + " + std::to_string(c.supplied));
        g_Records.clear();
        WriteBytes(path, TgaFile(c.width, c.height, 32, Ramp(c.supplied)));
        CTgaImage image;
        const bool loaded = CTgaImage::TgaImageLoad(path.c_str(), &image);
        EXPECT_EQ(loaded, c.loads);
        if (c.loads) {
            ASSERT_NE(image.pixels, nullptr);
            const std::uint64_t block = std::uint64_t(c.width) * c.height * 4;
            EXPECT_EQ(block - c.supplied, limit);
            if (c.supplied > 0) {
                EXPECT_EQ(image.pixels[0], Ramp(3)[2]);  // red and blue swapped
            }
            EXPECT_EQ(image.pixels[c.supplied], 0);
            EXPECT_EQ(image.pixels[block - 1], 0);
            EXPECT_TRUE(g_Records.empty());
        } else {
            EXPECT_EQ(image.pixels, nullptr);
            ASSERT_EQ(g_Records.size(), 1u);
            EXPECT_EQ(MessageOf(g_Records[0]).rfind("CTgaImage::TgaImageLoad -- ", 0), 0u);
        }
    }
}

// Saving into a directory of its own, so that stray temporary files show.
class TgaSaveTest : public TgaImageTest {
protected:
    void SetUp() override
    {
        TgaImageTest::SetUp();
        std::string pattern = ::testing::TempDir() + "kx_tga_save.XXXXXX";
        ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
        dir = pattern;
        target = dir + "/screenshot.tga";
    }
    void TearDown() override
    {
        for (const std::string& name : Entries())
            std::remove((dir + "/" + name).c_str());
        rmdir(target.c_str());
        rmdir(dir.c_str());
        TgaImageTest::TearDown();
    }
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        if (DIR* d = opendir(dir.c_str())) {
            while (dirent* e = readdir(d))
                if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                    names.push_back(e->d_name);
            closedir(d);
        }
        return names;
    }
    std::string dir;
    std::string target;
};

TEST_F(TgaSaveTest, SaveReplacesAnOlderFileWithUsualRightsAndNoLeftover)
{
    WriteBytes(target, Bytes(100, 0xEE));
    const mode_t mask = umask(022);
    const Bytes pixels = Ramp(4 * 2 * 3);
    CTgaImage image = Image(4, 2, 24, pixels);
    const bool saved = CTgaImage::TgaImageSave(target.c_str(), &image);
    umask(mask);
    ASSERT_TRUE(saved);
    Bytes filePixels = pixels;  // blue, green, red in the file
    for (std::size_t i = 0; i < filePixels.size(); i += 3)
        std::swap(filePixels[i], filePixels[i + 2]);
    EXPECT_EQ(ReadBytes(target), TgaFile(4, 2, 24, filePixels));
    CTgaImage loaded;
    ASSERT_TRUE(CTgaImage::TgaImageLoad(target.c_str(), &loaded));
    EXPECT_EQ(PixelsOf(loaded), pixels);
    struct stat info;
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);  // not mkstemp's 0600
    EXPECT_EQ(Entries(), std::vector<std::string>{"screenshot.tga"});
    EXPECT_TRUE(g_Records.empty());
}

// A target that is a directory: the picture is written, but the last step,
// the rename, fails. The directory stays, the temporary goes.
TEST_F(TgaSaveTest, FailedRenameLeavesTargetAndNoTemporary)
{
    ASSERT_EQ(mkdir(target.c_str(), 0755), 0);
    CTgaImage image = Image(2, 2, 24, Ramp(12));
    EXPECT_FALSE(CTgaImage::TgaImageSave(target.c_str(), &image));
    struct stat info;
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(Entries(), std::vector<std::string>{"screenshot.tga"});
    EXPECT_EQ(PixelsOf(image), Ramp(12));
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"CTgaImage::TgaImageSave -- Impossible d'écrire le fichier " + target});
}

// A full disk, simulated with a file-size limit (it holds for root too):
// the write fails either inside fwrite (a block larger than the stream's
// buffer is written at once) or only at the flush (a small picture sits in
// the buffer until then). Either way the previous picture survives whole.
TEST_F(TgaSaveTest, WriteFailureKeepsThePreviousPictureWhole)
{
    const Bytes previousPixels = Ramp(3 * 3 * 3);
    CTgaImage previous = Image(3, 3, 24, previousPixels);
    ASSERT_TRUE(CTgaImage::TgaImageSave(target.c_str(), &previous));
    const Bytes before = ReadBytes(target);

    struct Case {
        const char* what;
        unsigned width, height;
        rlim_t limit;
    };
    const Case cases[] = {
        {"failure in fwrite", 128, 64, 8192},
        {"failure at the flush", 10, 10, 100},
    };
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_Records.clear();
        const Bytes pixels = Ramp(std::size_t(c.width) * c.height * 3);
        CTgaImage image = Image(c.width, c.height, 24, pixels);
        struct rlimit small = saved;
        small.rlim_cur = c.limit;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool ok = CTgaImage::TgaImageSave(target.c_str(), &image);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
        EXPECT_FALSE(ok);
        EXPECT_EQ(ReadBytes(target), before);
        EXPECT_EQ(PixelsOf(image), pixels);  // swapped back even on failure
        EXPECT_EQ(Entries(), std::vector<std::string>{"screenshot.tga"});
        EXPECT_EQ(Messages(),
                  std::vector<std::string>{"CTgaImage::TgaImageSave -- Impossible d'écrire le fichier " + target});
    }
    std::signal(SIGXFSZ, oldHandler);
}

}  // namespace
