#pragma once
// The trail's memory: the path of the pose's point in every motion made
// since the trail was switched on, or since it was cleared, the motion
// under way last, so that a program of several moves shows all its sides.
// While a motion runs its path is its steps; once it has ended, the rows of
// its own trajectory (as `record` writes them), so that seldom steps never
// cut a corner. Bounded: past kTrailPoints points in all, the oldest motions
// go.
#include "sim/MotionRecorder.h"

#include <deque>
#include <vector>

// At most this many points are kept in all (each motion's rows are 20 ms
// apart: about half an hour of motion).
constexpr std::size_t kTrailPoints = 100000;

class CTrailHistory : private CSimulationListener {
public:
    // The recorder must be told of each motion first: it is built before.
    CTrailHistory(CSimulation& simulation, const CMotionRecorder& recorder);
    ~CTrailHistory() override;
    CTrailHistory(const CTrailHistory&) = delete;
    CTrailHistory& operator=(const CTrailHistory&) = delete;

    // Oldest first; empty while the trail is off.
    const std::deque<std::vector<MotionSample>>& Paths() const { return m_Paths; }
    void Clear();

private:
    void OnStateChanged() override;
    void OnMotionStarted(const CTrajectory& trajectory) override;
    void OnMotionStep(double t, const JointAngles& angles) override;
    void OnMotionEnded(bool arrived) override;
    void Bound();

    CSimulation& m_Simulation;
    const CMotionRecorder& m_Recorder;
    std::deque<std::vector<MotionSample>> m_Paths;
    std::size_t m_iPoints = 0;
    bool m_bOn = false;         // the switch as last seen
    bool m_bFollowing = false;  // the motion under way is being kept
};
