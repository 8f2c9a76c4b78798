// The values a planned move is made of (see MoveSettings.h).
#include "motion/MoveSettings.h"

#include "motion/SpeedProfile.h"

#include <cmath>

namespace {

bool ValidSpeed(double speed)
{
    return std::isfinite(speed) && speed > 0;
}

bool ValidAcceleration(double acceleration)
{
    return NoAccelerationLimit(acceleration) || ValidSpeed(acceleration);
}

bool Refuse(PlanFailure* failure)
{
    *failure = PlanFailure{};
    failure->reason = PlanFault::InvalidSettings;
    return false;
}

}  // namespace

bool CheckMoveSetup(const MoveSetup& setup, double speedPercent, PlanFailure* failure)
{
    for (int joint = 0; joint < 6; ++joint)
        if (!ValidSpeed(setup.maxSpeed[joint]) || !ValidAcceleration(setup.maxAccel[joint]))
            return Refuse(failure);
    if (!(speedPercent >= kMinSpeedPercent && speedPercent <= kMaxSpeedPercent))
        return Refuse(failure);
    return true;
}

bool CheckPathSpeeds(const PathSpeeds& speeds, PlanFailure* failure)
{
    if (!ValidSpeed(speeds.linear) || !ValidAcceleration(speeds.linearAccel) || !ValidSpeed(speeds.angular))
        return Refuse(failure);
    return true;
}
