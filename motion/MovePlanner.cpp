#include "motion/MovePlanner.h"

#include "arm/ArmKinematics.h"
#include "motion/CartesianMove.h"
#include "motion/CartesianPath.h"
#include "motion/JointMove.h"
#include "motion/PlanContacts.h"

#include <cmath>

namespace {

// Points drawn along a refused path: enough for a smooth curve.
constexpr int kDrawnPoints = 200;

MoveSetup SetupOf(const ArmDescription& arm)
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

// The tool point's way along a Cartesian path that could not be followed:
// the path's own frames, as far as KDL gives them.
std::vector<ToolPose> CartesianWay(const ArmDescription& arm, const JointAngles& start, const MoveRequest& request)
{
    const PathSpeeds speeds{arm.linearSpeed, arm.linearAccel, arm.angularSpeed};
    const KDL::Frame from = ArmMGDFrame(arm, start), to = FrameOfPose(request.pose);
    CartesianPath path;
    PlanFailure ignored;
    const bool made = request.kind == MoveKind::Linear
                          ? MakeLinePath(from, to, speeds, &path, &ignored)
                          : MakeArcPath(from, KDL::Vector(request.via[0], request.via[1], request.via[2]), to, speeds,
                                        &path, &ignored);
    std::vector<ToolPose> way;
    if (!made)
        return way;
    const double duration = path.trajectory->Duration();
    for (int i = 0; i <= kDrawnPoints; ++i)
        way.push_back(PoseOfFrame(path.trajectory->Pos(duration * i / kDrawnPoints)));
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

// A refusal's angles in the data set's numbering and its joint by the arm's
// own name: the planners see the models' angles.
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

}  // namespace

MovePlan PlanMove(const ArmDescription& arm, const JointAngles& start, const MoveRequest& request, double speedPercent,
                  const CCollisionWorld* cell)
{
    const MoveSetup setup = SetupOf(arm);
    const PathSpeeds speeds{arm.linearSpeed, arm.linearAccel, arm.angularSpeed};
    const JointAngles modelStart = ModelAngles(arm, start);
    CPlannedTrajectory planned;
    MovePlan plan;
    switch (request.kind) {
    case MoveKind::Joint:
        plan.ok =
            PlanJointMove(setup, modelStart, ModelAngles(arm, request.joints), speedPercent, &planned, &plan.failure);
        break;
    case MoveKind::Linear:
        plan.ok =
            PlanLinearMove(setup, speeds, modelStart, FrameOfPose(request.pose), speedPercent, &planned, &plan.failure);
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
