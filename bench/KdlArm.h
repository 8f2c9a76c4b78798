#pragma once
// The arm as an Orocos KDL chain, for comparing our geometric models with
// KDL's solvers. The chain computes the same wrist centre (pose units) and
// hand orientation as ComputeMGD: the tip frame of the chain is the wrist
// centre, turned like the MGD's matrix R.
#include "arm/ArmDescription.h"
#include "kinematics/ArmChain.h"
#include "kinematics/JointLimits.h"
#include "kinematics/Kinematics.h"
#include "kinematics/RobotTypes.h"

#include <kdl/chain.hpp>
#include <kdl/frames.hpp>
#include <kdl/jntarray.hpp>

#include <random>
#include <vector>

KDL::Chain MakeKdlArm(const ArmLengths& lengths);

// Joint angles in degrees to KDL's radians, and back.
KDL::JntArray ToKdl(const JointAngles& angles);
JointAngles FromKdl(const KDL::JntArray& q);

// The shipped data set's arm (default/robot.opt under the source tree);
// false when there is none.
bool ShippedArm(ArmDescription* arm);

// The shipped data set's arm lengths, or
// the example arm h = 100, a2 = 30, a3 = 120, e = 20, d = 110 when there is
// none yet.
ArmLengths BenchArm();

// Joint limits of the panel's spinners (default/glui.opt), in degrees; -180
// to 180 for every joint when the file is not there.
JointLimits BenchLimits();

// Target joint angles, seeded: the arm joints within the MGI's
// search ranges (A23 -90..60, A34 -160..140), every joint within the
// limits as well where the two overlap.
std::vector<JointAngles> BenchTargets(int count, unsigned seed, const JointLimits& limits);
