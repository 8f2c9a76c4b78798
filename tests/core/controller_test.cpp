// The controller at its own level, without a window: the modes and how a
// change of the angles or of the pose reaches the arm, the forward and
// MGI, real time, the status line, the display switches and the
// poses taught. Each test has its own simulation of the example arm; the
// window is a recording view; motions run on the simulation's clock, chosen
// by the test.
#include "kinematics/Kinematics.h"
#include "sim/Controller.h"
#include "sim/MotionRecorder.h"
#include "sim/Simulation.h"
#include "tests/support/ExampleArmDescription.h"
#include "tests/support/RecordingView.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using kxtest::ExampleArmDescription;

bool Same(const JointAngles& a, const JointAngles& b)
{
    return a.A12 == b.A12 && a.A23 == b.A23 && a.A34 == b.A34 && a.A45 == b.A45 && a.A56 == b.A56 && a.A67 == b.A67;
}

const JointAngles kStart{10, 20, 30, 40, 50, 60};

// A simulation of the example arm, its view and its controller.
struct World {
    explicit World(MGIModel model = MGIModel::Grid) : simulation(ExampleArmDescription(model)) {}

    ToolPose ArmMGD(const JointAngles& angles) const
    {
        ToolPose pose;
        ComputeMGD(simulation.Arm().Lengths(), angles, &pose);
        return pose;
    }
    // A pose typed value by value with immediate mode on, so that nothing is
    // computed yet.
    void TypePose(const ToolPose& pose)
    {
        ASSERT_TRUE(controller.Immediate());
        for (int i = 0; i < 6; ++i)
            controller.SetPoseValue(i, pose.*kPoseFields[i]);
    }
    bool StatusStartsWith(const std::string& start) const { return controller.StatusLine().rfind(start, 0) == 0; }

    CSimulation simulation;
    CMotionRecorder recorder{simulation};
    CRecordingView view;
    CController controller{simulation, view, recorder};
};

// ---------------------------------------------------------------------------
// Start, and a change across the two modes
// ---------------------------------------------------------------------------

TEST(Controller, StartState)
{
    World w;
    EXPECT_TRUE(Same(w.simulation.Angles(), kStart));
    EXPECT_TRUE(Same(w.simulation.Targets(), kStart));
    EXPECT_FALSE(w.controller.RealTime());
    EXPECT_TRUE(w.controller.Immediate());
    for (const DisplaySwitch& display : kDisplaySwitches)
        EXPECT_EQ(w.controller.IsDisplayed(display.flag), display.initial) << display.word;
    const ActionResult go = w.controller.StartMotion();
    EXPECT_FALSE(go.ok) << "nothing to start without real time";
    EXPECT_EQ(go.message, "le temps réel n'est pas actif");
    EXPECT_FALSE(w.simulation.Moving());
    const ToolPose pose = w.ArmMGD(kStart);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(w.controller.Pose().*kPoseFields[i], pose.*kPoseFields[i]) << "the pose starts at the arm's";
    EXPECT_EQ(w.controller.StatusLine(), "Configuration : vers l'avant, coude en haut, poignet non retourné");
}

// A change of one joint or of one pose value, in every combination of the
// immediate and real-time modes: which side is computed, and which angles
// of the arm receive it.
TEST(Controller, AChangeAcrossImmediateAndRealTime)
{
    struct Case {
        bool immediate, realTime, pose;
        bool computesOtherSide;
    };
    const Case cases[] = {
        {true, false, false, false}, {true, false, true, false}, {true, true, false, false}, {true, true, true, false},
        {false, false, false, true}, {false, false, true, true}, {false, true, false, true}, {false, true, true, true},
    };
    // The wrist-centre position of (10, 20, 30, ...) with a zero orientation.
    const ToolPose target{236.24f, 41.66f, 85.66f, 0, 0, 0};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "IM " << c.immediate << " RT " << c.realTime << " pose " << c.pose);
        World w;
        if (c.pose)
            w.TypePose(ToolPose{target.X, target.Y, 0, 0, 0, 0});
        w.controller.SetImmediate(c.immediate);
        w.controller.SetRealTime(c.realTime);
        const JointAngles before = w.simulation.Angles();
        const JointAngles targetsBefore = w.simulation.Targets();
        const ToolPose poseBefore = w.controller.Pose();

        if (c.pose)
            w.controller.SetPoseValue(2, target.Z);
        else
            w.controller.SetJointAngle(0, 15.0f);

        const JointAngles& edited = c.realTime ? w.simulation.Targets() : w.simulation.Angles();
        EXPECT_TRUE(Same(w.controller.EditedAngles(), edited));
        if (c.computesOtherSide && !c.pose) {
            EXPECT_EQ(edited.A12, 15.0f);
            EXPECT_EQ(w.controller.Pose().X, w.ArmMGD(edited).X);
            EXPECT_EQ(w.controller.Pose().gamma, w.ArmMGD(edited).gamma);
        }
        if (c.computesOtherSide && c.pose) {
            // The grid's answer, its negative A23 moved within 0 to 360.
            EXPECT_NEAR(w.ArmMGD(edited).Z, target.Z, 1.0f);
            EXPECT_GT(edited.A23, 180.0f);
        }
        if (!c.computesOtherSide) {
            if (c.pose)
                EXPECT_TRUE(Same(edited, kStart)) << "the arm stays";
            else
                EXPECT_EQ(w.controller.Pose().X, poseBefore.X) << "the pose stays until it is computed";
        }
        // The change reaches the current angles with real time off, the
        // targets with it on; the other set stays.
        if (c.realTime)
            EXPECT_TRUE(Same(w.simulation.Angles(), before));
        else
            EXPECT_TRUE(Same(w.simulation.Targets(), targetsBefore));
    }
}

