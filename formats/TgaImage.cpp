#include "formats/TgaImage.h"

#include "base/Log.h"
#include "base/FileReplace.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const int kHeaderSize = 18;
const int kTypeTrueColour = 2;

// The largest pixel block a file may announce. A 16-bit header can announce
// 65535 x 65535 x 4 bytes (17 GB); no texture or window of this program comes
// near a gigabyte (16384 x 16384 x 4, the largest texture GL drivers take, is
// exactly one), and past it a forged header would have us commit (zero-fill)
// many gigabytes for a file of a few bytes.
const std::uint64_t kMaxPixelBlock = std::uint64_t(1) << 30;

// The most pixel data a file may lack and still load, its missing part
// zeroed. A file cut short in a copy loads (the block is needed whole: the
// texture takes width x height pixels), but a header of a few bytes that
// announces a gigabyte is not a cut-short image: without this bound it would
// make us commit and zero the whole gigabyte. 64 MiB is a 4096 x 4096
// texture of 32 bits, far above the missing part of any real cut-short file
// of this program's size, and a complete file is never refused for it.
const std::uint64_t kMaxMissingPixels = std::uint64_t(64) << 20;

// Closes the stream on every return path.
struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// Exchanges the first and third byte of each pixel: BGR(A) <-> RGB(A).
void SwapRedBlue(unsigned char* block, std::uint64_t bytes, unsigned bytesPerPixel)
{
    for (std::uint64_t i = 0; i + bytesPerPixel <= bytes; i += bytesPerPixel)
        std::swap(block[i], block[i + 2]);
}

}  // namespace

bool CTgaImage::TgaImageLoad(const char* fileName, CTgaImage* _ctiImage)
{
    if (!_ctiImage) {
        LogError("CTgaImage::TgaImageLoad -- Erreur ! Le pointeur _ctiImage est NULL !");
        return false;
    }
    FilePtr file(std::fopen(fileName, "rb"));
    if (!file)
        return false;

    unsigned char start[3];
    if (std::fread(start, 1, 3, file.get()) != 3)
        return false;
    const unsigned idLength = start[0];
    if (start[2] != kTypeTrueColour)
        return false;

    // Colour-map fields and image origin (offsets 3 to 11) are not used.
    unsigned char skipped[9];
    if (std::fread(skipped, 1, sizeof skipped, file.get()) != sizeof skipped)
        return false;

    unsigned char geometry[6];
    std::size_t got = std::fread(geometry, 1, sizeof geometry, file.get());
    // The fields hold whatever part of the geometry the file supplied.
    if (got >= 2)
        _ctiImage->width = static_cast<std::uint16_t>(geometry[0] | (geometry[1] << 8));
    if (got >= 4)
        _ctiImage->height = static_cast<std::uint16_t>(geometry[2] | (geometry[3] << 8));
    if (got >= 5)
        _ctiImage->bitsPerPixel = geometry[4];
    if (got != sizeof geometry)
        return false;

    unsigned char imageId[255];
    if (idLength > 0 && std::fread(imageId, 1, idLength, file.get()) != idLength)
        return false;

    // The colour swap is defined for pixels of three or four bytes only; an
    // 8-, 15- or 16-bit image would need a palette or a bit-field decoder.
    const unsigned bpp = _ctiImage->bitsPerPixel;
    if (bpp != 24 && bpp != 32)
        return false;

    // 64 bits: 65535 x 65535 x 4 does not fit in an int or a 32-bit size_t.
    const std::uint64_t blockSize = std::uint64_t(_ctiImage->width) * _ctiImage->height * (bpp / 8);
    if (blockSize > kMaxPixelBlock) {
        LogError("CTgaImage::TgaImageLoad -- Image trop grande (%ux%u) : bloc de pixels refusé",
                 unsigned(_ctiImage->width), unsigned(_ctiImage->height));
        return false;
    }
    // What the file still holds, when its size can be known (a regular
    // file); a stream that cannot seek is read as it comes.
    const long here = std::ftell(file.get());
    if (here >= 0 && std::fseek(file.get(), 0, SEEK_END) == 0) {
        const long end = std::ftell(file.get());
        if (std::fseek(file.get(), here, SEEK_SET) != 0)
            return false;
        const std::uint64_t supplied = end > here ? std::uint64_t(end - here) : 0;
        if (end >= 0 && supplied < blockSize && blockSize - supplied > kMaxMissingPixels) {
            LogError(
                "CTgaImage::TgaImageLoad -- Fichier tronqué (%ux%u) : il manque %llu octets de pixels, bloc refusé",
                unsigned(_ctiImage->width), unsigned(_ctiImage->height),
                static_cast<unsigned long long>(blockSize - supplied));
            return false;
        }
    }
    std::unique_ptr<unsigned char[]> block(new (std::nothrow) unsigned char[static_cast<std::size_t>(blockSize)]);
    if (!block) {
        LogError("CTgaImage::TgaImageLoad -- Mémoire insuffisante pour le bloc de pixels (%ux%u)",
                 unsigned(_ctiImage->width), unsigned(_ctiImage->height));
        return false;
    }

    const std::size_t size = static_cast<std::size_t>(blockSize);
    std::size_t read = std::fread(block.get(), 1, size, file.get());
    if (read < size && std::ferror(file.get())) {
        _ctiImage->pixels.reset();
        return false;
    }
    // A file shorter than its header says still loads; the missing pixels
    // are black rather than whatever the allocator left there.
    std::memset(block.get() + read, 0, size - read);
    SwapRedBlue(block.get(), blockSize, bpp / 8);
    _ctiImage->pixels = std::move(block);
    return true;
}

