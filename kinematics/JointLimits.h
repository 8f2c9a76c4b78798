#pragma once
// The joints' limits, as the panel's spinners hold them (from glui.opt), and
// the whole-turn shift that brings an angle into them: joint angles repeat
// every 360 degrees, the spinners do not. The arm's drawing and models apply
// no limits; the MGI use them to choose among configurations.
#include "kinematics/RobotTypes.h"

#include <string>

struct JointLimits {
    float low[6], high[6];  // degrees, joint order A12 ... A67
};

// The angle moved by a whole number of turns into [low, high], choosing the
// turn count that lands nearest to `current`. When no whole turn fits (or
// the limits are reversed, or the angle is not finite) the angle comes back
// unchanged, for the spinner to clamp.
float ShiftIntoLimits(float angle, float low, float high, float current);

// An angle clamped into its limits literally, as a spinner does: below the
// low limit gives the low limit, otherwise above the high one the high one
// (defined even when low > high, where std::clamp is not).
float ClampIntoLimits(float angle, float low, float high);
JointAngles ClampIntoLimits(const JointAngles& angles, const JointLimits& limits);

// True when every angle fits its limits once shifted by whole turns.
bool FitsLimits(const JointAngles& angles, const JointLimits& limits);

// A joint past its limits, as every refusal words it: "A23 = 183,399 hors
// des limites [-180 ; 180]" (the angle it would reach: a joint turns on past
// 180 as it turns, so the limits alone may look like the whole circle).
std::string OutsideLimits(const std::string& joint, double angle, double low, double high);