// A joint changed alone, clamped into its limits: the others stay where they
// are, even outside theirs (a start angle may be).
TEST(Controller, AJointChangesAloneWithinItsLimits)
{
    World w;
    w.simulation.SetAngles(JointAngles{10, 20, -50, 40, 50, 60});  // A34 outside 0 to 360
    w.controller.SetJointAngle(0, 15.0f);
    EXPECT_TRUE(Same(w.simulation.Angles(), JointAngles{15, 20, -50, 40, 50, 60}));
    w.controller.SetJointAngle(1, 400.0f);
    EXPECT_EQ(w.simulation.Angles().A23, 360.0f);
}

// ---------------------------------------------------------------------------
// The forward and MGI
// ---------------------------------------------------------------------------

TEST(Controller, ComputingOnDemand)
{
    World w;
    w.simulation.SetAngles(JointAngles{0, 0, 0, 0, 0, 0});
    w.controller.CalculateMGD();
    EXPECT_NEAR(w.controller.Pose().X, 170.0f, 1e-3);
    EXPECT_NEAR(w.controller.Pose().Z, -10.0f, 1e-3);
    EXPECT_FLOAT_EQ(w.controller.Pose().gamma, 180.0f);
    w.simulation.SetAngles(JointAngles{1, 1, 1, 1, 1, 1});
    w.controller.CalculateMGI();
    EXPECT_FLOAT_EQ(w.simulation.Angles().A23, 0.0f);
    EXPECT_FLOAT_EQ(w.simulation.Angles().A34, 0.0f);
}

// For both models: the arm takes angles within 0 to 360 (moved there by
// whole turns), and its wrist centre lands on the target, exactly with the
// exact model, within the grid's step with the grid; the status line says
// how it went.
TEST(Controller, TheInverseModelPutsTheArmOnTheTargetWithinTheLimits)
{
    struct Case {
        MGIModel model;
        double tolerance;
        const char* status;
    };
    const Case cases[] = {
        {MGIModel::Grid, 15.0, "Grille : centre du poignet à "},
        {MGIModel::Exact, 0.01, "Pose atteinte ; vers l'avant, coude "},
    };
    for (const Case& c : cases) {
        World w(c.model);
        const ToolPose target = w.ArmMGD(JointAngles{45, -45, 90, -30, 40, -100});
        w.TypePose(target);
        w.controller.CalculateMGI();
        for (float JointAngles::*f : kJointFields) {
            EXPECT_GE(w.simulation.Angles().*f, 0.0f);
            EXPECT_LE(w.simulation.Angles().*f, 360.0f);
        }
        const ToolPose reached = w.ArmMGD(w.simulation.Angles());
        EXPECT_LE(std::hypot(reached.X - target.X, reached.Y - target.Y, reached.Z - target.Z), c.tolerance);
        EXPECT_TRUE(w.StatusStartsWith(c.status)) << w.controller.StatusLine();
    }
}

