// The Cartesian moves (see CartesianMove.h).
#include "motion/CartesianMove.h"

#include "motion/CartesianPath.h"
#include "motion/PathSampler.h"

#include <utility>

namespace {

KDL::Frame StartFrame(const MoveSetup& setup, const JointAngles& start)
{
    return KdlFrameOf(ComputeMGDFrame(setup.lengths, start)) * setup.tool;
}

// The path sampled, checked and played at the override's pace.
bool Plan(const MoveSetup& setup, const JointAngles& start, CartesianPath& path, double speedPercent,
          CPlannedTrajectory* plan, PlanFailure* failure)
{
    std::vector<PlannedSample> samples;
    if (!SamplePath(setup, start, path, &samples, failure))
        return false;
    StretchTime(&samples, kMaxSpeedPercent / speedPercent);
    *plan = CPlannedTrajectory(std::move(samples));
    return true;
}

}  // namespace

bool PlanLinearMove(const MoveSetup& setup, const PathSpeeds& speeds, const JointAngles& start,
                    const KDL::Frame& target, double speedPercent, CPlannedTrajectory* plan, PlanFailure* failure)
{
    CartesianPath path;
    return CheckMoveSetup(setup, speedPercent, failure) &&
           MakeLinePath(StartFrame(setup, start), target, speeds, &path, failure) &&
           Plan(setup, start, path, speedPercent, plan, failure);
}

bool PlanArcMove(const MoveSetup& setup, const PathSpeeds& speeds, const JointAngles& start, const KDL::Vector& via,
                 const KDL::Frame& target, double speedPercent, CPlannedTrajectory* plan, PlanFailure* failure)
{
    CartesianPath path;
    return CheckMoveSetup(setup, speedPercent, failure) &&
           MakeArcPath(StartFrame(setup, start), via, target, speeds, &path, failure) &&
           Plan(setup, start, path, speedPercent, plan, failure);
}
