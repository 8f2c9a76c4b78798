// The control panel without a window: its widgets follow the controller's
// state whoever changes it, its controls are adapters that hand the user's
// values to the controller, every control says what it is for, every label
// comes from its key, and the readout follows the arm. The panel layer runs
// on a fake window system and the controller on a recording view: nothing
// here calls GL or GLUT. What the controller then does is its own test's
// (tests/core/controller_test.cpp).
#include "panel/ControlPanel.h"

#include "arm/ArmKinematics.h"
#include "base/FrenchDecimal.h"
#include "collision/CollisionWorld.h"
#include "config/OptionKeys.h"
#include "config/OptionsParser.h"
#include "glui/GluiInternal.h"
#include "kinematics/Kinematics.h"
#include "panel/ConfigurationList.h"
#include "panel/PointList.h"
#include "sim/Controller.h"
#include "sim/MotionRecorder.h"
#include "tests/support/ExampleArmDescription.h"
#include "dataset/ArmCell.h"
#include "tests/support/RecordingView.h"
#include "tests/support/ShippedArm.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kGfxWindow = 1;

struct FakeWindows : GLUI_WindowSystem {
    int current = kGfxWindow;
    int next = 10;
    GLUI* glui = nullptr;  // the last window opened
    std::string title;
    int CreateWindow(GLUI* window, const char* latin1Title, int, int) override
    {
        glui = window;
        title = latin1Title;
        return next++;
    }
    int GetWindow() override { return current; }
    void SetWindow(int window) override { current = window; }
    void PostRedisplay(int) override {}
    void SetIdleFunc(void (*)()) override {}
};

PanelSettings DefaultSettings()
{
    return ReadSettings<PanelSettings>(nullptr, DeclarePanelKeys);
}

// A simulation of the example arm, its controller on a recording view, and
// the panel on them; and what a user does with the panel's controls, each
// followed by the end of the panel's frame, where the layer runs the
// callbacks.
class PanelWorld {
public:
    explicit PanelWorld(const PanelSettings& settings = DefaultSettings(), MGIModel model = MGIModel::Grid)
        : PanelWorld(kxtest::ExampleArmDescription(model), settings)
    {
    }
    PanelWorld(const ArmDescription& arm, const PanelSettings& settings)
        : simulation(arm), panel(controller, recorder, settings)
    {
        previous = GLUI_SetWindowSystem(&windows);
        EXPECT_TRUE(panel.Open(kGfxWindow));
    }
    ~PanelWorld() { GLUI_SetWindowSystem(previous); }

    GLUI* Glui() const { return windows.glui; }
    template <class T>
    T* Control(int id) const
    {
        T* control = GLUI_Internal::Find<T>(Glui(), id);
        EXPECT_NE(control, nullptr) << "no control of id " << id;
        return control;
    }
    GLUI_Spinner* Spinner(int id) const { return Control<GLUI_Spinner>(id); }
    GLUI_Checkbox* Box(int id) const { return Control<GLUI_Checkbox>(id); }
    GLUI_Button* Button(int id) const { return Control<GLUI_Button>(id); }
    // In creation order: the frame of the poses, the MGI's status, the
    // readout's angles, pose and line about the cell.
    std::string Text(int n) const { return GLUI_Internal::Controls<GLUI_StaticText>(Glui())[n]->get_name(); }
    // In creation order: the jog pad, the points, the configurations, the
    // curves, the singularities, the cell's objects.
    GLUI_Canvas* Canvas(int n) const { return GLUI_Internal::Controls<GLUI_Canvas>(Glui())[n]; }

    void Spin(int id, float value) { Act(GLUI_Internal::UserSetFloat(Spinner(id), value)); }
    void Click(int id) { Act(GLUI_Internal::UserToggle(Box(id))); }
    bool Press(int id) { return Act(GLUI_Internal::UserPress(Button(id))); }
    bool ClickCanvas(int n, int x, int y) { return Act(GLUI_Internal::UserClick(Canvas(n), x, y)); }
    bool HoldCanvas(int n, int x, int y, bool down) { return Act(GLUI_Internal::UserHold(Canvas(n), x, y, down)); }
    // The jog pad's key: pressed, or released over it (a click) or not.
    void PressJog(JogKey key) { ASSERT_TRUE(HoldCanvas(0, JogX(key), JogY(key), true)); }
    void ReleaseJog(JogKey key, bool over = true)
    {
        if (over)
            ClickCanvas(0, JogX(key), JogY(key));
        ASSERT_TRUE(HoldCanvas(0, JogX(key), JogY(key), false));
    }
    static int JogX(JogKey key) { return (key.direction < 0 ? kFirstKeyX : kSecondKeyX) + kKeyWidth / 2; }
    static int JogY(JogKey key) { return key.axis * kKeyRowHeight + kKeyRowHeight / 2; }
    // The arm's motion played to its end on the simulation's clock.
    void Arrive()
    {
        for (double t = 0; simulation.Moving() && t < 60.0; t += 0.01)
            simulation.Advance(t);
    }
    bool Act(bool taken)
    {
        windows.current = windows.glui->get_glut_window_id();
        if (taken)
            GLUI_Internal::RunCallbacks(Glui());
        return taken;
    }
    bool Enabled(int buttonId) const { return GLUI_Internal::IsEnabled(Button(buttonId)); }

