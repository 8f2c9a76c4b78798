#include "view/WindowBounds.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct Point4 {
    double x, y, z, w;
};

Point4 Apply(const Matrix4& m, const Point4& p)
{
    const double* a = m.m;
    return Point4{
        a[0] * p.x + a[4] * p.y + a[8] * p.z + a[12] * p.w, a[1] * p.x + a[5] * p.y + a[9] * p.z + a[13] * p.w,
        a[2] * p.x + a[6] * p.y + a[10] * p.z + a[14] * p.w, a[3] * p.x + a[7] * p.y + a[11] * p.z + a[15] * p.w};
}

// [lo, hi] widened to whole pixels and by the margin, within [start,
// start + size]: the first pixel and the count.
void PixelSpan(double lo, double hi, int margin, int start, int size, int* first, int* count)
{
    const double from = std::clamp(std::floor(lo) - margin, double(start), double(start) + size);
    const double to = std::clamp(std::ceil(hi) + margin, double(start), double(start) + size);
    *first = static_cast<int>(from);
    *count = std::max(0, static_cast<int>(to) - *first);
}

}  // namespace

PixelRect WindowBounds(const std::vector<Point3>& points, const Matrix4& modelview, const Matrix4& projection,
                       const int viewport[4], int margin)
{
    const PixelRect whole{viewport[0], viewport[1], viewport[2], viewport[3]};
    const double inf = std::numeric_limits<double>::infinity();
    double lo[2] = {inf, inf}, hi[2] = {-inf, -inf};
    for (const Point3& p : points) {
        const Point4 clip = Apply(projection, Apply(modelview, Point4{p.x, p.y, p.z, 1.0}));
        if (!(clip.w > 0.0) || !std::isfinite(clip.w) || !std::isfinite(clip.x) || !std::isfinite(clip.y))
            return whole;
        const double window[2] = {viewport[0] + (clip.x / clip.w + 1.0) * 0.5 * viewport[2],
                                  viewport[1] + (clip.y / clip.w + 1.0) * 0.5 * viewport[3]};
        for (int i = 0; i < 2; ++i) {
            lo[i] = std::min(lo[i], window[i]);
            hi[i] = std::max(hi[i], window[i]);
        }
    }
    if (points.empty())
        return PixelRect{viewport[0], viewport[1], 0, 0};
    PixelRect r{};
    PixelSpan(lo[0], hi[0], margin, viewport[0], viewport[2], &r.x, &r.width);
    PixelSpan(lo[1], hi[1], margin, viewport[1], viewport[3], &r.y, &r.height);
    return r;
}
