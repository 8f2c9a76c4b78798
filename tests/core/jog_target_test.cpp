// Where a jog goes: a move along an axis or a turn about it, of the base,
// of the tool frame as it stands or of a user frame, each seen in the frame
// it was given in: the tool point moved by exactly the step along that
// axis and the orientation kept, or the tool point kept and the
// orientation turned by exactly the step about that axis.
#include "kinematics/KdlFrames.h"
#include "motion/JogTarget.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A tool frame turned every way, away from the base's origin.
const ToolPose kTool{512.5f, -120.25f, 640, 30, 50, 70};
// A user frame turned and moved too.
const ToolPose kUser{300, 200, 100, 120, 35, 40};

// The frame each jog's axes belong to, as a rotation in the base frame.
KDL::Rotation AxesOf(JogFrame frame, const KDL::Frame& tool)
{
    return frame == JogFrame::Tool ? tool.M : frame == JogFrame::User ? FrameOfPose(kUser).M : KDL::Rotation();
}

TEST(JogTarget, MovesAlongOrTurnsAboutTheAxisOfItsFrame)
{
    struct Case {
        JogFrame frame;
        int axis;
        double delta;
        KDL::Vector move;    // the tool point's move, seen in the frame
        KDL::Rotation turn;  // the orientation's turn, seen in the frame
    };
    const double deg = M_PI / 180;
    const Case cases[] = {
        // The four: tool z 50, base x -30, base rz 10, tool rx 5.
        {JogFrame::Tool, 2, 50, {0, 0, 50}, KDL::Rotation()},
        {JogFrame::Base, 0, -30, {-30, 0, 0}, KDL::Rotation()},
        {JogFrame::Base, 5, 10, {0, 0, 0}, KDL::Rotation::RotZ(10 * deg)},
        {JogFrame::Tool, 3, 5, {0, 0, 0}, KDL::Rotation::RotX(5 * deg)},
        // Every other axis of each frame once.
        {JogFrame::Base, 1, 12.5, {0, 12.5, 0}, KDL::Rotation()},
        {JogFrame::Base, 4, -7, {0, 0, 0}, KDL::Rotation::RotY(-7 * deg)},
        {JogFrame::Tool, 0, -4, {-4, 0, 0}, KDL::Rotation()},
        {JogFrame::Tool, 4, 20, {0, 0, 0}, KDL::Rotation::RotY(20 * deg)},
        {JogFrame::User, 1, 20, {0, 20, 0}, KDL::Rotation()},
        {JogFrame::User, 2, -15, {0, 0, -15}, KDL::Rotation()},
        {JogFrame::User, 5, 30, {0, 0, 0}, KDL::Rotation::RotZ(30 * deg)},
        {JogFrame::User, 3, -45, {0, 0, 0}, KDL::Rotation::RotX(-45 * deg)},
    };
    const KDL::Frame tool = FrameOfPose(kTool);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(JogAxisWord(c.axis)) + " of frame " + std::to_string(int(c.frame)));
        const KDL::Frame jogged = JogToolFrame(tool, c.frame, c.axis, c.delta, kUser);
        const KDL::Rotation axes = AxesOf(c.frame, tool);
        const KDL::Vector move = axes.Inverse() * (jogged.p - tool.p);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(move(i), c.move(i), 0.01) << i;
        const KDL::Rotation turn = axes.Inverse() * jogged.M * tool.M.Inverse() * axes;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                EXPECT_NEAR(turn(i, j), c.turn(i, j), 1e-4) << i << j;
    }
}

// The direction of an axis is the frame's column: a turn of the tool frame
// about its own x keeps its x, and a user frame's x is not the base's.
TEST(JogTarget, DirectionIsTheFramesAxis)
{
    const KDL::Frame tool = FrameOfPose(kTool);
    EXPECT_LT((JogDirection(JogFrame::Tool, 3, tool, kUser) - tool.M.UnitX()).Norm(), 1e-12);
    EXPECT_LT((JogDirection(JogFrame::Base, 2, tool, kUser) - KDL::Vector(0, 0, 1)).Norm(), 1e-12);
    EXPECT_LT((JogDirection(JogFrame::User, 0, tool, kUser) - FrameOfPose(kUser).M.UnitX()).Norm(), 1e-12);
    EXPECT_GT((JogDirection(JogFrame::User, 0, tool, kUser) - KDL::Vector(1, 0, 0)).Norm(), 0.1);
}

TEST(JogTarget, JointJogTurnsThatJointAlone)
{
    const JointAngles start{10, 20, 30, 40, 50, 60};
    for (int joint = 0; joint < 6; ++joint) {
        const JointAngles jogged = JogJoints(start, joint, -2.5);
        for (int other = 0; other < 6; ++other)
            EXPECT_EQ(jogged.*kJointFields[other], start.*kJointFields[other] - (other == joint ? 2.5f : 0.0f))
                << joint << " " << other;
    }
}

}  // namespace