    FakeWindows windows;
    CSimulation simulation;
    CMotionRecorder recorder{simulation};
    CRecordingView view;
    CController controller{simulation, view, recorder};
    CControlPanel panel;

private:
    GLUI_WindowSystem* previous = nullptr;
};

// Every widget against the state it shows.
void ExpectWidgetsShowTheState(const PanelWorld& w)
{
    const CController& c = w.controller;
    for (int j = 0; j < kJointCount; ++j)
        EXPECT_EQ(w.Spinner(j)->get_float_val(), c.EditedAngles().*kJointFields[j]) << "joint " << j;
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(w.Spinner(FIRST_POSE_SPINNER + i)->get_float_val(), c.Pose().*kPoseFields[i]) << "pose " << i;
    EXPECT_EQ(w.Spinner(SPINNER_SPEED)->get_float_val(), c.SpeedPercent());
    EXPECT_EQ(w.Box(CHECK_REALTIME)->get_int_val(), c.RealTime());
    EXPECT_EQ(w.Box(CHECK_IMMEDIATE)->get_int_val(), c.Immediate());
    EXPECT_EQ(w.Box(CHECK_MOVE_JOINT)->get_int_val(), c.PanelMoveKind() == MoveKind::Joint);
    EXPECT_EQ(w.Box(CHECK_MOVE_LINEAR)->get_int_val(), c.PanelMoveKind() == MoveKind::Linear);
    EXPECT_EQ(w.Box(CHECK_CELL_COLLISIONS)->get_int_val(), c.IsDisplayed(DisplayFlag::Collisions));
    for (const DisplaySwitch& display : kDisplaySwitches)
        EXPECT_EQ(w.Box(CheckboxOf(display.flag))->get_int_val(), c.IsDisplayed(display.flag)) << display.word;
    EXPECT_EQ(w.Enabled(BUTTON_GO), c.RealTime());
    EXPECT_EQ(w.Enabled(BUTTON_MGDC), c.Immediate());
    EXPECT_EQ(w.Enabled(BUTTON_MGIC), c.Immediate());
    for (int always : {BUTTON_MOVE, BUTTON_CHECK, BUTTON_TEACH})
        EXPECT_TRUE(w.Enabled(always)) << "button " << always;
    EXPECT_EQ(w.Text(1), c.StatusLine());
}

// The first line of a readout.
std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

// ---------------------------------------------------------------------------
// The widgets follow the state
// ---------------------------------------------------------------------------

TEST(ControlPanel, WidgetsShowTheStateFromTheStart)
{
    PanelWorld w;
    ExpectWidgetsShowTheState(w);
    EXPECT_EQ(w.Spinner(0)->get_float_val(), 10.0f);
    EXPECT_EQ(w.Box(CHECK_IMMEDIATE)->get_int_val(), 1);
    EXPECT_FALSE(w.Enabled(BUTTON_GO));
}

// Keys, commands and motions change the state without the panel: it
// follows, as one of the simulation's listeners.
TEST(ControlPanel, WidgetsFollowTheStateWhoeverChangesIt)
{
    struct Case {
        const char* what;
        std::function<void(CController&)> change;
    };
    std::vector<Case> cases = {
        {"real time on", [](CController& c) { c.SetRealTime(true); }},
        {"immediate mode off", [](CController& c) { c.SetImmediate(false); }},
        {"linear moves", [](CController& c) { c.SetMoveKind(MoveKind::Linear); }},
        {"speed", [](CController& c) { c.SetSpeedPercent(40.0f); }},
        {"angles",
         [](CController& c) {
             c.SetAngles(JointAngles{90, 80, 70, 60, 50, 40});
         }},
        {"targets",
         [](CController& c) {
             c.SetTargets(JointAngles{90, 80, 70, 60, 50, 40});
         }},
        {"a pose value", [](CController& c) { c.SetPoseValue(0, 200.0f); }},
        {"the forward model",
         [](CController& c) {
             c.Simulation().SetAngles(JointAngles{0, 0, 0, 0, 0, 0});
             c.CalculateMGD();
         }},
        {"the inverse model",
         [](CController& c) {
             c.SetPoseValue(2, 120.0f);
             c.CalculateMGI();
         }},
    };
    for (const DisplaySwitch& display : kDisplaySwitches)
        cases.push_back(
            {display.word, [flag = display.flag](CController& c) { c.SetDisplayFlag(flag, !c.IsDisplayed(flag)); }});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PanelWorld w;
        c.change(w.controller);
        ExpectWidgetsShowTheState(w);
    }
}

// A spinner shows what it can: a joint outside its limits (a start angle
// may be) at the limit, while the arm stays where it is.
TEST(ControlPanel, AJointOutsideItsLimitsIsShownAtTheLimit)
{
    PanelWorld w;
    w.simulation.SetAngles(JointAngles{10, 20, -50, 40, 50, 400});
    EXPECT_EQ(w.Spinner(2)->get_float_val(), 0.0f);
    EXPECT_EQ(w.Spinner(5)->get_float_val(), 360.0f);
    EXPECT_EQ(w.simulation.Angles().A34, -50.0f);
}

