#pragma once
// One OpenGL texture name, created from a TGA file.
#include <cstdint>

class CTexture {
public:
    // Creates the texture, uploads the image and leaves it bound. False, with
    // a record naming the file, when it cannot be read; the name then keeps
    // its previous value.
    bool LoadTGA(const char* fileName);

    // 0xFFFFFFFF until a texture has been created.
    std::uint32_t m_uiTexture = 0xFFFFFFFFu;
};
