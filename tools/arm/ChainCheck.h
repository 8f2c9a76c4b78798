#pragma once
// The data set checked against the arm it was made from, before anything
// is kept: at seeded joint positions within the limits, the tool pose the
// simulator computes from robot.opt (ArmMGDFrame) must be the flange the arm's
// own chain gives, and every drawn link must sit on the arm's link the same
// way at every position (so that its mesh lands where the arm puts it).
#include "arm/ArmDescription.h"
#include "tools/arm/SerialArm.h"

// A hundredth of a pose unit (10 micrometres) and a hundred-thousandth per
// rotation-matrix element: far above the single-precision rounding of
// robot.opt and of the angles, far below anything a user can see.
constexpr double kCheckPosition = 0.01;
constexpr double kCheckRotation = 1e-5;

// bake[link]: the drawn link's frame in the arm's link frame (metres), as
// the meshes were placed. False with one French record naming the position
// and the difference.
bool CheckAgainstChain(const SerialArm& chain, const ArmDescription& arm, const KDL::Frame bake[kLinkCount],
                       int samples);

// The joint positions the check uses: seeded, uniform within each joint's
// limits, in degrees as single-precision values (what robot.opt's readers
// take), reproducible.
std::vector<JointAngles> SeededPositions(const SerialArm& chain, int samples, unsigned seed);
