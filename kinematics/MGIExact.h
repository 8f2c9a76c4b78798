#pragma once
// The exact MGI: every configuration of the arm that puts the
// wrist centre on the target, or as near to it as the arm reaches, each with
// its closed-form wrist.
//
// The wrist centre depends on A12, A23, A34 only and lies in the vertical
// plane of A12. In that plane, measured from the upper arm's joint, with the
// forearm seen as one link of length L = hypot(e, d) set off by
// phi = atan2(d, e) against A34:
//     rho = a3 cos t2 + L cos(t2 + t3 - phi)
//     z   = a3 sin t2 + L sin(t2 + t3 - phi)
// a planar two-link arm. A12 turns the plane toward the target or half a
// turn away from it (the arm reaching back over its base), the elbow bends
// one way or the other, and the wrist has its flipped twin: up to eight
// configurations.
#include "kinematics/Kinematics.h"

// The elbow against the line from the shoulder to the wrist centre: above
// or below it, or on it, the arm stretched or folded (where the two bends
// meet).
enum class ElbowBend { Up, Down, Stretched, Folded };

// How a configuration holds the arm.
struct ArmPosture {
    bool back;  // the wrist centre behind the base axis: reaching back over the base
    ElbowBend elbow;
    bool flipped;  // the wrist's flipped twin: A56 negative
};

// How a set of angles holds the arm. Above and below are judged from the
// side the wrist centre lies on.
ArmPosture PostureOf(const ArmLengths& lengths, const JointAngles& angles);

struct MGIConfiguration {
    JointAngles angles;  // each within [-180, 180]
    ArmPosture posture;
    double distance;  // from the wrist centre the angles give to the target, pose units
};

constexpr int kMaxMGIConfigurations = 8;

// A target whose nearest reachable wrist centre is farther than this (pose
// units) is out of reach. Far above the rounding of single-precision angles
// and poses (about 1e-4 at the default arm's reach), far below anything a
// user can see.
constexpr double kReachTolerance = 0.01;

struct MGISolutions {
    int count = 0;
    MGIConfiguration configurations[kMaxMGIConfigurations];
    double distance = 0;  // from the nearest reachable wrist centre to the target

    bool Reached() const { return distance <= kReachTolerance; }
};

// Every configuration whose wrist centre is the reachable one nearest the
// target: on a reachable target each of them reproduces it; out of reach,
// the arm stretched or folded toward it in the plane of A12.
//  - Where two configurations meet, one is given: at the stretched or folded
//    elbow, and at a wrist with A56 = 0 or 180 (there A45 is 0 and A67 takes
//    the whole turn about the forearm). The two bends of the elbow are one
//    only where taking them as one moves the wrist centre by no more than a
//    few roundings of a single-precision pose (4 epsilons of the arm's
//    reach); elsewhere both are listed, however close to folded: near a
//    folded elbow whose links are nearly as long, they are still degrees of
//    A23 apart a tenth of a degree from folded.
//  - On the base axis (X = Y = 0) A12 is 0, or 180 reaching back.
//  - An arm whose wrist centre does not depend on A23 or A34 (a3 = 0, or
//    e = d = 0), and a target that is not finite, take the grid model's arm
//    angles, with both wrists on them.
void SolveMGIExact(const ArmLengths& lengths, const ToolPose& target, MGISolutions* solutions);

// ---------------------------------------------------------------------------
// One branch, for a planner that follows a path
// ---------------------------------------------------------------------------

// What stays the same along a continuous motion that keeps clear of the
// singularities: the side of the base axis, the way the elbow bends and the
// wrist's flip. ArmPosture's Up and Down are not that: they are judged from
// the side the wrist centre lies on, so they swap as the wrist centre
// passes above or below the upper arm's joint, where nothing is singular
// and the arm moves on smoothly.
struct ArmBranch {
    bool back;          // as ArmPosture::back
    bool bendPositive;  // sin(A34 - phi) > 0, phi = atan2(d, e): the forearm turned one way from the upper arm's line
    bool flipped;       // as ArmPosture::flipped
};

ArmBranch BranchOf(const ArmLengths& lengths, const JointAngles& angles);

// The one configuration of that branch nearest the target (as in
// SolveMGIExact: on a reachable target it reproduces it, out of reach the
// arm stretches or folds toward it), with the same bits as the matching
// configuration of SolveMGIExact for a target given in single precision.
// *distance is from its wrist centre to the target (pose units): above
// kReachTolerance the branch does not reach it. At a stretched or folded
// elbow or a singular wrist, where branches meet, the one configuration
// there is given. False, with nothing written, for a target that is not
// finite and for an arm whose wrist centre does not depend on A23 or A34.
bool SolveMGIBranch(const ArmLengths& lengths, const WristFrame& target, const ArmBranch& branch, JointAngles* angles,
                    double* distance);
