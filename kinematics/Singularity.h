#pragma once
// How near a set of joint angles lies to the arm's singularities, where a
// joint would have to turn without bound to keep the hand on its path:
//  - the wrist, where sin A56 = 0: A45 and A67 then turn about one axis;
//  - the elbow, stretched or folded (the planar two-link arm of MGIExact.h,
//    the forearm one link of length hypot(e, d));
//  - the shoulder, the wrist centre on the base axis, where A12 is free;
// and the manipulability of the wrist-centre position: how freely A12, A23
// and A34 move it, 0 where some direction is lost.
#include "kinematics/Kinematics.h"

// Nearer than these, a planned path is refused.
//  - At 2 degrees of A56, 1 / sin A56 is 29: a 0.5 degree turn of the hand
//    (one sample of a path) can ask some 14 degrees of A45 and A67. Nearer,
//    the wrist's speed limits would slow the whole path to a crawl.
//  - At 2 degrees from stretched or folded, the elbow gains only sin 2° =
//    3.5 % of its reach per radian: A23 and A34 turn some 30 times faster
//    than the wrist centre moves, and one step more can leave the reach.
//  - A12 turns as 1 / (distance from the base axis): at 2 % of the reach
//    (20 pose units on the shipped arm) one pose unit of travel across the
//    axis turns it by 3 degrees, and a path through the axis asks a half
//    turn in no time.
constexpr double kWristSingularDegrees = 2.0;
constexpr double kElbowSingularDegrees = 2.0;
constexpr double kShoulderSingularFraction = 0.02;

struct SingularityMeasures {
    double wrist;           // degrees of A56 from 0 or 180: 0 to 90
    double elbow;           // degrees from stretched or folded: 0 to 90
    double shoulder;        // the wrist centre's distance from the base axis, pose units
    double manipulability;  // sqrt(det(J J^T)) of the wrist centre against A12, A23, A34; 1 at the arm's best pose
};

// The measures of one arm; the best pose's manipulability is found once,
// when the meter is built.
class CSingularityMeter {
public:
    explicit CSingularityMeter(const ArmLengths& lengths);

    SingularityMeasures Measure(const JointAngles& angles) const;
    // kShoulderSingularFraction of the arm's reach, pose units.
    double ShoulderThreshold() const;

private:
    ArmLengths m_Lengths;
    double m_dLink;     // hypot(e, d)
    double m_dPhi;      // atan2(d, e) in degrees: the A34 of the stretched elbow
    double m_dBestRaw;  // |det J| at the best pose; 0 for an arm that cannot move its wrist centre
};
