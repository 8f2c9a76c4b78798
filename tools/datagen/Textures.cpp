#include "tools/datagen/Textures.h"

#include <algorithm>
#include <cmath>

namespace datagen {

namespace {

struct Rgb {
    double r, g, b;
};
Rgb operator*(Rgb c, double k)
{
    return {c.r * k, c.g * k, c.b * k};
}
Rgb operator+(Rgb a, Rgb b)
{
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
Rgb Mix(Rgb a, Rgb b, double t)
{
    return a * (1.0 - t) + b * t;
}

double Clamp01(double v)
{
    return std::min(1.0, std::max(0.0, v));
}
double SmoothStep(double e0, double e1, double v)
{
    const double t = Clamp01((v - e0) / (e1 - e0));
    return t * t * (3.0 - 2.0 * t);
}

// Integer hash of a lattice point: the pseudo-random source of every
// texture (no generator state, so the pictures do not depend on call order).
std::uint32_t Hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed)
{
    std::uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}
double Random01(std::uint32_t x, std::uint32_t y, std::uint32_t seed)
{
    return (Hash(x, y, seed) & 0xFFFFFF) / 16777216.0;
}

// Value noise on a lattice that wraps every `period` cells, so a texture
// made of it tiles. x and y are in lattice cells.
double PeriodicNoise(double x, double y, int period, std::uint32_t seed)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const double tx = x - fx, ty = y - fy;
    const double sx = tx * tx * (3.0 - 2.0 * tx), sy = ty * ty * (3.0 - 2.0 * ty);
    auto at = [&](int i, int j) {
        const int wi = ((i % period) + period) % period, wj = ((j % period) + period) % period;
        return Random01(static_cast<std::uint32_t>(wi), static_cast<std::uint32_t>(wj), seed);
    };
    const double a = at(ix, iy), b = at(ix + 1, iy), c = at(ix, iy + 1), d = at(ix + 1, iy + 1);
    return (a + (b - a) * sx) * (1.0 - sy) + (c + (d - c) * sx) * sy;
}

// Fractal sum over octaves for coordinates u, v in [0, 1): the result tiles
// the unit square and lies in [0, 1].
double Fractal(double u, double v, int basePeriod, int octaves, std::uint32_t seed)
{
    double sum = 0.0, amplitude = 0.5, total = 0.0;
    int period = basePeriod;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * PeriodicNoise(u * period, v * period, period, seed + 101u * o);
        total += amplitude;
        amplitude *= 0.5;
        period *= 2;
    }
    return sum / total;
}

std::uint8_t ToByte(double v)
{
    return static_cast<std::uint8_t>(std::lround(Clamp01(v) * 255.0));
}

void Put(RgbImage& image, int x, int y, Rgb c)
{
    std::uint8_t* p = &image.rgb[3 * (static_cast<std::size_t>(y) * image.width + x)];
    p[0] = ToByte(c.r);
    p[1] = ToByte(c.g);
    p[2] = ToByte(c.b);
}

RgbImage NewImage(int width, int height)
{
    RgbImage image;
    image.width = width;
    image.height = height;
    image.rgb.assign(static_cast<std::size_t>(width) * height * 3, 0);
    return image;
}

}  // namespace

RgbImage BuildGroundTexture()
{
    // 4 x 4 slabs of 128 pixels; the texture covers 8 scene units, so a slab
    // is 2 units and its joints fall on every other grid line.
    const int size = 512, slab = 128;
    RgbImage image = NewImage(size, size);
    const Rgb concrete{0.58, 0.57, 0.54};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double u = (x + 0.5) / size, v = (y + 0.5) / size;
            const int sx = x / slab, sy = y / slab;
            // Each slab poured a little differently.
            const double tone = 0.92 + 0.12 * Random01(sx, sy, 7u);
            const double grain = Fractal(u, v, 32, 4, 11u);  // sand and gravel
            const double blotch = Fractal(u, v, 4, 3, 23u);  // stains and wear
            const double speck = Random01(x, y, 31u);        // single pixels
            double shade = tone * (0.84 + 0.28 * grain) * (0.9 + 0.2 * blotch);
            if (speck > 0.985)
                shade *= 0.75;
            else if (speck < 0.01)
                shade *= 1.12;
            // Joints: a dark groove with a lighter worn edge.
            const int jx = x % slab, jy = y % slab;
            const int dist = std::min(std::min(jx, slab - 1 - jx), std::min(jy, slab - 1 - jy));
            if (dist == 0)
                shade *= 0.45;
            else if (dist == 1)
                shade *= 0.7;
            else if (dist == 2)
                shade *= 1.06;
            Rgb c = concrete * shade;
            c.b *= 0.97 + 0.06 * blotch;  // slight colour drift of the stains
            Put(image, x, y, c);
        }
    }
    return image;
}

