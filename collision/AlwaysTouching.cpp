#include "collision/AlwaysTouching.h"

#include "collision/CollisionWorld.h"

#include <random>

CLinkPairs FindAlwaysTouching(const CCollisionWorld& world, const JointLimits& limits, int samples, unsigned seed)
{
    // mt19937's numbers are the same everywhere; the standard's
    // distributions are not, so the draw within the limits is written here.
    std::mt19937 random(seed);
    CLinkPairs always;
    for (int n = 0; n < samples; ++n) {
        JointAngles angles;
        for (int joint = 0; joint < kJointCount; ++joint) {
            const double u = (random() + 0.5) / 4294967296.0;
            angles.*kJointFields[joint] =
                static_cast<float>(limits.low[joint] + u * (double(limits.high[joint]) - limits.low[joint]));
        }
        const CLinkPairs contacts = world.LinkContacts(angles);
        if (n == 0)
            always = contacts;
        else
            always.Intersect(contacts);
        if (always.Empty())  // no pair can come back
            break;
    }
    return always;
}
