// The panel layer's control logic, without a window: a fake window system
// stands in for GLUT and records what the layer asks of it.

#include "glui/GluiInternal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr int kGfxWindow = 1;

struct FakeWindows : GLUI_WindowSystem {
    int current = kGfxWindow;
    int nextWindow = 10;
    std::vector<std::string> titles;
    std::vector<int> redisplays;
    void (*idle)() = nullptr;
    int idleCalls = 0;

    int CreateWindow(GLUI*, const char* title, int, int) override
    {
        titles.push_back(title);
        return nextWindow++;
    }
    int GetWindow() override { return current; }
    void SetWindow(int window) override { current = window; }
    void PostRedisplay(int window) override { redisplays.push_back(window); }
    void SetIdleFunc(void (*f)()) override
    {
        idle = f;
        ++idleCalls;
    }
    bool Redisplayed(int window) const
    {
        for (int w : redisplays)
            if (w == window)
                return true;
        return false;
    }
};

// What a callback saw when it ran.
struct Call {
    int id;
    int window;   // current GLUT window inside the callback
    float live;   // float live variable at that moment
    int liveInt;  // int live variable at that moment
};

FakeWindows* g_fake = nullptr;
std::vector<Call> g_calls;
float g_fLive = 0.0f;
int g_iLive = 0;

void Record(int id)
{
    g_calls.push_back({id, g_fake->GetWindow(), g_fLive, g_iLive});
}

class GluiLayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_fake = &fake;
        previous = GLUI_SetWindowSystem(&fake);
        g_calls.clear();
        g_fLive = 0.0f;
        g_iLive = 0;
        glui = GLUI_Master.create_glui("Panneau", 0, -1, -1);
        ASSERT_NE(glui, nullptr);
        panelWindow = glui->get_glut_window_id();
        rollout = glui->add_rollout("Control");
    }
    void TearDown() override
    {
        GLUI_SetWindowSystem(previous);
        g_fake = nullptr;
    }
    // The panel window is current while ImGui reports changes; the layer
    // then runs the callbacks.
    void EndFrame()
    {
        fake.current = panelWindow;
        GLUI_Internal::RunCallbacks(glui);
    }
    GLUI_Spinner* Spinner(float low, float high)
    {
        GLUI_Spinner* spinner = glui->add_spinner_to_panel(rollout, "A12", GLUI_SPINNER_FLOAT, &g_fLive, 3, Record);
        spinner->set_float_limits(low, high, GLUI_LIMIT_CLAMP);
        return spinner;
    }

    FakeWindows fake;
    GLUI_WindowSystem* previous = nullptr;
    GLUI* glui = nullptr;
    GLUI_Rollout* rollout = nullptr;
    int panelWindow = 0;
};

// ---------------------------------------------------------------------------
// Pure helpers
// ---------------------------------------------------------------------------

