// What the recorder keeps of the arm's motions, and the samples and speeds
// read from it: what the trail, the curves and `record` show.
#include "sim/MotionRecorder.h"

#include "arm/ArmKinematics.h"
#include "motion/MovePlanner.h"
#include "tests/support/ShippedArm.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// Every joint turns at 10 degrees per second from where it starts, for one
// second.
struct Ramp : CTrajectory {
    explicit Ramp(JointAngles from) : start(from) {}
    TrajectoryStep Sample(double t, JointAngles& angles) override
    {
        const double s = t < 1.0 ? t : 1.0;
        for (float JointAngles::*joint : kJointFields)
            angles.*joint = static_cast<float>(start.*joint + 10.0 * s);
        return t < 1.0 ? TrajectoryStep::Moved : TrajectoryStep::Arrived;
    }
    JointAngles start;
};

TEST(MotionRecorder, KeepsTheMotionUnderWayAndTheOneBefore)
{
    CSimulation simulation(ArmDescription{});
    CMotionRecorder recorder(simulation);
    EXPECT_TRUE(recorder.Latest().empty());
    for (int motion = 0; motion < 2; ++motion) {
        simulation.Start(std::make_unique<Ramp>(simulation.Angles()));
        EXPECT_TRUE(recorder.Running());
        for (double now = 5.0; simulation.Moving(); now += 0.25)
            simulation.Advance(now);
        EXPECT_FALSE(recorder.Running());
    }
    ASSERT_EQ(recorder.Latest().size(), 6u) << "the start, then steps at 0, 0.25 ... 1";
    EXPECT_EQ(recorder.Latest().front().angles.A12, 10.0f) << "the second starts where the first ended";
    EXPECT_EQ(recorder.Latest().back().t, 1.0);
    EXPECT_EQ(recorder.Latest().back().angles.A67, 20.0f);
    ASSERT_EQ(recorder.Earlier().size(), 6u);
    EXPECT_EQ(recorder.Earlier().front().angles.A12, 0.0f);
}

TEST(MotionRecorder, ResampledEvenlyWithTheSpeedsBetweenSamples)
{
    const std::vector<MotionSample> steps = {{0.0, {0, 0, 0, 0, 0, 0}, {0, 0, 0}},
                                             {0.013, {1.3f, 0, 0, 0, 0, 0}, {13, 0, 0}},
                                             {0.05, {5, 0, 0, 0, 0, -10}, {50, 0, 0}}};
    const std::vector<MotionSample> even = Resample(steps, 0.01);
    ASSERT_EQ(even.size(), 6u);
    for (std::size_t i = 0; i < even.size(); ++i) {
        EXPECT_DOUBLE_EQ(even[i].t, 0.01 * i);
        EXPECT_NEAR(even[i].angles.A12, 100.0 * even[i].t, 1e-4);
        EXPECT_NEAR(even[i].point[0], 1000.0 * even[i].t, 1e-3);
    }
    EXPECT_NEAR(even[3].angles.A67, -10 * (0.03 - 0.013) / (0.05 - 0.013), 1e-5);
    const std::vector<JointAngles> speeds = JointSpeeds(even);
    for (const JointAngles& v : speeds)
        EXPECT_NEAR(v.A12, 100.0, 1e-2) << "degrees per second";
    EXPECT_TRUE(Resample({}, 0.01).empty());
}