// ---------------------------------------------------------------------------
// The controls hand the user's values to the controller
// ---------------------------------------------------------------------------

TEST(ControlPanel, EverySpinnerHandsItsValueOn)
{
    struct Case {
        int id;
        float value;
        std::function<float(const CController&)> reads;
    };
    std::vector<Case> cases;
    for (int j = 0; j < kJointCount; ++j)
        cases.push_back({j, 100.0f + j, [j](const CController& c) { return c.EditedAngles().*kJointFields[j]; }});
    for (int i = 0; i < 6; ++i)
        cases.push_back(
            {FIRST_POSE_SPINNER + i, 50.0f + i, [i](const CController& c) { return c.Pose().*kPoseFields[i]; }});
    cases.push_back({SPINNER_SPEED, 40.0f, [](const CController& c) { return c.SpeedPercent(); }});
    for (const Case& c : cases) {
        PanelWorld w;
        w.Spin(c.id, c.value);
        EXPECT_EQ(c.reads(w.controller), c.value) << "spinner " << c.id;
    }
}

TEST(ControlPanel, EveryCheckboxHandsItsStateOn)
{
    struct Case {
        int id;
        std::function<bool(const CController&)> reads;
    };
    std::vector<Case> cases = {
        {CHECK_REALTIME, [](const CController& c) { return c.RealTime(); }},
        {CHECK_IMMEDIATE, [](const CController& c) { return c.Immediate(); }},
    };
    for (const DisplaySwitch& display : kDisplaySwitches)
        cases.push_back(
            {CheckboxOf(display.flag), [flag = display.flag](const CController& c) { return c.IsDisplayed(flag); }});
    for (const Case& c : cases) {
        PanelWorld w;
        const bool before = c.reads(w.controller);
        w.Click(c.id);
        EXPECT_EQ(c.reads(w.controller), !before) << "checkbox " << c.id;
        w.Click(c.id);
        EXPECT_EQ(c.reads(w.controller), before) << "checkbox " << c.id;
    }
    PanelWorld w;
    w.Click(CheckboxOf(DisplayFlag::WireFrame));
    EXPECT_EQ(w.view.calls, std::vector<std::string>{"wireframe on"}) << "through the controller to its view";
}

// The kinds of move are a choice of one: a click on the one chosen leaves
// it chosen.
TEST(ControlPanel, TheKindsOfMoveAreAChoiceOfOne)
{
    PanelWorld w;
    w.Click(CHECK_MOVE_JOINT);
    EXPECT_EQ(w.controller.PanelMoveKind(), MoveKind::Joint);
    EXPECT_EQ(w.Box(CHECK_MOVE_JOINT)->get_int_val(), 1);
    w.Click(CHECK_MOVE_LINEAR);
    EXPECT_EQ(w.controller.PanelMoveKind(), MoveKind::Linear);
    EXPECT_EQ(w.Box(CHECK_MOVE_JOINT)->get_int_val(), 0);
    EXPECT_EQ(w.Box(CHECK_MOVE_LINEAR)->get_int_val(), 1);
}

// poses.txt is written in the current directory: a directory of the
// test's own.
class ControlPanelButtons : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char dir[] = "/tmp/kx-panel-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        ASSERT_EQ(chdir(dir), 0);
    }
};