TEST(GluiClamp, IsLiteralEvenWhenTheMinimumIsAboveTheMaximum)
{
    struct Case {
        float value, low, high, expected;
    };
    const Case cases[] = {
        {10.0f, 0.0f, 360.0f, 10.0f},
        {-5.0f, 0.0f, 360.0f, 0.0f},
        {400.0f, 0.0f, 360.0f, 360.0f},
        {0.0f, 0.0f, 360.0f, 0.0f},
        {360.0f, 0.0f, 360.0f, 360.0f},
        // low above high: below low gives low, else above high gives high.
        {5.0f, 10.0f, 0.0f, 10.0f},
        {20.0f, 10.0f, 0.0f, 0.0f},
        {-3.0f, 10.0f, 0.0f, 10.0f},
        {7.0f, 7.0f, 7.0f, 7.0f},
        {8.0f, 7.0f, 7.0f, 7.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GLUI_ClampFloat(c.value, c.low, c.high), c.expected)
            << c.value << " in [" << c.low << ", " << c.high << "]";
}

TEST(GluiParseFloat, AcceptsFiniteNumbersOnly)
{
    struct Case {
        const char* text;
        bool ok;
        float value;
    };
    const Case cases[] = {
        {"2.5", true, 2.5f},     {"  -0.25 ", true, -0.25f}, {"1e-3", true, 0.001f}, {"360", true, 360.0f},
        {"", false, 0},          {"   ", false, 0},          {"abc", false, 0},      {"1.5x", false, 0},
        {"nan", false, 0},       {"inf", false, 0},          {"-inf", false, 0},     {"1e39", false, 0},
        {"1e400", false, 0},     {"2.5 3", false, 0},        {"12,5", true, 12.5f},  {"12abc", false, 0},
        {"-0,25", true, -0.25f},
    };
    for (const Case& c : cases) {
        float value = -99.0f;
        EXPECT_EQ(GLUI_ParseFloat(c.text, &value), c.ok) << '"' << c.text << '"';
        if (c.ok)
            EXPECT_FLOAT_EQ(value, c.value) << '"' << c.text << '"';
        else
            EXPECT_EQ(value, -99.0f) << "refused text must leave the output alone";
    }
    EXPECT_FALSE(GLUI_ParseFloat(nullptr, nullptr));
}

TEST(GluiDrag, UpwardIncreasesAndFurtherIsFaster)
{
    EXPECT_GT(GLUI_DragIncrement(-1.0f, -10.0f), 0.0f);
    EXPECT_LT(GLUI_DragIncrement(1.0f, 10.0f), 0.0f);
    EXPECT_EQ(GLUI_DragIncrement(0.0f, 50.0f), 0.0f);
    float previousRate = 0.0f;
    for (float total : {5.0f, 50.0f, 200.0f}) {
        const float rate = GLUI_DragIncrement(-1.0f, -total);
        EXPECT_GT(rate, previousRate) << total;
        previousRate = rate;
    }
    // The direction of the whole drag does not change the speed.
    EXPECT_EQ(GLUI_DragIncrement(-1.0f, 40.0f), GLUI_DragIncrement(-1.0f, -40.0f));
}

// ---------------------------------------------------------------------------
// Spinners
// ---------------------------------------------------------------------------

TEST_F(GluiLayer, LimitsMoveAnOutsideValueToTheLowerLimit)
{
    struct Case {
        float start, low, high, expected;
    };
    const Case cases[] = {
        {45.0f, 0.0f, 360.0f, 45.0f},  // inside: kept
        {-30.0f, 0.0f, 360.0f, 0.0f},  // below: lower limit
        {400.0f, 0.0f, 360.0f, 0.0f},  // above: lower limit too, not the upper
        {5.0f, 10.0f, 0.0f, 10.0f},    // minimum above maximum: always outside
    };
    for (const Case& c : cases) {
        g_fLive = c.start;
        GLUI_Spinner* spinner = Spinner(c.low, c.high);
        EXPECT_EQ(spinner->get_float_val(), c.expected) << c.start;
        EXPECT_EQ(g_fLive, c.expected) << "live variable follows, start " << c.start;
    }
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(GluiLayer, SetFloatValClampsWritesLiveAndCallsNoCallback)
{
    glui->set_main_gfx_window(kGfxWindow);
    GLUI_Spinner* spinner = Spinner(-90.0f, 90.0f);
    struct Case {
        float value, expected;
    };
    for (const Case& c : {Case{12.5f, 12.5f}, Case{-120.0f, -90.0f}, Case{95.0f, 90.0f}}) {
        fake.redisplays.clear();
        spinner->set_float_val(c.value);
        EXPECT_EQ(spinner->get_float_val(), c.expected);
        EXPECT_EQ(g_fLive, c.expected);
        EXPECT_TRUE(fake.Redisplayed(kGfxWindow)) << "live variable written: graphics window redrawn";
    }
    EndFrame();
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(GluiLayer, SpinnerWithoutLimitsKeepsAnyFiniteValueAndRefusesTheOthers)
{
    GLUI_Spinner* spinner = glui->add_spinner_to_panel(rollout, "X", GLUI_SPINNER_FLOAT, &g_fLive, 10, Record);
    spinner->set_float_val(-12345.5f);
    EXPECT_EQ(spinner->get_float_val(), -12345.5f);
    // A failed computation may leave NaN in the live variable before calling
    // set_float_val with it: the spinner keeps its value and repairs the
    // live variable.
    g_fLive = std::numeric_limits<float>::quiet_NaN();
    spinner->set_float_val(g_fLive);
    EXPECT_EQ(spinner->get_float_val(), -12345.5f);
    EXPECT_EQ(g_fLive, -12345.5f);
    spinner->set_float_val(std::numeric_limits<float>::infinity());
    EXPECT_EQ(spinner->get_float_val(), -12345.5f);
}

TEST_F(GluiLayer, UserChangeWritesLiveThenCallsBackWithTheGraphicsWindowCurrent)
{
    glui->set_main_gfx_window(kGfxWindow);
    GLUI_Spinner* spinner = Spinner(0.0f, 360.0f);
    fake.redisplays.clear();
    ASSERT_TRUE(GLUI_Internal::UserSetFloat(spinner, 2.5f));
    EXPECT_EQ(g_fLive, 2.5f);
    EXPECT_TRUE(fake.Redisplayed(kGfxWindow));
    EXPECT_TRUE(g_calls.empty()) << "callbacks wait for the end of the frame";

    EndFrame();
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].id, 3);
    EXPECT_EQ(g_calls[0].live, 2.5f) << "live variable written before the callback";
    EXPECT_EQ(g_calls[0].window, kGfxWindow);
    EXPECT_EQ(fake.current, panelWindow) << "previous window restored";

    EndFrame();
    EXPECT_EQ(g_calls.size(), 1u) << "a callback runs once";
}

TEST_F(GluiLayer, UserChangeIsClampedAndNonFiniteIsRefused)
{
    GLUI_Spinner* spinner = Spinner(0.0f, 360.0f);
    ASSERT_TRUE(GLUI_Internal::UserSetFloat(spinner, 361.0f));
    EXPECT_EQ(g_fLive, 360.0f);
    EXPECT_FALSE(GLUI_Internal::UserSetFloat(spinner, std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(GLUI_Internal::UserSetFloat(spinner, std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ(spinner->get_float_val(), 360.0f);
    EndFrame();
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].live, 360.0f);
}

TEST_F(GluiLayer, WithoutMainWindowCallbacksRunInThePanelWindow)
{
    GLUI_Spinner* spinner = Spinner(0.0f, 10.0f);
    GLUI_Internal::UserSetFloat(spinner, 1.0f);
    EndFrame();
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].window, panelWindow);
    EXPECT_FALSE(fake.Redisplayed(kGfxWindow));
}

TEST_F(GluiLayer, IntSpinnerRoundsIntoItsLiveInteger)
{
    GLUI_Spinner* spinner = glui->add_spinner_to_panel(rollout, "N", GLUI_SPINNER_INT, &g_iLive, 4, Record);
    spinner->set_float_limits(0.0f, 10.0f);
    GLUI_Internal::UserSetFloat(spinner, 6.6f);
    EXPECT_EQ(g_iLive, 7);
    EXPECT_EQ(spinner->get_float_val(), 7.0f);
    EndFrame();
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].liveInt, 7);
}

