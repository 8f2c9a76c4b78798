#pragma once
// A planned move as a motion plays it: the solved samples of the whole
// path, in time order, with straight lines in joint space between them.
// The samples are also what a view draws (the wrist centre's path) and
// plots (each joint against time).
#include "motion/Trajectory.h"

#include <vector>

struct PlannedSample {
    double time;            // seconds since the move started
    JointAngles angles;     // continuous from one sample to the next: no whole-turn jumps
    double wristCentre[3];  // pose units
};

class CPlannedTrajectory : public CTrajectory {
public:
    // No move: no samples, a duration of 0, and Sample arrives at once
    // where the arm stands.
    CPlannedTrajectory() = default;
    // Samples from time 0, times increasing.
    explicit CPlannedTrajectory(std::vector<PlannedSample> samples);

    // Between two samples, the angles in proportion to the time; from the
    // last sample's time on, exactly its angles, arrived.
    TrajectoryStep Sample(double t, JointAngles& angles) override;
    double Duration() const override;
    bool At(double t, JointAngles& angles) const override;

    const std::vector<PlannedSample>& Samples() const { return m_samples; }

private:
    std::vector<PlannedSample> m_samples;
};

// Every sample's time multiplied by factor: the same path, played slower.
void StretchTime(std::vector<PlannedSample>* samples, double factor);
