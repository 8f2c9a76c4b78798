#include "command/MoveTargets.h"

#include "sim/Controller.h"
#include "sim/Simulation.h"

namespace {

// Six numbers as angles or as a pose.
JointAngles AnglesOf(const float v[6])
{
    return {v[0], v[1], v[2], v[3], v[4], v[5]};
}

ToolPose PoseOf(const float v[6])
{
    return {v[0], v[1], v[2], v[3], v[4], v[5]};
}

bool PointAngles(const CController& controller, const std::string& name, JointAngles* angles, std::string* reason)
{
    const ActionResult found = controller.PointAngles(name, angles);
    *reason = found.message;
    return found.ok;
}

// A line's target: the six numbers, or the point's tool pose.
bool TargetPose(const CController& controller, const std::string& point, const float values[6], ToolPose* pose,
                std::string* reason)
{
    if (point.empty()) {
        *pose = PoseOf(values);
        return true;
    }
    JointAngles angles;
    if (!PointAngles(controller, point, &angles, reason))
        return false;
    *pose = controller.PoseOf(angles);
    return true;
}

}  // namespace

bool CommandAngles(const CController& controller, const Command& c, JointAngles* angles, std::string* reason)
{
    if (!c.point.empty())
        return PointAngles(controller, c.point, angles, reason);
    *angles = AnglesOf(c.values);
    *reason = FirstOutsideLimits(controller.Simulation().Arm(), *angles);
    return reason->empty();
}

bool CommandRequest(const CController& controller, CommandVerb move, const Command& c, MoveRequest* request,
                    std::string* reason)
{
    MoveRequest r;
    switch (move) {
    case CommandVerb::MoveL:
        r.kind = MoveKind::Linear;
        for (const CommandTarget& target : c.through) {
            r.through.emplace_back();
            if (!TargetPose(controller, target.point, target.values, &r.through.back(), reason))
                return false;
        }
        if (!TargetPose(controller, c.point, c.values, &r.pose, reason))
            return false;
        r.blend = c.blend;
        break;
    case CommandVerb::MoveC: {
        r.kind = MoveKind::Arc;
        ToolPose via{};
        if (!TargetPose(controller, c.viaPoint, c.values, &via, reason) ||
            !TargetPose(controller, c.point, c.values + 3, &r.pose, reason))
            return false;
        r.via[0] = via.X;
        r.via[1] = via.Y;
        r.via[2] = via.Z;
        break;
    }
    default:
        r.kind = MoveKind::Joint;
        if (!CommandAngles(controller, c, &r.joints, reason))
            return false;
        break;
    }
    *request = std::move(r);
    return true;
}
