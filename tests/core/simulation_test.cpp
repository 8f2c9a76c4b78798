// The simulation without a window: the default data set's arm loaded and
// moved through a motion by the times a test chooses, and what its listeners
// are told, every one of them.
#include "sim/Simulation.h"
#include "tests/support/ShippedArm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every call a listener receives, as words.
struct Recorder : CSimulationListener {
    void OnStateChanged() override { calls.push_back("state"); }
    void OnMotionStarted(const CTrajectory&) override { calls.push_back("start"); }
    void OnMotionStep(double t, const JointAngles& angles) override
    {
        calls.push_back("step");
        times.push_back(t);
        last = angles;
    }
    void OnMotionEnded(bool arrived) override { calls.push_back(arrived ? "arrived" : "stopped"); }

    std::vector<std::string> calls;
    std::vector<double> times;
    JointAngles last{};
};

// A trajectory that goes straight to its end after one second.
struct Jump : CTrajectory {
    explicit Jump(JointAngles to) : end(to) {}
    TrajectoryStep Sample(double t, JointAngles& angles) override
    {
        if (t < 1.0)
            return TrajectoryStep::Waiting;
        angles = end;
        return TrajectoryStep::Arrived;
    }
    JointAngles end;
};

TEST(Simulation, TheDefaultArmChasesItsTargetsWithoutAWindow)
{
    const ArmDescription arm = ShippedArm();
    CSimulation simulation(arm);
    EXPECT_EQ(simulation.Angles().A23, arm.start.A23) << "the arm starts at the data set's start angles";
    Recorder recorder;
    simulation.AddListener(&recorder);

    JointAngles target = arm.start;
    target.A12 += 30;  // 0.5 s at 60 degrees per second
    target.A67 -= 12;  // 0.1 s at 120
    simulation.SetTargets(target);
    simulation.StartChase();
    double now = 100.0;
    int steps = 0;
    while (simulation.Advance(now) != TrajectoryStep::Arrived && steps < 1000) {
        now += 0.01;
        ++steps;
    }
    EXPECT_FALSE(simulation.Moving());
    EXPECT_FLOAT_EQ(simulation.Angles().A12, target.A12);
    EXPECT_FLOAT_EQ(simulation.Angles().A67, target.A67);
    EXPECT_NEAR(recorder.times.back(), 0.5, 0.02) << "the slowest joint sets the end";
    EXPECT_EQ(recorder.calls.front(), "state");
    EXPECT_EQ(recorder.calls[1], "start");
    EXPECT_EQ(recorder.calls.back(), "arrived");
    for (std::size_t i = 1; i < recorder.times.size(); ++i)
        EXPECT_GT(recorder.times[i], recorder.times[i - 1]);
}

// A list, not a slot: a second listener does not unhook the first, and one
// that leaves while it is told does not disturb the others.
TEST(Simulation, EveryListenerHearsEveryChangeAndStep)
{
    CSimulation simulation(ArmDescription{});
    Recorder first, second;
    struct Leaver : CSimulationListener {
        explicit Leaver(CSimulation& s) : simulation(s) {}
        void OnStateChanged() override { simulation.RemoveListener(this); }
        CSimulation& simulation;
    } leaver(simulation);
    simulation.AddListener(&first);
    simulation.AddListener(&leaver);
    simulation.AddListener(&second);

    simulation.SetDisplay(DisplayFlag::Axes, true);
    simulation.Start(std::make_unique<Jump>(JointAngles{1, 2, 3, 4, 5, 6}));
    simulation.Advance(10.0);
    simulation.Advance(10.5);
    simulation.Advance(11.0);
    const std::vector<std::string> expected = {"state", "start", "step", "arrived"};
    EXPECT_EQ(first.calls, expected);
    EXPECT_EQ(second.calls, expected);
    EXPECT_EQ(first.times, std::vector<double>{1.0}) << "time since the first step of the motion";
    EXPECT_EQ(second.last.A56, 5.0f);
    EXPECT_TRUE(simulation.Display()[DisplayFlag::Axes]);
}

TEST(Simulation, AStopOrANewMotionEndsTheRunningOneStopped)
{
    CSimulation simulation(ArmDescription{});
    Recorder recorder;
    simulation.AddListener(&recorder);
    simulation.Start(std::make_unique<Jump>(JointAngles{1, 1, 1, 1, 1, 1}));
    simulation.Start(std::make_unique<Jump>(JointAngles{2, 2, 2, 2, 2, 2}));
    simulation.Stop();
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"start", "stopped", "start", "stopped"}));
    EXPECT_EQ(simulation.Advance(50.0), TrajectoryStep::Waiting) << "nothing runs";
    EXPECT_EQ(simulation.Angles().A12, 0.0f) << "the arm stands where it stopped";
}

}  // namespace