// ---------------------------------------------------------------------------
// Checkboxes, buttons, enabled state
// ---------------------------------------------------------------------------

TEST_F(GluiLayer, CheckboxClickTogglesWritesLiveAndCallsBack)
{
    glui->set_main_gfx_window(kGfxWindow);
    GLUI_Checkbox* box = glui->add_checkbox_to_panel(rollout, "RT", &g_iLive, 1, Record);
    EXPECT_EQ(box->get_int_val(), 0);
    ASSERT_TRUE(GLUI_Internal::UserToggle(box));
    EXPECT_EQ(g_iLive, 1);
    ASSERT_TRUE(GLUI_Internal::UserToggle(box));
    EXPECT_EQ(g_iLive, 0);
    EndFrame();
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[0].id, 1);
    EXPECT_EQ(g_calls[1].liveInt, 0) << "callbacks run after the frame, with the live value of then";
    EXPECT_EQ(g_calls[0].window, kGfxWindow);
}

TEST_F(GluiLayer, CheckboxWithoutLiveVariableStillCallsBack)
{
    GLUI_Checkbox* box = glui->add_checkbox_to_panel(rollout, "DC", nullptr, 5, Record);
    box->set_int_val(1);
    EXPECT_EQ(box->get_int_val(), 1);
    GLUI_Internal::UserToggle(box);
    EXPECT_EQ(box->get_int_val(), 0);
    EndFrame();
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].id, 5);
}

