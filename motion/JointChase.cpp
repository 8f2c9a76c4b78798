// The per-joint chase of real-time mode (see JointChase.h).
#include "motion/JointChase.h"

#include <cmath>
#include <cstring>

namespace {

double Distance(float current, float target)
{
    return std::fabs(static_cast<double>(current) - static_cast<double>(target));
}

}  // namespace

bool StepJoint(float& current, const float& target, float speed, double dt)
{
    const double distance = Distance(current, target);
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

CJointChase::CJointChase(const JointAngles& targets, const float speeds[6]) : m_Targets(targets)
{
    std::memcpy(m_fSpeed, speeds, sizeof m_fSpeed);
}

TrajectoryStep CJointChase::Sample(double t, JointAngles& current)
{
    if (!m_bClockStarted) {
        m_bClockStarted = true;
        m_dLastTime = t;
        return TrajectoryStep::Waiting;
    }
    const double lap = t - m_dLastTime;
    m_dLastTime = t;
    bool moved = false, arrived = true;
    for (int joint = 0; joint < 6; ++joint) {
        float& angle = current.*kJointFields[joint];
        const float goal = m_Targets.*kJointFields[joint];
        if (Distance(angle, goal) < kArrivalTolerance) {
            m_dSaved[joint] = 0.0;  // at its target: nothing to save for
            continue;
        }
        arrived = false;
        m_dSaved[joint] += lap;
        if (m_dSaved[joint] < kMinMotionLap)
            continue;
        float trial = angle;
        StepJoint(trial, goal, m_fSpeed[joint], m_dSaved[joint]);
        // Compare the bits: a step too small to change the float is no step.
        if (std::memcmp(&trial, &angle, sizeof trial) != 0) {
            angle = trial;
            m_dSaved[joint] = 0.0;
            moved = true;
        }
    }
    if (arrived)
        return TrajectoryStep::Arrived;
    return moved ? TrajectoryStep::Moved : TrajectoryStep::Waiting;
}
