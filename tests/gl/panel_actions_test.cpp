// The control panel's actions without a window: the panel layer runs on a
// fake window system, and the GL and GLUT calls the actions make themselves
// (polygon mode and redisplay) go to the recorders of fake_gl.cpp.

#include "app/WindowCallbacks.h"
#include "config/OptionsParser.h"
#include "panel/GluiInput.h"
#include "panel/GluiInternal.h"
#include "robot/Kinematics.h"
#include "robot/InverseModel.h"
#include "robot/Motion.h"
#include "scene/MainScene.h"
#include "tests/gl/FakeGl.h"

#include <GL/gl.h>
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
    void (*idle)() = nullptr;
    int CreateWindow(GLUI*, const char*, int, int) override { return next++; }
    int GetWindow() override { return current; }
    void SetWindow(int window) override { current = window; }
    void PostRedisplay(int) override {}
    void SetIdleFunc(void (*f)()) override { idle = f; }
};

// A glui.opt of our own: the default limits 0 to 360 of the original
// panel, which the inverse model's negative angles fall outside of.
const char* const kPanelOptions =
    "fAngle12StartValue = 10.0; fAngle23StartValue = 20.0; fAngle34StartValue = 30.0;\n"
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
                                              {0, 0, 0.9f}, {0, 0, 0}, {0, 0, 0}};
        for (int i = 0; i < kLinkCount; ++i)
            for (int k = 0; k < 3; ++k)
                scene.m_Robot.m_Parts[i].m_fOffset[k] = offsets[i][k];
        scene.m_bDecoration = scene.m_bReflect = scene.m_bShadows = true;
        scene.m_bMetalLook = false;
        g_pCurrentScene = &scene;

        // The panel's state as the program starts.
        g_iRealTime = 0;
        g_iImmediateMode = 0;
        g_bPanelRealTime = g_bPanelImmediate = g_bPanelWireFrame = g_bPanelMetalLook = false;
        g_bPanelDecoration = g_bPanelReflect = g_bPanelShadows = true;
        g_fPanelPose = ToolPose{};
        ASSERT_TRUE(CGluiInput::Init());
        g_FakeGl.Reset();
    }

    void TearDown() override
    {
        g_pCurrentScene = nullptr;
        GLUI_SetWindowSystem(previous);
    }

    // What the user does, then the end of the panel's frame, where the
    // layer runs the callbacks.
    void Spin(GLUI_Spinner* spinner, float value) { Act(GLUI_Internal::UserSetFloat(spinner, value)); }
    void Click(int checkboxId) { Act(GLUI_Internal::UserToggle(GLUI_Internal::FindCheckbox(g_pGlui, checkboxId))); }
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
    int Checked(int id) { return GLUI_Internal::FindCheckbox(g_pGlui, id)->get_int_val(); }
    std::string Status() { return g_pMGIStatus->get_name(); }

    FakeWindows windows;
    GLUI_WindowSystem* previous = nullptr;
    CMainScene scene;
};

bool Same(const JointAngles& a, const JointAngles& b)
{
    return a.A12 == b.A12 && a.A23 == b.A23 && a.A34 == b.A34 && a.A45 == b.A45 && a.A56 == b.A56 && a.A67 == b.A67;
}

