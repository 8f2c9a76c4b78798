// The graphics window's callbacks without a window: which events reach the
// current scene, what Escape, F5 and F6 do (through the panel's actions on a
// simulation of their own), and the clear when there is no scene. The GL and
// GLUT calls go to the recorders of fake_gl.cpp; the checks are on what the
// user gets (the polygon mode in force, the events a scene sees, the picture
// written), not on the order of the calls.

#include "base/Log.h"
#include "gl/Scene.h"
#include "app/WindowCallbacks.h"
#include "gl/Graphics.h"
#include "app/WindowView.h"
#include "sim/Controller.h"
#include "gl/MainScene.h"
#include "tests/app/FakeGl.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string> g_Records;
void CollectRecord(const char* record)
{
    g_Records.emplace_back(record);
}

// A scene that records what it receives and accepts what it is told to.
class RecordingScene : public CScene {
public:
    explicit RecordingScene(int flags) : flags(flags) {}
    void Display() override { events.push_back("Display"); }
    int GetInputFlags() override { return flags; }
    void KeyboardMove(int key, int, int) override { events.push_back("KeyboardMove " + std::to_string(key)); }
    void KeyStroke(unsigned char key, int, int) override { events.push_back("KeyStroke " + std::to_string(key)); }
    void MouseMove(int, int) override { events.push_back("MouseMove"); }
    void MouseClic(int, int, int, int) override { events.push_back("MouseClic"); }

    int flags;
    std::vector<std::string> events;
};

class WindowCallbacks : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_FakeGl.Reset();
        SetKeyController(&actions);
    }
    void TearDown() override
    {
        SetKeyController(nullptr);
        g_pCurrentScene = nullptr;
    }
    // The keys act on these, whichever scene is current.
    CSimulation simulation{ArmDescription{}};
    CMotionRecorder recorder{simulation};
    CMainScene shown{simulation, recorder, std::nullopt};
    CWindowView view{shown};
    CController actions{simulation, view, recorder};

    std::vector<std::string> Deliver(RecordingScene& scene)
    {
        g_pCurrentScene = &scene;
        OnSpecialKey(100, 1, 2);  // Left
        OnKeyboard('a', 1, 2);
        OnMotion(3, 4);
        OnMouse(0, 0, 3, 4);
        return scene.events;
    }
};

TEST_F(WindowCallbacks, InputFlagsGateEachKindOfEvent)
{
    struct Case {
        int flags;
        std::vector<std::string> received;
    };
    const Case cases[] = {
        {0, {}},
        {INPUT_KEYBOARD, {"KeyboardMove 100", "KeyStroke 97"}},
        {INPUT_MOUSE, {"MouseMove", "MouseClic"}},
        {INPUT_KEYBOARD | INPUT_MOUSE, {"KeyboardMove 100", "KeyStroke 97", "MouseMove", "MouseClic"}},
    };
    for (const Case& c : cases) {
        RecordingScene scene(c.flags);
        EXPECT_EQ(Deliver(scene), c.received) << "flags " << c.flags;
    }
}

TEST_F(WindowCallbacks, ASceneThatChangesItsMaskIsTakenAtItsWord)
{
    // The mask is asked for each event: no key reaches a scene once it has
    // stopped accepting them, and keys reach it again once it does.
    RecordingScene scene(INPUT_KEYBOARD);
    g_pCurrentScene = &scene;
    OnKeyboard('a', 0, 0);
    scene.flags = 0;
    OnKeyboard('b', 0, 0);
    OnSpecialKey(100, 0, 0);
    scene.flags = INPUT_KEYBOARD;
    OnKeyboard('c', 0, 0);
    EXPECT_EQ(scene.events, (std::vector<std::string>{"KeyStroke 97", "KeyStroke 99"}));
}

TEST_F(WindowCallbacks, UnhandledInputKindLogsThroughTheBaseScene)
{
    // A scene that accepts keys without handling them gets the base
    // versions, which only log.
    struct Bare : CScene {
        void Display() override {}
        int GetInputFlags() override { return INPUT_KEYBOARD; }
    } scene;
    g_pCurrentScene = &scene;
    LogReset();
    std::string log = ::testing::TempDir() + "kx_callbacks_test.log";
    ASSERT_TRUE(LogOpen(LOG_ERROR, log.c_str()));
    LogSetPrintHook(LOG_ERROR, CollectRecord);
    g_Records.clear();
    OnSpecialKey(101, 0, 0);
    OnKeyboard('x', 0, 0);
    OnMouse(0, 0, 0, 0);  // not accepted: not even logged
    LogClose(LOG_ERROR);
    std::remove(log.c_str());
    ASSERT_EQ(g_Records.size(), 2u);
    EXPECT_NE(g_Records[0].find(" - CScene::KeyboardMove -- Erreur ! Cette fonction n'aurait jamais du \xEA"
                                "tre appel\xE9"
                                "e!\n"),
              std::string::npos)
        << g_Records[0];
    EXPECT_NE(g_Records[1].find(" - CScene::KeyStroke -- Erreur !"), std::string::npos) << g_Records[1];
}

