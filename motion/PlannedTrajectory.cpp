// A planned move as a motion plays it (see PlannedTrajectory.h).
#include "motion/PlannedTrajectory.h"

#include <algorithm>
#include <cstring>
#include <utility>

CPlannedTrajectory::CPlannedTrajectory(std::vector<PlannedSample> samples) : m_samples(std::move(samples)) {}

TrajectoryStep CPlannedTrajectory::Sample(double t, JointAngles& angles)
{
    if (m_samples.empty())
        return TrajectoryStep::Arrived;
    // A t before the first sample, or not a number, plays the first.
    const double at = t >= m_samples.front().time ? t : m_samples.front().time;
    if (at >= m_samples.back().time) {
        angles = m_samples.back().angles;
        return TrajectoryStep::Arrived;
    }
    const auto next = std::upper_bound(m_samples.begin() + 1, m_samples.end(), at,
                                       [](double time, const PlannedSample& s) { return time < s.time; });
    const PlannedSample& a = *(next - 1);
    const PlannedSample& b = *next;
    const double u = (at - a.time) / (b.time - a.time);
    JointAngles between;
    for (float JointAngles::*field : kJointFields)
        between.*field =
            static_cast<float>(a.angles.*field + (static_cast<double>(b.angles.*field) - a.angles.*field) * u);
    if (std::memcmp(&between, &angles, sizeof angles) == 0)
        return TrajectoryStep::Waiting;
    angles = between;
    return TrajectoryStep::Moved;
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