// The exact model takes the configuration nearest where the arm stands: the
// arm's own, whichever elbow and wrist it holds.
TEST(Controller, TheExactModelKeepsTheArmsConfiguration)
{
    World w(MGIModel::Exact);
    const JointAngles holds[] = {{45, 315, 90, 330, 40, 260}, {45, 60, 250, 150, 320, 80}};
    for (const JointAngles& arm : holds) {
        w.simulation.SetAngles(arm);
        ToolPose target = w.ArmMGD(arm);
        target.Z += 1.0f;
        w.TypePose(target);
        w.controller.CalculateMGI();
        // One unit moves the joints a few degrees; any other configuration
        // lies tens of degrees away.
        for (int j = 0; j < 6; ++j)
            EXPECT_NEAR(std::remainder(w.simulation.Angles().*kJointFields[j] - arm.*kJointFields[j], 360.0f), 0.0f,
                        10.0f)
                << "joint " << j;
    }
}

// ---------------------------------------------------------------------------
// The status line
// ---------------------------------------------------------------------------

// The status line says how the last inverse computation went only while
// the arm holds the angles it gave; any other change of the angles, by any
// way, brings back how the arm holds itself now.
TEST(Controller, TheStatusLineDescribesTheArmAsItStands)
{
    World w(MGIModel::Exact);
    w.controller.SetAngles(JointAngles{10, 150, 60, 40, 50, 60});  // the wrist centre behind the base axis
    EXPECT_TRUE(w.StatusStartsWith("Configuration : vers l'arrière, ")) << w.controller.StatusLine();
    w.TypePose(w.ArmMGD(kStart));
    w.controller.CalculateMGI();
    EXPECT_TRUE(w.StatusStartsWith("Pose atteinte ; ")) << w.controller.StatusLine();
    w.controller.SetAngles(kStart);  // as the command angles does
    EXPECT_EQ(w.controller.StatusLine(), "Configuration : vers l'avant, coude en haut, poignet non retourné");
    w.controller.CalculateMGI();
    EXPECT_TRUE(w.StatusStartsWith("Pose atteinte ; ")) << w.controller.StatusLine();
    w.controller.SetJointAngle(4, 300.0f);  // A56 = 300, the same as -60: the wrist flipped
    EXPECT_EQ(w.controller.StatusLine(), "Configuration : vers l'avant, coude en haut, poignet retourné");
    EXPECT_FALSE(w.controller.MGIOf(ToolPose{5000, 0, 0, 0, 0, 0}).reached);
    EXPECT_EQ(w.controller.StatusLine(), "Configuration : vers l'avant, coude en haut, poignet retourné")
        << "an inverse computed for someone else changes nothing shown";
}

TEST(Controller, TheStatusLineSaysWhenThePoseIsOutOfReach)
{
    World w(MGIModel::Exact);
    // The example arm reaches 120 + hypot(20, 110) from its shoulder at
    // (30, 0, 100): (1000, 0, 100) is 970 - 231.8 beyond.
    w.TypePose(ToolPose{1000, 0, 100, 0, 0, 180});
    w.controller.SetImmediate(false);
    w.controller.SetPoseValue(0, 1000);
    EXPECT_EQ(w.controller.StatusLine(), "Hors d'atteinte : il manque 738,2 unités de pose ; vers l'avant, bras tendu, "
                                         "poignet non retourné");
    const ToolPose reached = w.ArmMGD(w.simulation.Angles());
    EXPECT_NEAR(reached.X, 30 + 231.8, 0.1) << "stretched toward the target";
    EXPECT_NEAR(reached.Z, 100, 0.1);
}

// ---------------------------------------------------------------------------
// Real time
// ---------------------------------------------------------------------------

TEST(Controller, RealTimeStartAndStop)
{
    // Real time on takes the current angles as targets: old targets would
    // otherwise pull the arm back at the start.
    World w;
    w.simulation.SetTargets(JointAngles{90, 90, 90, 90, 90, 90});
    w.controller.SetRealTime(true);
    EXPECT_TRUE(Same(w.simulation.Targets(), w.simulation.Angles()));

    w.controller.SetJointAngle(1, 60.0f);
    EXPECT_EQ(w.simulation.Targets().A23, 60.0f);
    EXPECT_EQ(w.simulation.Angles().A23, 20.0f);
    EXPECT_TRUE(w.controller.StartMotion().ok);
    EXPECT_TRUE(w.simulation.Moving());
    w.simulation.Advance(0.0);
    w.simulation.Advance(0.25);  // 15 degrees at 60 per second
    EXPECT_EQ(w.simulation.Angles().A23, 35.0f);

    // Real time off stops the motion where it is; nothing starts any more.
    w.controller.SetRealTime(false);
    EXPECT_FALSE(w.simulation.Moving());
    EXPECT_EQ(w.simulation.Angles().A23, 35.0f);
    EXPECT_FALSE(w.controller.StartMotion().ok);
    w.controller.SetJointAngle(1, 70.0f);
    EXPECT_EQ(w.simulation.Angles().A23, 70.0f) << "real time off: the arm follows at once";
}

