// Jogs through the controller on the shipped arm, played on the
// simulation's clock: a step jog as a planned move (the tool's frame before
// and after as `get matrix` gives it), a refused one that leaves the arm
// where it stands with the reason and the place, and the continuous jog
// with its stop, its end before a limit and the reason in the status line.
#include "arm/ArmKinematics.h"
#include "kinematics/KdlFrames.h"
#include "sim/Controller.h"
#include "sim/MotionRecorder.h"
#include "sim/Simulation.h"
#include "tests/support/RecordingView.h"
#include "tests/support/ShippedArm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

bool Same(const JointAngles& a, const JointAngles& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.rfind(start, 0) == 0;
}

struct JogWorld {
    JogWorld() : simulation(ShippedArm()) {}

    KDL::Frame Tool() const { return ArmMGDFrame(simulation.Arm(), simulation.Angles()); }
    // The motion under way stepped as a display would, until it ends or
    // `seconds` have passed on its clock.
    void Play(double seconds)
    {
        const double start = clock;
        simulation.Advance(clock);
        while (simulation.Moving() && clock < start + seconds) {
            clock += 1.0 / 60;
            simulation.Advance(clock);
        }
    }

    double clock = 0;
    CSimulation simulation;
    CMotionRecorder recorder{simulation};
    CRecordingView view;
    CController controller{simulation, view, recorder};
};

// The four jogs and one of each other kind: the tool point moved by
// the step along the axis with the orientation kept, or kept with the
// orientation turned by the step about the axis, each seen in its frame.
TEST(ControllerJog, AStepJogMovesTheToolByTheStepInItsFrame)
{
    struct Case {
        JogFrame frame;
        int axis;
        double delta;
        KDL::Vector move;
        KDL::Rotation turn;
    };
    const double deg = M_PI / 180;
    const Case cases[] = {
        {JogFrame::Tool, 2, 50, {0, 0, 50}, KDL::Rotation()},
        {JogFrame::Base, 0, -30, {-30, 0, 0}, KDL::Rotation()},
        {JogFrame::Base, 5, 10, {0, 0, 0}, KDL::Rotation::RotZ(10 * deg)},
        {JogFrame::Tool, 3, 5, {0, 0, 0}, KDL::Rotation::RotX(5 * deg)},
        {JogFrame::Tool, 1, -20, {0, -20, 0}, KDL::Rotation()},
        {JogFrame::Base, 3, -8, {0, 0, 0}, KDL::Rotation::RotX(-8 * deg)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(JogAxisWord(c.axis)) + " of frame " + std::to_string(int(c.frame)));
        JogWorld w;
        const KDL::Frame before = w.Tool();
        const MoveOutcome outcome = w.controller.Jog(c.frame, c.axis, c.delta, true);
        ASSERT_TRUE(outcome.ok) << outcome.words;
        EXPECT_GT(outcome.duration, 0);
        EXPECT_TRUE(StartsWith(w.controller.StatusLine(), "Déplacement manuel ")) << w.controller.StatusLine();
        w.Play(60);
        ASSERT_FALSE(w.simulation.Moving());
        EXPECT_TRUE(w.simulation.EndedArrived());
        EXPECT_TRUE(Same(w.simulation.Targets(), w.simulation.Angles()));
        const KDL::Frame after = w.Tool();
        const KDL::Rotation axes = c.frame == JogFrame::Tool ? before.M : KDL::Rotation();
        const KDL::Vector move = axes.Inverse() * (after.p - before.p);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(move(i), c.move(i), 0.01) << i;
        const KDL::Rotation turn = axes.Inverse() * after.M * before.M.Inverse() * axes;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                EXPECT_NEAR(turn(i, j), c.turn(i, j), 1e-4) << i << j;
    }
}

// `jog frame` follows the axes of the user frame in use, and the base's
// while none is; a held one too.
TEST(ControllerJog, AFrameJogFollowsTheUserFrameInUse)
{
    const ToolPose f1{300, 200, 100, 120, 35, 40};
    const KDL::Rotation axes = FrameOfPose(f1).M;
    struct Case {
        const char* inUse;
        int axis;
        double delta;
        KDL::Vector move;    // in the base frame
        KDL::Rotation turn;  // in the base frame
    };
    const Case cases[] = {
        {"f1", 1, 20, axes.UnitY() * 20, KDL::Rotation()},
        {"f1", 5, 10, {0, 0, 0}, KDL::Rotation::Rot2(axes.UnitZ(), 10 * M_PI / 180)},
        {"base", 0, 20, {20, 0, 0}, KDL::Rotation()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.inUse) + " " + JogAxisWord(c.axis));
        JogWorld w;
        ASSERT_TRUE(w.controller.DefineFrame("f1", f1).ok);
        ASSERT_TRUE(w.controller.UseFrame(c.inUse).ok);
        const KDL::Frame before = w.Tool();
        const MoveOutcome outcome = w.controller.Jog(JogFrame::User, c.axis, c.delta, true);
        ASSERT_TRUE(outcome.ok) << outcome.words;
        w.Play(60);
        const KDL::Frame after = w.Tool();
        EXPECT_LE((after.p - before.p - c.move).Norm(), 0.01);
        const KDL::Rotation turn = after.M * before.M.Inverse();
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                EXPECT_NEAR(turn(i, j), c.turn(i, j), 1e-4) << i << j;
    }
    JogWorld w;
    ASSERT_TRUE(w.controller.DefineFrame("f1", f1).ok);
    ASSERT_TRUE(w.controller.UseFrame("f1").ok);
    const KDL::Frame before = w.Tool();
    ASSERT_TRUE(w.controller.StartJog(JogFrame::User, 2, -1).ok);
    w.Play(0.5);
    w.controller.StopJog();
    const KDL::Vector moved = w.Tool().p - before.p;
    EXPECT_NEAR(KDL::dot(moved, axes.UnitZ()), -25, 1);  // 25 % of 200 a second, for half a second
    EXPECT_LE((moved - axes.UnitZ() * KDL::dot(moved, axes.UnitZ())).Norm(), 0.01);
}

