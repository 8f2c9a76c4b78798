// The collision checks of the shipped arm (FCL on its link meshes):
//   BM_CollisionWorld    the default arm's world built from its meshes (the
//                        hierarchies and the stand-ins): a cost at start
//   BM_LinkFrames        the seven link frames of a pose, one walk down the
//                        chain (LinkMeshTransform link by link costs seven)
//   BM_Collision/self    one full check of a pose that touches nothing (the
//                        start angles), link frames included: 15 pairs of
//                        links and 6 links against the ground
//   BM_Collision/cell10  the same among ten objects around the arm, two of
//                        them meshes of 5,000 triangles
//   BM_Collision/free    the check alone, cycling over 1,024 joint sets
//                        drawn within the limits that touch nothing
//   BM_Clearance         the nearest checked pair at the start angles, on
//                        the links' stand-ins, cell10's objects about
//   BM_ExactClearance    the same on the meshes (/cell10, /cell10000)
//   BM_PlanLinear/unchecked  a 1,000-unit line of the shipped arm planned
//                        without its cell
//   BM_PlanLinear/cell0  the same line planned as the commands plan it,
//                        every step between its samples checked against
//                        the arm itself and the ground
//   BM_PlanLinear/cell10 the same among cell10's objects, none in its way
//   BM_Collision/cell10000, BM_PlanLinear/cell10000  the same among ten
//                        thousand boxes on a grid around the arm
#include "arm/LinkMeshFiles.h"
#include "collision/CollisionWorld.h"
#include "dataset/DataSet.h"
#include "motion/MovePlanner.h"
#include "arm/ArmKinematics.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

const std::string kShipped = KX_SOURCE_DIR "/default";

ArmDescription ShippedArm()
{
    return LoadDataSet(kShipped).arm.value_or(ArmDescription{});
}

// A ball of 2 x 50 x 50 = 5,000 triangles, scene units.
MeshData Ball(double radius)
{
    constexpr int n = 50;
    MeshData mesh;
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j < n; ++j) {
            const double polar = M_PI * i / n, around = 2 * M_PI * j / n;
            for (double k : {std::sin(polar) * std::cos(around), std::sin(polar) * std::sin(around), std::cos(polar)})
                mesh.vertices.push_back(static_cast<float>(radius * k));
        }
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const auto at = [](int row, int column) { return static_cast<std::uint32_t>(row * n + column % n); };
            mesh.indices.insert(mesh.indices.end(), {at(i, j), at(i + 1, j), at(i + 1, j + 1)});
            mesh.indices.insert(mesh.indices.end(), {at(i, j), at(i + 1, j + 1), at(i, j + 1)});
        }
    mesh.normals = mesh.vertices;
    return mesh;
}

ObjectDefinition Object(ObjectKind kind, const char* name, std::vector<double> numbers,
                        std::shared_ptr<const MeshData> mesh = nullptr)
{
    ObjectDefinition object;
    object.kind = kind;
    object.name = name;
    object.numbers = std::move(numbers);
    object.mesh = std::move(mesh);
    return object;
}

// A cell around the arm at its start angles (wrist centre at 743, -346,
// 539; fingertips at z = 374): a table 14 units under the fingers, a part
// 10 units beside them, a fixture, posts, a fence, a wall, a ball, a tray
// and a pipe, none touching the arm.
void FillCell(CCollisionWorld& world)
{
    const auto part = std::make_shared<const MeshData>(Ball(0.6));
    const auto fixture = std::make_shared<const MeshData>(Ball(1.2));
    const ObjectDefinition objects[] = {
        Object(ObjectKind::Box, "table", {800, -300, 340, 600, 800, 40}),
        Object(ObjectKind::Mesh, "part", {780, -270, 410}, part),
        Object(ObjectKind::Mesh, "fixture", {-700, 300, 200}, fixture),
        Object(ObjectKind::Cylinder, "post1", {1100, 200, 500, 40, 1000}),
        Object(ObjectKind::Cylinder, "post2", {1100, -800, 500, 40, 1000}),
        Object(ObjectKind::Box, "fence", {0, 1300, 400, 2600, 20, 800}),
        Object(ObjectKind::Box, "wall", {-1300, 0, 600, 20, 2600, 1200}),
        Object(ObjectKind::Sphere, "ball", {300, 700, 150, 150}),
        Object(ObjectKind::Box, "tray", {600, -700, 250, 300, 200, 60, 0, 0, 30}),
        Object(ObjectKind::Cylinder, "pipe", {0, -900, 900, 30, 2000, 90, 90, 90}),
    };
    for (const ObjectDefinition& object : objects)
        world.DefineObject(object, nullptr);
}

// Ten thousand boxes of 20 units, 100 apart on a grid: on the floor within
// the arm's reach (but under its base), raised beyond it.
void FillGrid(CCollisionWorld& world)
{
    int made = 0;
    for (int i = -50; i < 50; ++i)
        for (int j = -50; j < 50; ++j) {
            const double x = 100.0 * i + 50, y = 100.0 * j + 50, from = std::hypot(x, y);
            const std::string name = "b" + std::to_string(made++);
            const double z = from < 300 ? -100.0 : from > 1400 ? 600.0 : 10.0;
            world.DefineObject(Object(ObjectKind::Box, name.c_str(), {x, y, z, 20, 20, 20}), nullptr);
        }
}

