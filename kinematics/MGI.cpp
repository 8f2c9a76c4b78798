// The MGI as its callers use it (see MGI.h).
#include "kinematics/MGI.h"

#include "kinematics/MGIGrid.h"

#include <cmath>
#include <utility>

namespace {

JointAngles ShiftEachIntoLimits(const JointAngles& angles, const JointLimits& limits, const JointAngles& reference)
{
    JointAngles shifted;
    for (int joint = 0; joint < 6; ++joint) {
        float JointAngles::*field = kJointFields[joint];
        shifted.*field = ShiftIntoLimits(angles.*field, limits.low[joint], limits.high[joint], reference.*field);
    }
    return shifted;
}

// The first configuration of least rank: those that fit the limits before
// the others, then the smallest rank(c) (any ordered value).
template <class Rank>
int Best(const MGIConfiguration* configurations, int count, const JointLimits& limits, Rank rank)
{
    int best = 0;
    for (int i = 1; i < count; ++i) {
        const auto candidate = std::make_pair(!FitsLimits(configurations[i].angles, limits), rank(configurations[i]));
        const auto kept = std::make_pair(!FitsLimits(configurations[best].angles, limits), rank(configurations[best]));
        if (candidate < kept)
            best = i;
    }
    return best;
}

// The squared joint distance of the arm joints A12, A23, A34 alone.
double ArmDistance2(const JointAngles& a, const JointAngles& b)
{
    JointAngles armOnly = b;
    armOnly.A45 = a.A45;
    armOnly.A56 = a.A56;
    armOnly.A67 = a.A67;
    return JointDistance2(a, armOnly);
}

// The grid search's own configuration among the exact ones: reaching
// forward with the wrist not flipped, as the grid always does, and the elbow
// whose arm angles lie nearest the grid's. The grid's wrist angles do not
// take part: computed on the grid's rounded arm, near a stretched wrist they
// can lie nearer the flipped twin than the wrist they stand for.
int GridConfiguration(const MGIConfiguration* configurations, int count, const JointAngles& grid,
                      const JointLimits& limits)
{
    return Best(configurations, count, limits, [&](const MGIConfiguration& c) {
        return std::make_pair(c.posture.back || c.posture.flipped, ArmDistance2(c.angles, grid));
    });
}

MGIResult FromConfiguration(const MGISolutions& solutions, int index, const JointAngles& reference,
                            const JointLimits& limits)
{
    const MGIConfiguration& chosen = solutions.configurations[index];
    MGIResult result{};
    result.model = MGIModel::Exact;
    result.angles = ShiftEachIntoLimits(chosen.angles, limits, reference);
    result.distance = chosen.distance;
    result.reached = solutions.Reached();
    result.withinLimits = FitsLimits(chosen.angles, limits);
    result.posture = chosen.posture;
    return result;
}

}  // namespace

double JointDistance2(const JointAngles& a, const JointAngles& b)
{
    double sum = 0.0;
    for (float JointAngles::*field : kJointFields) {
        const double d = std::remainder(static_cast<double>(a.*field) - b.*field, 360.0);
        sum += d * d;
    }
    return sum;
}

int NearestConfiguration(const MGIConfiguration* configurations, int count, const JointAngles& reference,
                         const JointLimits& limits)
{
    return Best(configurations, count, limits,
                [&](const MGIConfiguration& c) { return JointDistance2(c.angles, reference); });
}

MGIResult SolveMGI(const ArmLengths& lengths, MGIModel model, const ToolPose& target, const JointAngles& reference,
                   const JointLimits& limits)
{
    MGIResult result{};
    result.model = model;
    if (model == MGIModel::Grid) {
        JointAngles grid;
        ComputeMGI(lengths, target, &grid);
        result.angles = ShiftEachIntoLimits(grid, limits, reference);
        result.distance = WristCentreDistance(lengths, grid, target);
        result.reached = result.distance <= kReachTolerance;
        result.withinLimits = FitsLimits(grid, limits);
        return result;
    }
    MGISolutions solutions;
    SolveMGIExact(lengths, target, &solutions);
    return FromConfiguration(solutions,
                             NearestConfiguration(solutions.configurations, solutions.count, reference, limits),
                             reference, limits);
}

MGIResult SolveMGINearGrid(const ArmLengths& lengths, const ToolPose& target, const JointLimits& limits)
{
    JointAngles grid;
    ComputeMGI(lengths, target, &grid);
    MGISolutions solutions;
    SolveMGIExact(lengths, target, &solutions);
    return FromConfiguration(solutions, GridConfiguration(solutions.configurations, solutions.count, grid, limits),
                             grid, limits);
}
