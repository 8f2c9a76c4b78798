// What a held jog costs the frame that steps it, on the calling thread: the
// shipped arm from its start angles, the tool along the base's y at the
// shipped jog speed (25 % of 200 pose units a second), one second of it
// sampled 60 times as the display steps it (50 steps of 1 pose unit, each
// solved with the exact model and checked):
//   BM_HeldJog/0   without a cell: the kinematics and the thresholds
//   BM_HeldJog/1   in the shipped cell (the ground): and every step checked
//                  against it, as the program does
#include "collision/CollisionWorld.h"
#include "dataset/ArmCell.h"
#include "dataset/DataSet.h"
#include "motion/JogMotion.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>

namespace {

const std::string kShipped = KX_SOURCE_DIR "/default/";

void BM_HeldJog(benchmark::State& state)
{
    const std::optional<ArmDescription> arm = LoadDataSet(kShipped).arm;
    if (!arm) {
        state.SkipWithError("jeu de données refusé");
        return;
    }
    const std::unique_ptr<CCollisionWorld> cell = state.range(0) ? BuildArmCell(*arm, kShipped) : nullptr;
    JogAxis axis;
    axis.axis = 1;
    JointAngles angles = arm->start;
    for (auto _ : state) {
        PlanFailure failure;
        std::unique_ptr<CJogMotion> jog =
            CJogMotion::Begin(*arm, arm->start, axis, arm->jogSpeed, cell.get(), &failure);
        if (!jog) {
            state.SkipWithError(DescribeFailure(failure).c_str());
            return;
        }
        angles = arm->start;
        for (int frame = 0; frame <= 60; ++frame)
            jog->Sample(frame / 60.0, angles);
        benchmark::DoNotOptimize(angles);
        if (jog->Ended()) {
            state.SkipWithError(DescribeFailure(jog->Reason()).c_str());
            return;
        }
    }
}
BENCHMARK(BM_HeldJog)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
