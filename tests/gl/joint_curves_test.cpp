// The panel's curves of a motion, as drawn on a canvas: the joints' names in
// their colours, the angles above and the speeds below, each curve across
// its plot from the motion's start to its end, the speed limits dashed where
// a joint at its maximum speed runs along them, and the duration under.
#include "panel/JointCurves.h"
#include "tests/gl/RecordingPainter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 320, kHeight = 260;

// A12 from 0 to 90 degrees and A23 from 0 to -30 at constant speed in one
// second; the other joints still.
struct Ramp : CTrajectory {
    TrajectoryStep Sample(double t, JointAngles& angles) override
    {
        const double f = std::min(t, 1.0);
        angles.A12 = static_cast<float>(90 * f);
        angles.A23 = static_cast<float>(-30 * f);
        return t >= 1.0 ? TrajectoryStep::Arrived : TrajectoryStep::Moved;
    }
};

// An arm whose A12 runs the ramp at its maximum speed, 90 degrees a second;
// A23 at half its own, the others' limits between.
ArmDescription Arm()
{
    ArmDescription arm{};
    const float speeds[kJointCount] = {90, 60, 40, 50, 70, 80};
    std::copy(speeds, speeds + kJointCount, arm.maxSpeed);
    return arm;
}

// A frame: a closed polyline of five points, as x, y, w, h.
struct Box {
    float x, y, w, h;
};

class JointCurvesTest : public ::testing::Test {
protected:
    JointCurvesTest() : simulation(arm), recorder(simulation) {}

    // The ramp run for `steps` steps of 10 ms.
    void Run(int steps)
    {
        simulation.Start(std::make_unique<Ramp>());
        for (int i = 0; i <= steps; ++i)
            simulation.Advance(i / 100.0);
    }
    void Draw() { DrawJointCurves(p, kWidth, kHeight, recorder, arm); }
    std::vector<Box> Frames() const
    {
        std::vector<Box> frames;
        for (const auto& c : p.curves)
            if (c.Count() == 5 && c.xy[0] == c.xy[8] && c.xy[1] == c.xy[9])
                frames.push_back({c.xy[0], c.xy[1], c.xy[2] - c.xy[0], c.xy[5] - c.xy[1]});
        return frames;
    }
    // The curves of one plot, in the joints' order.
    std::vector<RecordingPainter::Curve> CurvesIn(const Box& b) const
    {
        std::vector<RecordingPainter::Curve> in;
        for (const auto& c : p.curves)
            if (c.Count() != 5 && c.xy[1] >= b.y && c.xy[1] <= b.y + b.h)
                in.push_back(c);
        return in;
    }

    ArmDescription arm = Arm();
    CSimulation simulation;
    CMotionRecorder recorder;
    RecordingPainter p;
};

TEST_F(JointCurvesTest, BeforeAnyMotionTheLegendAndAWord)
{
    Draw();
    EXPECT_NE(p.Find("Pas encore de mouvement."), nullptr);
    EXPECT_TRUE(p.curves.empty());
    // The six names along the top, each in a colour of its own.
    for (int j = 0; j < kJointCount; ++j) {
        const RecordingPainter::Words* name = p.Find(JointName(j));
        ASSERT_NE(name, nullptr) << JointName(j);
        EXPECT_EQ(name->y, 0);
        for (int k = 0; k < j; ++k) {
            EXPECT_FALSE(SameColour(name->colour, p.Find(JointName(k))->colour)) << j << " and " << k;
            EXPECT_LT(p.Find(JointName(k))->Right(), name->x);
        }
    }
}

