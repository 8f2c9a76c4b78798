#pragma once
// Speed-limited joint motion: the arithmetic of one motion step, free of the
// timer and of GLUT so that tests inject the elapsed time. The idle callback
// that drives it measures the time and redraws.
#include "robot/RobotTypes.h"

// A joint within this distance of its target has arrived (a single-precision
// value compared as a double).
constexpr double kArrivalTolerance = static_cast<double>(0.001f);

// Moves one joint toward its target by at most |speed| x dt (degrees per
// second, seconds). Returns false when the joint was already within the
// tolerance (it is then left where it is, not snapped), true otherwise; a
// joint closer than one step snaps to its target.
bool StepJoint(float& current, const float& target, float speed, double dt);

// Steps the six joints A12 ... A67, each with its own target and speed and
// the same dt, all six on every call. True when none of them moved, that is
// when the motion has ended.
bool UpdateMotion(JointAngles& current, const JointAngles& target, const float speed[6], double dt);

// The shortest time step the idle loop applies. At 300 degrees a
// single-precision angle changes only in steps of 3e-5, so at 1 degree per
// second a lap of less than about 15 microseconds moves nothing; an idle loop
// that fast would never arrive. Shorter laps are added up instead.
constexpr double kMinMotionLap = 0.001;

enum class MotionStep {
    Waiting,  // not enough time yet for a step that moves: nothing changed
    Moved,    // the angles changed: redraw
    Arrived,  // every joint is within the tolerance: stop the motion
};

// One idle call of a running motion: adds lap (seconds since the previous
// call) to *pendingTime, then applies the accumulated time as one step once
// it reaches kMinMotionLap and the step changes at least one angle; a
// very slow joint thus still moves in steps large enough to count. Arrival
// is reported at once, whatever the lap.
MotionStep AdvanceMotion(JointAngles& current, const JointAngles& target, const float speed[6], double lap,
                         double* pendingTime);