// A chase is a function of time while its targets stay: its rows every
// 10 ms from the joints' own speeds, the last one at the arrival of the
// slowest joint; once the targets change on its way, the rows follow the
// steps, to the last one.
TEST(MotionRecorder, AChasesRowsEndAtItsArrivalOrFollowItsSteps)
{
    ArmDescription arm{};
    for (float& speed : arm.maxSpeed)
        speed = 100.0f;
    CSimulation simulation(arm);
    CMotionRecorder recorder(simulation);
    simulation.SetTargets(JointAngles{4.7f, 0, 0, 0, 0, -2});  // 47 ms at 100 degrees per second
    simulation.StartChase();
    for (double now = 1.0; simulation.Moving(); now += 0.03)
        simulation.Advance(now);
    std::vector<MotionSample> rows = recorder.Rows(kRecordStep);
    ASSERT_EQ(rows.size(), 6u) << "0, 0.01 ... 0.04, then the arrival";
    EXPECT_NEAR(rows.back().t, 0.047, 1e-6);
    EXPECT_EQ(rows.back().angles.A12, 4.7f);
    EXPECT_NEAR(rows[2].angles.A12, 2.0, 1e-4) << "at its speed, whatever the steps";
    EXPECT_NEAR(rows[2].angles.A67, -2.0, 1e-4) << "already there";

    std::unique_ptr<FILE, int (*)(FILE*)> file(std::tmpfile(), &std::fclose);
    ASSERT_TRUE(file);
    ASSERT_TRUE(WriteMotionRecord(file.get(), rows, arm, CWorkFrames()));
    std::rewind(file.get());
    std::vector<std::string> lines;
    char line[1024];
    while (std::fgets(line, sizeof line, file.get()))
        lines.emplace_back(line);
    ASSERT_EQ(lines.size(), 1u + rows.size());
    EXPECT_EQ(lines.front().substr(0, 9), "t,A12,A23");
    EXPECT_EQ(lines.back().substr(0, lines.back().find(',', 6)), "0.047,4.69999981");

    // New targets half way: the steps say where the arm went.
    simulation.SetTargets(JointAngles{0, 0, 0, 0, 0, 0});
    simulation.StartChase();
    simulation.Advance(2.0);
    simulation.Advance(2.02);
    simulation.SetTargets(JointAngles{4.7f, 3, 0, 0, 0, -2});
    for (double now = 2.05; simulation.Moving(); now += 0.03)
        simulation.Advance(now);
    rows = recorder.Rows(kRecordStep);
    const std::vector<MotionSample>& steps = recorder.Latest();
    ASSERT_FALSE(rows.empty());
    EXPECT_DOUBLE_EQ(rows.back().t, steps.back().t);
    EXPECT_EQ(rows.back().angles.A23, 3.0f);
}

// The rows of `record` for a planned line that the display stepped through
// at irregular, far-apart times (a busy machine): every row is the line's
// own pose at its time, on the segment, however far apart the steps were,
// and the last row is the arrival itself.
TEST(MotionRecorder, ALinesRecordLiesOnTheLineWhateverTheSteps)
{
    const ArmDescription arm = ShippedArm();
    CSimulation simulation(arm);
    CMotionRecorder recorder(simulation);
    const ToolPose from = ArmMGD(arm, simulation.Angles());
    MoveRequest request;
    request.kind = MoveKind::Linear;
    request.pose = from;
    request.pose.Y += 300;
    MovePlan plan = PlanMove(arm, simulation.Angles(), request, 100);
    ASSERT_TRUE(plan.ok);
    const double duration = plan.duration;
    simulation.Start(std::move(plan.trajectory));
    for (double t : {0.0, 0.07, 0.61, 1.04, duration * 0.9, duration + 0.04})
        simulation.Advance(100.0 + t);
    ASSERT_FALSE(simulation.Moving());

    const std::vector<MotionSample> rows = recorder.Rows(kRecordStep);
    ASSERT_FALSE(rows.empty());
    EXPECT_DOUBLE_EQ(rows.back().t, duration) << "the last row is the arrival";
    for (const MotionSample& row : rows) {
        const ToolPose p = ArmMGD(arm, row.angles);
        EXPECT_NEAR(p.X, from.X, 0.01) << "t = " << row.t;
        EXPECT_NEAR(p.Z, from.Z, 0.01) << "t = " << row.t;
        EXPECT_NEAR(p.alpha, from.alpha, 1e-3);
        EXPECT_NEAR(p.beta, from.beta, 1e-3);
        EXPECT_NEAR(p.gamma, from.gamma, 1e-3);
        EXPECT_GE(p.Y, from.Y - 0.01);
        EXPECT_LE(p.Y, from.Y + 300.01);
    }
    for (std::size_t i = 0; i + 1 < rows.size(); ++i)
        EXPECT_NEAR(rows[i].t, 0.01 * i, 1e-9) << "a row every 10 ms from the start";
}

}  // namespace
