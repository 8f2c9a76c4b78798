#include "scene/GhostLayout.h"

#include "robot/ArmKinematics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Angles that draw alike: equal modulo whole turns, up to the models'
// rounding (the arm's own configuration comes back from the inverse model
// some thousandths of a degree off its angles).
constexpr double kSameAngle = 0.01;

// How many leading joints two sets of angles share. Link k is placed by the
// joints before it, so links 0 to that count lie at the same place.
int SharedJoints(const JointAngles& a, const JointAngles& b)
{
    int n = 0;
    while (n < kJointCount &&
           std::fabs(std::remainder(static_cast<double>(a.*kJointFields[n]) - b.*kJointFields[n], 360.0)) < kSameAngle)
        ++n;
    return n;
}

// The elbow joint: the origin of the frame after the upper arm (link 2).
Point3 ElbowOf(const ArmDescription& arm, const JointAngles& angles)
{
    const Matrix4 m = ChainTransform(arm.LinkTurns().x, ModelAngles(arm, angles), arm.offset, 2);
    return Point3{m.m[12], m.m[13], m.m[14]};
}

}  // namespace

GhostLayout LayOutGhosts(const ArmDescription& arm, const JointAngles& current,
                         const std::vector<ArmConfiguration>& configurations)
{
    GhostLayout layout;
    std::vector<JointAngles> drawn{current};
    for (const ArmConfiguration& c : configurations) {
        if (!c.current) {
            int shared = 0;
            for (const JointAngles& d : drawn)
                shared = std::max(shared, SharedJoints(c.angles, d));
            // One that lies wholly on an arm drawn already shows nothing more.
            if (shared < kJointCount)
                layout.arms.push_back(GhostArm{c.angles, shared + 1, c.withinLimits});
            drawn.push_back(c.angles);
        }
        layout.labels.push_back(
            GhostLabel{ElbowOf(arm, c.angles),
                       std::to_string(c.number) + " : " + DescribePosture(c.posture) + (c.current ? " (actuelle)" : ""),
                       c.withinLimits, c.current});
    }
    return layout;
}

void SpreadLabels(std::vector<LabelBox>& boxes, int lineHeight)
{
    std::vector<LabelBox*> order;
    for (LabelBox& b : boxes)
        order.push_back(&b);
    std::stable_sort(order.begin(), order.end(), [](const LabelBox* a, const LabelBox* b) { return a->y > b->y; });
    for (auto placing = order.begin(); placing != order.end(); ++placing) {
        LabelBox& b = **placing;
        auto covers = [&](const LabelBox* p) {
            return b.x < p->x + p->width && p->x < b.x + b.width && std::abs(b.y - p->y) < lineHeight;
        };
        // Each move goes under a placed label, so it ends.
        for (auto hit = std::find_if(order.begin(), placing, covers); hit != placing;
             hit = std::find_if(order.begin(), placing, covers))
            b.y = (*hit)->y - lineHeight;
    }
}
