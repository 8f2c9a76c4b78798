// Speed-limited joint motion (see JointMotion.h).
#include "robot/JointMotion.h"

#include <cmath>
#include <cstring>

bool StepJoint(float& current, const float& target, float speed, double dt)
{
    const double distance = std::fabs(static_cast<double>(current) - static_cast<double>(target));
    if (distance < kArrivalTolerance)
        return false;
    const double step = std::fabs(speed * dt);
    if (distance < step) {
        current = target;
        return true;
    }
    // The difference cannot be zero here, so the direction is +1 or -1.
    const double direction = target > current ? 1.0 : -1.0;
    current = static_cast<float>(current + direction * speed * dt);
    return true;
}

bool UpdateMotion(JointAngles& current, const JointAngles& target, const float speed[6], double dt)
{
    // Every joint is stepped: no short-circuit on the first that moved.
    bool moved = false;
    moved |= StepJoint(current.A12, target.A12, speed[0], dt);
    moved |= StepJoint(current.A23, target.A23, speed[1], dt);
    moved |= StepJoint(current.A34, target.A34, speed[2], dt);
    moved |= StepJoint(current.A45, target.A45, speed[3], dt);
    moved |= StepJoint(current.A56, target.A56, speed[4], dt);
    moved |= StepJoint(current.A67, target.A67, speed[5], dt);
    return !moved;
}

MotionStep AdvanceMotion(JointAngles& current, const JointAngles& target, const float speed[6], double lap,
                         double* pendingTime)
{
    *pendingTime += lap;
    JointAngles trial = current;
    if (UpdateMotion(trial, target, speed, *pendingTime)) {
        *pendingTime = 0.0;
        return MotionStep::Arrived;
    }
    // Compare the bits: a step too small to change any float is no step.
    if (*pendingTime < kMinMotionLap || std::memcmp(&trial, &current, sizeof trial) == 0)
        return MotionStep::Waiting;
    current = trial;
    *pendingTime = 0.0;
    return MotionStep::Moved;
}