TEST_F(WindowCallbacks, F5SwitchesBetweenLinesAndFillWhateverTheScene)
{
    // The mode in force is the last one set; F5 is the window's own key and
    // never reaches a scene, whatever it accepts, nor needs one.
    RecordingScene keys(INPUT_KEYBOARD | INPUT_MOUSE), none(0);
    for (CScene* scene : std::vector<CScene*>{&keys, &none, nullptr}) {
        g_pCurrentScene = scene;
        g_FakeGl.Reset();
        OnSpecialKey(5, 0, 0);
        ASSERT_FALSE(g_FakeGl.polygonModes.empty());
        EXPECT_EQ(g_FakeGl.polygonModes.back(), static_cast<GLenum>(GL_LINE));
        OnSpecialKey(5, 0, 0);
        EXPECT_EQ(g_FakeGl.polygonModes.back(), static_cast<GLenum>(GL_FILL));
        EXPECT_GE(g_FakeGl.windowRedisplays, 2) << "a frame asked for each switch";
    }
    EXPECT_TRUE(keys.events.empty());
    EXPECT_TRUE(none.events.empty());
}

// Each display switch's function key turns its flag over and back, a frame
// asked each time, whatever the scene accepts.
TEST_F(WindowCallbacks, EachDisplayKeySwitchesItsFlag)
{
    RecordingScene scene(INPUT_KEYBOARD);
    g_pCurrentScene = &scene;
    for (const DisplaySwitch& display : kDisplaySwitches) {
        if (!display.functionKey)
            continue;
        SCOPED_TRACE(display.word);
        g_FakeGl.Reset();
        OnSpecialKey(display.functionKey, 0, 0);
        EXPECT_EQ(simulation.Display()[display.flag], !display.initial);
        OnSpecialKey(display.functionKey, 0, 0);
        EXPECT_EQ(simulation.Display()[display.flag], display.initial);
        EXPECT_GE(g_FakeGl.windowRedisplays, 2) << "a frame asked for each switch";
    }
    EXPECT_TRUE(scene.events.empty());
}

TEST_F(WindowCallbacks, EscapeEndsWithStatusZeroAndNeverReachesTheScene)
{
    RecordingScene scene(INPUT_KEYBOARD | INPUT_MOUSE);
    g_pCurrentScene = &scene;
    EXPECT_EXIT(OnKeyboard(27, 0, 0), ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(scene.events.empty());
}

TEST_F(WindowCallbacks, WithoutASceneTheWindowShowsBlack)
{
    g_pCurrentScene = nullptr;
    for (bool doubleBuffer : {true, false}) {
        g_FakeGl.Reset();
        g_bDoubleBuffer = doubleBuffer;
        OnDisplay();
        EXPECT_TRUE(g_FakeGl.Called("glClear"));
        EXPECT_EQ(g_FakeGl.clearColor[0] + g_FakeGl.clearColor[1] + g_FakeGl.clearColor[2], 0.0f);
        EXPECT_TRUE(g_FakeGl.Called(doubleBuffer ? "glutSwapBuffers" : "glFlush")) << "the frame is shown";
    }
    g_bDoubleBuffer = true;
    RecordingScene scene(0);
    g_pCurrentScene = &scene;
    OnDisplay();
    EXPECT_EQ(scene.events, std::vector<std::string>{"Display"}) << "a scene draws whatever input it accepts";
}

TEST_F(WindowCallbacks, F6WritesAnUnskewedPictureOfTheWindowsSize)
{
    char dir[] = "/tmp/kx-shot-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    ASSERT_EQ(chdir(dir), 0);
    for (int width : {800, 801, 1}) {
        g_iScreenWidth = width;
        g_iScreenHeight = 3;
        g_pCurrentScene = nullptr;  // the screenshot needs no scene
        OnSpecialKey(6, 0, 0);
        std::ifstream in("screenshot.tga", std::ios::binary);
        std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_EQ(file.size(), 18u + width * 3u * 3u) << "width " << width;
        EXPECT_EQ(file[12] | file[13] << 8, width);
        EXPECT_EQ(file[14] | file[15] << 8, 3);
        // Every row starts where the pattern says: no padding crept in. The
        // file holds blue, green, red: byte i of a pixel row comes back
        // swapped within its pixel.
        for (int y = 0; y < 3; ++y)
            for (int i = 0; i < width * 3; ++i) {
                int source = i - i % 3 + (2 - i % 3);
                ASSERT_EQ(file[18 + y * width * 3 + i], (source + 3 * y) % 251) << "row " << y << " byte " << i;
            }
    }
    std::remove("screenshot.tga");
}

}  // namespace