TEST_F(GluiLayer, SetIntValWritesZeroOrOneAndCallsNoCallback)
{
    GLUI_Checkbox* box = glui->add_checkbox_to_panel(rollout, "IM", &g_iLive, 2, Record);
    for (int value : {1, 0, 7, -1}) {
        box->set_int_val(value);
        EXPECT_EQ(box->get_int_val(), value != 0 ? 1 : 0);
        EXPECT_EQ(g_iLive, value != 0 ? 1 : 0);
    }
    EndFrame();
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(GluiLayer, DisabledControlsIgnoreInputUntilEnabled)
{
    GLUI_Spinner* spinner = Spinner(0.0f, 360.0f);
    GLUI_Checkbox* box = glui->add_checkbox_to_panel(rollout, "RT", &g_iLive, 1, Record);
    GLUI_Button* button = glui->add_button_to_panel(rollout, "GO", 1, Record);
    spinner->disable();
    box->disable();
    button->disable();
    EXPECT_FALSE(GLUI_Internal::UserSetFloat(spinner, 5.0f));
    EXPECT_FALSE(GLUI_Internal::UserToggle(box));
    EXPECT_FALSE(GLUI_Internal::UserPress(button));
    EXPECT_EQ(g_fLive, 0.0f);
    EXPECT_EQ(g_iLive, 0);
    EndFrame();
    EXPECT_TRUE(g_calls.empty());

    // Code still sets a disabled control.
    spinner->set_float_val(9.0f);
    EXPECT_EQ(g_fLive, 9.0f);

    spinner->enable();
    box->enable();
    button->enable();
    EXPECT_TRUE(GLUI_Internal::UserSetFloat(spinner, 5.0f));
    EXPECT_TRUE(GLUI_Internal::UserToggle(box));
    EXPECT_TRUE(GLUI_Internal::UserPress(button));
    EndFrame();
    EXPECT_EQ(g_calls.size(), 3u);
}

TEST_F(GluiLayer, CallbackMayDisableAndSetOtherControlsWithoutRecursing)
{
    static GLUI_Button* s_go;
    static GLUI_Spinner* s_other;
    static int s_calls;
    s_calls = 0;
    s_go = glui->add_button_to_panel(rollout, "GO", 1, nullptr);
    s_other = Spinner(0.0f, 360.0f);
    GLUI_Checkbox* box = glui->add_checkbox_to_panel(rollout, "RT", nullptr, 1, [](int) {
        ++s_calls;
        s_go->disable();
        s_other->set_float_val(42.0f);
    });
    GLUI_Internal::UserToggle(box);
    fake.redisplays.clear();
    EndFrame();
    EXPECT_EQ(s_calls, 1);
    EXPECT_FALSE(GLUI_Internal::IsEnabled(s_go));
    EXPECT_EQ(g_fLive, 42.0f);
    EXPECT_TRUE(g_calls.empty()) << "set_float_val from a callback runs no callback";
    EXPECT_TRUE(fake.Redisplayed(panelWindow)) << "the panel shows the changes";
}

TEST_F(GluiLayer, ButtonWithoutCallbackIsHarmless)
{
    GLUI_Button* button = glui->add_button_to_panel(rollout, "MGDC", 2, nullptr);
    EXPECT_TRUE(GLUI_Internal::UserPress(button));
    glui->set_main_gfx_window(kGfxWindow);
    EndFrame();
    EXPECT_EQ(fake.current, panelWindow);
}

// ---------------------------------------------------------------------------
// Window, rollouts, columns, labels, idle function
// ---------------------------------------------------------------------------

TEST_F(GluiLayer, RolloutsStartAsAskedAndToggle)
{
    GLUI_Rollout* closed = glui->add_rollout("MGI", false);
    EXPECT_TRUE(GLUI_Internal::IsOpen(rollout));
    EXPECT_FALSE(GLUI_Internal::IsOpen(closed));
    GLUI_Internal::UserToggleRollout(rollout);
    EXPECT_FALSE(GLUI_Internal::IsOpen(rollout));
    GLUI_Internal::UserToggleRollout(rollout);
    EXPECT_TRUE(GLUI_Internal::IsOpen(rollout));
}

// Every text is taken and shown as given, in UTF-8; only the window's title
// is converted, for X11, which reads it in Latin-1: a character Latin-1
// lacks becomes '?'.
TEST_F(GluiLayer, TextsStayUtf8AndOnlyTheTitleGoesToTheWindowSystemInLatin1)
{
    GLUI_Spinner* spinner = glui->add_spinner_to_panel(rollout, "Épaule", GLUI_SPINNER_FLOAT, &g_fLive, 0, Record);
    spinner->set_tooltip("Coude à 90°");
    EXPECT_STREQ(spinner->get_name(), "Épaule");
    const std::string dump = GLUI_Internal::LayoutText(glui, 10, 10);
    EXPECT_NE(dump.find(" Épaule\ntooltip 2 Coude à 90°\n"), std::string::npos) << dump;

    GLUI* accented = GLUI_Master.create_glui("Réglages – 5 €");
    ASSERT_NE(accented, nullptr);
    EXPECT_EQ(fake.titles.back(), "R\xE9glages ? 5 ?");
    EXPECT_EQ(GLUI_Internal::LayoutText(accented, 10, 10).rfind("window 0 11 0 0 10 10 1 0 Réglages – 5 €\n", 0), 0u);
}

// A callback may be any callable: a lambda carries the object it acts on.
TEST_F(GluiLayer, ACallbackCarriesWhatItActsOn)
{
    std::vector<int> pressed;
    GLUI_Button* button = glui->add_button_to_panel(rollout, "GO", 4, [&pressed](int id) { pressed.push_back(id); });
    ASSERT_TRUE(GLUI_Internal::UserPress(button));
    EndFrame();
    EXPECT_EQ(pressed, std::vector<int>{4});
}

TEST_F(GluiLayer, LayoutDumpListsVisibleControlsWithTheirState)
{
    GLUI_Spinner* spinner = Spinner(0.0f, 360.0f);
    spinner->set_float_val(2.5f);
    GLUI_Button* button = glui->add_button_to_panel(rollout, "GO", 1, Record);
    button->disable();
    glui->add_column(true);
    glui->add_rollout("Control", true);

    const std::string text = GLUI_Internal::LayoutText(glui, 300, 200);
    EXPECT_EQ(text.rfind("window 0 " + std::to_string(panelWindow) + " 0 0 300 200 1 0 Panneau\n", 0), 0u) << text;
    EXPECT_NE(text.find("\nspinner 2 3 0 0 0 0 1 2.5 A12\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nspinner-up 2 3 "), std::string::npos) << text;
    EXPECT_NE(text.find("\nbutton 3 1 0 0 0 0 0 0 GO\n"), std::string::npos) << text;
    // Two rollouts called "Control", told apart by their index.
    EXPECT_NE(text.find("\nrollout 1 -1 0 0 0 0 1 1 Control\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nrollout 4 -1 0 0 0 0 1 1 Control\n"), std::string::npos) << text;

    GLUI_Internal::UserToggleRollout(rollout);
    const std::string closed = GLUI_Internal::LayoutText(glui, 300, 200);
    EXPECT_NE(closed.find("\nrollout 1 -1 0 0 0 0 1 0 Control\n"), std::string::npos) << closed;
    EXPECT_EQ(closed.find("spinner"), std::string::npos) << "hidden controls are not listed";
}

// What the user leaves in a spinner's field: a number, with a comma or a
// point, is the new value; the shown value untouched is no change; anything
// else stays in the field with its reason, and the value with it.
TEST_F(GluiLayer, TypedTextIsCommittedOrRefusedVisibly)
{
    GLUI_Spinner* spinner = Spinner(-360.0f, 360.0f);
    spinner->set_float_val(45.0f);
    struct Case {
        const char* text;
        bool sets;
        float value;
        bool refused;
    };
    const Case cases[] = {
        {"12,5", true, 12.5f, false},   {"12,500", false, 12.5f, false},  // the value's own text: no callback
        {"12abc", false, 12.5f, true},  {"1,2,3", false, 12.5f, true},
        {"-7.25", true, -7.25f, false},  // a number after a refusal clears it
        {"999", true, 360.0f, false},    // clamped like an arrow step
    };
    for (const Case& c : cases) {
        g_calls.clear();
        EXPECT_EQ(GLUI_Internal::UserCommitText(spinner, c.text), c.sets) << c.text;
        EndFrame();
        EXPECT_EQ(g_calls.size(), c.sets ? 1u : 0u) << c.text;
        EXPECT_EQ(spinner->get_float_val(), c.value) << c.text;
        const std::string text = GLUI_Internal::LayoutText(glui, 300, 200);
        const std::size_t refused = text.find("\nrefused 2 ");
        EXPECT_EQ(refused != std::string::npos, c.refused) << c.text << "\n" << text;
        if (c.refused) {
            EXPECT_NE(text.find(std::string("« ") + c.text + " » n'est pas un nombre", refused), std::string::npos);
        }
    }
    // A value set from elsewhere replaces refused text.
    GLUI_Internal::UserCommitText(spinner, "zéro");
    spinner->set_float_val(30.0f);
    EXPECT_EQ(GLUI_Internal::LayoutText(glui, 300, 200).find("\nrefused "), std::string::npos);
}

// A canvas is one control whatever it draws: it takes its place in the
// layout, and its function is the caller's.
TEST_F(GluiLayer, ACanvasIsAControlOfTheLayout)
{
    int drawn = 0;
    GLUI_Canvas* canvas = glui->add_canvas_to_panel(rollout, 120, 80, [&](GLUI_Painter&, int w, int h) {
        EXPECT_EQ(w, 120);
        EXPECT_EQ(h, 80);
        ++drawn;
    });
    canvas->set_tooltip("Courbes");
    const std::string dump = GLUI_Internal::LayoutText(glui, 300, 200);
    EXPECT_NE(dump.find("\ncanvas 2 -1 0 0 0 0 1 0 \ntooltip 2 Courbes\n"), std::string::npos) << dump;
    EXPECT_EQ(drawn, 0) << "drawn only in the panel's frames";
}

// A canvas with a callback is clicked like a button, and keeps where: the
// caller's function knows what it drew there. Without a callback, or
// outside it, a click is nothing.
TEST_F(GluiLayer, ACanvasClickCallsBackWithItsPlace)
{
    GLUI_Canvas* list = glui->add_canvas_to_panel(rollout, 120, 80, nullptr, 7, Record);
    GLUI_Canvas* plot = glui->add_canvas_to_panel(rollout, 120, 80, nullptr);
    EXPECT_FALSE(GLUI_Internal::UserClick(plot, 10, 10));
    EXPECT_FALSE(GLUI_Internal::UserClick(list, 120, 10));
    EXPECT_FALSE(GLUI_Internal::UserClick(list, 10, -1));
    ASSERT_TRUE(GLUI_Internal::UserClick(list, 30, 45));
    EXPECT_TRUE(g_calls.empty()) << "callbacks wait for the end of the frame";
    EndFrame();
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].id, 7);
    EXPECT_EQ(list->get_click_x(), 30);
    EXPECT_EQ(list->get_click_y(), 45);
    list->disable();
    EXPECT_FALSE(GLUI_Internal::UserClick(list, 30, 45));
}

