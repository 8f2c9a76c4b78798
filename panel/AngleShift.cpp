#include "panel/AngleShift.h"

#include <algorithm>
#include <cmath>

float ShiftIntoLimits(float angle, float low, float high, float current)
{
    if (!std::isfinite(angle) || !(low <= high))
        return angle;
    const double a = angle;
    const double firstTurn = std::ceil((low - a) / 360.0);
    const double lastTurn = std::floor((high - a) / 360.0);
    if (firstTurn > lastTurn)
        return angle;
    double nearest = std::isfinite(current) ? std::round((current - a) / 360.0) : firstTurn;
    double turns = std::clamp(nearest, firstTurn, lastTurn);
    float shifted = static_cast<float>(a + 360.0 * turns);
    // Rounding to single precision may step just past a limit.
    return std::clamp(shifted, low, high);
}