TEST_F(ControlPanelButtons, EveryButtonActs)
{
    struct Case {
        int id;
        std::function<void(PanelWorld&)> before;
        std::function<void(const PanelWorld&)> after;
    };
    const Case cases[] = {
        {BUTTON_GO,
         [](PanelWorld& w) {
             w.Click(CHECK_REALTIME);
             w.Spin(0, 100.0f);
         },
         [](const PanelWorld& w) { EXPECT_TRUE(w.simulation.Moving()); }},
        {BUTTON_MGDC,
         [](PanelWorld& w) {
             w.simulation.SetAngles(JointAngles{0, 0, 0, 0, 0, 0});
         },
         [](const PanelWorld& w) { EXPECT_NEAR(w.controller.Pose().X, 170.0f, 1e-3); }},
        {BUTTON_MGIC, [](PanelWorld& w) { w.Spin(FIRST_POSE_SPINNER + 2, 120.0f); },
         [](const PanelWorld& w) {
             EXPECT_EQ(w.controller.StatusLine().rfind("Pose atteinte ; ", 0), 0u) << w.controller.StatusLine();
         }},
        {BUTTON_MOVE, [](PanelWorld& w) { w.Spin(FIRST_POSE_SPINNER + 2, 120.0f); },
         [](const PanelWorld& w) {
             EXPECT_TRUE(w.simulation.Moving()) << w.Text(1);
             EXPECT_EQ(w.Text(1).rfind("Mouvement articulaire synchronisé : ", 0), 0u) << w.Text(1);
         }},
        {BUTTON_CHECK, [](PanelWorld& w) { w.Spin(FIRST_POSE_SPINNER + 2, 120.0f); },
         [](const PanelWorld& w) {
             EXPECT_FALSE(w.simulation.Moving());
             EXPECT_EQ(w.Text(1).rfind("Vérifié : Mouvement articulaire synchronisé en ", 0), 0u) << w.Text(1);
         }},
        {BUTTON_TEACH, [](PanelWorld&) { std::remove("poses.txt"); },
         [](const PanelWorld&) {
             std::ifstream in("poses.txt");
             std::string line;
             std::getline(in, line);
             EXPECT_EQ(line, "moveto 10 20 30 40 50 60");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "button " << c.id);
        PanelWorld w(DefaultSettings(), MGIModel::Exact);
        c.before(w);
        ASSERT_TRUE(w.Press(c.id));
        c.after(w);
    }
}

// A click on a row of the list of configurations moves the arm to it.
TEST(ControlPanel, AClickOnAConfigurationMovesTheArmThere)
{
    PanelWorld w;
    const std::vector<ArmConfiguration> list = ConfigurationsOf(w.simulation.Arm(), w.simulation.Angles());
    std::size_t row = 0;
    while (row < list.size() && (list[row].current || !list[row].withinLimits))
        ++row;
    ASSERT_LT(row, list.size()) << "a configuration of the start pose the arm may take";
    ASSERT_TRUE(w.ClickCanvas(2, 10, static_cast<int>(row + 1) * kConfigurationRowHeight + 5));
    EXPECT_TRUE(w.simulation.Moving());
    for (double t = 0; w.simulation.Moving() && t < 60.0; t += 0.01)
        w.simulation.Advance(t);
    for (int j = 0; j < kJointCount; ++j)
        EXPECT_NEAR(w.simulation.Angles().*kJointFields[j], list[row].angles.*kJointFields[j], 1e-3) << j;
}

TEST(ControlPanel, DisabledButtonsIgnoreTheUser)
{
    PanelWorld w;
    EXPECT_FALSE(w.Press(BUTTON_GO)) << "real time is off";
    w.Click(CHECK_IMMEDIATE);
    EXPECT_FALSE(w.Press(BUTTON_MGDC));
    EXPECT_FALSE(w.Press(BUTTON_MGIC));
    w.Click(CHECK_IMMEDIATE);
    EXPECT_TRUE(w.Press(BUTTON_MGDC));
}

// The plots take no click, and a click on the list of configurations away
// from its rows (its header, below its last row) does nothing.
TEST(ControlPanel, ClicksWithoutAnActionDoNothing)
{
    PanelWorld w;
    const std::string status = w.Text(1);
    EXPECT_FALSE(w.ClickCanvas(3, 10, 10)) << "the curves";
    EXPECT_FALSE(w.ClickCanvas(4, 10, 10)) << "the singularities";
    const std::size_t rows = ConfigurationsOf(w.simulation.Arm(), w.simulation.Angles()).size();
    for (int y : {5, static_cast<int>(rows + 1) * kConfigurationRowHeight + 5}) {
        EXPECT_TRUE(w.ClickCanvas(2, 10, y)) << y;
        EXPECT_FALSE(w.simulation.Moving()) << y;
        EXPECT_EQ(w.Text(1), status) << y;
    }
}

// ---------------------------------------------------------------------------
// The jog
// ---------------------------------------------------------------------------

// The frame and the step are each a choice of one, "Base" and "Pas de 1"
// at start; a click on a key moves by the step, in the frame chosen, along
// (or about) its axis, as the controller's Jog does.
TEST(ControlPanel, AJogKeyClickedMovesByTheStepInTheFrameChosen)
{
    struct Case {
        const char* what;
        JogFrame frame;
        int step;  // the step's checkbox: 1 for 0,1, 2 for 1, 3 for 10
        JogKey key;
        std::function<double(const CController&, const JointAngles&)> measure;  // of the arm's angles
        double change;
    };
    const Case cases[] = {
        {"A12 - 1", JogFrame::Joints, 2, {0, -1}, [](const CController&, const JointAngles& a) { return a.A12; }, -1},
        {"A56 + 0,1",
         JogFrame::Joints,
         1,
         {4, +1},
         [](const CController&, const JointAngles& a) { return a.A56; },
         0.1},
        {"base x + 10",
         JogFrame::Base,
         3,
         {0, +1},
         [](const CController& c, const JointAngles& a) { return c.PoseOf(a).X; },
         10},
        {"base z - 1",
         JogFrame::Base,
         2,
         {2, -1},
         [](const CController& c, const JointAngles& a) { return c.PoseOf(a).Z; },
         -1},
        {"tool z + 10",
         JogFrame::Tool,
         3,
         {2, +1},
         [](const CController& c, const JointAngles& a) {
             // Along the tool's own z as it stood before: its start's axis.
             const KDL::Frame start = c.MatrixOf(c.Simulation().Arm().start);
             return KDL::dot(c.MatrixOf(a).p - start.p, start.M.UnitZ());
         },
         10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PanelWorld w(ShippedArm(), DefaultSettings());
        EXPECT_EQ(w.Box(CheckboxOf(JogFrame::Base))->get_int_val(), 1);
        EXPECT_EQ(w.Box(CHECK_FIRST_JOG_STEP + 2)->get_int_val(), 1);
        w.Click(CheckboxOf(c.frame));
        w.Click(CHECK_FIRST_JOG_STEP + c.step);
        for (int frame = 0; frame < 4; ++frame)
            EXPECT_EQ(w.Box(CheckboxOf(static_cast<JogFrame>(frame)))->get_int_val(),
                      frame == static_cast<int>(c.frame));
        for (int step = 0; step < 4; ++step)
            EXPECT_EQ(w.Box(CHECK_FIRST_JOG_STEP + step)->get_int_val(), step == c.step);
        const double before = c.measure(w.controller, w.simulation.Angles());
        w.PressJog(c.key);
        EXPECT_FALSE(w.simulation.Moving()) << "a step waits for the click";
        w.ReleaseJog(c.key);
        EXPECT_TRUE(w.simulation.Moving()) << w.Text(1);
        EXPECT_EQ(w.Text(1).rfind("Déplacement manuel ", 0), 0u) << w.Text(1);
        w.Arrive();
        EXPECT_NEAR(c.measure(w.controller, w.simulation.Angles()) - before, c.change, 1e-3);
    }
}

// A press that ends away from its key (released elsewhere, or over the
// other key) moves nothing.
TEST(ControlPanel, AJogKeyLetGoElsewhereMovesNothing)
{
    PanelWorld w(ShippedArm(), DefaultSettings());
    const JointAngles start = w.simulation.Angles();
    w.PressJog(JogKey{0, +1});
    w.ReleaseJog(JogKey{0, +1}, false);
    w.PressJog(JogKey{1, +1});
    w.ClickCanvas(0, PanelWorld::JogX(JogKey{1, -1}), PanelWorld::JogY(JogKey{1, -1}));
    w.ReleaseJog(JogKey{1, -1}, false);
    EXPECT_FALSE(w.simulation.Moving());
    EXPECT_EQ(w.simulation.Angles().A12, start.A12);
    EXPECT_EQ(w.simulation.Angles().A23, start.A23);
}

// "Continu": the arm moves while a key is held, stops where it stands when
// the key is let go, and by itself before a joint's limit, the reason in
// the status line; letting go afterwards changes nothing.
TEST(ControlPanel, AJogKeyHeldMovesUntilLetGoOrUntilALimit)
{
    ArmDescription arm = ShippedArm();
    arm.limits.low[0] = -40;  // A12, at -25 at start: 15 degrees away
    PanelWorld w(arm, DefaultSettings());
    w.Click(CheckboxOf(JogFrame::Joints));
    w.Click(CHECK_FIRST_JOG_STEP);
    const float start = w.simulation.Angles().A12;

    w.PressJog(JogKey{0, +1});
    ASSERT_TRUE(w.simulation.Moving()) << w.Text(1);
    w.simulation.Advance(0.0);
    w.simulation.Advance(0.2);
    const float held = w.simulation.Angles().A12;
    EXPECT_GT(held, start);
    w.ReleaseJog(JogKey{0, +1});
    EXPECT_FALSE(w.simulation.Moving());
    EXPECT_EQ(w.simulation.Angles().A12, held) << "stopped where it stood";

    w.PressJog(JogKey{0, -1});
    ASSERT_TRUE(w.simulation.Moving()) << w.Text(1);
    w.Arrive();
    const float stopped = w.simulation.Angles().A12;
    EXPECT_GE(stopped, w.simulation.Arm().limits.low[0]) << "within its limit";
    EXPECT_LT(stopped, w.simulation.Arm().limits.low[0] + 1.0f) << "near it";
    const std::string status = w.Text(1);
    EXPECT_EQ(status.rfind("Déplacement manuel A12", 0), 0u) << status;
    EXPECT_NE(status.find(" arrêté : "), std::string::npos) << status;
    EXPECT_NE(status.find("A12"), status.rfind("A12")) << "the joint named in the reason too: " << status;
    w.ReleaseJog(JogKey{0, -1});
    EXPECT_EQ(w.simulation.Angles().A12, stopped);
    EXPECT_EQ(w.Text(1), status) << "the reason stays once the key is let go";
}

// ---------------------------------------------------------------------------
// The frame of poses and the taught points
// ---------------------------------------------------------------------------

// The pose group names the frame its values are in, following the frame in
// use whoever changes it.
TEST(ControlPanel, ThePoseGroupNamesTheFrameInUse)
{
    PanelWorld w;
    EXPECT_EQ(w.Text(0), "Repère des poses : base");
    ASSERT_TRUE(w.controller.DefineFrame("table", ToolPose{100, 0, 50, 0, 0, 0}).ok);
    EXPECT_EQ(w.Text(0), "Repère des poses : base") << "defined, not in use";
    ASSERT_TRUE(w.controller.UseFrame("table").ok);
    EXPECT_EQ(w.Text(0), "Repère des poses : table");
    ASSERT_TRUE(w.controller.RemoveFrame("table").ok);
    EXPECT_EQ(w.Text(0), "Repère des poses : base");
}

// The "Points" rollout, closed at start as the jog's is: a row per point,
// whoever stores it; "Aller" and "Ligne" move the arm there by a joint move and by a line,
// and the button stores where the arm stands under the next free name.
TEST_F(ControlPanelButtons, ThePointsRolloutStoresAndGoesToPoints)
{
    PanelWorld w(ShippedArm(), DefaultSettings());
    const std::vector<GLUI_Rollout*> rollouts = GLUI_Internal::Controls<GLUI_Rollout>(w.Glui());
    for (const char* title : {"Déplacement manuel", "Points"}) {
        const auto rollout = std::find_if(rollouts.begin(), rollouts.end(), [title](const GLUI_Rollout* r) {
            return std::string(r->get_name()) == title;
        });
        ASSERT_NE(rollout, rollouts.end()) << title;
        EXPECT_FALSE(GLUI_Internal::IsOpen(*rollout)) << title << ": closed at start, the panel as high as it was";
    }
    const std::string status = w.Text(1);
    w.ClickCanvas(1, kFirstKeyX + 5, 5);
    EXPECT_FALSE(w.simulation.Moving()) << "no point yet: nothing to go to";
    EXPECT_EQ(w.Text(1), status);

    const JointAngles start = w.simulation.Angles();
    ASSERT_TRUE(w.Press(BUTTON_STORE_POINT));
    w.controller.SetAngles(JointAngles{-10, 40, 20, 10, 50, 10});
    ASSERT_TRUE(w.Press(BUTTON_STORE_POINT));
    ASSERT_TRUE(w.controller.StorePoint("approche").ok) << "by a command";
    ASSERT_EQ(w.simulation.Points().All().size(), 3u);
    EXPECT_EQ(w.simulation.Points().All()[0].name, "P1");
    EXPECT_EQ(w.simulation.Points().All()[1].name, "P2");
    EXPECT_EQ(w.simulation.Points().All()[0].angles.A12, start.A12);
    EXPECT_EQ(w.Canvas(1)->get_screen_rect().h, 0) << "not drawn: its rollout is closed";

    auto arrive = [&w] {
        for (double t = 0; w.simulation.Moving() && t < 60.0; t += 0.01)
            w.simulation.Advance(t);
    };
    const struct {
        int row;
        bool line;
        const char* status;
    } clicks[] = {
        {0, false, "Mouvement articulaire synchronisé : "},
        {2, true, "Mouvement linéaire : "},
    };
    for (const auto& click : clicks) {
        SCOPED_TRACE(click.row);
        ASSERT_TRUE(w.ClickCanvas(1, (click.line ? kSecondKeyX : kFirstKeyX) + 5,
                                  click.row * kKeyRowHeight + kKeyRowHeight / 2));
        EXPECT_TRUE(w.simulation.Moving());
        EXPECT_EQ(w.Text(1).rfind(click.status, 0), 0u) << w.Text(1);
        arrive();
        const JointAngles& target = w.simulation.Points().All()[static_cast<std::size_t>(click.row)].angles;
        for (int j = 0; j < kJointCount; ++j)
            EXPECT_NEAR(w.simulation.Angles().*kJointFields[j], target.*kJointFields[j], 1e-3) << j;
    }
}

// ---------------------------------------------------------------------------
// Labels and help
// ---------------------------------------------------------------------------

TEST(ControlPanel, EveryControlSaysWhatItIsFor)
{
    PanelWorld w;
    const std::string layout = GLUI_Internal::LayoutText(w.Glui(), 400, 400);
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

// Each control's label is its key's value in glui.opt, decoded once from
// the file's Windows-1252: the labelled controls, in the order the panel
// shows them, are those of the keys in the order they are declared, the
// window's title first; the title goes to the window system in Latin-1.
TEST(ControlPanel, EveryLabelIsItsKeysValueDecodedOnce)
{
    std::string file;
    std::vector<std::string> labels;
    for (const OptionKey& key : DeclaredKeys(DeclarePanelKeys))
        if (key.label) {
            file += key.name + " = \"" + key.name + " \xE9\";\n";
            labels.push_back(key.name + " é");
        }
    // The cell's rollout, last, has the switch Collisions again, under its
    // label.
    labels.push_back("strCollisions é");
    FILE* stream = fmemopen(file.data(), file.size(), "r");
    ASSERT_NE(stream, nullptr);
    COptions options;
    ASSERT_TRUE(COptionsParser::ParseFileForVariable(stream, &options));
    std::fclose(stream);

    PanelWorld w(ReadSettings(&options, DeclarePanelKeys));
    EXPECT_EQ(w.windows.title, "strGLUIWindowName \xE9");
    // The dump's first line: "window 0 <id> 0 0 <w> <h> 1 0 <title>".
    const std::string dump = GLUI_Internal::LayoutText(w.Glui(), 1, 1);
    std::size_t title = 0;
    for (int field = 0; field < 9; ++field)
        title = dump.find(' ', title) + 1;
    std::vector<std::string> shown = {dump.substr(title, dump.find('\n') - title)};
    for (GLUI_Control* control : GLUI_Internal::Controls<GLUI_Control>(w.Glui()))
        if (!dynamic_cast<GLUI_StaticText*>(control) && *control->get_name())
            shown.push_back(control->get_name());
    EXPECT_EQ(shown, labels);
}

// ---------------------------------------------------------------------------
// The readout
// ---------------------------------------------------------------------------

// "A12       40,00°": the angles and the pose they give, a name and a value
// aligned for the panel's fixed-width font, French decimals.
TEST(ControlPanel, TheReadoutSaysWhereTheArmStands)
{
    PanelWorld w;
    w.controller.SetAngles(JointAngles{40, 120.5f, 30, 40, 50, 60});
    EXPECT_EQ(w.Text(2).rfind("A12       40,00°\nA23      120,50°\nA34       30,00°\n", 0), 0u) << w.Text(2);
    ToolPose pose;
    ComputeMGD(w.simulation.Arm().Lengths(), w.simulation.Angles(), &pose);
    char x[32], beta[32];
    std::snprintf(x, sizeof x, "X%14.2f", pose.X);
    std::snprintf(beta, sizeof beta, "Bêta%11.2f°", pose.beta);
    std::string expectedX = x, expectedBeta = beta;
    expectedX[expectedX.find('.')] = ',';
    expectedBeta[expectedBeta.find('.')] = ',';
    EXPECT_EQ(FirstLine(w.Text(3)), expectedX);
    EXPECT_NE(w.Text(3).find("\n" + expectedBeta + "\n"), std::string::npos) << w.Text(3);
}

// A motion moves the arm far more often than a person reads: the panel
// follows it ten times a second of the motion's own clock, and once more
// at its end.
TEST(ControlPanel, ThePanelFollowsAMotionTenTimesASecondAndAtItsEnd)
{
    PanelWorld w;
    w.controller.SetRealTime(true);
    w.controller.SetJointAngle(0, 100.0f);  // 90 degrees at 60 per second
    ASSERT_TRUE(w.controller.StartMotion().ok);
    const struct {
        double t;
        const char* shown;
    } steps[] = {
        {0.0, "A12       10,00°"},  // the motion's clock set, nothing moved yet
        {0.05, "A12       13,00°"}, {0.1, "A12       13,00°"}, {0.14, "A12       13,00°"}, {0.16, "A12       19,60°"},
        {0.2, "A12       19,60°"},  {1.0, "A12       70,00°"}, {1.05, "A12       70,00°"},
    };
    for (const auto& step : steps) {
        w.simulation.Advance(step.t);
        EXPECT_EQ(FirstLine(w.Text(2)), step.shown) << "t = " << step.t;
    }
    w.controller.StopMotion();
    EXPECT_EQ(FirstLine(w.Text(2)), "A12       73,00°") << "the end of the motion shows";
    EXPECT_EQ(w.Spinner(0)->get_float_val(), 73.0f) << "and the targets it leaves";
}

// ---------------------------------------------------------------------------
// The cell
// ---------------------------------------------------------------------------

// The shipped arm at its start angles in its cell, the panel on it.
class CellPanel : public ::testing::Test {
protected:
    CellPanel() : w(ShippedArm(), DefaultSettings())
    {
        w.simulation.SetCell(BuildArmCell(w.simulation.Arm(), KX_SOURCE_DIR "/default/"));
    }

    ObjectDefinition Object(ObjectKind kind, const std::string& name, std::vector<double> numbers) const
    {
        ObjectDefinition object;
        object.kind = kind;
        object.name = name;
        object.numbers = std::move(numbers);
        return object;
    }
    void Define(const ObjectDefinition& object) { ASSERT_TRUE(w.controller.DefineObject(object).ok); }
    // A slab through the wrist centre at the start angles.
    ObjectDefinition Slab() const
    {
        const ToolPose wrist = ArmMGD(w.simulation.Arm(), w.simulation.Arm().start);
        return Object(ObjectKind::Box, "table", {wrist.X, wrist.Y, wrist.Z, 400, 400, 20});
    }

    PanelWorld w;
};

// The "Bras" readout's line: the first pair in contact, else the exact
// margin once the arm is still, measured again when the cell changes even
// though the arm does not move.
TEST_F(CellPanel, TheArmReadoutSaysTheContactOrTheMargin)
{
    EXPECT_EQ(w.Text(4), "Marge : 14,3 (le bras et l'avant-bras)");

    Define(Slab());
    const std::vector<CollisionPair> pairs = w.simulation.Cell()->Collisions(w.simulation.Angles());
    ASSERT_FALSE(pairs.empty());
    EXPECT_EQ(w.Text(4), "Collision : " + pairs.front().Words());
    EXPECT_NE(w.Text(4).find("« table »"), std::string::npos) << w.Text(4);

    ASSERT_TRUE(w.controller.RemoveObject("table").ok);
    EXPECT_EQ(w.Text(4), "Marge : 14,3 (le bras et l'avant-bras)");

    // A ball 5,5 under the hand, which points down: now the nearest.
    const ToolPose wrist = ArmMGD(w.simulation.Arm(), w.simulation.Arm().start);
    Define(Object(ObjectKind::Sphere, "ball", {wrist.X, wrist.Y, wrist.Z - 210, 40}));
    const Clearance exact = w.simulation.Cell()->ExactClearanceOf(w.simulation.Angles());
    ASSERT_EQ(exact.pair.object, "ball");
    EXPECT_EQ(w.Text(4), "Marge : " + FormatDecimal(exact.distance, 1) + " (" + exact.pair.Words() + ")");
    EXPECT_EQ(w.Text(4), "Marge : 5,5 (la main et « ball »)");

    // While the arm moves, the margin waits for it to stop.
    MoveRequest request;
    request.joints = JointAngles{0, 45, 15, 0, 60, 0};
    ASSERT_TRUE(w.controller.Move(request, true).ok);
    w.simulation.Advance(0.0);
    w.simulation.Advance(0.2);
    ASSERT_TRUE(w.simulation.Moving());
    EXPECT_EQ(w.Text(4), "Marge : mesurée à l'arrêt");
    for (double t = 0.2; w.simulation.Moving() && t < 30; t += 0.1)
        w.simulation.Advance(t);
    ASSERT_FALSE(w.simulation.Moving());
    EXPECT_EQ(w.Text(4).rfind("Marge : ", 0), 0u) << w.Text(4);
    EXPECT_NE(w.Text(4), "Marge : mesurée à l'arrêt");
}

// The cell's rollout, closed at start and last: a row per object that a
// click shows or hides, through the controller, and the switch Collisions
// again, the one state of the display's box.
TEST_F(CellPanel, TheCellRolloutShowsAndHidesObjectsAndCollisions)
{
    const std::vector<GLUI_Rollout*> rollouts = GLUI_Internal::Controls<GLUI_Rollout>(w.Glui());
    ASSERT_FALSE(rollouts.empty());
    EXPECT_STREQ(rollouts.back()->get_name(), "Cellule");
    EXPECT_FALSE(GLUI_Internal::IsOpen(rollouts.back()));

    Define(Object(ObjectKind::Box, "table", {600, 0, 100, 300, 300, 200}));
    Define(Object(ObjectKind::Sphere, "ball", {-600, 0, 300, 50}));
    ASSERT_TRUE(w.ClickCanvas(5, 10, kCellRowHeight + 5)) << "the canvas grew to two rows";
    EXPECT_FALSE(w.controller.ObjectShown("ball"));
    EXPECT_TRUE(w.controller.ObjectShown("table"));
    ASSERT_TRUE(w.ClickCanvas(5, 10, kCellRowHeight + 5));
    EXPECT_TRUE(w.controller.ObjectShown("ball"));
    EXPECT_FALSE(w.ClickCanvas(5, 10, 2 * kCellRowHeight + 5)) << "under the rows";
    ASSERT_TRUE(w.controller.RemoveObject("ball").ok);
    EXPECT_FALSE(w.ClickCanvas(5, 10, kCellRowHeight + 5)) << "the canvas shrank to one row";

    for (bool on : {true, false}) {
        w.Click(CHECK_CELL_COLLISIONS);
        EXPECT_EQ(w.controller.IsDisplayed(DisplayFlag::Collisions), on);
        EXPECT_EQ(w.Box(CheckboxOf(DisplayFlag::Collisions))->get_int_val(), on) << "the display's box follows";
        w.Click(CheckboxOf(DisplayFlag::Collisions));
        EXPECT_EQ(w.Box(CHECK_CELL_COLLISIONS)->get_int_val(), !on) << "and the cell's";
        w.Click(CheckboxOf(DisplayFlag::Collisions));
    }
}

// The exact margin takes up to milliseconds: measured once for each still
// pose and state of the cell, never while the arm moves, whatever else
// changes.
TEST_F(CellPanel, TheExactMarginIsMeasuredOnlyWhenTheStillArmOrTheCellChanged)
{
    CClearanceLine line;
    const CSimulation& s = w.simulation;
    auto measures = [&] {
        line.Line(s, s.Cell()->Collisions(s.Angles()));
        return line.Measures();
    };
    EXPECT_EQ(measures(), 1u);
    EXPECT_EQ(measures(), 1u) << "the same pose";
    w.controller.SetSpeedPercent(50.0f);
    EXPECT_EQ(measures(), 1u) << "a change that moves nothing";
    w.controller.SetAngles(JointAngles{-20, 45, 15, 0, 60, 0});
    EXPECT_EQ(measures(), 2u) << "another pose";
    Define(Object(ObjectKind::Sphere, "ball", {-600, 0, 300, 50}));
    EXPECT_EQ(measures(), 3u) << "another cell";
    ASSERT_TRUE(w.controller.ShowObject("ball", false).ok);
    EXPECT_EQ(measures(), 3u) << "hidden, the ball is still there";
    MoveRequest request;
    request.joints = JointAngles{10, 45, 15, 0, 60, 0};
    ASSERT_TRUE(w.controller.Move(request, true).ok);
    for (double t = 0; w.simulation.Moving() && t < 30; t += 0.05) {
        w.simulation.Advance(t);
        if (w.simulation.Moving()) {
            EXPECT_EQ(measures(), 3u) << "t = " << t;
        }
    }
    EXPECT_EQ(measures(), 4u) << "stopped";
}

}  // namespace
