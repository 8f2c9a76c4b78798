#include "graphics/PngImage.h"

#include "app/Log.h"
#include "graphics/FileReplace.h"

#include <stb/stb_image_write.h>

#include <vector>

bool PngImageSave(const char* fileName, const CTgaImage& image)
{
    if (image.bitsPerPixel != 24 || !image.pixels || image.width == 0 || image.height == 0) {
        LogError("PngImageSave -- Image de 24 bits par pixel attendue pour %s", fileName);
        return false;
    }
    // The record's rows go bottom first; a negative stride from the last row
    // hands them to the encoder top first.
    const int stride = image.width * 3;
    const unsigned char* top = image.pixels.get() + static_cast<std::size_t>(image.height - 1) * stride;
    std::vector<unsigned char> png;
    const auto append = [](void* context, void* data, int size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        static_cast<std::vector<unsigned char>*>(context)->insert(
            static_cast<std::vector<unsigned char>*>(context)->end(), bytes, bytes + size);
    };
    const bool encoded = stbi_write_png_to_func(append, &png, image.width, image.height, 3, top, -stride) != 0;
    const bool written = encoded && ReplaceFile(fileName, [&](FILE* file) {
                             return std::fwrite(png.data(), 1, png.size(), file) == png.size();
                         });
    if (!written)
        LogError("PngImageSave -- Impossible d'écrire le fichier %s", fileName);
    return written;
}
