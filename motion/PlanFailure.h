#pragma once
// Why a planned move cannot be done, and where: the refusal a planner
// returns instead of a trajectory, and the French words of the replies,
// e.g. "A23 = 150,4 hors des limites [-90 ; 150] à 40 % du chemin (412,5 ;
// -80,0 ; 610,2)".
#include "collision/CollisionPair.h"

#include <string>

enum class PlanFault {
    InvalidSettings,      // a speed, an acceleration or the speed override out of its range
    InvalidTarget,        // a target that is not finite
    ArcPointsCoincide,    // two of the arc's three points at the same place
    ArcPointsAligned,     // the arc's three points on one line
    PathRefusedByKdl,     // any other error of KDL's path construction
    OutOfReach,           // no configuration reaches the sample
    ConfigurationChange,  // another configuration reaches it, or the arm's own jumps
    JointLimit,           // a joint would leave its limits
    WristSingularity,     // A56 too near 0 or 180
    ElbowSingularity,     // the elbow too near stretched or folded
    ShoulderSingularity,  // the wrist centre too near the base axis
    TooLong,              // the move would last longer than kMaxPlanSeconds at full speed (PlanBounds.h)
    TooManySamples,       // its path would need more than kMaxPlanSamples samples
    Collision,            // a link would touch another, the ground or an object of the cell
    BlendTooLarge,        // a rounded corner's radius more than half a segment, or corners that cover it
    BlendReversal,        // a segment that turns straight back on the one before: no corner to round
};

struct PlanFailure {
    PlanFault reason = PlanFault::InvalidSettings;
    int joint = -1;         // 0 to 5 (A12 to A67) where one joint is at fault, else -1
    std::string jointName;  // that joint as the words name it: the arm's own name (A12 when none is given)
    // Where on the path, for the faults found along it.
    bool placed = false;
    double fraction = 0;          // how far along the path, 0 to 1
    double place[3] = {0, 0, 0};  // the tool point there (the wrist centre without a tool), pose units
    // What the words show: the A56 of a wrist singularity, the degrees from
    // the alignment of an elbow one, the distance from the base axis of a
    // shoulder one (pose units), the angle of a joint past its limits, the
    // size of a joint's jump, the seconds of a move too long.
    double value = 0;
    double low = 0, high = 0;  // the limits of a joint past them
    int kdlError = 0;          // KDL's error type, for PathRefusedByKdl
    CollisionPair pair;        // the two that would touch, for Collision
    // The segment at fault of a line through several targets, from 1, its
    // length, and for BlendTooLarge what its rounded corners take of it when
    // that is the fault (0 when the radius is more than half of it); the
    // radius is `value`.
    int segment = 0;
    double length = 0, corners = 0;
};

// The words of a refusal, as a reply gives them after "erreur movel : ".
std::string DescribeFailure(const PlanFailure& failure);
