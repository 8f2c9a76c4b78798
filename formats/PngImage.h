#pragma once
// A screenshot record (CTgaImage: 24-bit, bottom row first) written as a PNG
// file, through libpng. Pure file code, no GL.
#include "formats/TgaImage.h"

#include <vector>

// The PNG file of the picture, upright (top row first); empty when the
// record is not a 24-bit picture or libpng fails. libpng's fast mode (rows
// unfiltered, a low deflate level): a screenshot is encoded on the event
// loop, and on the scene's pictures this is several times quicker than a
// thorough encoder while the files come out smaller than stb's writer made
// them (bench/PngBench.cpp measures both).
std::vector<unsigned char> PngEncode(const CTgaImage& image);

// Writes PngEncode's file through a temporary file, as the TGA writer does;
// false when it could not be written, with a record.
bool PngImageSave(const char* fileName, const CTgaImage& image);