struct Cell {
    ArmDescription arm = ShippedArm();
    LinkMeshes meshes;
    std::unique_ptr<CCollisionWorld> world;

    // objects: 0, 10 (FillCell) or 10,000 (FillGrid).
    explicit Cell(int objects)
    {
        ReadLinkMeshes(arm, kShipped, &meshes, nullptr);
        world = std::make_unique<CCollisionWorld>(arm, meshes.data());
        if (objects == 10)
            FillCell(*world);
        else if (objects > 10)
            FillGrid(*world);
    }
};

void BM_CollisionWorld(benchmark::State& state)
{
    const Cell cell(0);
    for (auto _ : state) {
        CCollisionWorld world(cell.arm, cell.meshes.data());
        benchmark::DoNotOptimize(world);
    }
}
BENCHMARK(BM_CollisionWorld)->Unit(benchmark::kMillisecond);

void BM_LinkFrames(benchmark::State& state)
{
    const ArmDescription arm = ShippedArm();
    const ArmDescription::Turns turns = arm.LinkTurns();
    std::mt19937 random(20240611u);
    std::uniform_real_distribution<float> turn(-180.0f, 180.0f);
    std::vector<JointAngles> angles(1024);
    for (JointAngles& a : angles)
        a = JointAngles{turn(random), turn(random), turn(random), turn(random), turn(random), turn(random)};
    Matrix4 frames[kLinkCount];
    std::size_t i = 0;
    for (auto _ : state) {
        LinkFrames(turns.x, angles[i++ & 1023], arm.offset, frames);
        benchmark::DoNotOptimize(frames);
    }
}
BENCHMARK(BM_LinkFrames);

void BM_Collision(benchmark::State& state, int objects)
{
    const Cell cell(objects);
    std::size_t found = 0;
    for (auto _ : state) {
        found = cell.world->Collisions(cell.arm.start).size();
        benchmark::DoNotOptimize(found);
    }
    if (found != 0)
        state.SkipWithError("la pose de départ touche quelque chose");
    for (const char* name : {"table", "part"}) {
        Clearance gap;
        if (cell.world->ClearanceTo(cell.arm.start, name, &gap, nullptr))
            state.counters[std::string(name) + "_gap"] = gap.distance;
    }
}
BENCHMARK_CAPTURE(BM_Collision, self, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Collision, cell10, 10)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Collision, cell10000, 10000)->Unit(benchmark::kMicrosecond);

void BM_CollisionFree(benchmark::State& state)
{
    const Cell cell(0);
    std::mt19937 random(20240611u);
    std::uniform_real_distribution<float> turn(-180.0f, 180.0f);
    std::vector<JointAngles> free;
    while (free.size() < 1024) {
        const JointAngles a{turn(random), turn(random), turn(random), turn(random), turn(random), turn(random)};
        if (!cell.world->FirstCollision(a))
            free.push_back(a);
    }
    std::size_t i = 0, found = 0;
    for (auto _ : state) {
        found += cell.world->Collisions(free[i++ & 1023]).size();
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_CollisionFree)->Name("BM_Collision/free")->Unit(benchmark::kMicrosecond);

void BM_Clearance(benchmark::State& state)
{
    const Cell cell(10);
    Clearance clearance;
    for (auto _ : state) {
        clearance = cell.world->ClearanceOf(cell.arm.start);
        benchmark::DoNotOptimize(clearance);
    }
    state.counters["distance"] = clearance.distance;
}
BENCHMARK(BM_Clearance)->Unit(benchmark::kMicrosecond);

void BM_ExactClearance(benchmark::State& state, int objects)
{
    const Cell cell(objects);
    Clearance clearance;
    for (auto _ : state) {
        clearance = cell.world->ExactClearanceOf(cell.arm.start);
        benchmark::DoNotOptimize(clearance);
    }
    state.counters["distance"] = clearance.distance;
}
BENCHMARK_CAPTURE(BM_ExactClearance, cell10, 10)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ExactClearance, cell10000, 10000)->Unit(benchmark::kMicrosecond);

void BM_PlanLinearCell(benchmark::State& state, bool checked, int objects)
{
    const Cell cell(objects);
    const CCollisionWorld* world = checked ? cell.world.get() : nullptr;
    // The start angles turned to +35: the line runs 1,000 units across the
    // arm's front, the fingers 14 units over the table.
    JointAngles start = cell.arm.start;
    start.A12 = 35;
    MoveRequest line;
    line.kind = MoveKind::Linear;
    line.pose = ArmMGD(cell.arm, start);
    line.pose.Y -= 1000;
    MovePlan plan;
    for (auto _ : state) {
        plan = PlanMove(cell.arm, start, line, 100, world);
        benchmark::DoNotOptimize(plan);
    }
    if (!plan.ok)
        state.SkipWithError(DescribeFailure(plan.failure).c_str());
    else
        state.counters["samples"] = static_cast<double>(plan.trajectory->Samples().size());
}
BENCHMARK_CAPTURE(BM_PlanLinearCell, unchecked, false, 0)
    ->Name("BM_PlanLinear/unchecked")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlanLinearCell, cell0, true, 0)->Name("BM_PlanLinear/cell0")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlanLinearCell, cell10, true, 10)->Name("BM_PlanLinear/cell10")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlanLinearCell, cell10000, true, 10000)
    ->Name("BM_PlanLinear/cell10000")
    ->Unit(benchmark::kMillisecond);

}  // namespace
