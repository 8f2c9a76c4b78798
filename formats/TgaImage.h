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
    // part zeroed, as long as no more than 64 MiB of it is missing. Other
    // depths, other image types, a header cut short, a block above 1 GiB or a
    // file lacking more than 64 MiB of its pixels are refused (false).
    static bool TgaImageLoad(const char* fileName, CTgaImage* _ctiImage);

    // Writes a 24-bit record as an 18-byte header and width x height x 3
    // bytes. The block is swapped to file order in place and swapped back, so
    // the caller's bytes are unchanged afterwards. The bytes go to a
    // temporary file in the same directory, renamed over fileName only when
    // every write, the flush and the close succeeded: on failure fileName is
    // left as it was, the temporary removed, and the result is false (with a
    // record, except when not even the temporary could be created).
    static bool TgaImageSave(const char* fileName, CTgaImage* _ctiImage);

    // Frees the pixel block; logs a message when there is none.
    void cvUnloadImage();

    std::uint16_t width = 65535;
    std::uint16_t height = 65535;
    std::uint8_t bitsPerPixel = 255;
    std::unique_ptr<unsigned char[]> pixels;
};
