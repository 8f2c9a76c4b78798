// The control panel without a window: its actions, its widgets following
// the simulation whoever changes it, and its callbacks as adapters. Each
// test builds its own world: a simulation of the example arm, the scene that
// shows it, the actions and the panel on them. The panel layer runs on a
// fake window system; the GL and GLUT calls the actions make themselves go
// to the recorders of fake_gl.cpp.

#include "app/WindowCallbacks.h"
#include "config/OptionKeys.h"
#include "dataset/PanelSettings.h"
#include "panel/GluiInput.h"
#include "glui/GluiInternal.h"
#include "app/WindowView.h"
#include "sim/Controller.h"
#include "kinematics/InverseModel.h"
#include "kinematics/Kinematics.h"
#include "app/Motion.h"
#include "sim/MotionRecorder.h"
#include "gl/MainScene.h"
#include "tests/gl/FakeGl.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kGfxWindow = 1;

struct FakeWindows : GLUI_WindowSystem {
    int current = kGfxWindow;
    int next = 10;
    int CreateWindow(GLUI*, const char*, int, int) override { return next++; }
    int GetWindow() override { return current; }
    void SetWindow(int window) override { current = window; }
    void PostRedisplay(int) override {}
    void SetIdleFunc(void (*)()) override {}
};

// The example arm (h 100, a2 30, a3 120, e 20, d 110 pose units), every
// joint at 60 degrees per second, starting at (10, 20, 30, 40, 50, 60), with
// the spinners' default limits 0 to 360, which the inverse model's negative
// angles fall outside of.
ArmDescription ExampleArm(MGIModel model)
{
    ArmDescription arm{};
    const float offsets[kLinkCount][3] = {{0, 0, 1.0f}, {0.3f, 0, 0}, {1.2f, 0, 0}, {0.2f, -0.2f, 0},
                                          {0, 0, 0.9f}, {0, 0, 0},    {0, 0, 0}};
    for (int link = 0; link < kLinkCount; ++link)
        for (int k = 0; k < 3; ++k)
            arm.offset[link][k] = offsets[link][k];
    for (int joint = 0; joint < kJointCount; ++joint) {
        arm.maxSpeed[joint] = 60;
        arm.limits.low[joint] = 0;
        arm.limits.high[joint] = 360;
    }
    arm.start = JointAngles{10, 20, 30, 40, 50, 60};
    arm.exactMGI = model == MGIModel::Exact;
    return arm;
}

// A simulation with its scene, actions and panel, as the program composes
// them, and what a user does with the panel.
class PanelWorld {
public:
    explicit PanelWorld(MGIModel model = MGIModel::Grid)
        : simulation(ExampleArm(model)), recorder(simulation), scene(simulation, recorder, std::nullopt), view(scene),
          actions(simulation, view, recorder)
    {
        previous = GLUI_SetWindowSystem(&windows);
        SetKeyController(&actions);
        DriveMotion(simulation);
        EXPECT_TRUE(CGluiInput::Init(actions, recorder, ReadSettings(nullptr, DeclarePanelKeys), true));
        g_FakeGl.Reset();
    }
    ~PanelWorld()
    {
        SetKeyController(nullptr);
        GLUI_SetWindowSystem(previous);
    }

