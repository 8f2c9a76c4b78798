// The planned moves against KDL doing the same work on the same arm:
//   BM_PlanLinear      a 1,000-unit line with a quarter turn of the hand,
//                      planned and checked (every sample solved with the
//                      exact model, singularities, limits, joint speeds)
//   BM_PlanLinear_KDL  the same path at the same sample times solved with
//                      ChainIkSolverPos_LMA, each sample seeded with the
//                      previous answer; success_rate: the share of samples
//                      reproduced (wrist centre within 0.01 pose unit,
//                      rotation within 1e-5 per element). The solver weighs
//                      a radian of the hand like a pose unit: with its
//                      default weights (a radian worth 0.01) it stops some
//                      1e-3 radian short and reproduces 1 sample in 1,000
//                      by that measure.
//   BM_PlanJoint       a synchronised joint move of every joint
//   BM_PlanSquare/R    lines round a square of side 200 back to the start,
//                      the hand turning 10 degrees at each corner: /0 stops
//                      at each corner (four profiles), /20 rounds them with
//                      a radius of 20 (Path_RoundedComposite, one profile)
// What the bounds of PlanBounds.h let a plan cost, the shipped arm planned
// as the commands plan it (PlanMove):
//   BM_PlanBound       the longest plan accepted: a line of nearly
//                      kMaxPlanSamples samples (its 100 units sampled every
//                      thousandth of a unit or so, the hand's speed raised)
//   BM_PlanBoundRefused  a line past the bound that never leaves the
//                      reach: every point of the reach scan is solved
//   BM_PlanFarRefused  movel 1e9 0 0 0 0 0: the scan, then the halving to
//                      where the reach is lost
#include "arm/ArmKinematics.h"
#include "bench/KdlArm.h"
#include "motion/CartesianMove.h"
#include "motion/CartesianPath.h"
#include "motion/JointMove.h"
#include "motion/MovePlanner.h"
#include "motion/PlanBounds.h"

#include <benchmark/benchmark.h>
#include <kdl/chainfksolverpos_recursive.hpp>
#include <kdl/chainiksolverpos_lma.hpp>

#include <cmath>
#include <vector>

