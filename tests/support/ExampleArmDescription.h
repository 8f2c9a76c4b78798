#pragma once
// Test support: the example arm (h 100, a2 30, a3 120, e 20, d 110 pose
// units) as a whole description, every joint at 60 degrees per second,
// starting at (10, 20, 30, 40, 50, 60), within the panel's default limits 0
// to 360, which the MGI's negative angles fall outside of.
#include "arm/ArmDescription.h"

namespace kxtest {

inline ArmDescription ExampleArmDescription(MGIModel model = MGIModel::Grid)
{
    ArmDescription arm{};
    const float offsets[kLinkCount][3] = {{0, 0, 1.0f}, {0.3f, 0, 0}, {1.2f, 0, 0}, {0.2f, -0.2f, 0},
                                          {0, 0, 0.9f}, {0, 0, 0},    {0, 0, 0}};
    for (int link = 0; link < kLinkCount; ++link)
        for (int k = 0; k < 3; ++k)
            arm.offset[link][k] = offsets[link][k];
    for (int joint = 0; joint < kJointCount; ++joint) {
        arm.maxSpeed[joint] = 60;
        arm.limits.low[joint] = 0;
        arm.limits.high[joint] = 360;
    }
    arm.start = JointAngles{10, 20, 30, 40, 50, 60};
    arm.exactMGI = model == MGIModel::Exact;
    return arm;
}

}  // namespace kxtest