RgbImage BuildSkyTexture()
{
    const int width = 512, height = 256;
    RgbImage image = NewImage(width, height);
    const Rgb horizon{0.82, 0.88, 0.95}, zenith{0.16, 0.36, 0.76};
    for (int y = 0; y < height; ++y) {
        const double t = (y + 0.5) / height;  // 0 at the horizon, 1 at the zenith
        const Rgb sky = Mix(horizon, zenith, std::pow(t, 0.55));
        for (int x = 0; x < width; ++x) {
            const double s = (x + 0.5) / width;
            // Clouds: flattened toward the horizon (t is stretched by 2),
            // thinned out near the zenith where the dome squeezes the texture.
            const double cover = Fractal(s, t * 0.5, 6, 5, 41u);
            const double fade = SmoothStep(0.0, 0.12, t) * (1.0 - SmoothStep(0.55, 0.9, t));
            const double density = SmoothStep(0.5, 0.72, cover) * fade;
            const double relief = Fractal(s, t * 0.5, 12, 4, 53u);
            const Rgb cloud = Mix(Rgb{0.66, 0.68, 0.72}, Rgb{0.98, 0.98, 0.97}, SmoothStep(0.3, 0.7, relief));
            Put(image, x, y, Mix(sky, cloud, density));
        }
    }
    return image;
}

RgbImage BuildMetalTexture()
{
    const int size = 256;
    RgbImage plain = NewImage(size, size);
    // The reflected direction seen at each point of a sphere map, in eye
    // space with y up: a bright sky above, a sharp horizon, a dark floor
    // below, and the highlight of a light up and to the right.
    const double lx = 0.45, ly = 0.65, lz = 0.61;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double px = 2.0 * (x + 0.5) / size - 1.0, py = 2.0 * (y + 0.5) / size - 1.0;
            const double d2 = px * px + py * py;
            if (d2 > 0.999) {  // outside the disc: repeat its rim
                const double k = std::sqrt(0.999 / d2);
                px *= k;
                py *= k;
            }
            const double nz = std::sqrt(std::max(0.0, 1.0 - px * px - py * py));
            const double rx = 2.0 * nz * px, ry = 2.0 * nz * py, rz = 2.0 * nz * nz - 1.0;
            Rgb c;
            if (ry >= 0.0)
                c = Mix(Rgb{0.93, 0.95, 0.98}, Rgb{0.55, 0.63, 0.76}, std::pow(ry, 0.6));
            else
                c = Mix(Rgb{0.52, 0.5, 0.48}, Rgb{0.3, 0.29, 0.28}, std::pow(-ry, 0.5));
            // A soft bright band just above the horizon.
            c = c + Rgb{0.08, 0.08, 0.08} * std::exp(-std::pow((ry - 0.05) / 0.05, 2.0));
            const double spot = std::max(0.0, rx * lx + ry * ly + rz * lz);
            c = c + Rgb{1.0, 0.98, 0.94} * (0.9 * std::pow(spot, 60.0) + 0.15 * std::pow(spot, 6.0));
            // Fine brushing: streaks along the image's x.
            const double brush = Fractal((x + 0.5) / size * 0.125, (y + 0.5) / size, 64, 2, 67u);
            c = c * (0.94 + 0.12 * brush);
            Put(plain, x, y, c);
        }
    }
    // Turn by half a turn: pixel (x, y) takes the plain image's
    // (size - 1 - x, size - 1 - y).
    RgbImage turned = NewImage(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            for (int k = 0; k < 3; ++k)
                turned.rgb[3 * (y * size + x) + k] = plain.rgb[3 * ((size - 1 - y) * size + (size - 1 - x)) + k];
    return turned;
}

}  // namespace datagen
