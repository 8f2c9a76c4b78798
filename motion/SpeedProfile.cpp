// The speed profile of a planned move (see SpeedProfile.h).
#include "motion/SpeedProfile.h"

#include <kdl/velocityprofile_rect.hpp>
#include <kdl/velocityprofile_trap.hpp>

#include <cmath>

bool NoAccelerationLimit(double acceleration)
{
    return acceleration == 0 || (std::isinf(acceleration) && acceleration > 0);
}

std::unique_ptr<KDL::VelocityProfile> MakeSpeedProfile(double maxSpeed, double maxAcceleration)
{
    if (NoAccelerationLimit(maxAcceleration))
        return std::make_unique<KDL::VelocityProfile_Rectangular>(maxSpeed);
    return std::make_unique<KDL::VelocityProfile_Trap>(maxSpeed, maxAcceleration);
}
