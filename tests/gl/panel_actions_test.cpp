// The control panel without a window: its actions, its widgets following
// the scene and the arm whoever changes them, and its callbacks as adapters.
// The panel layer runs on a fake window system; the GL and GLUT calls the
// actions make themselves go to the recorders of fake_gl.cpp.

#include "app/WindowCallbacks.h"
#include "config/OptionsParser.h"
#include "panel/GluiInput.h"
#include "panel/GluiInternal.h"
#include "panel/PanelActions.h"
#include "robot/InverseModel.h"
#include "robot/Kinematics.h"
#include "robot/Motion.h"
#include "scene/MainScene.h"
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

// A glui.opt of our own: the default limits 0 to 360 of the original
// panel, which the inverse model's negative angles fall outside of.
const char* const kPanelOptions = "fAngle12StartValue = 10.0; fAngle23StartValue = 20.0; fAngle34StartValue = 30.0;\n"
                                  "fAngle45StartValue = 40.0; fAngle56StartValue = 50.0; fAngle67StartValue = 60.0;\n";

class PanelActions : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char dir[] = "/tmp/kx-panel-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        ASSERT_EQ(chdir(dir), 0);
        std::ofstream(std::string(dir) + "/glui.opt") << kPanelOptions;
    }

    void SetUp() override
    {
        previous = GLUI_SetWindowSystem(&windows);
        // The example arm: h 100, a2 30, a3 120, e 20, d 110 pose units.
        const float offsets[kLinkCount][3] = {{0, 0, 1.0f}, {0.3f, 0, 0}, {1.2f, 0, 0}, {0.2f, -0.2f, 0},
                                              {0, 0, 0.9f}, {0, 0, 0},    {0, 0, 0}};
        for (int i = 0; i < kLinkCount; ++i)
            for (int k = 0; k < 3; ++k)
                scene.m_Robot.m_Parts[i].m_fOffset[k] = offsets[i][k];
        const float speeds[6] = {60, 60, 60, 60, 60, 60};
        std::copy(speeds, speeds + 6, scene.m_Robot.m_fMaxSpeed);
        scene.m_bDecoration = scene.m_bReflect = scene.m_bShadows = true;
        scene.m_bMetalLook = false;
        g_bWireFrame = false;
        g_pCurrentScene = &scene;
        CPanelActions::Reset();
        ASSERT_TRUE(CGluiInput::Init());
        g_FakeGl.Reset();
    }

    void TearDown() override
    {
        StopMotion();
        // The panel built here follows this scene only.
        CPanelActions::SetObserver(nullptr);
        SetMotionObserver(nullptr);
        g_pCurrentScene = nullptr;
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
        ASSERT_TRUE(CPanelActions::Immediate());
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
        ComputeMGD(scene.m_Robot.Lengths(), angles, &pose);
        return pose;
    }

    FakeWindows windows;
    GLUI_WindowSystem* previous = nullptr;
    CMainScene scene;
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
    const JointAngles start{10, 20, 30, 40, 50, 60};
    EXPECT_TRUE(Same(Shown(), start));
    EXPECT_TRUE(Same(scene.m_Robot.m_fAngle, start));
    EXPECT_TRUE(Same(scene.m_Robot.m_fTargetAngle, start));
    const int expected[][2] = {{CHECK_REALTIME, 0}, {CHECK_IMMEDIATE, 1}, {CHECK_WIREFRAME, 0}, {CHECK_DECORATION, 1},
                               {CHECK_REFLECT, 1},  {CHECK_SHADOWS, 1},   {CHECK_METALLOOK, 0}, {CHECK_AXES, 0}};
    for (const auto& e : expected)
        EXPECT_EQ(Checked(e[0]), e[1]) << "case à cocher " << e[0];
    EXPECT_FALSE(Press(g_pGoButton)) << "GO starts disabled";
    EXPECT_FALSE(IsMotionRunning());
    EXPECT_EQ(PoseShown().X, 0.0f) << "the pose spinners start at 0";
    EXPECT_EQ(Status(), "Modèle inverse par recherche sur grille");
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
        SetUp();
        SCOPED_TRACE(testing::Message() << "IM " << c.immediate << " RT " << c.realTime << " pose " << c.poseSpinner);
        if (c.poseSpinner)
            TypePose(ToolPose{target.X, target.Y, 0, 0, 0, 0});
        if (!c.immediate)
            Click(CHECK_IMMEDIATE);
        if (c.realTime)
            Click(CHECK_REALTIME);
        const JointAngles before = scene.m_Robot.m_fAngle;
        const JointAngles targetsBefore = scene.m_Robot.m_fTargetAngle;
        const ToolPose poseBefore = PoseShown();

        if (c.poseSpinner)
            Spin(g_pPoseSpinners[2], target.Z);
        else
            Spin(g_pAngleSpinners[0], 15.0f);

        const JointAngles& edited = c.realTime ? scene.m_Robot.m_fTargetAngle : scene.m_Robot.m_fAngle;
        EXPECT_TRUE(Same(Shown(), edited)) << "the spinners show the angles being edited";
        if (c.computesOtherSide && !c.poseSpinner) {
            EXPECT_EQ(PoseShown().X, PoseOf(edited).X);
            EXPECT_EQ(PoseShown().gamma, PoseOf(edited).gamma);
        }
        if (c.computesOtherSide && c.poseSpinner) {
            // The grid's answer, its negative A23 shown within 0 to 360.
            EXPECT_NEAR(PoseOf(edited).Z, target.Z, 1.0f);
            EXPECT_GT(edited.A23, 180.0f);
        }
        if (!c.computesOtherSide) {
            if (c.poseSpinner)
                EXPECT_TRUE(Same(edited, JointAngles{10, 20, 30, 40, 50, 60})) << "the arm stays";
            else
                EXPECT_EQ(PoseShown().X, poseBefore.X) << "pose spinners unchanged until MGDC";
        }
        // The change reaches the current angles with RT off, the targets
        // with RT on; the other set stays.
        if (c.realTime)
            EXPECT_TRUE(Same(scene.m_Robot.m_fAngle, before));
        else
            EXPECT_TRUE(Same(scene.m_Robot.m_fTargetAngle, targetsBefore));
        TearDown();
    }
}

