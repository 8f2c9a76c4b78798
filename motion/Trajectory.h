#pragma once
// What a motion plays: the arm's joint angles over time. The motion samples
// its trajectory at the time since the motion started, on every step; the
// trajectory says where the arm is then and whether it has arrived.
//
// Two kinds exist: the per-joint chase of real-time mode (JointChase.h),
// which follows targets that may change while it runs, and planned moves
// (a synchronised joint move, a straight line, an arc), fixed once planned.
#include "kinematics/RobotTypes.h"

enum class TrajectoryStep {
    Waiting,  // nothing moved: no redraw
    Moved,    // the angles changed
    Arrived,  // the angles are the trajectory's last ones: the motion ends
};

class CTrajectory {
public:
    virtual ~CTrajectory() = default;

    // The angles at time t, seconds since the motion started (t never
    // decreases from one call to the next; the first call may come at any
    // t >= 0). `angles` holds the arm's angles as the previous step left
    // them, and receives the new ones.
    virtual TrajectoryStep Sample(double t, JointAngles& angles) = 0;

    // The duration in seconds, or a negative value while it is not known.
    virtual double Duration() const { return -1.0; }

    // The angles at time t as a function of time alone, whatever steps were
    // sampled: what a record of the motion writes, at times of its own.
    // False when the trajectory cannot say (a chase whose targets changed on
    // its way goes where the steps took it).
    virtual bool At(double /*t*/, JointAngles& /*angles*/) const { return false; }
};
