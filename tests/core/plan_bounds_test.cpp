// The bounds of a planned move: a move of at most an hour at full speed
// and at most kMaxPlanSamples samples is planned; a little more is refused
// with the bound's words, the plan left alone.
#include "planner_fixture.h"
#include "motion/CartesianMove.h"
#include "motion/JointMove.h"
#include "motion/PlanBounds.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kxtest;

namespace {

// A joint move of A12 across 358 degrees at a speed that makes it last
// `seconds` (no acceleration limit: a constant speed, the duration exact).
bool PlanA12Sweep(double seconds, CPlannedTrajectory* plan, PlanFailure* failure)
{
    MoveSetup setup = ShippedSetup();
    setup.maxSpeed[0] = 358 / seconds;
    return PlanJointMove(setup, {-179, 45, 15, 0, 60, 0}, {179, 45, 15, 0, 60, 0}, 100, plan, failure);
}

// A line of `length` along y, the hand not turning, sampled every
// thousandth of a pose unit: an angular speed of 125,000 degrees a second
// against 250 units a second makes the half degree of turn a sample may
// hold a thousandth of a unit of the path (CartesianPath.h).
bool PlanFineLine(double length, CPlannedTrajectory* plan, PlanFailure* failure)
{
    const MoveSetup setup = ShippedSetup();
    const PathSpeeds speeds{250, 0, 125000};
    return PlanLinearMove(setup, speeds, kStart, Moved(ToolFrameAt(setup, kStart), {0, length, 0}), 100, plan, failure);
}

TEST(PlanBounds, TheLongestPlansPassAndALittleMoreIsRefused)
{
    struct Case {
        const char* what;
        std::function<bool(CPlannedTrajectory*, PlanFailure*)> plan;
        bool planned;
        const char* words;  // the refusal's
    };
    const Case cases[] = {
        {"3599 s", [](auto* p, auto* f) { return PlanA12Sweep(3599, p, f); }, true, ""},
        {"3601 s", [](auto* p, auto* f) { return PlanA12Sweep(3601, p, f); }, false,
         "mouvement trop long : 3601 s à pleine vitesse, 3600 s au plus"},
        {"99,950 samples", [](auto* p, auto* f) { return PlanFineLine(99.95, p, f); }, true, ""},
        {"100,050 samples", [](auto* p, auto* f) { return PlanFineLine(100.05, p, f); }, false,
         "chemin trop long à vérifier : plus de 100000 échantillons"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CPlannedTrajectory plan({{0, {1, 2, 3, 4, 5, 6}, {0, 0, 0}}});
        PlanFailure failure;
        ASSERT_EQ(c.plan(&plan, &failure), c.planned) << DescribeFailure(failure);
        if (c.planned) {
            EXPECT_LE(plan.Samples().size(), kMaxPlanSamples);
            EXPECT_LE(plan.Duration(), kMaxPlanSeconds);
        } else {
            EXPECT_EQ(DescribeFailure(failure), c.words);
            EXPECT_EQ(plan.Samples().size(), 1u) << "the plan is left alone";
        }
    }
}

}  // namespace
