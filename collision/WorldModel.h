#pragma once
// The inside of CCollisionWorld, for the layer's own sources: the links'
// and objects' FCL models, where a pose puts the links, and the walk over
// the checked pairs that the contacts and the clearances share.
#include "collision/CollisionWorld.h"
#include "collision/FclGeometry.h"

#include <unordered_map>

// A piece of a link's stand-in, in the link's frame.
struct StandInPiece {
    PlacedSolid solid;                    // posed in the link's frame, no bounds
    double centre[3] = {}, half[3] = {};  // the box around it
};

// A link's models, in its drawing frame.
struct LinkModel {
    std::shared_ptr<const FclMesh> mesh;  // null without triangles
    double centre[3] = {}, half[3] = {};  // the box around the mesh
    std::vector<StandInPiece> standIn;
};

struct ObjectEntry {
    CellObject object;
    PlacedSolid solid;
};

// The links' meshes where a pose puts them (no geometry without triangles).
struct ArmPlacement {
    PlacedSolid link[kLinkCount];
    // The box around every link with triangles: an object outside it is
    // passed over at once, so a cell of thousands costs one box test each.
    Bounds whole{{0, 0, 0}, {-1, -1, -1}};
};

// A checked pair: a link against another link, the ground or an object.
struct CheckedPair {
    int link;
    int otherLink;  // -1: the ground or an object
    int object;     // the object's index, -1 for the ground
};

struct CCollisionWorld::Model {
    ArmDescription arm;
    ArmDescription::Turns turns;
    LinkModel links[kLinkCount];
    PlacedSolid ground = GroundSolid();
    std::vector<std::pair<int, int>> linkPairs;  // those checked
    std::vector<ObjectEntry> objects;
    std::unordered_map<std::string, std::size_t> index;  // of objects, by name
    JointReach reach;

    ArmPlacement Place(const JointAngles& angles) const;
    bool Touch(const ArmPlacement& at, int link, const PlacedSolid& other) const;
    // Calls visit(pair) for each checked pair in contact, while it answers
    // true: against the ground, link against link, against each object.
    template <class Visit>
    void VisitContacts(const ArmPlacement& at, Visit visit) const;

    // Every checked pair, in the same order.
    std::vector<CheckedPair> CheckedPairs() const;
    const PlacedSolid& Other(const ArmPlacement& at, const CheckedPair& pair) const;
    CollisionPair PairOf(const CheckedPair& pair) const;
};

template <class Visit>
void CCollisionWorld::Model::VisitContacts(const ArmPlacement& at, Visit visit) const
{
    for (int link = 1; link < kLinkCount; ++link)
        if (Touch(at, link, ground) && !visit(CollisionPair{link, -1, kGroundName}))
            return;
    for (const auto& [a, b] : linkPairs)
        if (Touch(at, a, at.link[b]) && !visit(CollisionPair{a, b, {}}))
            return;
    for (const ObjectEntry& entry : objects)
        for (int link = 0; link < kLinkCount && at.whole.Overlaps(entry.solid.bounds); ++link)
            if (Touch(at, link, entry.solid) && !visit(CollisionPair{link, -1, entry.object.definition.name}))
                return;
}