// A canvas held down: the press and the release each call back after their
// frame, the press's place kept; the release always comes once after a
// press, wherever the pointer is and even when the canvas was disabled
// since, so that what the press started ends. A press outside, on a
// disabled canvas, or on one without a hold callback, is nothing.
TEST_F(GluiLayer, ACanvasHeldCallsBackOnPressAndOnRelease)
{
    glui->set_main_gfx_window(kGfxWindow);
    GLUI_Canvas* pad = glui->add_canvas_to_panel(rollout, 120, 80, nullptr, 7, Record);
    std::vector<std::string> holds;
    pad->set_hold_callback([&](bool down) {
        holds.push_back(std::string(down ? "down " : "up ") + std::to_string(pad->get_click_x()) + " " +
                        std::to_string(fake.GetWindow()));
    });
    GLUI_Canvas* list = glui->add_canvas_to_panel(rollout, 120, 80, nullptr, 8, Record);

    EXPECT_FALSE(GLUI_Internal::UserHold(list, 10, 10, true)) << "no hold callback";
    EXPECT_FALSE(GLUI_Internal::UserHold(pad, 10, 10, false)) << "a release without a press";
    EXPECT_FALSE(GLUI_Internal::UserHold(pad, 130, 10, true)) << "outside";
    ASSERT_TRUE(GLUI_Internal::UserHold(pad, 30, 45, true));
    EXPECT_TRUE(holds.empty()) << "callbacks wait for the end of the frame";
    EndFrame();
    EXPECT_EQ(holds, std::vector<std::string>{"down 30 1"}) << "with the graphics window current";
    EXPECT_FALSE(GLUI_Internal::UserHold(pad, 40, 45, true)) << "already held";

    // Released over the canvas: the click, then the release.
    ASSERT_TRUE(GLUI_Internal::UserClick(pad, 35, 45));
    ASSERT_TRUE(GLUI_Internal::UserHold(pad, 35, 45, false));
    EndFrame();
    EXPECT_EQ(holds, (std::vector<std::string>{"down 30 1", "up 35 1"}));
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].id, 7);

    ASSERT_TRUE(GLUI_Internal::UserHold(pad, 20, 10, true));
    pad->disable();
    ASSERT_TRUE(GLUI_Internal::UserHold(pad, -50, 300, false)) << "disabled and away: released all the same";
    EndFrame();
    EXPECT_EQ(holds.back(), "up 20 1");
    EXPECT_EQ(holds.size(), 4u);
    EXPECT_FALSE(GLUI_Internal::UserHold(pad, 20, 10, true)) << "disabled";
}

