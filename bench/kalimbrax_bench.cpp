// Our geometric models against Orocos KDL doing the same work on the same
// arm:
//   BM_MGD           MGD, one call per iteration
//   BM_KDL_FK        ChainFkSolverPos_recursive on the equivalent chain
//   BM_MGI           grid model of the MGI over the fixed target set
//   BM_MGI_Exact     exact model, the configuration nearest the grid's
//                    answer (what kalimbrax-kin mgi --exact runs)
//   BM_MGI_All       exact model, every configuration (mgi --all)
//   BM_KDL_IK        ChainIkSolverPos_LMA (its defaults) over the same set
//   BM_KDL_IK_NR_JL  ChainIkSolverPos_NR_JL + ChainIkSolverVel_pinv, joint
//                    limits from the panel's spinners
// Each IK benchmark solves the whole set per iteration (items = targets)
// and reports, checked once outside the timing (the solvers are
// deterministic):
//   success_rate   the share of targets reproduced: wrist centre within
//                  0.01 pose unit and every element of the rotation matrix
//                  within 1e-5 (for KDL also a successful return code; for
//                  BM_MGI_All every configuration of the target);
//   within_1_unit  the share whose wrist centre is within 1 pose unit.
#include "bench/KdlArm.h"
#include "kinematics/MGI.h"
#include "kinematics/Kinematics.h"
#include "kinematics/MGIGrid.h"

#include <benchmark/benchmark.h>
#include <kdl/chainfksolverpos_recursive.hpp>
#include <kdl/chainiksolverpos_lma.hpp>
#include <kdl/chainiksolverpos_nr_jl.hpp>
#include <kdl/chainiksolvervel_pinv.hpp>

#include <cmath>
#include <vector>

namespace {

constexpr int kAngleSets = 1024;  // forward benchmarks cycle through these (a power of two:
                                  // the index wraps with a mask, not a division)
constexpr int kTargets = 100;     // the IK target set
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

// How well one answer reproduces its target.
struct Outcome {
    bool exact;      // wrist centre within 0.01, rotation within 1e-5 per element
    bool withinOne;  // wrist centre within 1 pose unit
};

Outcome Compare(double positionError, double rotationError)
{
    return {positionError <= 0.01 && rotationError <= 1e-5, positionError <= 1.0};
}

double MaxDifference(const double a[3][3], const double b[3][3])
{
    double worst = 0.0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            worst = std::fmax(worst, std::fabs(a[i][j] - b[i][j]));
    return worst;
}

Outcome Check(const ArmLengths& arm, const ToolPose& target, const JointAngles& solution)
{
    ToolPose reached;
    ComputeMGD(arm, solution, &reached);
    double want[3][3], got[3][3];
    PoseRotation(target, want);
    PoseRotation(reached, got);
    return Compare(std::hypot(reached.X - target.X, reached.Y - target.Y, reached.Z - target.Z),
                   MaxDifference(want, got));
}

void ReportRates(benchmark::State& state, int exact, int withinOne)
{
    state.SetItemsProcessed(state.iterations() * kTargets);
    state.counters["success_rate"] = static_cast<double>(exact) / kTargets;
    state.counters["within_1_unit"] = static_cast<double>(withinOne) / kTargets;
}

// Runs solve(target, &angles) on every target per iteration, then checks
// the answers once.
template <class Solve>
void RunOurIk(benchmark::State& state, Solve solve)
{
    const BenchSetup& s = Setup();
    std::vector<JointAngles> solutions(kTargets);
    for (auto _ : state) {
        for (int t = 0; t < kTargets; ++t)
            solve(s.targets[t], &solutions[t]);
        benchmark::ClobberMemory();
    }
    int exact = 0, withinOne = 0;
    for (int t = 0; t < kTargets; ++t) {
        const Outcome o = Check(s.arm, s.targets[t], solutions[t]);
        exact += o.exact;
        withinOne += o.withinOne;
    }
    ReportRates(state, exact, withinOne);
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
    const ArmLengths& arm = Setup().arm;
    RunOurIk(state, [&](const ToolPose& target, JointAngles* angles) { ComputeMGI(arm, target, angles); });
}
BENCHMARK(BM_MGI)->Unit(benchmark::kMicrosecond);

void BM_MGI_Exact(benchmark::State& state)
{
    const BenchSetup& s = Setup();
    RunOurIk(state, [&](const ToolPose& target, JointAngles* angles) {
        *angles = SolveMGINearGrid(s.arm, target, s.limits).angles;
    });
}
BENCHMARK(BM_MGI_Exact)->Unit(benchmark::kMicrosecond);

void BM_MGI_All(benchmark::State& state)
{
    const BenchSetup& s = Setup();
    std::vector<MGISolutions> solutions(kTargets);
    for (auto _ : state) {
        for (int t = 0; t < kTargets; ++t)
            SolveMGIExact(s.arm, s.targets[t], &solutions[t]);
        benchmark::ClobberMemory();
    }
    int exact = 0, withinOne = 0;
    for (int t = 0; t < kTargets; ++t) {
        bool allExact = solutions[t].count > 0, allWithinOne = solutions[t].count > 0;
        for (int i = 0; i < solutions[t].count; ++i) {
            const Outcome o = Check(s.arm, s.targets[t], solutions[t].configurations[i].angles);
            allExact = allExact && o.exact;
            allWithinOne = allWithinOne && o.withinOne;
        }
        exact += allExact;
        withinOne += allWithinOne;
    }
    ReportRates(state, exact, withinOne);
}
BENCHMARK(BM_MGI_All)->Unit(benchmark::kMicrosecond);

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
    KDL::ChainFkSolverPos_recursive fk(s.chain);
    int exact = 0, withinOne = 0;
    for (int t = 0; t < kTargets; ++t) {
        KDL::Frame frame;
        fk.JntToCart(solutions[t], frame);
        const KDL::Frame& goal = s.kdlTargets[t];
        double rotationError = 0.0;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                rotationError = std::fmax(rotationError, std::fabs(frame.M(i, j) - goal.M(i, j)));
        const Outcome o = Compare((frame.p - goal.p).Norm(), rotationError);
        exact += status[t] >= 0 && o.exact;
        withinOne += status[t] >= 0 && o.withinOne;
    }
    ReportRates(state, exact, withinOne);
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