TEST(ControllerJog, AJointJogTurnsThatJoint)
{
    JogWorld w;
    const JointAngles start = w.simulation.Angles();
    const MoveOutcome outcome = w.controller.Jog(JogFrame::Joints, 2, -12.5, true);
    ASSERT_TRUE(outcome.ok) << outcome.words;
    EXPECT_EQ(w.controller.StatusLine().rfind("Déplacement manuel A34 : ", 0), 0u) << w.controller.StatusLine();
    w.Play(60);
    const JointAngles end = w.simulation.Angles();
    for (int joint = 0; joint < 6; ++joint)
        EXPECT_NEAR(end.*kJointFields[joint], start.*kJointFields[joint] - (joint == 2 ? 12.5 : 0), 1e-4) << joint;
}

TEST(ControllerJog, ARefusedJogLeavesTheArmWhereItStands)
{
    struct Case {
        JogFrame frame;
        int axis;
        double delta;
        const char* words;  // how the reason begins
    };
    const Case cases[] = {
        {JogFrame::Joints, 1, 140, "A23 = 185 hors des limites [-180 ; 180] à 100 % du chemin ("},
        {JogFrame::Base, 0, 1000, "hors d'atteinte à "},
        {JogFrame::Base, 6, 10, "axe 6 inconnu : de 0 à 5"},
        {JogFrame::Tool, 2, NAN, "pas non fini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words);
        JogWorld w;
        const JointAngles start = w.simulation.Angles();
        const MoveOutcome outcome = w.controller.Jog(c.frame, c.axis, c.delta, true);
        EXPECT_FALSE(outcome.ok);
        EXPECT_TRUE(StartsWith(outcome.words, c.words)) << outcome.words;
        EXPECT_FALSE(w.simulation.Moving());
        EXPECT_TRUE(Same(w.simulation.Angles(), start));
    }
}

// Held on A56 (90 degrees per second, 25 % of it), the jog runs from 60 up
// to just before the limit of 180 and says so.
TEST(ControllerJog, AHeldJogStopsBeforeTheLimitWithTheReason)
{
    JogWorld w;
    const ActionResult started = w.controller.StartJog(JogFrame::Joints, 4, 1);
    ASSERT_TRUE(started.ok) << started.message;
    EXPECT_EQ(w.controller.StatusLine(), "Déplacement manuel A56");
    w.Play(1.0);
    EXPECT_TRUE(w.simulation.Moving());
    EXPECT_NEAR(w.simulation.Angles().A56, 60 + 22.5, 0.5);
    w.Play(60);
    ASSERT_FALSE(w.simulation.Moving());
    EXPECT_LE(w.simulation.Angles().A56, 180.0f);
    EXPECT_GT(w.simulation.Angles().A56, 179.5f);
    EXPECT_TRUE(StartsWith(w.controller.StatusLine(), "Déplacement manuel A56 arrêté : A56 = 180,"))
        << w.controller.StatusLine();
    EXPECT_NE(w.controller.StatusLine().find("hors des limites [-180 ; 180]"), std::string::npos);
    // The button let go: the targets come where the arm stopped.
    w.controller.StopJog();
    EXPECT_TRUE(Same(w.simulation.Targets(), w.simulation.Angles()));
}

TEST(ControllerJog, LettingGoStopsTheArmWhereItStands)
{
    JogWorld w;
    w.controller.SetRealTime(true);
    const KDL::Frame before = w.Tool();
    ASSERT_TRUE(w.controller.StartJog(JogFrame::Base, 2, -1).ok);
    w.Play(0.5);
    w.controller.StopJog();
    EXPECT_FALSE(w.simulation.Moving());
    EXPECT_TRUE(Same(w.simulation.Targets(), w.simulation.Angles())) << "a later go does not pull the arm back";
    const KDL::Vector moved = w.Tool().p - before.p;
    EXPECT_NEAR(moved.z(), -25, 1);  // 25 % of 200 a second, for half a second
    EXPECT_NEAR(std::hypot(moved.x(), moved.y()), 0, 0.01);
    EXPECT_EQ(w.controller.StatusLine(), "Déplacement manuel Base z");

    // Letting go once another motion has started leaves that one alone.
    ASSERT_TRUE(w.controller.StartJog(JogFrame::Base, 2, 1).ok);
    ASSERT_TRUE(w.controller.Jog(JogFrame::Joints, 0, 5, true).ok);
    w.controller.StopJog();
    EXPECT_TRUE(w.simulation.Moving());
}

TEST(ControllerJog, AHeldJogThatCannotStartIsRefused)
{
    JogWorld w;
    w.controller.SetAngles({-25, 45, 15, 0, 1, 0});
    const ActionResult refused = w.controller.StartJog(JogFrame::Tool, 0, 1);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message, "trop près de la singularité du poignet (A56 = 1,0°)");
    EXPECT_EQ(w.controller.StatusLine(), "Refusé : " + refused.message);
    EXPECT_FALSE(w.simulation.Moving());
    EXPECT_EQ(w.controller.StartJog(JogFrame::Base, 0, 0).message, "sens 1 ou -1 attendu");
    EXPECT_EQ(w.controller.StartJog(JogFrame::Joints, -1, 1).message, "axe -1 inconnu : de 0 à 5");
}

}  // namespace
