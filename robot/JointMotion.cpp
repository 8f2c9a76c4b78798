// Speed-limited joint motion (see JointMotion.h).
#include "robot/JointMotion.h"

#include <algorithm>
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

void CJointMotion::Start()
{
    if (m_bRunning)
        return;
    m_bRunning = true;
    m_bClockStarted = false;
}

void CJointMotion::Stop()
{
    m_bRunning = false;
}

MotionStep CJointMotion::Advance(JointAngles& current, const JointAngles& target, const float speed[6], double now)
{
    if (!m_bClockStarted) {
        m_bClockStarted = true;
        m_dLastTime = now;
        std::fill(m_dSaved, m_dSaved + 6, 0.0);
        return MotionStep::Waiting;
    }
    const double lap = now - m_dLastTime;
    m_dLastTime = now;
    bool moved = false, arrived = true;
    for (int joint = 0; joint < 6; ++joint) {
        float& angle = current.*kJointFields[joint];
        const float goal = target.*kJointFields[joint];
        if (Distance(angle, goal) < kArrivalTolerance) {
            m_dSaved[joint] = 0.0;  // at its target: nothing to save for
            continue;
        }
        arrived = false;
        m_dSaved[joint] += lap;
        if (m_dSaved[joint] < kMinMotionLap)
            continue;
        float trial = angle;
        StepJoint(trial, goal, speed[joint], m_dSaved[joint]);
        // Compare the bits: a step too small to change the float is no step.
        if (std::memcmp(&trial, &angle, sizeof trial) != 0) {
            angle = trial;
            m_dSaved[joint] = 0.0;
            moved = true;
        }
    }
    if (arrived) {
        Stop();
        return MotionStep::Arrived;
    }
    return moved ? MotionStep::Moved : MotionStep::Waiting;
}
