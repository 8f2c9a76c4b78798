#pragma once
// A planned path checked sample by sample: where it first meets something.
// The samples must be close enough for what lies between them (Densify,
// JointReach.h).
#include "collision/CollisionPair.h"
#include "kinematics/RobotTypes.h"

#include <vector>

class CCollisionWorld;

struct PathCollision {
    int index = -1;  // the first sample in contact, -1 when none is
    CollisionPair pair;
};

PathCollision FirstCollisionOnPath(const CCollisionWorld& world, const std::vector<JointAngles>& samples);
