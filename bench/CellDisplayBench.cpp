// What showing collisions adds to a frame, on the calling thread, with the
// shipped arm in the README's cell (a table that its forearm, wrist and
// hand reach into at the start angles, and a part on it):
//   BM_ShownContacts     the arm's check once a frame: every pair in
//                        contact, turned into the links and objects drawn red
//   BM_GhostContacts     the configuration ghosts' checks once per change of
//                        the arm's angles: the first contact of each of the
//                        eight configurations of a pose, four of which
//                        reach through the floor
#include "arm/Configurations.h"
#include "collision/CollisionWorld.h"
#include "dataset/ArmCell.h"
#include "dataset/DataSet.h"
#include "sim/CellContacts.h"
#include "sim/Simulation.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const std::string kShipped = KX_SOURCE_DIR "/default/";

ObjectDefinition Object(ObjectKind kind, const char* name, std::vector<double> numbers)
{
    ObjectDefinition object;
    object.kind = kind;
    object.name = name;
    object.numbers = std::move(numbers);
    return object;
}

// The shipped arm at its start angles in the README's cell, collisions
// shown; null when the data set or an object is refused.
std::unique_ptr<CSimulation> FurnishedCell()
{
    const std::optional<ArmDescription> arm = LoadDataSet(kShipped).arm;
    if (!arm)
        return nullptr;
    auto simulation = std::make_unique<CSimulation>(*arm);
    simulation->SetCell(BuildArmCell(*arm, kShipped));
    for (const ObjectDefinition& object : {Object(ObjectKind::Box, "table", {780, -300, 260, 420, 360, 520}),
                                           Object(ObjectKind::Cylinder, "part", {900, -180, 580, 45, 120})})
        if (!simulation->Cell()->DefineObject(object, nullptr))
            return nullptr;
    simulation->SetDisplay(DisplayFlag::Collisions, true);
    return simulation;
}

void BM_ShownContacts(benchmark::State& state)
{
    const std::unique_ptr<CSimulation> simulation = FurnishedCell();
    if (!simulation) {
        state.SkipWithError("jeu de données ou objets refusés");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(ShownContacts(*simulation));
    state.counters["links"] = static_cast<double>(ShownContacts(*simulation).links);
}
BENCHMARK(BM_ShownContacts)->Unit(benchmark::kMicrosecond);

void BM_GhostContacts(benchmark::State& state)
{
    const std::unique_ptr<CSimulation> simulation = FurnishedCell();
    if (!simulation) {
        state.SkipWithError("jeu de données ou objets refusés");
        return;
    }
    const JointAngles eightConfigurations{20, 30, -40, 25, 50, -10};
    const std::vector<ArmConfiguration> configurations = ConfigurationsOf(simulation->Arm(), eightConfigurations);
    int touching = 0;
    for (auto _ : state) {
        touching = 0;
        for (const ArmConfiguration& c : configurations)
            touching += simulation->Cell()->FirstCollision(c.angles);
    }
    state.counters["configurations"] = static_cast<double>(configurations.size());
    state.counters["touching"] = touching;
}
BENCHMARK(BM_GhostContacts)->Unit(benchmark::kMicrosecond);

}  // namespace
