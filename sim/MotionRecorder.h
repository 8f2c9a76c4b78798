#pragma once
// What the arm did in its motions: for the motion under way and the one
// before, its trajectory and the steps the display took of it, from the
// start angles at t = 0. The trail draws the steps; `record` and the joint
// curves take rows of the trajectory itself, each at its own time, so that
// a display that stepped seldom (a busy machine) never shows a motion the
// arm did not make. The simulation tells the recorder, as any other
// listener.
#include "sim/Simulation.h"

#include <cstdio>
#include <memory>
#include <vector>

// The rows of `record` and of the joint curves: every 10 ms.
constexpr double kRecordStep = 0.01;

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

    // The steps of the motion under way, or when none runs the last one
    // (empty before any), from its start angles at t = 0; and the one before.
    const std::vector<MotionSample>& Latest() const { return m_Latest.steps; }
    const std::vector<MotionSample>& Earlier() const { return m_Earlier.steps; }
    bool Running() const { return m_bRunning; }

    // The latest motion every `step` seconds from 0 to its end, and at its
    // end: the arrival, where the motion stopped, or the last step while it
    // runs. Each row is the trajectory's at its time; a chase whose targets
    // changed on its way is interpolated between its steps instead. Empty
    // before any motion.
    std::vector<MotionSample> Rows(double step) const;

private:
    struct Motion {
        std::shared_ptr<const CTrajectory> trajectory;
        std::vector<MotionSample> steps;
        bool arrived = false;
    };

    MotionSample Sample(double t, const JointAngles& angles) const;
    void OnMotionStarted(const CTrajectory& trajectory) override;
    void OnMotionStep(double t, const JointAngles& angles) override;
    void OnMotionEnded(bool arrived) override;

    CSimulation& m_Simulation;
    Motion m_Latest, m_Earlier;
    bool m_bRunning = false;
};

// The samples every `step` seconds from 0 to the last one's time, each
// linearly between the recorded samples around it (angles and point alike).
std::vector<MotionSample> Resample(const std::vector<MotionSample>& samples, double step);
// Rows as a table for programs: a header line, then per line the time, the
// six angles, the six joints' speeds and the pose (in the user frame in
// use), separated by commas, numbers with a point. False when a write fails.
bool WriteMotionRecord(FILE* file, const std::vector<MotionSample>& rows, const ArmDescription& arm,
                       const CWorkFrames& frames);

// The joints' speeds (degrees per second) at each sample: the difference
// with the neighbouring samples over their time.
std::vector<JointAngles> JointSpeeds(const std::vector<MotionSample>& samples);