TEST_F(PanelActions, StartState)
{
    const JointAngles start{10, 20, 30, 40, 50, 60};
    EXPECT_TRUE(Same(g_fPanelAngles, start));
    EXPECT_TRUE(Same(scene.m_Robot.m_fAngle, start));
    EXPECT_TRUE(Same(scene.m_Robot.m_fTargetAngle, start));
    EXPECT_EQ(g_iImmediateMode, 1);
    EXPECT_EQ(g_iRealTime, 0);
    const int expected[][2] = {{CHECK_REALTIME, 0}, {CHECK_IMMEDIATE, 1}, {CHECK_WIREFRAME, 0}, {CHECK_DECORATION, 1},
                               {CHECK_REFLECT, 1},  {CHECK_SHADOWS, 1},   {CHECK_METALLOOK, 0}};
    for (const auto& e : expected)
        EXPECT_EQ(Checked(e[0]), e[1]) << "case à cocher " << e[0];
    EXPECT_FALSE(Press(g_pGoButton)) << "GO starts disabled";
    EXPECT_EQ(windows.idle, nullptr);
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
    for (const Case& c : cases) {
        SetUp();
        SCOPED_TRACE(testing::Message() << "IM " << c.immediate << " RT " << c.realTime << " pose " << c.poseSpinner);
        if (!c.immediate)
            Click(CHECK_IMMEDIATE);
        if (c.realTime)
            Click(CHECK_REALTIME);
        const JointAngles before = scene.m_Robot.m_fAngle;
        const JointAngles targetsBefore = scene.m_Robot.m_fTargetAngle;

        if (c.poseSpinner) {
            // The wrist-centre position of (10, 20, 30, ...) with a zero
            // orientation target: the inverse model finds A23 = -28.
            g_fPanelPose = ToolPose{236.24f, 41.66f, 85.66f, 0, 0, 0};
            Spin(g_pPoseSpinners[2], 85.66f);
        } else {
            Spin(g_pAngleSpinners[0], 15.0f);
        }

        JointAngles expectedAngles = g_fPanelAngles;
        if (c.computesOtherSide && !c.poseSpinner) {
            ToolPose pose;
            ComputeMGD(scene.m_Robot.Lengths(), g_fPanelAngles, &pose);
            EXPECT_EQ(g_fPanelPose.X, pose.X);
            EXPECT_EQ(g_fPanelPose.gamma, pose.gamma);
        }
        if (c.computesOtherSide && c.poseSpinner) {
            // The grid's answer, its negative A23 shown within 0 to 360.
            ToolPose reached;
            ComputeMGD(scene.m_Robot.Lengths(), g_fPanelAngles, &reached);
            EXPECT_NEAR(reached.Z, 85.66f, 1.0f);
            EXPECT_GT(g_fPanelAngles.A23, 180.0f);
        }
        if (!c.computesOtherSide) {
            if (c.poseSpinner)
                EXPECT_TRUE(Same(g_fPanelAngles, JointAngles{10, 20, 30, 40, 50, 60})) << "the arm stays";
            else
                EXPECT_EQ(g_fPanelPose.X, 0.0f) << "pose spinners unchanged until MGDC";
        }
        // The panel angles reach the current angles with RT off, the targets
        // with RT on; the other set stays.
        if (c.realTime) {
            EXPECT_TRUE(Same(scene.m_Robot.m_fTargetAngle, expectedAngles));
            EXPECT_TRUE(Same(scene.m_Robot.m_fAngle, before));
        } else {
            EXPECT_TRUE(Same(scene.m_Robot.m_fAngle, expectedAngles));
            EXPECT_TRUE(Same(scene.m_Robot.m_fTargetAngle, targetsBefore));
        }
        TearDown();
    }
}

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
        Click(CHECK_IMMEDIATE);
        ToolPose target;
        ComputeMGD(scene.m_Robot.Lengths(), JointAngles{45, -45, 90, -30, 40, -100}, &target);
        g_fPanelPose = target;
        Spin(g_pPoseSpinners[0], target.X);
        for (float a : {g_fPanelAngles.A12, g_fPanelAngles.A23, g_fPanelAngles.A34, g_fPanelAngles.A45,
                        g_fPanelAngles.A56, g_fPanelAngles.A67}) {
            EXPECT_GE(a, 0.0f);
            EXPECT_LE(a, 360.0f);
        }
        EXPECT_TRUE(Same(scene.m_Robot.m_fAngle, g_fPanelAngles));
        ToolPose reached;
        ComputeMGD(scene.m_Robot.Lengths(), scene.m_Robot.m_fAngle, &reached);
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
    Click(CHECK_IMMEDIATE);
    const JointAngles holds[] = {{45, -45, 90, -30, 40, -100}, {45, 60, 250, 150, 320, 80}};
    for (const JointAngles& arm : holds) {
        scene.m_Robot.m_fAngle = arm;
        ToolPose target;
        ComputeMGD(scene.m_Robot.Lengths(), arm, &target);
        target.Z += 1.0f;
        g_fPanelPose = target;
        Spin(g_pPoseSpinners[2], target.Z);
        // One unit moves the joints a few degrees; any other configuration
        // lies tens of degrees away.
        for (int j = 0; j < 6; ++j)
            EXPECT_NEAR(std::remainder(g_fPanelAngles.*kJointFields[j] - arm.*kJointFields[j], 360.0f), 0.0f, 10.0f)
                << "joint " << j;
    }
}

TEST_F(PanelActions, StatusLineSaysWhenThePoseIsOutOfReach)
{
    EXPECT_EQ(Status(), "Modèle inverse par recherche sur grille") << "until a computation, the model in use";
    scene.m_Robot.m_eMGIModel = MGIModel::Exact;
    Click(CHECK_IMMEDIATE);
    // The example arm reaches 120 + hypot(20, 110) from its shoulder at
    // (30, 0, 100): (1000, 0, 100) is 970 - 231.8 beyond.
    g_fPanelPose = ToolPose{1000, 0, 100, 0, 0, 180};
    Spin(g_pPoseSpinners[0], 1000);
    EXPECT_EQ(Status(), "Hors d'atteinte : position la plus proche à 738,2 ; vers l'avant, bras tendu, "
                        "poignet non retourné");
    ToolPose reached;
    ComputeMGD(scene.m_Robot.Lengths(), scene.m_Robot.m_fAngle, &reached);
    EXPECT_NEAR(reached.X, 30 + 231.8, 0.1) << "stretched toward the target";
    EXPECT_NEAR(reached.Z, 100, 0.1);
}

