#pragma once
// Byte builders shared by the tests and the fuzz corpus generator: files
// made by our own code, small enough to read at a glance.
#include <algorithm>
#include <cstddef>
#include <vector>

using Bytes = std::vector<unsigned char>;

// Every byte distinct from its neighbours, so a swap or shift anywhere shows.
inline Bytes Ramp(std::size_t n)
{
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<unsigned char>(i * 7 + 1);
    return b;
}

// The first n bytes (all of them when there are fewer).
inline Bytes Prefix(const Bytes& bytes, std::size_t n)
{
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(n, bytes.size())));
}

// A TGA file as the reader expects it: header, optional image ID, then the
// pixel bytes given in file order (blue, green, red (, alpha)).
inline Bytes TgaFile(unsigned width, unsigned height, unsigned depth, const Bytes& filePixels, unsigned char type = 2,
                     const Bytes& imageId = {})
{
    Bytes f = {static_cast<unsigned char>(imageId.size()),
               0,
               type,
               0,
               0,
               0,
               0,
               0,
               0,
               0,
               0,
               0,
               static_cast<unsigned char>(width & 0xFF),
               static_cast<unsigned char>(width >> 8),
               static_cast<unsigned char>(height & 0xFF),
               static_cast<unsigned char>(height >> 8),
               static_cast<unsigned char>(depth),
               8};
    f.insert(f.end(), imageId.begin(), imageId.end());
    f.insert(f.end(), filePixels.begin(), filePixels.end());
    return f;
}