// A list's canvas grows and shrinks with its rows: a click lands within the
// height it was last given.
TEST_F(GluiLayer, ACanvasTakesTheHeightItIsGiven)
{
    GLUI_Canvas* list = glui->add_canvas_to_panel(rollout, 120, 40, nullptr, 7, Record);
    EXPECT_FALSE(GLUI_Internal::UserClick(list, 10, 60));
    list->set_h(80);
    EXPECT_TRUE(GLUI_Internal::UserClick(list, 10, 60));
    EndFrame();
    list->set_h(20);
    EXPECT_FALSE(GLUI_Internal::UserClick(list, 10, 30));
    EXPECT_TRUE(GLUI_Internal::UserClick(list, 10, 19));
}

TEST_F(GluiLayer, StaticTextAndTooltipsInTheLayoutDump)
{
    GLUI_StaticText* text = glui->add_statictext_to_panel(rollout, "Prêt");
    EXPECT_STREQ(text->get_name(), "Prêt");
    text->set_text("ligne 1\nligne é");
    text->set_tooltip("Aide à lire");
    rollout->set_tooltip("Le volet");
    const std::string dump = GLUI_Internal::LayoutText(glui, 300, 200);
    EXPECT_NE(dump.find("\nstatictext 2 -1 0 0 0 0 1 0 ligne 1 | ligne é\ntooltip 2 Aide à lire\n"), std::string::npos)
        << dump;
    EXPECT_NE(dump.find("Control\ntooltip 1 Le volet\nstatictext"), std::string::npos)
        << "a rollout's tooltip comes before its children\n"
        << dump;
}

