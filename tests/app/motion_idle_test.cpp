// The idle hook that drives motions in the running program: registered
// while a motion runs, and only then, so that the program sleeps otherwise.
// glutIdleFunc goes to the recorder of fake_gl.cpp.
#include "app/MotionIdle.h"
#include "sim/Simulation.h"
#include "tests/app/FakeGl.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A motion of `duration` seconds that holds the arm where it is.
class Hold : public CTrajectory {
public:
    explicit Hold(double duration) : m_dDuration(duration) {}
    TrajectoryStep Sample(double t, JointAngles&) override
    {
        return t >= m_dDuration ? TrajectoryStep::Arrived : TrajectoryStep::Moved;
    }

private:
    double m_dDuration;
};

TEST(MotionIdle, TheIdleFunctionRunsWhileAMotionRuns)
{
    g_FakeGl.Reset();
    CSimulation simulation{ArmDescription{}};
    DriveMotion(simulation);
    EXPECT_EQ(g_FakeGl.idle, nullptr);
    simulation.Start(std::make_unique<Hold>(1.0));
    ASSERT_NE(g_FakeGl.idle, nullptr);
    simulation.Advance(0.0);
    simulation.Advance(1.0);
    EXPECT_FALSE(simulation.Moving());
    EXPECT_EQ(g_FakeGl.idle, nullptr) << "arrived: the program sleeps again";
    simulation.Start(std::make_unique<Hold>(1.0));
    EXPECT_NE(g_FakeGl.idle, nullptr);
    simulation.Stop();
    EXPECT_EQ(g_FakeGl.idle, nullptr) << "stopped: the same";
}

}  // namespace
