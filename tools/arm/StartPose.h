#pragma once
// Where a written arm stands at start: clear of every singularity a planned
// move refuses (the wrist bent, the elbow off its alignments, the wrist
// centre away from the base axis), within its limits and above the floor,
// so that its first planned move can go. At its zero an arm of the family
// has its wrist straight, on the wrist singularity itself.
#include "tools/arm/SerialArm.h"
#include "tools/arm/FamilyFit.h"

#include <array>

// The arm's own start angles, degrees: of the poses of a coarse search over
// its shoulder, elbow and wrist angles (the other joints at 0, or at the
// middle of their limits where 0 is outside them), the one nearest its zero
// that is clear of the thresholds with a margin, reaching forward with its
// wrist not flipped.
std::array<double, kArmJoints> StartAngles(const SerialArm& arm, const ArmFit& fit);