TEST_F(GluiLayer, IdleFunctionGoesToGlutAndNoneRemovesIt)
{
    auto step = [] {};
    GLUI_Master.set_glutIdleFunc(step);
    EXPECT_EQ(fake.idle, static_cast<void (*)()>(step));
    GLUI_Master.set_glutIdleFunc(nullptr);
    EXPECT_EQ(fake.idle, nullptr);
    EXPECT_EQ(fake.idleCalls, 2);
}

TEST_F(GluiLayer, FailedWindowGivesNoGlui)
{
    struct NoWindow : FakeWindows {
        int CreateWindow(GLUI*, const char*, int, int) override { return 0; }
    } none;
    GLUI_SetWindowSystem(&none);
    EXPECT_EQ(GLUI_Master.create_glui("Kalimbrax Controls"), nullptr);
    GLUI_SetWindowSystem(&fake);
}

// ---------------------------------------------------------------------------
// Input queue
// ---------------------------------------------------------------------------

GLUI_InputEvent Button(bool down)
{
    GLUI_InputEvent e;
    e.type = GLUI_InputEvent::MOUSE_BUTTON;
    e.code = 0;
    e.down = down;
    return e;
}

GLUI_InputEvent Key(int code, bool down)
{
    GLUI_InputEvent e;
    e.type = GLUI_InputEvent::KEY;
    e.code = code;
    e.down = down;
    return e;
}

