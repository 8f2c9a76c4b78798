// What the recorder keeps of the arm's motions, and the samples and speeds
// read from it: what the trail, the curves and `record` show.
#include "sim/MotionRecorder.h"

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

// A motion that ends between two grid times: the record's last line is the
// next grid time, holding the arm where it arrived, never the grid time
// before the arrival.
TEST(MotionRecorder, RecordedToTheArrivalBetweenGridTimes)
{
    const std::vector<MotionSample> steps = {{0.0, {0, 0, 0, 0, 0, 0}, {0, 0, 0}},
                                             {0.047, {4.7f, 0, 0, 0, 0, 0}, {47, 0, 0}}};
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::tmpfile(), &std::fclose);
    ASSERT_TRUE(file);
    ASSERT_TRUE(WriteMotionRecord(file.get(), steps, ArmDescription{}));
    std::rewind(file.get());
    std::vector<std::string> lines;
    char line[1024];
    while (std::fgets(line, sizeof line, file.get()))
        lines.emplace_back(line);
    ASSERT_EQ(lines.size(), 1u + 6u) << "the header, then 0, 0.01 ... 0.05";
    EXPECT_EQ(lines.back().substr(0, lines.back().find(',', 6)), "0.050,4.69999981");

    // The trail's marks stay at whole times within the motion.
    EXPECT_EQ(Resample(steps, 1.0).size(), 1u);
}

}  // namespace
