// The Cartesian moves (see CartesianMove.h).
#include "motion/CartesianMove.h"

#include "motion/PathSampler.h"
#include "motion/PlanBounds.h"

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
    return PlanLinesMove(setup, speeds, start, {target}, 0, speedPercent, plan, failure);
}

bool MakeLinesPaths(const KDL::Frame& from, const std::vector<KDL::Frame>& targets, double blend,
                    const PathSpeeds& speeds, std::vector<CartesianPath>* paths, PlanFailure* failure)
{
    paths->clear();
    if (blend != 0 && targets.size() > 1) {
        std::vector<KDL::Frame> frames{from};
        frames.insert(frames.end(), targets.begin(), targets.end());
        paths->emplace_back();
        return MakeBlendedPath(frames, blend, speeds, &paths->back(), failure);
    }
    KDL::Frame start = from;
    for (const KDL::Frame& target : targets) {
        paths->emplace_back();
        if (!MakeLinePath(start, target, speeds, &paths->back(), failure))
            return false;
        start = target;
    }
    return true;
}

bool PlanLinesMove(const MoveSetup& setup, const PathSpeeds& speeds, const JointAngles& start,
                   const std::vector<KDL::Frame>& targets, double blend, double speedPercent, CPlannedTrajectory* plan,
                   PlanFailure* failure)
{
    std::vector<CartesianPath> paths;
    if (!CheckMoveSetup(setup, speedPercent, failure) ||
        !MakeLinesPaths(StartFrame(setup, start), targets, blend, speeds, &paths, failure))
        return false;
    double total = 0;
    for (const CartesianPath& path : paths)
        total += path.trajectory->GetPath()->PathLength();
    // Each segment from where the one before ended, at rest there: its
    // samples follow on in time, its first (the one before's last) left out.
    std::vector<PlannedSample> all;
    JointAngles from = start;
    double before = 0;
    for (CartesianPath& path : paths) {
        const double length = path.trajectory->GetPath()->PathLength();
        std::vector<PlannedSample> samples;
        if (!SamplePath(setup, from, path, &samples, failure)) {
            if (failure->placed && total > 0)
                failure->fraction = (before + failure->fraction * length) / total;
            return false;
        }
        const double offset = all.empty() ? 0.0 : all.back().time;
        for (std::size_t k = all.empty() ? 0 : 1; k < samples.size(); ++k) {
            all.push_back(samples[k]);
            all.back().time += offset;
        }
        if (!CheckPlanBounds(all.back().time, static_cast<double>(all.size()), failure))
            return false;
        from = samples.back().angles;
        before += length;
    }
    StretchTime(&all, kMaxSpeedPercent / speedPercent);
    *plan = CPlannedTrajectory(std::move(all));
    return true;
}

bool PlanArcMove(const MoveSetup& setup, const PathSpeeds& speeds, const JointAngles& start, const KDL::Vector& via,
                 const KDL::Frame& target, double speedPercent, CPlannedTrajectory* plan, PlanFailure* failure)
{
    CartesianPath path;
    return CheckMoveSetup(setup, speedPercent, failure) &&
           MakeArcPath(StartFrame(setup, start), via, target, speeds, &path, failure) &&
           Plan(setup, start, path, speedPercent, plan, failure);
}
