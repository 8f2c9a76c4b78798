// A planned move as a motion plays it (see PlannedTrajectory.h).
#include "motion/PlannedTrajectory.h"

#include <algorithm>
#include <cstring>
#include <utility>

CPlannedTrajectory::CPlannedTrajectory(std::vector<PlannedSample> samples) : m_samples(std::move(samples)) {}

TrajectoryStep CPlannedTrajectory::Sample(double t, JointAngles& angles)
{
    JointAngles at = angles;
    const bool arrived = !At(t, at) || t >= m_samples.back().time;
    if (!arrived && std::memcmp(&at, &angles, sizeof angles) == 0)
        return TrajectoryStep::Waiting;
    angles = at;
    return arrived ? TrajectoryStep::Arrived : TrajectoryStep::Moved;
}

bool CPlannedTrajectory::At(double t, JointAngles& angles) const
{
    if (m_samples.empty())
        return false;
    // A t before the first sample, or not a number, plays the first.
    const double at = t >= m_samples.front().time ? t : m_samples.front().time;
    if (at >= m_samples.back().time) {
        angles = m_samples.back().angles;
        return true;
    }
    const auto next = std::upper_bound(m_samples.begin() + 1, m_samples.end(), at,
                                       [](double time, const PlannedSample& s) { return time < s.time; });
    const PlannedSample& a = *(next - 1);
    const PlannedSample& b = *next;
    const double u = (at - a.time) / (b.time - a.time);
    for (float JointAngles::*field : kJointFields)
        angles.*field =
            static_cast<float>(a.angles.*field + (static_cast<double>(b.angles.*field) - a.angles.*field) * u);
    return true;
}

double CPlannedTrajectory::Duration() const
{
    return m_samples.empty() ? 0.0 : m_samples.back().time;
}

void StretchTime(std::vector<PlannedSample>* samples, double factor)
{
    for (PlannedSample& s : *samples)
        s.time *= factor;
}