    // What the user does, then the end of the panel's frame, where the
    // layer runs the callbacks.
    void Spin(GLUI_Spinner* spinner, float value) { Act(GLUI_Internal::UserSetFloat(spinner, value)); }
    void Click(int checkboxId) { Act(GLUI_Internal::UserToggle(g_pCheckboxes[checkboxId])); }
    bool Press(GLUI_Button* button)
    {
        bool taken = GLUI_Internal::UserPress(button);
        Act(taken);
        return taken;
    }
    void Act(bool taken)
    {
        if (taken)
            GLUI_Internal::RunCallbacks(g_pGlui);
    }
    // A pose typed into the six pose spinners with immediate mode on, so
    // that nothing is computed yet.
    void TypePose(const ToolPose& pose)
    {
        ASSERT_TRUE(actions.Immediate());
        for (int i = 0; i < 6; ++i)
            Spin(g_pPoseSpinners[i], pose.*kPoseFields[i]);
    }
    int Checked(int id) { return g_pCheckboxes[id]->get_int_val(); }
    JointAngles Shown()
    {
        JointAngles a;
        for (int j = 0; j < 6; ++j)
            a.*kJointFields[j] = g_pAngleSpinners[j]->get_float_val();
        return a;
    }
    ToolPose PoseShown()
    {
        ToolPose p;
        for (int i = 0; i < 6; ++i)
            p.*kPoseFields[i] = g_pPoseSpinners[i]->get_float_val();
        return p;
    }
    std::string Status() { return g_pMGIStatus->get_name(); }
    std::string Layout() { return GLUI_Internal::LayoutText(g_pGlui, 400, 400); }
    bool Enabled(GLUI_Control* control) { return GLUI_Internal::IsEnabled(control); }
    ToolPose PoseOf(const JointAngles& angles)
    {
        ToolPose pose;
        ComputeMGD(simulation.Arm().Lengths(), angles, &pose);
        return pose;
    }
    const JointAngles& Angles() const { return simulation.Angles(); }
    const JointAngles& Targets() const { return simulation.Targets(); }

    CSimulation simulation;
    CMotionRecorder recorder;
    CMainScene scene;
    CWindowView view;
    CController actions;

private:
    FakeWindows windows;
    GLUI_WindowSystem* previous = nullptr;
};

// The panel reads its labels from glui.opt in the current directory: a
// directory of our own, without one, gives every default.
class PanelActions : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char dir[] = "/tmp/kx-panel-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        ASSERT_EQ(chdir(dir), 0);
    }
};

bool Same(const JointAngles& a, const JointAngles& b)
{
    return a.A12 == b.A12 && a.A23 == b.A23 && a.A34 == b.A34 && a.A45 == b.A45 && a.A56 == b.A56 && a.A67 == b.A67;
}

// ---------------------------------------------------------------------------
// Start, and the spinners across the two modes
// ---------------------------------------------------------------------------

TEST_F(PanelActions, StartState)
{
    PanelWorld w;
    const JointAngles start{10, 20, 30, 40, 50, 60};
    EXPECT_TRUE(Same(w.Shown(), start));
    EXPECT_TRUE(Same(w.Angles(), start));
    EXPECT_TRUE(Same(w.Targets(), start));
    EXPECT_EQ(w.Checked(CHECK_REALTIME), 0);
    EXPECT_EQ(w.Checked(CHECK_IMMEDIATE), 1);
    for (const DisplaySwitch& display : kDisplaySwitches)
        EXPECT_EQ(w.Checked(CheckboxOf(display.flag)), display.initial ? 1 : 0) << display.word;
    EXPECT_FALSE(w.Press(g_pGoButton)) << "GO starts disabled";
    EXPECT_FALSE(w.simulation.Moving());
    const ToolPose pose = w.PoseOf(start);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(w.PoseShown().*kPoseFields[i], pose.*kPoseFields[i]) << "the pose fields start at the arm's pose";
    EXPECT_EQ(w.Status(), "Configuration : vers l'avant, coude en haut, poignet non retourné");
}

// The status line says how the last inverse computation went only while
// the arm holds the angles it gave; any other change of the angles, by any
// way, brings back how the arm holds itself now.
TEST_F(PanelActions, TheStatusLineDescribesTheArmAsItStands)
{
    PanelWorld w(MGIModel::Exact);
    const JointAngles back{10, 150, 60, 40, 50, 60};  // the wrist centre behind the base axis
    w.actions.SetAngles(back);
    EXPECT_EQ(w.Status().rfind("Configuration : vers l'arrière, ", 0), 0u) << w.Status();
    w.TypePose(w.PoseOf(JointAngles{10, 20, 30, 40, 50, 60}));
    w.Press(g_pMGICButton);
    EXPECT_EQ(w.Status().rfind("Pose atteinte ; ", 0), 0u) << w.Status();
    w.actions.SetAngles(JointAngles{10, 20, 30, 40, 50, 60});  // as the command angles does
    EXPECT_EQ(w.Status(), "Configuration : vers l'avant, coude en haut, poignet non retourné");
    w.Press(g_pMGICButton);
    EXPECT_EQ(w.Status().rfind("Pose atteinte ; ", 0), 0u) << w.Status();
    w.Spin(g_pAngleSpinners[4], 300.0f);  // A56 = 300, the same as -60: the wrist flipped
    EXPECT_EQ(w.Status(), "Configuration : vers l'avant, coude en haut, poignet retourné");
    EXPECT_EQ(w.actions.InverseOf(ToolPose{5000, 0, 0, 0, 0, 0}).reached, false);
    EXPECT_EQ(w.Status(), "Configuration : vers l'avant, coude en haut, poignet retourné")
        << "an inverse computed for someone else changes nothing the panel shows";
}