TEST_F(PanelActions, CalculationButtonsFollowImmediateMode)
{
    // IM checked: MGDC and MGIC compute on demand.
    g_fPanelAngles = JointAngles{0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(Press(g_pMGDCButton));
    EXPECT_NEAR(g_fPanelPose.X, 170.0f, 1e-3);
    EXPECT_NEAR(g_fPanelPose.Z, -10.0f, 1e-3);
    EXPECT_FLOAT_EQ(g_fPanelPose.gamma, 180.0f);
    g_fPanelPose = ToolPose{170.0f, 0.0f, -10.0f, 0, 0, 180.0f};
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

TEST_F(PanelActions, RealTimeGoAndStop)
{
    // Checking RT takes the current angles as targets: old targets would
    // otherwise pull the arm back when GO is pressed.
    scene.m_Robot.m_fTargetAngle = JointAngles{90, 90, 90, 90, 90, 90};
    Click(CHECK_REALTIME);
    EXPECT_TRUE(Same(scene.m_Robot.m_fTargetAngle, scene.m_Robot.m_fAngle));

    Spin(g_pAngleSpinners[1], 60.0f);
    EXPECT_EQ(scene.m_Robot.m_fTargetAngle.A23, 60.0f);
    EXPECT_EQ(scene.m_Robot.m_fAngle.A23, 20.0f);
    ASSERT_TRUE(Press(g_pGoButton));
    EXPECT_EQ(windows.idle, &OnIdle);

    // Unchecking RT stops the motion where it is and greys GO out.
    Click(CHECK_REALTIME);
    EXPECT_EQ(windows.idle, nullptr);
    EXPECT_FALSE(Press(g_pGoButton));
    Spin(g_pAngleSpinners[1], 70.0f);
    EXPECT_EQ(scene.m_Robot.m_fAngle.A23, 70.0f) << "RT off: the arm follows at once";
}

TEST_F(PanelActions, DisplayTogglesKeepTheirOwnState)
{
    struct Case { int id; bool CMainScene::*flag; bool initial; };
    const Case cases[] = {
        {CHECK_DECORATION, &CMainScene::m_bDecoration, true},
        {CHECK_REFLECT, &CMainScene::m_bReflect, true},
        {CHECK_SHADOWS, &CMainScene::m_bShadows, true},
        {CHECK_METALLOOK, &CMainScene::m_bMetalLook, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        g_FakeGl.redisplays = 0;
        Click(c.id);
        EXPECT_EQ(scene.*c.flag, !c.initial);
        EXPECT_EQ(Checked(c.id), c.initial ? 0 : 1);
        Click(c.id);
        EXPECT_EQ(scene.*c.flag, c.initial);
        EXPECT_EQ(g_FakeGl.redisplays, 2);
    }
}

TEST_F(PanelActions, AfterF9TheDecorationBoxStillShowsChecked)
{
    scene.m_bDecoration = false;  // what F9 does: the box is not told
    EXPECT_EQ(Checked(CHECK_DECORATION), 1);
    Click(CHECK_DECORATION);
    EXPECT_FALSE(scene.m_bDecoration) << "the first click keeps the decoration hidden";
    Click(CHECK_DECORATION);
    EXPECT_TRUE(scene.m_bDecoration);
}

TEST_F(PanelActions, AfterF5TheFirstWireframeClickChangesNothingVisible)
{
    OnSpecialKey(5, 0, 0);  // F5: wireframe through its own flag
    ASSERT_EQ(g_FakeGl.polygonModes.back(), static_cast<GLenum>(GL_LINE));
    Click(CHECK_WIREFRAME);
    EXPECT_EQ(g_FakeGl.polygonModes.back(), static_cast<GLenum>(GL_LINE));
    Click(CHECK_WIREFRAME);
    EXPECT_EQ(g_FakeGl.polygonModes.back(), static_cast<GLenum>(GL_FILL));
    OnSpecialKey(5, 0, 0);  // back to filled for the next tests
    g_bWireFrame = false;
}

TEST_F(PanelActions, IdsWithoutAnActionDoNothing)
{
    const JointAngles angles = scene.m_Robot.m_fAngle;
    CGluiInput::OnCheckbox(3);
    CGluiInput::OnCheckbox(99);
    CGluiInput::OnButton(0);
    CGluiInput::OnButton(42);
    EXPECT_TRUE(Same(scene.m_Robot.m_fAngle, angles));
    EXPECT_EQ(windows.idle, nullptr);
    EXPECT_TRUE(scene.m_bDecoration);
    EXPECT_TRUE(g_FakeGl.polygonModes.empty());
}

} // namespace