GLUI_InputEvent Move(int x)
{
    GLUI_InputEvent e;
    e.type = GLUI_InputEvent::MOUSE_MOVE;
    e.x = x;
    return e;
}

std::string Name(const GLUI_InputEvent& e)
{
    switch (e.type) {
    case GLUI_InputEvent::MOUSE_BUTTON:
        return e.down ? "press" : "release";
    case GLUI_InputEvent::KEY:
        return std::string(e.down ? "+" : "-") + std::to_string(e.code);
    case GLUI_InputEvent::MOUSE_MOVE:
        return "move" + std::to_string(e.x);
    default:
        return "?";
    }
}

// Feeds the events of each batch (events that arrive between two frames) and
// returns, per frame, what the frame saw.
std::vector<std::string> Frames(const std::vector<std::vector<GLUI_InputEvent>>& batches)
{
    GLUI_InputQueue queue;
    std::vector<std::string> frames(1);
    auto apply = [&](const GLUI_InputEvent& e) { frames.back() += (frames.back().empty() ? "" : " ") + Name(e); };
    for (const auto& batch : batches) {
        for (const GLUI_InputEvent& e : batch)
            queue.Push(e, apply);
        // A frame is drawn; what it lets through goes to the next one, and
        // frames keep coming while events wait, as the panel asks for them.
        do
            frames.emplace_back();
        while (queue.EndFrame(apply));
    }
    if (frames.back().empty())
        frames.pop_back();
    return frames;
}

TEST(GluiInputQueue, EveryPressIsSeenByAFrameBeforeItsRelease)
{
    struct Case {
        const char* what;
        std::vector<std::vector<GLUI_InputEvent>> batches;
        std::vector<std::string> frames;
    };
    const Case cases[] = {
        {"click in one batch", {{Button(true), Button(false)}}, {"press", "release"}},
        {"slow click", {{Button(true)}, {Button(false)}}, {"press", "release"}},
        {"double click in one batch",
         {{Button(true), Button(false), Button(true), Button(false)}},
         {"press", "release press", "release"}},
        {"motion behind a held release keeps its place",
         {{Move(5), Button(true), Button(false), Move(9)}},
         {"move5 press", "release move9"}},
        {"typed keys, one press per frame",
         {{Key('2', true), Key('2', false), Key('.', true), Key('.', false)}},
         {"+50", "-50 +46", "-46"}},
        {"ctrl+a released as plain a is the same key",
         {{Key(1, true), Key('a', false), Key('x', true)}},
         {"+1", "-97 +120"}},
        {"release of a key pressed in an earlier frame goes at once",
         {{Key('z', true)}, {Key('z', false), Move(3)}},
         {"+122", "-122 move3"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Frames(c.batches), c.frames) << c.what;
}

}  // namespace
