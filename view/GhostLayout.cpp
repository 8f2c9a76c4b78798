#include "view/GhostLayout.h"

#include "arm/ArmKinematics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Links that draw alike, in scene units and in the entries of their turn:
// far below a pixel, far above the rounding of the MGI's angles.
constexpr double kSamePlacement = 1e-3;

// Where each link's mesh is drawn.
struct Placements {
    Matrix4 link[kLinkCount];
};

Placements PlacementsOf(const ArmDescription& arm, const JointAngles& angles)
{
    Placements p;
    const JointAngles model = ModelAngles(arm, angles);
    for (int link = 0; link < kLinkCount; ++link)
        p.link[link] = LinkMeshTransform(arm.LinkTurns().x, model, arm.offset, link);
    return p;
}

bool SameMatrix(const Matrix4& a, const Matrix4& b)
{
    for (int i = 0; i < 16; ++i)
        if (std::fabs(a.m[i] - b.m[i]) > kSamePlacement)
            return false;
    return true;
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
    // Placements are claimed by the solid arm, then by the configurations
    // within the limits, then by the others.
    std::vector<const ArmConfiguration*> claiming;
    for (bool within : {true, false})
        for (const ArmConfiguration& c : configurations)
            if (!c.current && c.withinLimits == within)
                claiming.push_back(&c);
    std::vector<Placements> claimed{PlacementsOf(arm, current)};
    for (const ArmConfiguration* c : claiming) {
        const Placements own = PlacementsOf(arm, c->angles);
        unsigned links = 0;
        for (int link = 0; link < kLinkCount; ++link) {
            bool taken = false;
            for (const Placements& other : claimed)
                taken = taken || SameMatrix(own.link[link], other.link[link]);
            if (!taken)
                links |= 1u << link;
        }
        // One that lies wholly on arms drawn already shows nothing more.
        if (links != 0)
            layout.arms.push_back(GhostArm{c->number, c->angles, links, c->withinLimits});
        claimed.push_back(own);
    }
    std::stable_partition(layout.arms.begin(), layout.arms.end(), [](const GhostArm& g) { return !g.withinLimits; });

    for (const ArmConfiguration& c : configurations)
        layout.labels.push_back(
            GhostLabel{ElbowOf(arm, c.angles),
                       std::to_string(c.number) + " : " + DescribePosture(c.posture) + (c.current ? " (actuelle)" : ""),
                       c.withinLimits, c.current});
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