// A spinner changes its own joint only: a joint outside its limits (a start
// angle may be) stays where it is instead of jumping to the limit.
TEST_F(PanelActions, ASpinnerChangesItsOwnJointOnly)
{
    scene.m_Robot.m_fAngle.A34 = -50;  // outside 0 to 360
    Spin(g_pAngleSpinners[0], 15.0f);
    EXPECT_EQ(scene.m_Robot.m_fAngle.A12, 15.0f);
    EXPECT_EQ(scene.m_Robot.m_fAngle.A34, -50.0f);
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
        SetUp();
        scene.m_Robot.m_eMGIModel = c.model;
        const ToolPose target = PoseOf(JointAngles{45, -45, 90, -30, 40, -100});
        TypePose(target);
        Press(g_pMGICButton);
        for (float JointAngles::*f : kJointFields) {
            EXPECT_GE(scene.m_Robot.m_fAngle.*f, 0.0f);
            EXPECT_LE(scene.m_Robot.m_fAngle.*f, 360.0f);
        }
        EXPECT_TRUE(Same(scene.m_Robot.m_fAngle, Shown()));
        const ToolPose reached = PoseOf(scene.m_Robot.m_fAngle);
        EXPECT_LE(std::hypot(reached.X - target.X, reached.Y - target.Y, reached.Z - target.Z), c.tolerance);
        EXPECT_EQ(Status().rfind(c.status, 0), 0u) << Status();
        TearDown();
    }
}

// The exact model takes the configuration nearest where the arm stands: the
// arm's own, whichever elbow and wrist it holds.
TEST_F(PanelActions, ExactModelKeepsTheArmsConfiguration)
{
    scene.m_Robot.m_eMGIModel = MGIModel::Exact;
    const JointAngles holds[] = {{45, 315, 90, 330, 40, 260}, {45, 60, 250, 150, 320, 80}};
    for (const JointAngles& arm : holds) {
        scene.m_Robot.m_fAngle = arm;
        ToolPose target = PoseOf(arm);
        target.Z += 1.0f;
        TypePose(target);
        Press(g_pMGICButton);
        // One unit moves the joints a few degrees; any other configuration
        // lies tens of degrees away.
        for (int j = 0; j < 6; ++j)
            EXPECT_NEAR(std::remainder(Shown().*kJointFields[j] - arm.*kJointFields[j], 360.0f), 0.0f, 10.0f)
                << "joint " << j;
    }
}

