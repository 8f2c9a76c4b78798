#pragma once
// What a planned move may cost, whatever the targets and the option values
// ask: the samples it is made of and the time it lasts at full speed. Both
// are found from the path and the profile before any sample is made, as
// doubles (they may be huge, infinite or not a number), and a move past
// either is refused: a target a billion units away or an acceleration of
// 1e-10 would otherwise ask for billions of samples, and the program would
// freeze or run out of memory.
//
// The figures (bench/PlannerBench.cpp): a plan at the sample bound takes
// 66 to 97 ms of CPU to make and check here (BM_PlanBound, two cores shared
// with other work; halvings and the elbow's look-ahead solve at most one
// more point a sample, so never much more than twice that) and 14 MB (the
// process's peak, 21.7 MB against 8.1 MB for a refusal); the longest path
// the shipped arm can follow, round its whole reach, needs some 6,000
// samples. A refusal past the bound costs under a millisecond
// (BM_PlanBoundRefused, BM_PlanFarRefused). An hour at full speed (a
// hundred at the slowest override) is far beyond any move of an arm.
#include "motion/PlanFailure.h"

#include <cstddef>

constexpr std::size_t kMaxPlanSamples = 100000;
constexpr double kMaxPlanSeconds = 3600.0;

// A move of `seconds` at full speed made of `samples` samples within the
// bounds; otherwise false with a TooLong or TooManySamples refusal.
bool CheckPlanBounds(double seconds, double samples, PlanFailure* failure);
