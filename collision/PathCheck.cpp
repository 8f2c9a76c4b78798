#include "collision/PathCheck.h"

#include "collision/CollisionWorld.h"

PathCollision FirstCollisionOnPath(const CCollisionWorld& world, const std::vector<JointAngles>& samples)
{
    PathCollision found;
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (world.FirstCollision(samples[i], &found.pair)) {
            found.index = static_cast<int>(i);
            break;
        }
    return found;
}
