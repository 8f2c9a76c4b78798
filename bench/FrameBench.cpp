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
//   BM_Frame/configurations-moving/...  the arm set at one of two such poses
//                                 before each frame, as in a motion: the
//                                 ghosts laid out again every frame
//   BM_Frame/configurations-moving-collisions/... the same with collisions
//                                 shown: each configuration checked too
// and, every pass on, the arm at its start in a cell with a table that its
// forearm, wrist and hand reach into and a part on it (the README's):
//   BM_Frame/cell/...             the objects drawn, collisions not shown
//   BM_Frame/collisions/...       collisions shown: the arm checked once a
//                                 frame, what touches drawn red
// (every other line with collisions not shown).
// The arguments are the window's width and height. Needs an X display at
// least 1920x1080: tools/bench.sh starts a virtual one when there is none.
#include "app/SceneWindow.h"
#include "collision/CollisionWorld.h"

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
enum class Extra { None, Trail, Configurations, Cell };

// A pose with eight configurations, none of them near another, and another
// near it.
const JointAngles kEightConfigurations{20, 30, -40, 25, 50, -10};
const JointAngles kEightConfigurationsNear{22, 30, -40, 25, 50, -10};

ObjectDefinition Object(ObjectKind kind, const char* name, std::vector<double> numbers)
{
    ObjectDefinition object;
    object.kind = kind;
    object.name = name;
    object.numbers = std::move(numbers);
    return object;
}

// The README's table and part in the cell, or no object.
bool Furnish(CSimulation& simulation, bool furnished)
{
    CCollisionWorld* cell = simulation.Cell();
    if (!cell)
        return false;
    cell->RemoveAllObjects();
    bool defined = true;
    if (furnished)
        for (const ObjectDefinition& object : {Object(ObjectKind::Box, "table", {780, -300, 260, 420, 360, 520}),
                                               Object(ObjectKind::Cylinder, "part", {900, -180, 580, 45, 120})})
            defined = defined && cell->DefineObject(object, nullptr);
    simulation.CellChanged();
    return defined;
}

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

void BM_Frame(benchmark::State& state, Passes passes, Extra extra, bool collisions, bool moving)
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
    simulation.SetDisplay(DisplayFlag::Collisions, collisions);
    if (!Furnish(simulation, extra == Extra::Cell)) {
        state.SkipWithError("pas de cellule, ou ses objets refusés");
        return;
    }
    simulation.SetAngles(extra == Extra::Configurations ? kEightConfigurations : simulation.Arm().start);
    // A few frames before those measured: the renderer compiles its code
    // for each new combination of state at its first use, tens of
    // milliseconds that would land on the first line to show a display.
    for (int i = 0; i < 3; ++i) {
        scene->Display();
        glFinish();
    }
    const double cpuBefore = ProcessCpuSeconds();
    bool near = false;
    for (auto _ : state) {
        if (moving) {
            near = !near;
            simulation.SetAngles(near ? kEightConfigurationsNear : kEightConfigurations);
        }
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
        bool collisions = false;
        bool moving = false;
    } variants[] = {{"BM_Frame/arm", Passes::Arm, Extra::None},
                    {"BM_Frame/decoration", Passes::Decoration, Extra::None},
                    {"BM_Frame/shadow", Passes::Shadow, Extra::None},
                    {"BM_Frame/reflection", Passes::Reflection, Extra::None},
                    {"BM_Frame/metal", Passes::Metal, Extra::None},
                    {"BM_Frame/trail", Passes::Metal, Extra::Trail},
                    {"BM_Frame/configurations", Passes::Metal, Extra::Configurations},
                    {"BM_Frame/configurations-moving", Passes::Metal, Extra::Configurations, false, true},
                    {"BM_Frame/configurations-moving-collisions", Passes::Metal, Extra::Configurations, true, true},
                    {"BM_Frame/cell", Passes::Metal, Extra::Cell},
                    {"BM_Frame/collisions", Passes::Metal, Extra::Cell, true}};
    for (const auto& size : sizes) {
        for (const auto& v : variants) {
            benchmark::RegisterBenchmark(v.name, BM_Frame, v.passes, v.extra, v.collisions, v.moving)
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
