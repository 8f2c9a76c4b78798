#pragma once
// An image record read from, or written to, an uncompressed true-colour TGA
// file (image type 2). Pure file code, no GL: texture creation uploads the
// pixels, the screenshot fills them from glReadPixels.
//
// The pixel block holds width x height pixels of bitsPerPixel / 8 bytes,
// rows tightly packed in the file's row order (bottom row first for the usual
// lower-left origin, as GL wants), bytes in the order red, green, blue
// (, alpha). The file stores blue, green, red (, alpha).
#include <cstdint>
#include <memory>

class CTgaImage {
public:
    // An empty record, as texture creation makes one before a read:
    // 65535 x 65535, 255 bits per pixel, no pixel block. The sentinel values
    // are deliberate: a record that was never filled cannot pass for a valid
    // image.
    CTgaImage() = default;

    // Reads an uncompressed 24- or 32-bit file into *_ctiImage, replacing any
    // block it held. A file whose pixel data stops early loads, the missing
    // part zeroed. Other depths, other image types, a header cut short or a
    // block too large to hold are refused (false).
    static bool TgaImageLoad(const char* fileName, CTgaImage* _ctiImage);

    // Writes a 24-bit record as an 18-byte header and width x height x 3
    // bytes. The block is swapped to file order in place and swapped back, so
    // the caller's bytes are unchanged afterwards. True once the file could be
    // opened: errors while writing are not reported.
    static bool TgaImageSave(const char* fileName, CTgaImage* _ctiImage);

    // Frees the pixel block; logs a message when there is none.
    void cvUnloadImage();

    std::uint16_t width = 65535;
    std::uint16_t height = 65535;
    std::uint8_t bitsPerPixel = 255;
    std::unique_ptr<unsigned char[]> pixels;
};
