#pragma once
// The three procedural textures of the default data set. Deterministic:
// every random-looking value comes from an integer hash of a fixed seed.
#include <cstdint>
#include <vector>

namespace datagen {

// A 24-bit picture, bytes red, green, blue, rows bottom first (the first
// row lands at texture coordinate t = 0).
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// Concrete floor slabs with joints and wear; tiles seamlessly.
RgbImage BuildGroundTexture();
// Sky from a hazy horizon (t = 0) to a deep zenith blue (t = 1) with
// clouds; tiles seamlessly along s.
RgbImage BuildSkyTexture();
// A chrome environment for sphere mapping, turned by 180 degrees: the
// start camera turns eye space by half a turn, so an ordinary sphere map
// would put the sky on the arm's undersides.
RgbImage BuildMetalTexture();

}  // namespace datagen
