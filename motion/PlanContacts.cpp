#include "motion/PlanContacts.h"

#include "arm/ArmKinematics.h"
#include "collision/CollisionWorld.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

JointAngles Between(const JointAngles& a, const JointAngles& b, double t)
{
    JointAngles between;
    for (float JointAngles::*joint : kJointFields)
        between.*joint = static_cast<float>(a.*joint + t * (double(b.*joint) - a.*joint));
    return between;
}

double Distance(const ToolPose& a, const ToolPose& b)
{
    return std::hypot(double(a.X) - b.X, double(a.Y) - b.Y, double(a.Z) - b.Z);
}

}  // namespace

void RefuseAtFirstContact(const CCollisionWorld& world, const ArmDescription& arm, MovePlan* plan)
{
    if (!plan->ok)
        return;
    const std::vector<PlannedSample>& samples = plan->trajectory->Samples();
    CollisionPair pair;
    JointAngles contact{};
    std::size_t before = 0;  // the last sample before the contact
    const bool atStart = !samples.empty() && world.FirstCollision(samples[0].angles, &pair);
    bool touched = atStart;
    if (atStart)
        contact = samples[0].angles;
    for (std::size_t i = 1; i < samples.size() && !touched; ++i) {
        const JointAngles& a = samples[i - 1].angles;
        const JointAngles& b = samples[i].angles;
        const int steps = StepsBetween(world.Reach(), a, b);
        for (int step = 1; step <= steps && !touched; ++step) {
            contact = step == steps ? b : Between(a, b, double(step) / steps);
            touched = world.FirstCollision(contact, &pair);
        }
        before = i - 1;
    }
    if (!touched)
        return;

    // The way as far as the contact, then the rest refused.
    const ToolPose at = ArmMGD(arm, contact);
    std::vector<ToolPose> way = std::move(plan->path);
    double done = 0, total = 0;
    for (std::size_t i = 1; i < way.size(); ++i) {
        const double step = Distance(way[i - 1], way[i]);
        total += step;
        if (i <= before)
            done += step;
    }
    if (!way.empty() && !atStart)
        done += Distance(way[before], at);
    way.insert(way.begin() + static_cast<std::ptrdiff_t>(atStart ? 0 : before + 1), at);

    MovePlan refused;
    refused.failure.reason = PlanFault::Collision;
    refused.failure.pair = pair;
    refused.failure.placed = true;
    refused.failure.fraction = total > 0 ? std::min(1.0, done / total) : 0.0;
    refused.failure.place[0] = at.X;
    refused.failure.place[1] = at.Y;
    refused.failure.place[2] = at.Z;
    refused.refusedFrom = atStart ? 0 : before + 1;
    refused.path = std::move(way);
    *plan = std::move(refused);
}

double PlanClearance(const CCollisionWorld& world, const MovePlan& plan)
{
    double nearest = std::numeric_limits<double>::infinity();
    if (!plan.ok)
        return nearest;
    const double duration = plan.trajectory->Duration();
    for (int i = 0; i < kClearancePoses; ++i) {
        JointAngles angles;
        plan.trajectory->At(duration * i / (kClearancePoses - 1), angles);
        nearest = std::min(nearest, world.ExactClearanceOf(angles).distance);
    }
    return nearest;
}
