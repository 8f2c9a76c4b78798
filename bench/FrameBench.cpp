// BM_Frame: one frame of the default scene at 800x600 with every pass on
// (decoration, shadow, reflection, metal look), drawn and finished. Needs an
// X display: tools/bench.sh starts a virtual one when there is none.
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
        CGraphics::Reshape(g_iScreenWidth, g_iScreenHeight);
        return s;
    }();
    return scene;
}

void BM_Frame(benchmark::State& state)
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
    scene->m_bDecoration = scene->m_bReflect = scene->m_bShadows = scene->m_bMetalLook = true;
    for (auto _ : state) {
        scene->Display();
        glFinish();  // count the drawing, not only the queueing of commands
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