TEST_F(PanelActions, TeachingAPoseAppendsItAndSaysWhichLine)
{
    PanelWorld w;
    std::remove("poses.txt");
    ASSERT_TRUE(w.Press(g_pTeachButton));
    w.actions.SetAngles(JointAngles{1.5f, 2, 3, 4, 5, 6});
    OnSpecialKey(GLUT_KEY_F8, 0, 0);
    std::ifstream in("poses.txt");
    std::string first, second, more;
    std::getline(in, first);
    std::getline(in, second);
    EXPECT_EQ(first, "moveto 10 20 30 40 50 60");
    EXPECT_EQ(second, "moveto 1.5 2 3 4 5 6");
    EXPECT_FALSE(std::getline(in, more));
}

// Every spinner, in every combination of the immediate-mode and real-time
// boxes: which side is computed, and which angles of the arm receive it.
TEST_F(PanelActions, SpinnersAcrossImmediateAndRealTime)
{
    struct Case {
        bool immediate, realTime, poseSpinner;
        bool computesOtherSide;
    };
    const Case cases[] = {
        {true, false, false, false}, {true, false, true, false}, {true, true, false, false}, {true, true, true, false},
        {false, false, false, true}, {false, false, true, true}, {false, true, false, true}, {false, true, true, true},
    };
    // The wrist-centre position of (10, 20, 30, ...) with a zero orientation.
    const ToolPose target{236.24f, 41.66f, 85.66f, 0, 0, 0};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "IM " << c.immediate << " RT " << c.realTime << " pose " << c.poseSpinner);
        PanelWorld w;
        if (c.poseSpinner)
            w.TypePose(ToolPose{target.X, target.Y, 0, 0, 0, 0});
        if (!c.immediate)
            w.Click(CHECK_IMMEDIATE);
        if (c.realTime)
            w.Click(CHECK_REALTIME);
        const JointAngles before = w.Angles();
        const JointAngles targetsBefore = w.Targets();
        const ToolPose poseBefore = w.PoseShown();

        if (c.poseSpinner)
            w.Spin(g_pPoseSpinners[2], target.Z);
        else
            w.Spin(g_pAngleSpinners[0], 15.0f);

        const JointAngles& edited = c.realTime ? w.Targets() : w.Angles();
        EXPECT_TRUE(Same(w.Shown(), edited)) << "the spinners show the angles being edited";
        if (c.computesOtherSide && !c.poseSpinner) {
            EXPECT_EQ(w.PoseShown().X, w.PoseOf(edited).X);
            EXPECT_EQ(w.PoseShown().gamma, w.PoseOf(edited).gamma);
        }
        if (c.computesOtherSide && c.poseSpinner) {
            // The grid's answer, its negative A23 shown within 0 to 360.
            EXPECT_NEAR(w.PoseOf(edited).Z, target.Z, 1.0f);
            EXPECT_GT(edited.A23, 180.0f);
        }
        if (!c.computesOtherSide) {
            if (c.poseSpinner)
                EXPECT_TRUE(Same(edited, JointAngles{10, 20, 30, 40, 50, 60})) << "the arm stays";
            else
                EXPECT_EQ(w.PoseShown().X, poseBefore.X) << "pose spinners unchanged until MGDC";
        }
        // The change reaches the current angles with RT off, the targets
        // with RT on; the other set stays.
        if (c.realTime)
            EXPECT_TRUE(Same(w.Angles(), before));
        else
            EXPECT_TRUE(Same(w.Targets(), targetsBefore));
    }
}

