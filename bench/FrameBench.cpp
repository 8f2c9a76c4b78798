// BM_Frame: one frame of the default scene, drawn, swapped and finished, at
// 800x600 and at 1920x1080. Each size runs five times, the passes switched
// on one after the other, so that the cost of a pass is the difference
// between its line and the one above it:
//   BM_Frame/arm/...          the arm alone
//   BM_Frame/decoration/...   + ground, grid and sky dome
//   BM_Frame/shadow/...       + the shadow pass
//   BM_Frame/reflection/...   + the reflection
//   BM_Frame/metal/...        + the metal look: every pass on
//   BM_Frame/trail/...        + the trail of a finished motion
// and, every pass on without the trail, the arm standing at a pose of eight
// configurations:
//   BM_Frame/configurations/... the seven others shown as ghosts
// The arguments are the window's width and height. Needs an X display at
// least 1920x1080: tools/bench.sh starts a virtual one when there is none.
#include "app/SceneWindow.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <time.h>

namespace {

double ProcessCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// The passes in the order they are switched on, each keeping the ones
// before it.
enum class Passes { Arm, Decoration, Shadow, Reflection, Metal };

// What a frame shows over its passes.
enum class Extra { None, Trail, Configurations };

// A pose with eight configurations, none of them near another.
const JointAngles kEightConfigurations{20, 30, -40, 25, 50, -10};

// Once per process: a motion from the pose of eight configurations back to
// the start, played to its end on a clock stepped by hand, so that the
// trail has a finished motion to show.
bool RecordMotion(CSimulation& simulation)
{
    simulation.SetAngles(kEightConfigurations);
    simulation.SetTargets(simulation.Arm().start);
    simulation.StartChase();
    for (double t = 0.0; simulation.Moving() && t < 60.0; t += 0.01)
        simulation.Advance(t);
    return !simulation.Moving();
}

void BM_Frame(benchmark::State& state, Passes passes, Extra extra)
{
    CMainScene* scene = OpenScene(KX_SOURCE_DIR "/default");
    if (!scene) {
        state.SkipWithError("pas d'affichage X (tools/bench.sh en démarre un virtuel) ou scène illisible "
                            "(voir robot_error.log)");
        return;
    }
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    if (!ResizeSceneWindow(width, height)) {
        state.SkipWithError("la fenêtre ne prend pas la taille demandée");
        return;
    }
    CSimulation& simulation = scene->Simulation();
    simulation.SetDisplay(DisplayFlag::Decoration, passes >= Passes::Decoration);
    simulation.SetDisplay(DisplayFlag::Shadows, passes >= Passes::Shadow);
    simulation.SetDisplay(DisplayFlag::Reflect, passes >= Passes::Reflection);
    simulation.SetDisplay(DisplayFlag::MetalLook, passes >= Passes::Metal);
    static const bool recorded = RecordMotion(simulation);
    if (extra == Extra::Trail && !recorded) {
        state.SkipWithError("le mouvement de la trace ne finit pas");
        return;
    }
    simulation.SetDisplay(DisplayFlag::Trail, extra == Extra::Trail);
    simulation.SetDisplay(DisplayFlag::Configurations, extra == Extra::Configurations);
    simulation.SetAngles(extra == Extra::Configurations ? kEightConfigurations : simulation.Arm().start);
    // A few frames before those measured: the renderer compiles its code
    // for each new combination of state at its first use, tens of
    // milliseconds that would land on the first line to show a display.
    for (int i = 0; i < 3; ++i) {
        scene->Display();
        glFinish();
    }
    const double cpuBefore = ProcessCpuSeconds();
    for (auto _ : state) {
        scene->Display();
        glFinish();  // count the drawing, not only the queueing of commands
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    // The renderer draws in threads of its own: their time and the calling
    // thread's, per frame. Less sensitive than the real time to other
    // programs on the machine, it says how much work a frame is.
    state.counters["cpu_ms"] =
        benchmark::Counter(1000.0 * (ProcessCpuSeconds() - cpuBefore), benchmark::Counter::kAvgIterations);
}

// Registered size by size, the passes in order within each, so that a pass's
// cost reads off two neighbouring lines.
int RegisterFrames()
{
    const int sizes[][2] = {{800, 600}, {1920, 1080}};
    const struct {
        const char* name;
        Passes passes;
        Extra extra;
    } variants[] = {{"BM_Frame/arm", Passes::Arm, Extra::None},
                    {"BM_Frame/decoration", Passes::Decoration, Extra::None},
                    {"BM_Frame/shadow", Passes::Shadow, Extra::None},
                    {"BM_Frame/reflection", Passes::Reflection, Extra::None},
                    {"BM_Frame/metal", Passes::Metal, Extra::None},
                    {"BM_Frame/trail", Passes::Metal, Extra::Trail},
                    {"BM_Frame/configurations", Passes::Metal, Extra::Configurations}};
    for (const auto& size : sizes) {
        for (const auto& v : variants) {
            benchmark::RegisterBenchmark(v.name, BM_Frame, v.passes, v.extra)
                ->ArgNames({"width", "height"})
                ->Args({size[0], size[1]})
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
    }
    return 0;
}
const int kFramesRegistered = RegisterFrames();

}  // namespace