namespace {

// The shipped robot.opt's joint speeds, the panel's limits, no tool.
MoveSetup BenchSetup()
{
    MoveSetup setup{BenchArm(), BenchLimits(), {60, 50, 60, 90, 90, 120}, {120, 100, 120, 180, 180, 240}};
    return setup;
}

constexpr PathSpeeds kSpeeds{250, 1000, 90};
constexpr JointAngles kStart{-40, 60, 20, 0, 60, 0};

// The line: 1,000 pose units across the arm's front, the hand turning a
// quarter turn about the vertical on the way.
KDL::Frame LineTarget(const MoveSetup& setup)
{
    const KDL::Frame from = KdlFrameOf(ComputeMGDFrame(setup.lengths, kStart));
    return KDL::Frame(KDL::Rotation::RotZ(M_PI / 2) * from.M, from.p + KDL::Vector(0, 1000, 0));
}

void BM_PlanLinear(benchmark::State& state)
{
    const MoveSetup setup = BenchSetup();
    const KDL::Frame target = LineTarget(setup);
    CPlannedTrajectory plan;
    PlanFailure failure;
    bool planned = false;
    for (auto _ : state) {
        planned = PlanLinearMove(setup, kSpeeds, kStart, target, 100, &plan, &failure);
        benchmark::DoNotOptimize(plan);
    }
    if (!planned)
        state.SkipWithError(DescribeFailure(failure).c_str());
    state.counters["samples"] = static_cast<double>(plan.Samples().size());
    state.counters["duration_s"] = plan.Duration();
}
BENCHMARK(BM_PlanLinear)->Unit(benchmark::kMillisecond);

void BM_PlanLinear_KDL(benchmark::State& state)
{
    const MoveSetup setup = BenchSetup();
    CartesianPath path;
    PlanFailure failure;
    if (!MakeLinePath(KdlFrameOf(ComputeMGDFrame(setup.lengths, kStart)), LineTarget(setup), kSpeeds, &path,
                      &failure)) {
        state.SkipWithError(DescribeFailure(failure).c_str());
        return;
    }
    // The frames at the planner's sample times, found outside the timing.
    const double duration = path.trajectory->Duration();
    const int steps = static_cast<int>(std::ceil(duration / path.sampleTime));
    std::vector<KDL::Frame> frames;
    for (int k = 1; k <= steps; ++k)
        frames.push_back(path.trajectory->Pos(duration * k / steps));

    const KDL::Chain chain = MakeKdlArm(setup.lengths);
    Eigen::Matrix<double, 6, 1> weights;
    weights << 1, 1, 1, 1, 1, 1;
    KDL::ChainIkSolverPos_LMA ik(chain, weights);
    std::vector<KDL::JntArray> solutions(frames.size(), KDL::JntArray(6));
    std::vector<int> status(frames.size());
    for (auto _ : state) {
        KDL::JntArray seed = ToKdl(kStart);
        for (std::size_t k = 0; k < frames.size(); ++k) {
            status[k] = ik.CartToJnt(seed, frames[k], solutions[k]);
            seed = solutions[k];
        }
        benchmark::ClobberMemory();
    }
    KDL::ChainFkSolverPos_recursive fk(chain);
    int reproduced = 0;
    for (std::size_t k = 0; k < frames.size(); ++k) {
        KDL::Frame reached;
        fk.JntToCart(solutions[k], reached);
        double rotation = 0;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                rotation = std::fmax(rotation, std::fabs(reached.M(i, j) - frames[k].M(i, j)));
        reproduced += status[k] >= 0 && (reached.p - frames[k].p).Norm() <= 0.01 && rotation <= 1e-5;
    }
    state.counters["samples"] = static_cast<double>(frames.size());
    state.counters["success_rate"] = static_cast<double>(reproduced) / frames.size();
}
BENCHMARK(BM_PlanLinear_KDL)->Unit(benchmark::kMillisecond);

void BM_PlanJoint(benchmark::State& state)
{
    const MoveSetup setup = BenchSetup();
    const JointAngles target{20, -10, 90, 40, 80, -30};
    CPlannedTrajectory plan;
    PlanFailure failure;
    bool planned = false;
    for (auto _ : state) {
        planned = PlanJointMove(setup, kStart, target, 100, &plan, &failure);
        benchmark::DoNotOptimize(plan);
    }
    if (!planned)
        state.SkipWithError(DescribeFailure(failure).c_str());
    state.counters["samples"] = static_cast<double>(plan.Samples().size());
    state.counters["duration_s"] = plan.Duration();
}
BENCHMARK(BM_PlanJoint)->Unit(benchmark::kMicrosecond);

void BM_PlanSquare(benchmark::State& state)
{
    const MoveSetup setup = BenchSetup();
    const KDL::Frame from = KdlFrameOf(ComputeMGDFrame(setup.lengths, kStart));
    std::vector<KDL::Frame> corners;
    const KDL::Vector sides[] = {{0, 200, 0}, {0, 200, -200}, {0, 0, -200}, {0, 0, 0}};
    for (int i = 0; i < 4; ++i)
        corners.emplace_back(KDL::Rotation::RotZ(M_PI / 18 * (i + 1)) * from.M, from.p + sides[i]);
    const double radius = static_cast<double>(state.range(0));
    CPlannedTrajectory plan;
    PlanFailure failure;
    bool planned = false;
    for (auto _ : state) {
        planned = PlanLinesMove(setup, kSpeeds, kStart, corners, radius, 100, &plan, &failure);
        benchmark::DoNotOptimize(plan);
    }
    if (!planned)
        state.SkipWithError(DescribeFailure(failure).c_str());
    state.counters["samples"] = static_cast<double>(plan.Samples().size());
    state.counters["duration_s"] = plan.Duration();
}
BENCHMARK(BM_PlanSquare)->Arg(0)->Arg(20)->Unit(benchmark::kMillisecond);

// Where the shipped arm stands at start, and a line from its tool point.
constexpr JointAngles kArmStart{-30, 10, 20, 15, 60, 10};

MoveRequest LineFrom(const ArmDescription& arm, float dx)
{
    MoveRequest request;
    request.kind = MoveKind::Linear;
    request.pose = ArmMGD(arm, kArmStart);
    request.pose.X += dx;
    return request;
}

ArmDescription Shipped()
{
    ArmDescription arm;
    ShippedArm(&arm);
    return arm;
}

// The shipped arm with the hand's speed raised so that a 100-unit line needs
// `samples` samples: steps of 0.5 x linear / angular units (CartesianPath.h)
// over the line and the profile's two half-speed ramps.
ArmDescription FineArm(double samples)
{
    ArmDescription arm = Shipped();
    const double ramps = double(arm.linearSpeed) * arm.linearSpeed / arm.linearAccel;
    arm.angularSpeed = static_cast<float>(0.5 * arm.linearSpeed * samples / (100 + ramps));
    return arm;
}

void PlanAndCount(benchmark::State& state, const ArmDescription& arm, const MoveRequest& request, bool planned)
{
    MovePlan plan;
    for (auto _ : state) {
        plan = PlanMove(arm, kArmStart, request, 100);
        benchmark::DoNotOptimize(plan);
    }
    if (plan.ok != planned)
        state.SkipWithError(plan.ok ? "planifié" : DescribeFailure(plan.failure).c_str());
    state.counters["samples"] = plan.ok ? static_cast<double>(plan.trajectory->Samples().size()) : 0.0;
}

void BM_PlanBound(benchmark::State& state)
{
    PlanAndCount(state, FineArm(0.995 * kMaxPlanSamples), LineFrom(Shipped(), 100), true);
}
BENCHMARK(BM_PlanBound)->Unit(benchmark::kMillisecond);

void BM_PlanBoundRefused(benchmark::State& state)
{
    PlanAndCount(state, FineArm(2.0 * kMaxPlanSamples), LineFrom(Shipped(), 100), false);
}
BENCHMARK(BM_PlanBoundRefused)->Unit(benchmark::kMillisecond);

void BM_PlanFarRefused(benchmark::State& state)
{
    MoveRequest request;
    request.kind = MoveKind::Linear;
    request.pose = {1e9f, 0, 0, 0, 0, 0};
    PlanAndCount(state, Shipped(), request, false);
}
BENCHMARK(BM_PlanFarRefused)->Unit(benchmark::kMillisecond);

}  // namespace