// A spinner changes its own joint only: a joint outside its limits (a start
// angle may be) stays where it is instead of jumping to the limit.
TEST_F(PanelActions, ASpinnerChangesItsOwnJointOnly)
{
    PanelWorld w;
    w.simulation.SetAngles(JointAngles{10, 20, -50, 40, 50, 60});  // A34 outside 0 to 360
    w.Spin(g_pAngleSpinners[0], 15.0f);
    EXPECT_EQ(w.Angles().A12, 15.0f);
    EXPECT_EQ(w.Angles().A34, -50.0f);
    EXPECT_EQ(g_pAngleSpinners[2]->get_float_val(), 0.0f) << "shown clamped by the spinner";
}

// ---------------------------------------------------------------------------
// The inverse model in the panel
// ---------------------------------------------------------------------------

// What a user relies on from the inverse model in the panel, for both
// models: the arm takes the angles shown, within the spinners' 0 to 360
// (moved there by whole turns), and its wrist centre lands on the target,
// exactly with the exact model, within the grid's step with the grid; the
// status line says how it went.
TEST_F(PanelActions, InverseModelPutsTheArmOnTheTargetWithinTheLimits)
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
        PanelWorld w(c.model);
        const ToolPose target = w.PoseOf(JointAngles{45, -45, 90, -30, 40, -100});
        w.TypePose(target);
        w.Press(g_pMGICButton);
        for (float JointAngles::*f : kJointFields) {
            EXPECT_GE(w.Angles().*f, 0.0f);
            EXPECT_LE(w.Angles().*f, 360.0f);
        }
        EXPECT_TRUE(Same(w.Angles(), w.Shown()));
        const ToolPose reached = w.PoseOf(w.Angles());
        EXPECT_LE(std::hypot(reached.X - target.X, reached.Y - target.Y, reached.Z - target.Z), c.tolerance);
        EXPECT_EQ(w.Status().rfind(c.status, 0), 0u) << w.Status();
    }
}

// The exact model takes the configuration nearest where the arm stands: the
// arm's own, whichever elbow and wrist it holds.
TEST_F(PanelActions, ExactModelKeepsTheArmsConfiguration)
{
    PanelWorld w(MGIModel::Exact);
    const JointAngles holds[] = {{45, 315, 90, 330, 40, 260}, {45, 60, 250, 150, 320, 80}};
    for (const JointAngles& arm : holds) {
        w.simulation.SetAngles(arm);
        ToolPose target = w.PoseOf(arm);
        target.Z += 1.0f;
        w.TypePose(target);
        w.Press(g_pMGICButton);
        // One unit moves the joints a few degrees; any other configuration
        // lies tens of degrees away.
        for (int j = 0; j < 6; ++j)
            EXPECT_NEAR(std::remainder(w.Shown().*kJointFields[j] - arm.*kJointFields[j], 360.0f), 0.0f, 10.0f)
                << "joint " << j;
    }
}

TEST_F(PanelActions, StatusLineSaysWhenThePoseIsOutOfReach)
{
    PanelWorld w(MGIModel::Exact);
    // The example arm reaches 120 + hypot(20, 110) from its shoulder at
    // (30, 0, 100): (1000, 0, 100) is 970 - 231.8 beyond.
    w.TypePose(ToolPose{1000, 0, 100, 0, 0, 180});
    w.Click(CHECK_IMMEDIATE);
    w.Spin(g_pPoseSpinners[0], 1000);
    EXPECT_EQ(w.Status(), "Hors d'atteinte : il manque 738,2 unités de pose ; vers l'avant, bras tendu, "
                          "poignet non retourné");
    const ToolPose reached = w.PoseOf(w.Angles());
    EXPECT_NEAR(reached.X, 30 + 231.8, 0.1) << "stretched toward the target";
    EXPECT_NEAR(reached.Z, 100, 0.1);
}

