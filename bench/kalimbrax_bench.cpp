// Our geometric models against Orocos KDL doing the same work on the same
// arm:
//   BM_MGD           forward model, one call per iteration
//   BM_KDL_FK        ChainFkSolverPos_recursive on the equivalent chain
//   BM_MGI           inverse model over the fixed target set
//   BM_KDL_IK        ChainIkSolverPos_LMA (its defaults) over the same set
//   BM_KDL_IK_NR_JL  ChainIkSolverPos_NR_JL + ChainIkSolverVel_pinv, joint
//                    limits from the panel's spinners
// Each IK benchmark solves the whole set per iteration (items = targets)
// and reports success_rate: the share of targets it reached (wrist centre
// within 1 pose unit; for KDL also a successful return code).
#include "bench/KdlArm.h"
#include "robot/Kinematics.h"

#include <benchmark/benchmark.h>
#include <kdl/chainfksolverpos_recursive.hpp>
#include <kdl/chainiksolverpos_lma.hpp>
#include <kdl/chainiksolverpos_nr_jl.hpp>
#include <kdl/chainiksolvervel_pinv.hpp>

#include <cmath>
#include <vector>

namespace {

constexpr int kAngleSets = 1024;   // forward benchmarks cycle through these (a power of two:
                                   // the index wraps with a mask, not a division)
constexpr int kTargets = 100;      // the IK target set
constexpr unsigned kSeed = 20240611;

// Everything the benchmarks share, built once.
struct BenchSetup {
    ArmLengths arm = BenchArm();
    JointLimits limits = BenchLimits();
    KDL::Chain chain = MakeKdlArm(arm);
    std::vector<JointAngles> angles = BenchTargets(kAngleSets, kSeed + 1, limits);
    std::vector<KDL::JntArray> kdlAngles;
    std::vector<ToolPose> targets;       // our pose of each target
    std::vector<KDL::Frame> kdlTargets;  // KDL's frame of the same angles

    BenchSetup()
    {
        for (const JointAngles& a : angles)
            kdlAngles.push_back(ToKdl(a));
        KDL::ChainFkSolverPos_recursive fk(chain);
        for (const JointAngles& a : BenchTargets(kTargets, kSeed, limits)) {
            ToolPose pose;
            ComputeMGD(arm, a, &pose);
            targets.push_back(pose);
            KDL::Frame frame;
            fk.JntToCart(ToKdl(a), frame);
            kdlTargets.push_back(frame);
        }
    }
};

const BenchSetup& Setup()
{
    static const BenchSetup setup;
    return setup;
}

bool Reached(const ToolPose& target, float x, float y, float z)
{
    return std::hypot(x - target.X, y - target.Y, z - target.Z) <= 1.0;
}

// ---------------------------------------------------------------------------
// Forward
// ---------------------------------------------------------------------------

void BM_MGD(benchmark::State& state)
{
    const BenchSetup& s = Setup();
    std::size_t i = 0;
    ToolPose pose;
    for (auto _ : state) {
        ComputeMGD(s.arm, s.angles[i], &pose);
        benchmark::DoNotOptimize(pose);
        i = (i + 1) & (kAngleSets - 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MGD);

void BM_KDL_FK(benchmark::State& state)
{
    const BenchSetup& s = Setup();
    KDL::ChainFkSolverPos_recursive fk(s.chain);
    std::size_t i = 0;
    KDL::Frame frame;
    for (auto _ : state) {
        fk.JntToCart(s.kdlAngles[i], frame);
        benchmark::DoNotOptimize(frame);
        i = (i + 1) & (kAngleSets - 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_KDL_FK);

// ---------------------------------------------------------------------------
// Inverse
// ---------------------------------------------------------------------------

void BM_MGI(benchmark::State& state)
{
    const BenchSetup& s = Setup();
    std::vector<JointAngles> solutions(kTargets);
    for (auto _ : state) {
        for (int t = 0; t < kTargets; ++t)
            ComputeMGI(s.arm, s.targets[t], &solutions[t]);
        benchmark::ClobberMemory();
    }
    // Checked once, outside the timing: the search is deterministic.
    int reached = 0;
    for (int t = 0; t < kTargets; ++t) {
        ToolPose p;
        ComputeMGD(s.arm, solutions[t], &p);
        reached += Reached(s.targets[t], p.X, p.Y, p.Z);
    }
    state.SetItemsProcessed(state.iterations() * kTargets);
    state.counters["success_rate"] = static_cast<double>(reached) / kTargets;
}
BENCHMARK(BM_MGI)->Unit(benchmark::kMicrosecond);

// Solves every target with a KDL position solver from the same start (all
// joints at 0, brought within the limits) and checks its answer.
template <class Solve>
void RunKdlIk(benchmark::State& state, const KDL::JntArray& start, Solve solve)
{
    const BenchSetup& s = Setup();
    std::vector<KDL::JntArray> solutions(kTargets, KDL::JntArray(6));
    std::vector<int> status(kTargets);
    for (auto _ : state) {
        for (int t = 0; t < kTargets; ++t)
            status[t] = solve(start, s.kdlTargets[t], solutions[t]);
        benchmark::ClobberMemory();
    }
    // Checked once, outside the timing: the solvers are deterministic.
    KDL::ChainFkSolverPos_recursive fk(s.chain);
    int reached = 0;
    for (int t = 0; t < kTargets; ++t) {
        KDL::Frame frame;
        fk.JntToCart(solutions[t], frame);
        reached += status[t] >= 0 && Reached(s.targets[t], static_cast<float>(frame.p.x()),
                                             static_cast<float>(frame.p.y()), static_cast<float>(frame.p.z()));
    }
    state.SetItemsProcessed(state.iterations() * kTargets);
    state.counters["success_rate"] = static_cast<double>(reached) / kTargets;
}

void BM_KDL_IK(benchmark::State& state)
{
    KDL::ChainIkSolverPos_LMA ik(Setup().chain);
    KDL::JntArray start(6);
    RunKdlIk(state, start, [&](const KDL::JntArray& q0, const KDL::Frame& goal, KDL::JntArray& q) {
        return ik.CartToJnt(q0, goal, q);
    });
}
BENCHMARK(BM_KDL_IK)->Unit(benchmark::kMicrosecond);

void BM_KDL_IK_NR_JL(benchmark::State& state)
{
    const BenchSetup& s = Setup();
    KDL::JntArray low(6), high(6), start(6);
    for (int i = 0; i < 6; ++i) {
        low(i) = s.limits.low[i] * M_PI / 180.0;
        high(i) = s.limits.high[i] * M_PI / 180.0;
        start(i) = std::fmin(std::fmax(0.0, low(i)), high(i));
    }
    KDL::ChainFkSolverPos_recursive fk(s.chain);
    KDL::ChainIkSolverVel_pinv vel(s.chain);
    KDL::ChainIkSolverPos_NR_JL ik(s.chain, low, high, fk, vel);
    RunKdlIk(state, start, [&](const KDL::JntArray& q0, const KDL::Frame& goal, KDL::JntArray& q) {
        return ik.CartToJnt(q0, goal, q);
    });
}
BENCHMARK(BM_KDL_IK_NR_JL)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
