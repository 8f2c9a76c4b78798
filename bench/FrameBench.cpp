// BM_Frame: one frame of the default scene, drawn, swapped and finished, at
// 800x600 and at 1920x1080. Each size runs five times, the passes switched
// on one after the other, so that the cost of a pass is the difference
// between its line and the one above it:
//   BM_Frame/arm/...          the arm alone
//   BM_Frame/decoration/...   + ground, grid and sky dome
//   BM_Frame/shadow/...       + the shadow pass
//   BM_Frame/reflection/...   + the reflection
//   BM_Frame/metal/...        + the metal look: every pass on
// The arguments are the window's width and height. Needs an X display at
// least 1920x1080: tools/bench.sh starts a virtual one when there is none.
#include "config/OptionsParser.h"
#include "graphics/Graphics.h"
#include "scene/MainScene.h"

#include <GL/freeglut.h>
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

namespace {

bool DisplayAvailable()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}

// The window and the scene live for the rest of the process, as in the
// program: GLUT has no clean way to give a window back without ending.
CMainScene* OpenScene()
{
    static CMainScene* scene = [] () -> CMainScene* {
        if (chdir(KX_SOURCE_DIR "/default") != 0)
            return nullptr;
        int argc = 1;
        char name[] = "kalimbrax-bench";
        char* argv[] = {name, nullptr};
        glutInit(&argc, argv);
        if (!CGraphics::Init())
            return nullptr;
        // freeglut refuses to show a window without a display callback; the
        // frames are drawn by the benchmark itself.
        glutDisplayFunc([] {});
        auto* s = new CMainScene;
        if (!s->Init())
            return nullptr;
        // The arm in its start pose, as the panel would set it.
        const COptions* panel = COptionsParser::GetOptions("glui.opt", false);
        if (panel) {
            JointAngles& a = s->m_Robot.m_fAngle;
            a = JointAngles{panel->GetFloat("fAngle12StartValue", 0.0f), panel->GetFloat("fAngle23StartValue", 0.0f),
                            panel->GetFloat("fAngle34StartValue", 0.0f), panel->GetFloat("fAngle45StartValue", 0.0f),
                            panel->GetFloat("fAngle56StartValue", 0.0f), panel->GetFloat("fAngle67StartValue", 0.0f)};
        }
        return s;
    }();
    return scene;
}

// Resizes the window and waits until the reshape callback has seen the new
// size, so that the frames are drawn at it.
bool ResizeWindow(int width, int height)
{
    glutReshapeWindow(width, height);
    for (int i = 0; i < 1000; ++i) {
        glutMainLoopEvent();
        if (g_iScreenWidth == width && g_iScreenHeight == height)
            return true;
        usleep(1000);
    }
    return false;
}

// The passes in the order they are switched on, each keeping the ones
// before it.
enum class Passes { Arm, Decoration, Shadow, Reflection, Metal };

void BM_Frame(benchmark::State& state, Passes passes)
{
    if (!DisplayAvailable()) {
        state.SkipWithError("pas d'affichage X (tools/bench.sh en démarre un virtuel)");
        return;
    }
    CMainScene* scene = OpenScene();
    if (!scene) {
        state.SkipWithError("la scène ne se charge pas (voir robot_error.log)");
        return;
    }
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    if (!ResizeWindow(width, height)) {
        state.SkipWithError("la fenêtre ne prend pas la taille demandée");
        return;
    }
    scene->m_bDecoration = passes >= Passes::Decoration;
    scene->m_bShadows = passes >= Passes::Shadow;
    scene->m_bReflect = passes >= Passes::Reflection;
    scene->m_bMetalLook = passes >= Passes::Metal;
    for (auto _ : state) {
        scene->Display();
        glFinish();  // count the drawing, not only the queueing of commands
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Registered size by size, the passes in order within each, so that a pass's
// cost reads off two neighbouring lines.
int RegisterFrames()
{
    const int sizes[][2] = {{800, 600}, {1920, 1080}};
    const struct {
        const char* name;
        Passes passes;
    } variants[] = {{"BM_Frame/arm", Passes::Arm},
                    {"BM_Frame/decoration", Passes::Decoration},
                    {"BM_Frame/shadow", Passes::Shadow},
                    {"BM_Frame/reflection", Passes::Reflection},
                    {"BM_Frame/metal", Passes::Metal}};
    for (const auto& size : sizes) {
        for (const auto& v : variants) {
            benchmark::RegisterBenchmark(v.name, BM_Frame, v.passes)
                ->ArgNames({"width", "height"})
                ->Args({size[0], size[1]})
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
    }
    return 0;
}
const int kFramesRegistered = RegisterFrames();

} // namespace
