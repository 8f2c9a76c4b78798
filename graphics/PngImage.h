#pragma once
// A screenshot record (CTgaImage: 24-bit, bottom row first) written as a PNG
// file, through stb's image writer. Pure file code, no GL.
#include "graphics/TgaImage.h"

// Writes the picture upright (top row first in the file), through a
// temporary file as the TGA writer does; false when it could not be
// written, with a record.
bool PngImageSave(const char* fileName, const CTgaImage& image);
