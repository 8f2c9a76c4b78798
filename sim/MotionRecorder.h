#pragma once
// What the arm did in its motions: its angles at every step of the motion
// under way and of the one before, from each one's start. The trail in the
// scene, the joint curves of the panel and the command `record` read them;
// the simulation tells the recorder, as any other listener.
#include "sim/Simulation.h"

#include <cstdio>
#include <vector>

struct MotionSample {
    double t;  // seconds since the motion started
    JointAngles angles;
    float point[3];  // the pose's point then (the tool point, or the wrist centre), pose units
};

class CMotionRecorder : private CSimulationListener {
public:
    explicit CMotionRecorder(CSimulation& simulation);
    ~CMotionRecorder() override;
    CMotionRecorder(const CMotionRecorder&) = delete;
    CMotionRecorder& operator=(const CMotionRecorder&) = delete;

    // The motion under way, or when none runs the last one (empty before
    // any), from its start angles at t = 0; and the one before it.
    const std::vector<MotionSample>& Latest() const { return m_Latest; }
    const std::vector<MotionSample>& Earlier() const { return m_Earlier; }
    bool Running() const { return m_bRunning; }

private:
    void Add(double t, const JointAngles& angles);
    void OnMotionStarted(const CTrajectory& trajectory) override;
    void OnMotionStep(double t, const JointAngles& angles) override;
    void OnMotionEnded(bool arrived) override;

    CSimulation& m_Simulation;
    std::vector<MotionSample> m_Latest, m_Earlier;
    bool m_bRunning = false;
};

// Where an even sampling stops when the motion ends between two of its
// times: at the last time within the motion (marks along a path), or at the
// next one, holding the arm where it arrived (a record that ends on the
// arrival).
enum class ResampleEnd { WithinMotion, AtArrival };

// The samples every `step` seconds from 0, each linearly between the
// recorded steps around it (angles and point alike).
std::vector<MotionSample> Resample(const std::vector<MotionSample>& samples, double step,
                                   ResampleEnd end = ResampleEnd::WithinMotion);
// The samples every 10 ms as a table for programs: a header line, then per
// line the time, the six angles, the six joints' speeds and the pose,
// separated by commas, numbers with a point. False when a write fails.
bool WriteMotionRecord(FILE* file, const std::vector<MotionSample>& samples, const ArmDescription& arm);

// The joints' speeds (degrees per second) at each sample: the difference
// with the neighbouring samples over their time.
std::vector<JointAngles> JointSpeeds(const std::vector<MotionSample>& samples);
