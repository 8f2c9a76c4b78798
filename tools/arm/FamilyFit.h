#pragma once
// Whether an arm belongs to the family Kalimbrax's models describe, and its
// numbers there: a vertical base axis through the base's origin, shoulder
// and elbow axes parallel to each other and perpendicular to it, a forearm
// that rolls about an axis perpendicular to them, and a spherical wrist
// (axes 4, 5 and 6 meeting in one point, each perpendicular to the one
// before) in the plane of the base axis: no sideways offset.
#include "kinematics/Kinematics.h"
#include "tools/arm/SerialArm.h"

struct ArmFit {
    ArmLengths lengths;       // pose units
    double zero[kArmJoints];  // degrees: the models' angle where the arm's own is 0
    int sense[kArmJoints];    // 1, or -1 where the arm turns against the models
    KDL::Frame tool;          // the flange in the models' hand frame, pose units
};

// The model's angle of an arm's angle, degrees: zero + sense x angle.
double ModelAngle(const ArmFit& fit, int joint, double degrees);

// False, with one French record naming the joints and the measure, for an
// arm outside the family.
bool FitFamily(const SerialArm& arm, ArmFit* fit);