TEST_F(PanelActions, CalculationButtonsFollowImmediateMode)
{
    // IM checked: MGDC and MGIC compute on demand.
    PanelWorld w;
    w.simulation.SetAngles(JointAngles{0, 0, 0, 0, 0, 0});
    ASSERT_TRUE(w.Press(g_pMGDCButton));
    EXPECT_NEAR(w.PoseShown().X, 170.0f, 1e-3);
    EXPECT_NEAR(w.PoseShown().Z, -10.0f, 1e-3);
    EXPECT_FLOAT_EQ(w.PoseShown().gamma, 180.0f);
    w.simulation.SetAngles(JointAngles{1, 1, 1, 1, 1, 1});
    ASSERT_TRUE(w.Press(g_pMGICButton));
    EXPECT_FLOAT_EQ(w.Angles().A23, 0.0f);
    EXPECT_FLOAT_EQ(w.Angles().A34, 0.0f);

    // IM unchecked: both greyed out; checked again: back.
    w.Click(CHECK_IMMEDIATE);
    EXPECT_FALSE(w.Press(g_pMGDCButton));
    EXPECT_FALSE(w.Press(g_pMGICButton));
    w.Click(CHECK_IMMEDIATE);
    EXPECT_TRUE(w.Press(g_pMGDCButton));
}

// ---------------------------------------------------------------------------
// Real time
// ---------------------------------------------------------------------------

TEST_F(PanelActions, RealTimeGoAndStop)
{
    // Checking RT takes the current angles as targets: old targets would
    // otherwise pull the arm back when GO is pressed.
    PanelWorld w;
    w.simulation.SetTargets(JointAngles{90, 90, 90, 90, 90, 90});
    w.Click(CHECK_REALTIME);
    EXPECT_TRUE(Same(w.Targets(), w.Angles()));
    EXPECT_TRUE(w.Enabled(g_pGoButton));

    w.Spin(g_pAngleSpinners[1], 60.0f);
    EXPECT_EQ(w.Targets().A23, 60.0f);
    EXPECT_EQ(w.Angles().A23, 20.0f);
    ASSERT_TRUE(w.Press(g_pGoButton));
    EXPECT_TRUE(w.simulation.Moving());
    EXPECT_NE(g_FakeGl.idle, nullptr) << "the motion runs from the idle function";

    // Unchecking RT stops the motion where it is and greys GO out.
    w.Click(CHECK_REALTIME);
    EXPECT_FALSE(w.simulation.Moving());
    EXPECT_EQ(g_FakeGl.idle, nullptr);
    EXPECT_FALSE(w.Press(g_pGoButton));
    w.Spin(g_pAngleSpinners[1], 70.0f);
    EXPECT_EQ(w.Angles().A23, 70.0f) << "RT off: the arm follows at once";
}

// Stopped half way, the spinners show where the arm stands, and nothing done
// after that brings back the abandoned targets.
TEST_F(PanelActions, AStoppedMotionLeavesThePanelWhereTheArmStands)
{
    PanelWorld w;
    w.Click(CHECK_REALTIME);
    w.Spin(g_pAngleSpinners[0], 150.0f);
    w.Spin(g_pAngleSpinners[1], 330.0f);
    ASSERT_TRUE(w.Press(g_pGoButton));
    // Half way, as the motion's steps would leave it.
    const JointAngles halfWay{80, 200, 30, 40, 50, 60};
    w.simulation.SetAngles(halfWay);
    w.Click(CHECK_REALTIME);
    EXPECT_TRUE(Same(w.Shown(), halfWay));
    EXPECT_TRUE(Same(w.Targets(), halfWay));

    w.Spin(g_pAngleSpinners[5], 61.0f);  // one click on A67's arrow
    EXPECT_TRUE(Same(w.Angles(), JointAngles{80, 200, 30, 40, 50, 61}));
    w.Press(g_pMGDCButton);
    EXPECT_TRUE(Same(w.Angles(), JointAngles{80, 200, 30, 40, 50, 61}));

    // Real time again: the targets start where the arm stands, so GO moves
    // only what is changed from now on.
    w.Click(CHECK_REALTIME);
    EXPECT_TRUE(Same(w.Targets(), w.Angles()));
}

