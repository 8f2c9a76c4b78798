#pragma once
// The scene's window read back as a picture, for the picture tests.
#include "gl/Graphics.h"

#include <GL/gl.h>

#include <cstdlib>
#include <vector>

using Picture = std::vector<unsigned char>;  // RGB rows, bottom first

inline Picture ReadPicture()
{
    Picture rgb(static_cast<std::size_t>(g_iScreenWidth) * g_iScreenHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, g_iScreenWidth, g_iScreenHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

// Whether pixel i (counted from the bottom left) differs between two
// pictures by more than `levels` (of 255) in a channel.
inline bool PixelDiffers(const Picture& a, const Picture& b, std::size_t i, int levels)
{
    for (std::size_t k = 3 * i; k < 3 * i + 3; ++k)
        if (std::abs(a[k] - b[k]) > levels)
            return true;
    return false;
}

// Pixels of which a channel differs by more than `levels`.
inline int DifferingPixels(const Picture& a, const Picture& b, int levels)
{
    int count = 0;
    for (std::size_t i = 0; i < a.size() / 3; ++i)
        count += PixelDiffers(a, b, i, levels);
    return count;
}