bool CTgaImage::TgaImageSave(const char* fileName, CTgaImage* _ctiImage)
{
    if (!_ctiImage) {
        LogError("CTgaImage::TgaImageLoad -- Erreur ! Le pointeur _ctiImage est NULL !");
        return false;
    }
    if (_ctiImage->bitsPerPixel != 24) {
        LogError("CTgaImage::TgaImageLoad -- Uniquement 24 bits par pixel supporté");
        return false;
    }
    const std::uint64_t blockSize = std::uint64_t(_ctiImage->width) * _ctiImage->height * 3;
    // Writing width x height x 3 bytes from no block at all would read
    // through a null pointer.
    if (!_ctiImage->pixels && blockSize > 0) {
        LogError("CTgaImage::TgaImageSave -- Erreur ! L'image n'a pas de pixels !");
        return false;
    }
    // Through a temporary file (FileReplace.h). A temporary that cannot be
    // created counts as a file that cannot be opened (false, no message).
    bool opened = false;
    const bool written = ReplaceFile(fileName, [&](FILE* file) {
        opened = true;
        const unsigned char header[kHeaderSize] = {
            0,
            0,
            kTypeTrueColour,
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            static_cast<unsigned char>(_ctiImage->width & 0xFF),
            static_cast<unsigned char>(_ctiImage->width >> 8),
            static_cast<unsigned char>(_ctiImage->height & 0xFF),
            static_cast<unsigned char>(_ctiImage->height >> 8),
            24,
            8,
        };
        bool ok = std::fwrite(header, 1, sizeof header, file) == sizeof header;
        if (ok && blockSize > 0) {
            unsigned char* block = _ctiImage->pixels.get();
            const std::size_t size = static_cast<std::size_t>(blockSize);
            SwapRedBlue(block, blockSize, 3);
            ok = std::fwrite(block, 1, size, file) == size;
            SwapRedBlue(block, blockSize, 3);  // the caller's block, unchanged whatever happened
        }
        return ok;
    });
    if (written)
        return true;
    if (!opened)
        return false;
    LogError("CTgaImage::TgaImageSave -- Impossible d'écrire le fichier %s", fileName);
    return false;
}

void CTgaImage::cvUnloadImage()
{
    if (!pixels) {
        LogError("CTgaImage::cvUnloadImage -- On essaie de décharger une image inexistante.");
        return;
    }
    pixels.reset();
}