// The motion moves the arm without the panel: the panel, one of the
// simulation's listeners, brings the spinners and the readout along, ten
// times a second during the motion and once more at its end.
TEST_F(PanelActions, TheReadoutFollowsTheArm)
{
    PanelWorld w;
    w.Click(CHECK_REALTIME);
    w.Spin(g_pAngleSpinners[0], 100.0f);
    ASSERT_TRUE(w.Press(g_pGoButton));
    w.simulation.Advance(0.0);
    w.simulation.Advance(0.5);  // 30 degrees at 60 per second
    EXPECT_EQ(w.Angles().A12, 40.0f);
    w.actions.StopMotion();
    EXPECT_EQ(w.Shown().A12, 40.0f);
    const std::string readout = g_pReadoutAngles->get_name();
    EXPECT_EQ(readout.rfind("A12       40,00°\nA23       20,00°\n", 0), 0u) << readout;
    const ToolPose pose = w.PoseOf(w.Angles());
    char x[32];
    std::snprintf(x, sizeof x, "X%14.2f", pose.X);
    std::string expectedX = x;
    expectedX[expectedX.find('.')] = ',';
    EXPECT_EQ(std::string(g_pReadoutPose->get_name()).rfind(expectedX + "\n", 0), 0u) << g_pReadoutPose->get_name();
}

// ---------------------------------------------------------------------------
// Display switches: one flag each, whoever switches it
// ---------------------------------------------------------------------------

TEST_F(PanelActions, DisplayCheckboxesSwitchTheSceneAndFollowTheKeys)
{
    PanelWorld w;
    for (const DisplaySwitch& display : kDisplaySwitches) {
        SCOPED_TRACE(display.word);
        const int id = CheckboxOf(display.flag);
        const bool initial = display.initial;
        auto shown = [&] { return w.simulation.Display()[display.flag]; };
        g_FakeGl.windowRedisplays = 0;
        w.Click(id);
        EXPECT_EQ(shown(), !initial);
        EXPECT_EQ(w.Checked(id), initial ? 0 : 1);
        if (display.functionKey)
            OnSpecialKey(display.functionKey, 0, 0);
        else
            w.actions.SetDisplayFlag(display.flag, initial);  // a command: show orbit off
        EXPECT_EQ(shown(), initial) << "the key switches it back";
        EXPECT_EQ(w.Checked(id), initial ? 1 : 0) << "and the box follows";
        w.Click(id);
        EXPECT_EQ(shown(), !initial) << "the first click after the key acts";
        w.Click(id);
        EXPECT_GE(g_FakeGl.windowRedisplays, 4) << "a frame asked for each switch";
    }
    EXPECT_EQ(g_FakeGl.polygonModes, (std::vector<GLenum>{GL_LINE, GL_FILL, GL_LINE, GL_FILL}));
}

TEST_F(PanelActions, EveryControlSaysWhatItIsFor)
{
    PanelWorld w;
    const std::string layout = w.Layout();
    std::vector<int> withTips, controls;
    char kind[32];
    int index;
    std::size_t at = 0;
    while (at < layout.size()) {
        const std::size_t end = layout.find('\n', at);
        const std::string line = layout.substr(at, end - at);
        at = end + 1;
        if (std::sscanf(line.c_str(), "%31s %d", kind, &index) != 2)
            continue;
        const std::string k = kind;
        if (k == "tooltip")
            withTips.push_back(index);
        else if (k == "rollout" || k == "spinner" || k == "checkbox" || k == "button" || k == "statictext" ||
                 k == "canvas")
            controls.push_back(index);
    }
    ASSERT_FALSE(controls.empty());
    EXPECT_EQ(withTips, controls);
}

TEST_F(PanelActions, IdsWithoutAnActionDoNothing)
{
    PanelWorld w;
    const JointAngles angles = w.Angles();
    CGluiInput::OnCheckbox(3);
    CGluiInput::OnCheckbox(99);
    CGluiInput::OnButton(0);
    CGluiInput::OnButton(42);
    EXPECT_TRUE(Same(w.Angles(), angles));
    EXPECT_FALSE(w.simulation.Moving());
    EXPECT_TRUE(w.simulation.Display()[DisplayFlag::Decoration]);
    EXPECT_TRUE(g_FakeGl.polygonModes.empty());
}

}  // namespace