TEST_F(JointCurvesTest, EachCurveSpansItsPlotFromTheMotionsStartToItsEnd)
{
    Run(100);
    Draw();
    const std::vector<Box> frames = Frames();
    ASSERT_EQ(frames.size(), 2u);
    const Box angles = frames[0], speeds = frames[1];
    EXPECT_LT(angles.y + angles.h, speeds.y) << "the angles above the speeds";
    for (const Box& b : frames) {
        EXPECT_GE(b.x, 0);
        EXPECT_LE(b.x + b.w, kWidth);
        EXPECT_GT(b.y, RecordingPainter::kTextHeight) << "under the legend";
        EXPECT_LE(b.y + b.h, kHeight - RecordingPainter::kTextHeight) << "above the duration";
        const auto curves = CurvesIn(b);
        ASSERT_EQ(curves.size(), static_cast<std::size_t>(kJointCount));
        for (int j = 0; j < kJointCount; ++j) {
            const auto& c = curves[j];
            EXPECT_TRUE(SameColour(c.colour, p.Find(JointName(j))->colour)) << "curve " << j << " in its name's colour";
            EXPECT_LE(c.Count(), kWidth) << "no more points than pixels across";
            EXPECT_FLOAT_EQ(c.xy[0], b.x) << "from the start";
            EXPECT_NEAR(c.xy[c.xy.size() - 2], b.x + b.w, b.w / 50) << "to the end";
            for (int i = 0; i < c.Count(); ++i) {
                EXPECT_GE(c.xy[2 * i + 1], b.y);
                EXPECT_LE(c.xy[2 * i + 1], b.y + b.h);
            }
        }
    }
    // A12 rises (up the plot), A23 falls, A34 stays on one height.
    const auto curves = CurvesIn(angles);
    EXPECT_LT(curves[0].xy.back(), curves[0].xy[1]);
    EXPECT_GT(curves[1].xy.back(), curves[1].xy[1]);
    EXPECT_EQ(curves[2].xy.back(), curves[2].xy[1]);
    EXPECT_NE(p.Find("Durée : 1,00 s"), nullptr);
    EXPECT_EQ(p.Find("Durée : 1,00 s")->y, kHeight - RecordingPainter::kTextHeight);
}

TEST_F(JointCurvesTest, TheSpeedLimitsAreDashedWhereAJointAtItsMaximumRuns)
{
    Run(100);
    Draw();
    const Box speeds = Frames().at(1);
    const auto curves = CurvesIn(speeds);
    // The zero line across the plot.
    float zero = -1;
    for (const auto& line : p.lines)
        if (line.colour.a == 1 && line.x0 == speeds.x && line.x1 == speeds.x + speeds.w && line.y0 > speeds.y &&
            line.y0 < speeds.y + speeds.h)
            zero = line.y0;
    ASSERT_GT(zero, 0) << "a zero line";
    float scale = 0;  // pixels per degree per second
    for (int j = 0; j < kJointCount; ++j) {
        // The dashes of each joint, in its colour, faint: two rows of them.
        std::vector<float> rows;
        for (const auto& line : p.lines)
            if (SameColour(line.colour, curves[j].colour) && line.colour.a < 1) {
                EXPECT_EQ(line.y0, line.y1);
                EXPECT_LE(line.x1 - line.x0, 4) << "dashed";
                EXPECT_GE(line.x0, speeds.x);
                EXPECT_LE(line.x1, speeds.x + speeds.w);
                if (std::find(rows.begin(), rows.end(), line.y0) == rows.end())
                    rows.push_back(line.y0);
            }
        ASSERT_EQ(rows.size(), 2u) << "joint " << j << ": its limit, both ways";
        std::sort(rows.begin(), rows.end());
        // Either side of the zero line, as far as the joint's limit: on one
        // scale for every joint.
        EXPECT_NEAR(zero - rows[0], rows[1] - zero, 1e-3) << "joint " << j;
        if (j == 0)
            scale = (zero - rows[0]) / arm.maxSpeed[0];
        EXPECT_NEAR((zero - rows[0]) / arm.maxSpeed[j], scale, 1e-4) << "joint " << j;
    }
    // In the middle of the motion A12 runs at 90 degrees a second, its
    // maximum: its curve lies on its upper dashes. A23 runs at -30, half its
    // maximum of 60: half way down to its lower dashes.
    auto middle = [](const RecordingPainter::Curve& c) { return c.xy[2 * (c.Count() / 2) + 1]; };
    EXPECT_NEAR(middle(curves[0]), zero - 90 * scale, 0.5f);
    EXPECT_NEAR(middle(curves[1]), zero + 30 * scale, 0.5f);
    EXPECT_NEAR(middle(curves[2]), zero, 0.5f) << "a joint at rest on the zero line";
}

TEST_F(JointCurvesTest, AMotionUnderWaySaysSo)
{
    Run(50);
    Draw();
    EXPECT_NE(p.Find("En cours : 0,50 s"), nullptr);
    EXPECT_EQ(Frames().size(), 2u);
}

}  // namespace
