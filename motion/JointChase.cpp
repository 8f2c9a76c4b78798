// The per-joint chase of real-time mode (see JointChase.h).
#include "motion/JointChase.h"

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

CJointChase::CJointChase(const JointAngles& targets, const float speeds[6]) : m_Targets(targets)
{
    std::memcpy(m_fSpeed, speeds, sizeof m_fSpeed);
}

TrajectoryStep CJointChase::Sample(double t, JointAngles& current)
{
    if (!m_bClockStarted) {
        m_bClockStarted = true;
        m_dStartTime = m_dLastTime = t;
        m_Start = current;
        m_Goal = m_Targets;
        return TrajectoryStep::Waiting;
    }
    if (std::memcmp(&m_Goal, &m_Targets, sizeof m_Goal) != 0)
        m_bTargetsChanged = true;
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

bool CJointChase::Foreseeable() const
{
    if (!m_bClockStarted || m_bTargetsChanged)
        return false;
    for (int joint = 0; joint < 6; ++joint)
        if (Distance(m_Start.*kJointFields[joint], m_Goal.*kJointFields[joint]) >= kArrivalTolerance &&
            !(m_fSpeed[joint] > 0))
            return false;
    return true;
}

double CJointChase::Duration() const
{
    if (!Foreseeable())
        return -1.0;
    double longest = 0.0;
    for (int joint = 0; joint < 6; ++joint) {
        const double distance = Distance(m_Start.*kJointFields[joint], m_Goal.*kJointFields[joint]);
        if (distance >= kArrivalTolerance)
            longest = std::max(longest, distance / m_fSpeed[joint]);
    }
    return m_dStartTime + longest;
}

bool CJointChase::At(double t, JointAngles& angles) const
{
    if (!Foreseeable())
        return false;
    const double elapsed = std::max(t - m_dStartTime, 0.0);
    for (int joint = 0; joint < 6; ++joint) {
        const float from = m_Start.*kJointFields[joint], to = m_Goal.*kJointFields[joint];
        const double distance = Distance(from, to);
        const double covered = m_fSpeed[joint] * elapsed;
        if (distance < kArrivalTolerance)
            angles.*kJointFields[joint] = from;
        else if (covered >= distance)
            angles.*kJointFields[joint] = to;
        else
            angles.*kJointFields[joint] = static_cast<float>(from + (to > from ? covered : -covered));
    }
    return true;
}
