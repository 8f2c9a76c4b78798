#pragma once
// The speed profile of a planned move along its path: a trapezoid (KDL's
// VelocityProfile_Trap) with a speed bound and an acceleration bound, or,
// without an acceleration bound, a constant speed (VelocityProfile_
// Rectangular, the trapezoid's limit: the trapezoid itself would divide
// the speed by an infinite acceleration and end in not-a-number).
#include <kdl/velocityprofile.hpp>

#include <memory>

// True for an acceleration bound that means none: 0 or +infinity.
bool NoAccelerationLimit(double acceleration);

// A profile under these bounds (a speed > 0 and finite, an acceleration
// > 0 or none); its SetProfile, or KDL's Trajectory_Segment, gives it the
// length to cover.
std::unique_ptr<KDL::VelocityProfile> MakeSpeedProfile(double maxSpeed, double maxAcceleration);
