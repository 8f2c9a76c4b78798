#include "formats/PngImage.h"

#include "base/Log.h"
#include "base/FileReplace.h"

#include <png.h>

std::vector<unsigned char> PngEncode(const CTgaImage& image)
{
    if (image.bitsPerPixel != 24 || !image.pixels || image.width == 0 || image.height == 0)
        return {};
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = image.width;
    png.height = image.height;
    png.format = PNG_FORMAT_RGB;
    // Rows unfiltered and a fast deflate level: a screenshot is encoded on
    // the event loop.
    png.flags = PNG_IMAGE_FLAG_FAST;
    // A negative stride: the record's rows go bottom first, the file's top
    // first.
    const png_int_32 stride = -static_cast<png_int_32>(image.width) * 3;
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(png);
    std::vector<unsigned char> file(size);
    if (!png_image_write_to_memory(&png, file.data(), &size, 0, image.pixels.get(), stride, nullptr)) {
        png_image_free(&png);
        return {};
    }
    file.resize(size);
    return file;
}

bool PngImageSave(const char* fileName, const CTgaImage& image)
{
    if (image.bitsPerPixel != 24 || !image.pixels || image.width == 0 || image.height == 0) {
        LogError("PngImageSave -- Image de 24 bits par pixel attendue pour %s", fileName);
        return false;
    }
    const std::vector<unsigned char> png = PngEncode(image);
    const bool written = !png.empty() && ReplaceFile(fileName, [&](FILE* file) {
        return std::fwrite(png.data(), 1, png.size(), file) == png.size();
    });
    if (!written)
        LogError("PngImageSave -- Impossible d'écrire le fichier %s", fileName);
    return written;
}
