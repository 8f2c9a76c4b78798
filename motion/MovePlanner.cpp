#include "motion/MovePlanner.h"

#include "arm/ArmKinematics.h"
#include "motion/CartesianMove.h"
#include "motion/CartesianPath.h"
#include "motion/JointMove.h"
#include "motion/PlanContacts.h"

#include <algorithm>
#include <cmath>

namespace {

// Points drawn along a refused path: enough for a smooth curve.
constexpr int kDrawnPoints = 200;

PathSpeeds PathSpeedsOf(const ArmDescription& arm)
{
    return {arm.linearSpeed, arm.linearAccel, arm.angularSpeed};
}

// The targets of a line, `through`'s then the pose, as frames.
std::vector<KDL::Frame> LineTargets(const MoveRequest& request)
{
    std::vector<KDL::Frame> targets;
    for (const ToolPose& pose : request.through)
        targets.push_back(FrameOfPose(pose));
    targets.push_back(FrameOfPose(request.pose));
    return targets;
}

// The tool point's way along a Cartesian path that could not be followed:
// the path's own frames, as far as KDL gives them, kDrawnPoints of them
// shared out between a line's segments by their lengths. Corners that
// cannot be rounded are drawn sharp.
std::vector<ToolPose> CartesianWay(const ArmDescription& arm, const JointAngles& start, const MoveRequest& request)
{
    const PathSpeeds speeds = PathSpeedsOf(arm);
    const KDL::Frame from = ArmMGDFrame(arm, start);
    std::vector<CartesianPath> paths(1);
    PlanFailure ignored;
    const bool made = request.kind == MoveKind::Linear
                          ? MakeLinesPaths(from, LineTargets(request), request.blend, speeds, &paths, &ignored) ||
                                MakeLinesPaths(from, LineTargets(request), 0, speeds, &paths, &ignored)
                          : MakeArcPath(from, KDL::Vector(request.via[0], request.via[1], request.via[2]),
                                        FrameOfPose(request.pose), speeds, &paths[0], &ignored);
    std::vector<ToolPose> way;
    if (!made)
        return way;
    double total = 0;
    for (const CartesianPath& path : paths)
        total += path.trajectory->GetPath()->PathLength();
    for (const CartesianPath& path : paths) {
        const double share = total > 0 ? path.trajectory->GetPath()->PathLength() / total : 1.0 / paths.size();
        const int points = std::max(1, static_cast<int>(std::lround(kDrawnPoints * share)));
        const double duration = path.trajectory->Duration();
        for (int i = way.empty() ? 0 : 1; i <= points; ++i)
            way.push_back(PoseOfFrame(path.trajectory->Pos(duration * i / points)));
    }
    return way;
}

// A joint move's way: the straight line in joint space.
std::vector<ToolPose> JointWay(const ArmDescription& arm, const JointAngles& start, const JointAngles& target)
{
    std::vector<ToolPose> way;
    for (int i = 0; i <= kDrawnPoints; ++i) {
        JointAngles a;
        for (float JointAngles::*joint : kJointFields)
            a.*joint = static_cast<float>(start.*joint + (target.*joint - start.*joint) * i / kDrawnPoints);
        way.push_back(ArmMGD(arm, a));
    }
    return way;
}

}  // namespace

MoveSetup MoveSetupOf(const ArmDescription& arm)
{
    MoveSetup setup;
    setup.lengths = arm.Lengths();
    setup.limits = ModelLimits(arm);
    for (int joint = 0; joint < kJointCount; ++joint) {
        setup.maxSpeed[joint] = arm.maxSpeed[joint];
        setup.maxAccel[joint] = arm.maxAccel[joint];
    }
    setup.tool = ToolFrame(arm);
    return setup;
}

void NumberAsArm(const ArmDescription& arm, PlanFailure* failure)
{
    const int joint = failure->joint;
    if (joint >= 0)
        failure->jointName = arm.JointLabel(joint);
    if (joint < 0 || (failure->reason != PlanFault::JointLimit && failure->reason != PlanFault::WristSingularity))
        return;
    JointAngles a{};
    a.*kJointFields[joint] = static_cast<float>(failure->value);
    failure->value = ArmAngles(arm, a).*kJointFields[joint];
    if (failure->reason == PlanFault::JointLimit) {
        failure->low = arm.limits.low[joint];
        failure->high = arm.limits.high[joint];
    }
}

MovePlan PlanMove(const ArmDescription& arm, const JointAngles& start, const MoveRequest& request, double speedPercent,
                  const CCollisionWorld* cell)
{
    const MoveSetup setup = MoveSetupOf(arm);
    const PathSpeeds speeds = PathSpeedsOf(arm);
    const JointAngles modelStart = ModelAngles(arm, start);
    CPlannedTrajectory planned;
    MovePlan plan;
    switch (request.kind) {
    case MoveKind::Joint:
        plan.ok =
            PlanJointMove(setup, modelStart, ModelAngles(arm, request.joints), speedPercent, &planned, &plan.failure);
        break;
    case MoveKind::Linear:
        plan.ok = PlanLinesMove(setup, speeds, modelStart, LineTargets(request), request.blend, speedPercent, &planned,
                                &plan.failure);
        break;
    case MoveKind::Arc:
        plan.ok = PlanArcMove(setup, speeds, modelStart, KDL::Vector(request.via[0], request.via[1], request.via[2]),
                              FrameOfPose(request.pose), speedPercent, &planned, &plan.failure);
        break;
    }
    if (!plan.ok) {
        NumberAsArm(arm, &plan.failure);
        plan.path =
            request.kind == MoveKind::Joint ? JointWay(arm, start, request.joints) : CartesianWay(arm, start, request);
        const double at = plan.failure.placed ? plan.failure.fraction : 0.0;
        plan.refusedFrom = static_cast<std::size_t>(std::lround(at * (plan.path.empty() ? 0 : plan.path.size() - 1)));
        return plan;
    }
    // Played in the data set's angles; drawn as the tool point's way.
    std::vector<PlannedSample> samples = planned.Samples();
    for (PlannedSample& s : samples) {
        s.angles = ArmAngles(arm, s.angles);
        plan.path.push_back(ArmMGD(arm, s.angles));
    }
    plan.refusedFrom = plan.path.size();
    plan.trajectory = std::make_unique<CPlannedTrajectory>(std::move(samples));
    plan.duration = plan.trajectory->Duration();
    if (cell)
        RefuseAtFirstContact(*cell, arm, &plan);
    return plan;
}
