// The clearances of CCollisionWorld: the nearest checked pair, measured on
// the links' stand-ins, or exactly on their meshes with the stand-ins
// sparing the pairs that cannot be the nearest.
#include "collision/WorldModel.h"

#include <algorithm>
#include <limits>

namespace {

using Model = CCollisionWorld::Model;

// The pieces of each link's stand-in where a pose puts them.
struct PlacedStandIns {
    std::vector<PlacedSolid> link[kLinkCount];
};

PlacedStandIns PlaceStandIns(const LinkModel (&links)[kLinkCount], const ArmPlacement& at)
{
    PlacedStandIns placed;
    for (int link = 0; link < kLinkCount; ++link)
        for (const StandInPiece& piece : links[link].standIn)
            placed.link[link].push_back(PlacedSolid{piece.solid.geometry, at.link[link].pose * piece.solid.pose,
                                                    PlacedBounds(at.link[link].pose, piece.centre, piece.half)});
    return placed;
}

// The distance between a pair's stand-ins (the other link's, or the ground
// or object itself) when it is below `limit`, with the nearest points;
// `limit` when it is not. Pieces whose boxes lie `limit` apart are skipped.
double StandInDistance(const PlacedStandIns& standIns, const CheckedPair& pair, const PlacedSolid& other, double limit,
                       double nearest[2][3])
{
    const std::vector<PlacedSolid>& mine = standIns.link[pair.link];
    const PlacedSolid* others = pair.otherLink >= 0 ? standIns.link[pair.otherLink].data() : &other;
    const std::size_t count = pair.otherLink >= 0 ? standIns.link[pair.otherLink].size() : 1;
    double best = limit;
    for (const PlacedSolid& piece : mine)
        for (std::size_t i = 0; i < count; ++i) {
            if (piece.bounds.Gap(others[i].bounds) >= best)
                continue;
            double points[2][3];
            const double distance = Distance(*piece.geometry, piece.pose, *others[i].geometry, others[i].pose, points);
            if (distance < best) {
                best = distance;
                std::copy(&points[0][0], &points[0][0] + 6, &nearest[0][0]);
            }
        }
    return best;
}

// The nearest of the pairs: on the stand-ins, or exactly on the meshes.
Clearance Nearest(const Model& model, const ArmPlacement& at, const std::vector<CheckedPair>& pairs, bool exact)
{
    const PlacedStandIns standIns = PlaceStandIns(model.links, at);
    // The pairs by how near the boxes around their meshes come: the nearest
    // pair is likely among the first, and once a box gap reaches the best
    // exact distance, no later pair can beat it.
    std::vector<std::pair<double, std::size_t>> order;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const PlacedSolid& link = at.link[pairs[i].link];
        const PlacedSolid& other = model.Other(at, pairs[i]);
        if (link.geometry && other.geometry)
            order.emplace_back(link.bounds.Gap(other.bounds), i);
    }
    // A heap, taken from the nearest: most pairs of a large cell are never
    // reached, and need not be sorted.
    const auto farther = [](const auto& a, const auto& b) { return a > b; };
    std::make_heap(order.begin(), order.end(), farther);
    Clearance best;
    best.distance = std::numeric_limits<double>::infinity();
    while (!order.empty()) {
        std::pop_heap(order.begin(), order.end(), farther);
        const auto [gap, i] = order.back();
        order.pop_back();
        if (exact && gap >= best.distance)
            break;
        const PlacedSolid& link = at.link[pairs[i].link];
        const PlacedSolid& other = model.Other(at, pairs[i]);
        double points[2][3];
        // The stand-ins' distance never exceeds the meshes': a pair whose
        // stand-ins lie as far as the best is never measured exactly.
        double distance = StandInDistance(standIns, pairs[i], other, best.distance, points);
        if (distance >= best.distance)
            continue;
        if (exact)
            distance = Distance(*link.geometry, link.pose, *other.geometry, other.pose, points);
        if (distance < best.distance) {
            best.distance = distance;
            best.pair = model.PairOf(pairs[i]);
            std::copy(&points[0][0], &points[0][0] + 6, &best.nearest[0][0]);
        }
    }
    return best;
}

// 0 and the first pair in contact, if one is; otherwise the nearest.
Clearance NearestOrContact(const Model& model, const ArmPlacement& at, bool exact)
{
    Clearance contact;
    bool touching = false;
    model.VisitContacts(at, [&](const CollisionPair& pair) {
        touching = true;
        contact.pair = pair;
        return false;
    });
    return touching ? contact : Nearest(model, at, model.CheckedPairs(), exact);
}

}  // namespace

Clearance CCollisionWorld::ClearanceOf(const JointAngles& angles) const
{
    return NearestOrContact(*m_pModel, m_pModel->Place(angles), false);
}

Clearance CCollisionWorld::ExactClearanceOf(const JointAngles& angles) const
{
    return NearestOrContact(*m_pModel, m_pModel->Place(angles), true);
}

bool CCollisionWorld::ClearanceTo(const JointAngles& angles, const std::string& name, Clearance* clearance,
                                  std::string* reason) const
{
    const Model& model = *m_pModel;
    const bool ground = name == kGroundName;
    const auto found = model.index.find(name);
    if (!ground && found == model.index.end()) {
        if (reason)
            *reason = "aucun objet « " + name + " »";
        return false;
    }
    std::vector<CheckedPair> pairs;
    for (int link = ground ? 1 : 0; link < kLinkCount; ++link)
        pairs.push_back(CheckedPair{link, -1, ground ? -1 : static_cast<int>(found->second)});
    *clearance = Nearest(model, model.Place(angles), pairs, true);
    return true;
}
