#pragma once
// The per-joint chase of real-time mode: every joint turns toward its target
// at no more than its maximum speed, on its own, against the time the
// motion gives it; the joints arrive when they arrive. The targets are read
// live, so targets changed during the motion take effect at the next step.
#include "motion/Trajectory.h"

// A joint within this distance of its target has arrived (a single-precision
// value compared as a double).
constexpr double kArrivalTolerance = static_cast<double>(0.001f);

// Moves one joint toward its target by at most |speed| x dt (degrees per
// second, seconds). Returns false when the joint was already within the
// tolerance (it is then left where it is, not snapped), true otherwise; a
// joint closer than one step snaps to its target.
bool StepJoint(float& current, const float& target, float speed, double dt);

// The shortest time step the chase applies. At 300 degrees a
// single-precision angle changes only in steps of 3e-5, so at 1 degree per
// second a lap of less than about 15 microseconds moves nothing; a step loop
// that fast would never arrive. Shorter laps are added up instead.
constexpr double kMinMotionLap = 0.001;

// Each joint keeps the time it has been trying to move without a step that
// changed its angle (steps come far faster than a slow joint's float can
// change); that time is applied as one step once it reaches kMinMotionLap
// and moves the angle. A joint at its target saves nothing, so a joint given
// a new target during the motion starts from its own time, and no joint ever
// covers more than its speed times the time it spent moving.
//
// The first sample only starts the chase's clock: nothing moves before a
// second sample has measured a lap.
//
// As long as its targets stay what they were at that first sample and every
// joint that has a way to go turns toward its target (a positive speed), the
// chase is a function of time: each joint at its speed from where it stood
// until it is there. At and Duration give it; once the targets change, or
// a joint never arrives, they cannot.
class CJointChase : public CTrajectory {
public:
    // The targets are read at every sample and must outlive the chase.
    CJointChase(const JointAngles& targets, const float speeds[6]);

    TrajectoryStep Sample(double t, JointAngles& angles) override;
    double Duration() const override;
    bool At(double t, JointAngles& angles) const override;

private:
    // The chase is still the function of time it started as.
    bool Foreseeable() const;

    const JointAngles& m_Targets;
    float m_fSpeed[6];
    bool m_bClockStarted = false;
    double m_dStartTime = 0.0;
    double m_dLastTime = 0.0;
    double m_dSaved[6] = {};
    JointAngles m_Start{}, m_Goal{};  // at the first sample
    bool m_bTargetsChanged = false;
};