// Stopped half way, the angles being edited are where the arm stands, and
// nothing done after that brings back the abandoned targets.
TEST(Controller, AStoppedMotionLeavesTheArmWhereItStands)
{
    World w;
    w.controller.SetRealTime(true);
    w.controller.SetJointAngle(0, 150.0f);
    w.controller.SetJointAngle(1, 330.0f);
    ASSERT_TRUE(w.controller.StartMotion().ok);
    const JointAngles halfWay{80, 200, 30, 40, 50, 60};  // as the motion's steps would leave it
    w.simulation.SetAngles(halfWay);
    w.controller.SetRealTime(false);
    EXPECT_TRUE(Same(w.controller.EditedAngles(), halfWay));
    EXPECT_TRUE(Same(w.simulation.Targets(), halfWay));

    w.controller.SetJointAngle(5, 61.0f);
    EXPECT_TRUE(Same(w.simulation.Angles(), JointAngles{80, 200, 30, 40, 50, 61}));
    w.controller.CalculateMGD();
    EXPECT_TRUE(Same(w.simulation.Angles(), JointAngles{80, 200, 30, 40, 50, 61}));

    // Real time again: the targets start where the arm stands.
    w.controller.SetRealTime(true);
    EXPECT_TRUE(Same(w.simulation.Targets(), w.simulation.Angles()));
}

// ---------------------------------------------------------------------------
// Display switches and poses taught
// ---------------------------------------------------------------------------

// Each switch is one flag of the simulation, whoever switches it; the
// wireframe and the orbit also ask the view.
TEST(Controller, EachDisplaySwitchIsOneFlagAndSomeAskTheView)
{
    for (const DisplaySwitch& display : kDisplaySwitches) {
        SCOPED_TRACE(display.word);
        World w;
        w.controller.SetDisplayFlag(display.flag, !display.initial);
        EXPECT_EQ(w.simulation.Display()[display.flag], !display.initial);
        EXPECT_EQ(w.controller.IsDisplayed(display.flag), !display.initial);
        w.controller.SetDisplayFlag(display.flag, display.initial);
        EXPECT_EQ(w.simulation.Display()[display.flag], display.initial);
        std::vector<std::string> expected;
        if (display.flag == DisplayFlag::WireFrame)
            expected = {"wireframe on", "wireframe off"};
        if (display.flag == DisplayFlag::Orbit)
            expected = {"orbit on", "orbit off"};
        EXPECT_EQ(w.view.calls, expected);
    }
}

// poses.txt is written in the current directory: a directory of the test's
// own.
class TeachPose : public ::testing::Test {
protected:
    void SetUp() override
    {
        char dir[] = "/tmp/kx-teach-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_Dir = dir;
        ASSERT_EQ(chdir(dir), 0);
    }
    void TearDown() override
    {
        std::remove("poses.txt");
        rmdir("poses.txt");
        ASSERT_EQ(chdir("/tmp"), 0);
        rmdir(m_Dir.c_str());
    }
    std::string m_Dir;
};

TEST_F(TeachPose, EachPoseTaughtIsALineOfMoveto)
{
    World w;
    EXPECT_TRUE(w.controller.TeachPose().ok);
    w.controller.SetAngles(JointAngles{1.5f, 2, 3, 4, 5, 6});
    EXPECT_TRUE(w.controller.TeachPose().ok);
    std::ifstream in("poses.txt");
    std::string first, second, more;
    std::getline(in, first);
    std::getline(in, second);
    EXPECT_EQ(first, "moveto 10 20 30 40 50 60");
    EXPECT_EQ(second, "moveto 1.5 2 3 4 5 6");
    EXPECT_FALSE(std::getline(in, more));
}

TEST_F(TeachPose, AFileThatCannotBeOpenedIsSaid)
{
    World w;
    ASSERT_EQ(mkdir("poses.txt", 0700), 0);
    const ActionResult taught = w.controller.TeachPose();
    EXPECT_FALSE(taught.ok);
    EXPECT_EQ(taught.message, "impossible d'ouvrir poses.txt en écriture");
}

}  // namespace
