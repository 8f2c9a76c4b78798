#include "kinematics/JointLimits.h"

#include "base/FrenchDecimal.h"

#include <algorithm>
#include <cmath>

namespace {

// The whole turns that bring angle into [low, high]: first and last; none
// when first > last.
void TurnsIntoLimits(double angle, float low, float high, double* first, double* last)
{
    *first = std::ceil((low - angle) / 360.0);
    *last = std::floor((high - angle) / 360.0);
}

}  // namespace

float ShiftIntoLimits(float angle, float low, float high, float current)
{
    if (!std::isfinite(angle) || !(low <= high))
        return angle;
    const double a = angle;
    double firstTurn, lastTurn;
    TurnsIntoLimits(a, low, high, &firstTurn, &lastTurn);
    if (firstTurn > lastTurn)
        return angle;
    double nearest = std::isfinite(current) ? std::round((current - a) / 360.0) : firstTurn;
    double turns = std::clamp(nearest, firstTurn, lastTurn);
    float shifted = static_cast<float>(a + 360.0 * turns);
    // Rounding to single precision may step just past a limit.
    return std::clamp(shifted, low, high);
}

float ClampIntoLimits(float angle, float low, float high)
{
    if (angle < low)
        return low;
    if (angle > high)
        return high;
    return angle;
}

JointAngles ClampIntoLimits(const JointAngles& angles, const JointLimits& limits)
{
    JointAngles clamped = angles;
    for (int joint = 0; joint < 6; ++joint) {
        float& angle = clamped.*kJointFields[joint];
        angle = ClampIntoLimits(angle, limits.low[joint], limits.high[joint]);
    }
    return clamped;
}

bool FitsLimits(const JointAngles& angles, const JointLimits& limits)
{
    for (int joint = 0; joint < 6; ++joint) {
        const float angle = angles.*kJointFields[joint];
        if (!std::isfinite(angle) || !(limits.low[joint] <= limits.high[joint]))
            return false;
        double first, last;
        TurnsIntoLimits(angle, limits.low[joint], limits.high[joint], &first, &last);
        if (first > last)
            return false;
    }
    return true;
}

std::string OutsideLimits(const std::string& joint, double angle, double low, double high)
{
    return joint + " = " + FormatShortDecimal(angle) + " hors des limites [" + FormatShortDecimal(low) + " ; " +
           FormatShortDecimal(high) + "]";
}
