#include "gl/Texture.h"

#include "base/Log.h"
#include "formats/TgaImage.h"

#include <GL/gl.h>

bool CTexture::LoadTGA(const char* fileName)
{
    CTgaImage image;  // empty: 65535 x 65535, 255 bits, no block
    if (!CTgaImage::TgaImageLoad(fileName, &image)) {
        // The reader is silent about a file it cannot open or does not
        // read; without this record the user would not learn which
        // texture stopped the start-up.
        LogError("CTexture::LoadTGA -- Impossible de lire l'image %s", fileName);
        return false;
    }

    GLuint name;
    glGenTextures(1, &name);
    m_uiTexture = name;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);

    // Rows are packed tightly: a 24-bit row whose length is not a multiple
    // of 4 would be read past its end with the default alignment.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (image.bitsPerPixel == 24)
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     image.pixels.get());
    else if (image.bitsPerPixel == 32)
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     image.pixels.get());
    image.cvUnloadImage();
    return true;
}
