#include "gl/Screenshot.h"

#include "formats/PngImage.h"
#include "formats/TgaImage.h"
#include "gl/Graphics.h"
#include "gl/Scene.h"

#include <GL/gl.h>

#include <cstring>
#include <new>

bool SaveScreenshot(const char* fileName)
{
    // Drawn afresh first: after a resize the last frame may still be the
    // old size, or not drawn yet. The back buffer keeps the frame after the
    // swap (the default read buffer of a double-buffered window).
    DisplayCurrentScene();
    CTgaImage image;
    image.width = static_cast<unsigned short>(g_iScreenWidth);
    image.height = static_cast<unsigned short>(g_iScreenHeight);
    image.bitsPerPixel = 24;
    std::size_t size = static_cast<std::size_t>(image.width) * image.height * 3;
    image.pixels.reset(new (std::nothrow) unsigned char[size]);
    if (!image.pixels)
        return false;
    // Rows packed tightly: with the default alignment of 4 a window whose
    // width times 3 is not a multiple of 4 would overrun the block.
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE, image.pixels.get());
    const std::size_t length = std::strlen(fileName);
    if (length > 4 && std::strcmp(fileName + length - 4, ".png") == 0)
        return PngImageSave(fileName, image);
    return CTgaImage::TgaImageSave(fileName, &image);
}