TEST_F(PanelActions, StatusLineSaysWhenThePoseIsOutOfReach)
{
    scene.m_Robot.m_eMGIModel = MGIModel::Exact;
    // The example arm reaches 120 + hypot(20, 110) from its shoulder at
    // (30, 0, 100): (1000, 0, 100) is 970 - 231.8 beyond.
    TypePose(ToolPose{1000, 0, 100, 0, 0, 180});
    Click(CHECK_IMMEDIATE);
    Spin(g_pPoseSpinners[0], 1000);
    EXPECT_EQ(Status(), "Hors d'atteinte : position la plus proche à 738,2 ; vers l'avant, bras tendu, "
                        "poignet non retourné");
    const ToolPose reached = PoseOf(scene.m_Robot.m_fAngle);
    EXPECT_NEAR(reached.X, 30 + 231.8, 0.1) << "stretched toward the target";
    EXPECT_NEAR(reached.Z, 100, 0.1);
}

TEST_F(PanelActions, CalculationButtonsFollowImmediateMode)
{
    // IM checked: MGDC and MGIC compute on demand.
    scene.m_Robot.m_fAngle = JointAngles{0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(Press(g_pMGDCButton));
    EXPECT_NEAR(PoseShown().X, 170.0f, 1e-3);
    EXPECT_NEAR(PoseShown().Z, -10.0f, 1e-3);
    EXPECT_FLOAT_EQ(PoseShown().gamma, 180.0f);
    scene.m_Robot.m_fAngle = JointAngles{1, 1, 1, 1, 1, 1};
    ASSERT_TRUE(Press(g_pMGICButton));
    EXPECT_FLOAT_EQ(scene.m_Robot.m_fAngle.A23, 0.0f);
    EXPECT_FLOAT_EQ(scene.m_Robot.m_fAngle.A34, 0.0f);

    // IM unchecked: both greyed out; checked again: back.
    Click(CHECK_IMMEDIATE);
    EXPECT_FALSE(Press(g_pMGDCButton));
    EXPECT_FALSE(Press(g_pMGICButton));
    Click(CHECK_IMMEDIATE);
    EXPECT_TRUE(Press(g_pMGDCButton));
}

// ---------------------------------------------------------------------------
// Real time
// ---------------------------------------------------------------------------

TEST_F(PanelActions, RealTimeGoAndStop)
{
    // Checking RT takes the current angles as targets: old targets would
    // otherwise pull the arm back when GO is pressed.
    scene.m_Robot.m_fTargetAngle = JointAngles{90, 90, 90, 90, 90, 90};
    Click(CHECK_REALTIME);
    EXPECT_TRUE(Same(scene.m_Robot.m_fTargetAngle, scene.m_Robot.m_fAngle));
    EXPECT_TRUE(Enabled(g_pGoButton));

    Spin(g_pAngleSpinners[1], 60.0f);
    EXPECT_EQ(scene.m_Robot.m_fTargetAngle.A23, 60.0f);
    EXPECT_EQ(scene.m_Robot.m_fAngle.A23, 20.0f);
    ASSERT_TRUE(Press(g_pGoButton));
    EXPECT_TRUE(IsMotionRunning());
    EXPECT_EQ(g_FakeGl.idle, &OnIdle);

    // Unchecking RT stops the motion where it is and greys GO out.
    Click(CHECK_REALTIME);
    EXPECT_FALSE(IsMotionRunning());
    EXPECT_EQ(g_FakeGl.idle, nullptr);
    EXPECT_FALSE(Press(g_pGoButton));
    Spin(g_pAngleSpinners[1], 70.0f);
    EXPECT_EQ(scene.m_Robot.m_fAngle.A23, 70.0f) << "RT off: the arm follows at once";
}

// Stopped half way, the spinners show where the arm stands, and nothing done
// after that brings back the abandoned targets.
TEST_F(PanelActions, AStoppedMotionLeavesThePanelWhereTheArmStands)
{
    Click(CHECK_REALTIME);
    Spin(g_pAngleSpinners[0], 150.0f);
    Spin(g_pAngleSpinners[1], 330.0f);
    ASSERT_TRUE(Press(g_pGoButton));
    // Half way, as the motion's steps would leave it.
    const JointAngles halfWay{80, 200, 30, 40, 50, 60};
    scene.m_Robot.m_fAngle = halfWay;
    Click(CHECK_REALTIME);
    EXPECT_TRUE(Same(Shown(), halfWay));
    EXPECT_TRUE(Same(scene.m_Robot.m_fTargetAngle, halfWay));

    Spin(g_pAngleSpinners[5], 61.0f);  // one click on A67's arrow
    EXPECT_TRUE(Same(scene.m_Robot.m_fAngle, JointAngles{80, 200, 30, 40, 50, 61}));
    Press(g_pMGDCButton);
    EXPECT_TRUE(Same(scene.m_Robot.m_fAngle, JointAngles{80, 200, 30, 40, 50, 61}));

    // Real time again: the targets start where the arm stands, so GO moves
    // only what is changed from now on.
    Click(CHECK_REALTIME);
    EXPECT_TRUE(Same(scene.m_Robot.m_fTargetAngle, scene.m_Robot.m_fAngle));
}

// The motion moves the arm without the panel: its observer brings the
// spinners and the readout along.
TEST_F(PanelActions, TheReadoutFollowsTheArm)
{
    Click(CHECK_REALTIME);
    Spin(g_pAngleSpinners[0], 100.0f);
    scene.m_Robot.m_fAngle.A12 = 55.5f;  // a motion step
    CPanelActions::StopMotion();
    EXPECT_EQ(Shown().A12, 55.5f);
    const std::string readout = g_pReadoutAngles->get_name();
    EXPECT_EQ(readout.rfind("A12       55,50°\nA23       20,00°\n", 0), 0u) << readout;
    const ToolPose pose = PoseOf(scene.m_Robot.m_fAngle);
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
    struct Case {
        int id;
        int key;  // the special key that switches the same flag
        bool* flag;
        bool initial;
    };
    const Case cases[] = {
        {CHECK_WIREFRAME, GLUT_KEY_F5, &g_bWireFrame, false},
        {CHECK_DECORATION, GLUT_KEY_F9, &scene.m_bDecoration, true},
        {CHECK_REFLECT, GLUT_KEY_F10, &scene.m_bReflect, true},
        {CHECK_SHADOWS, GLUT_KEY_F11, &scene.m_bShadows, true},
        {CHECK_METALLOOK, GLUT_KEY_F12, &scene.m_bMetalLook, false},
        {CHECK_AXES, GLUT_KEY_F4, &scene.m_Robot.m_bShowAxes, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        g_FakeGl.redisplays = 0;
        Click(c.id);
        EXPECT_EQ(*c.flag, !c.initial);
        EXPECT_EQ(Checked(c.id), c.initial ? 0 : 1);
        OnSpecialKey(c.key, 0, 0);
        EXPECT_EQ(*c.flag, c.initial) << "the key switches it back";
        EXPECT_EQ(Checked(c.id), c.initial ? 1 : 0) << "and the box follows";
        Click(c.id);
        EXPECT_EQ(*c.flag, !c.initial) << "the first click after the key acts";
        Click(c.id);
        EXPECT_EQ(g_FakeGl.redisplays, 4);
    }
    EXPECT_EQ(g_FakeGl.polygonModes, (std::vector<GLenum>{GL_LINE, GL_FILL, GL_LINE, GL_FILL}));
}

TEST_F(PanelActions, EveryControlSaysWhatItIsFor)
{
    const std::string layout = Layout();
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
        else if (k == "rollout" || k == "spinner" || k == "checkbox" || k == "button" || k == "statictext")
            controls.push_back(index);
    }
    ASSERT_FALSE(controls.empty());
    EXPECT_EQ(withTips, controls);
}

TEST_F(PanelActions, IdsWithoutAnActionDoNothing)
{
    const JointAngles angles = scene.m_Robot.m_fAngle;
    CGluiInput::OnCheckbox(3);
    CGluiInput::OnCheckbox(99);
    CGluiInput::OnButton(0);
    CGluiInput::OnButton(42);
    EXPECT_TRUE(Same(scene.m_Robot.m_fAngle, angles));
    EXPECT_FALSE(IsMotionRunning());
    EXPECT_TRUE(scene.m_bDecoration);
    EXPECT_TRUE(g_FakeGl.polygonModes.empty());
}

}  // namespace
