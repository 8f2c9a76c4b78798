#pragma once
// Speed-limited joint motion: the arithmetic of the motion's steps, free of
// the clock and of GLUT so that tests choose the time. The idle callback
// that drives it (Motion.h) reads the clock and redraws.
#include "robot/RobotTypes.h"

// A joint within this distance of its target has arrived (a single-precision
// value compared as a double).
constexpr double kArrivalTolerance = static_cast<double>(0.001f);

// Moves one joint toward its target by at most |speed| x dt (degrees per
// second, seconds). Returns false when the joint was already within the
// tolerance (it is then left where it is, not snapped), true otherwise; a
// joint closer than one step snaps to its target.
bool StepJoint(float& current, const float& target, float speed, double dt);

// The shortest time step the idle loop applies. At 300 degrees a
// single-precision angle changes only in steps of 3e-5, so at 1 degree per
// second a lap of less than about 15 microseconds moves nothing; an idle loop
// that fast would never arrive. Shorter laps are added up instead.
constexpr double kMinMotionLap = 0.001;

enum class MotionStep {
    Waiting,  // nothing moved: no redraw
    Moved,    // the angles changed: redraw
    Arrived,  // every joint is within the tolerance: the motion has stopped
};

// A real-time motion toward the target angles: whether it runs, and the
// clock of its steps, fed by the caller so that tests choose the time.
//
// Each joint keeps the time it has been trying to move without a step that
// changed its angle (idle calls come far faster than a slow joint's float
// can change); that time is applied as one step once it reaches
// kMinMotionLap and moves the angle. A joint at its target saves nothing, so
// a joint given a new target during the motion starts from its own time, and
// no joint ever covers more than its speed times the time it spent moving.
class CJointMotion {
public:
    // Runs the motion. One that was not running starts its clock afresh: the
    // next Advance only reads the time.
    void Start();
    // Stops it where the arm stands; a later Start begins afresh.
    void Stop();
    bool IsRunning() const { return m_bRunning; }

    // One idle call of a running motion at time `now` (seconds on a
    // monotonic clock). Arrival stops the motion.
    MotionStep Advance(JointAngles& current, const JointAngles& target, const float speed[6], double now);

private:
    bool m_bRunning = false;
    bool m_bClockStarted = false;
    double m_dLastTime = 0.0;
    double m_dSaved[6] = {};
};
