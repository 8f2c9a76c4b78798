// The inverse model as its callers use it (see InverseModel.h).
#include "robot/InverseModel.h"

#include "config/OptionsParser.h"
#include "robot/MGIGrid.h"

#include <algorithm>
#include <cmath>

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
    int best = 0;
    double bestRank[3] = {INFINITY, INFINITY, INFINITY};
    for (int i = 0; i < count; ++i) {
        const MGIConfiguration& c = configurations[i];
        const double rank[3] = {FitsLimits(c.angles, limits) ? 0.0 : 1.0,
                                c.posture.back || c.posture.flipped ? 1.0 : 0.0, ArmDistance2(c.angles, grid)};
        if (std::lexicographical_compare(rank, rank + 3, bestRank, bestRank + 3)) {
            best = i;
            std::copy(rank, rank + 3, bestRank);
        }
    }
    return best;
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

double WristCentreDistance(const ArmLengths& lengths, const JointAngles& angles, const ToolPose& target)
{
    float x, y, z;
    ComputeMGDPosition(lengths, angles.A12, angles.A23, angles.A34, &x, &y, &z);
    return std::hypot(x - static_cast<double>(target.X), y - static_cast<double>(target.Y),
                      z - static_cast<double>(target.Z));
}

}  // namespace

MGIModel ReadMGIModel(const COptions& robotOptions)
{
    return robotOptions.GetBool("bMGIExact", false) ? MGIModel::Exact : MGIModel::Grid;
}

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
    int best = -1, bestFitting = -1;
    double bestDistance = INFINITY, bestFittingDistance = INFINITY;
    for (int i = 0; i < count; ++i) {
        const double d = JointDistance2(configurations[i].angles, reference);
        if (best < 0 || d < bestDistance)
            best = i, bestDistance = d;
        if (FitsLimits(configurations[i].angles, limits) && (bestFitting < 0 || d < bestFittingDistance))
            bestFitting = i, bestFittingDistance = d;
    }
    return bestFitting >= 0 ? bestFitting : best;
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
    return FromConfiguration(
        solutions, NearestConfiguration(solutions.configurations, solutions.count, reference, limits), reference,
        limits);
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
