#pragma once
// The arm in its cell, for the collision checks, without a window: the
// seven links' meshes as FCL's hierarchies of oriented boxes (OBBRSS),
// placed at the frames the scene draws them in; the ground, a box whose top
// is z = 0; the objects of the cell. Everything in the base frame and pose
// units; angles are the data set's.
//
// Checked: every two links that are not neighbours in the chain, but for
// the arm's pairs that always touch (ArmDescription::AlwaysTouching); every
// link but the body against the ground; every link against every object.
// Meshes meet where their surfaces cross: a link wholly inside an object
// mesh is not seen (it is inside a box, cylinder, sphere or the ground).
#include "arm/ArmDescription.h"
#include "collision/CellObject.h"
#include "collision/CollisionPair.h"
#include "collision/JointReach.h"

#include <memory>
#include <string>
#include <vector>

class CCollisionWorld {
public:
    // The arm of a data set and its seven link meshes as read (scene units,
    // each in its link's drawing frame, chain order). A link without
    // triangles touches nothing.
    CCollisionWorld(const ArmDescription& arm, const MeshData linkMeshes[kLinkCount]);
    ~CCollisionWorld();
    CCollisionWorld(const CCollisionWorld&) = delete;
    CCollisionWorld& operator=(const CCollisionWorld&) = delete;

    // ---- The objects ------------------------------------------------------
    // A new object, or a new definition of one (which keeps its place in
    // the list and its colour). A definition CheckObject refuses changes
    // nothing: false, with the reason.
    bool DefineObject(const ObjectDefinition& object, std::string* reason);
    bool SetObjectColour(const std::string& name, const std::string& colour, std::string* reason);
    bool RemoveObject(const std::string& name, std::string* reason);
    void RemoveAllObjects();
    // Null when there is no such object.
    const CellObject* FindObject(const std::string& name) const;
    // In the order they were first defined.
    std::vector<std::string> ObjectNames() const;

    // ---- The checks -------------------------------------------------------
    // Every checked pair in contact: against the ground first, then link
    // against link, then against each object in its order.
    std::vector<CollisionPair> Collisions(const JointAngles& angles) const;
    // Whether any checked pair is in contact, stopping at the first found
    // (in the same order), which goes into *pair when given: the planner's
    // query, at every sample of a path.
    bool FirstCollision(const JointAngles& angles, CollisionPair* pair = nullptr) const;
    // The pairs of links, neighbours apart, in contact: the arm's pairs
    // that always touch included.
    CLinkPairs LinkContacts(const JointAngles& angles) const;

    // The smallest distance between the two of a checked pair, with the
    // pair: 0 and the first pair in contact when one is (in the order of
    // Collisions). Infinite, with no pair (link -1), when nothing is
    // checked.
    //
    // ClearanceOf measures on the links' stand-ins (LinkStandIn.h), with
    // their nearest points: some tens of microseconds, for every sample of
    // a path. It never exceeds the exact clearance. Measured against FCL's
    // exact mesh distances over 2,000 joint sets drawn within -180..180 on
    // the default arm: the arm's clearance came at most 14.4 pose units
    // under the exact one (6.2 on average, over the 590 sets that touch
    // nothing: its nearest pair is nearly always the upper and lower arm,
    // 14.3 apart at most, whose stand-ins often meet); one pair's distance
    // at most 83 under (Shoulder:Elbow: the shoulder's round cheeks in
    // boxes), under 44 for every pair without the shoulder. So the
    // stand-ins may meet where the meshes do not: at the default arm's
    // start angles ClearanceOf is 0, the meshes 14.3 apart.
    Clearance ClearanceOf(const JointAngles& angles) const;
    // The same, exact: the meshes' distance, with their nearest points,
    // each pair measured only while its stand-ins could still be the
    // nearest: 0.1 ms at the default arm's start angles, 0.5 ms on average
    // over poses that touch nothing, some milliseconds beside an object
    // mesh. For an arm at rest.
    Clearance ExactClearanceOf(const JointAngles& angles) const;
    // The exact distance between the arm's meshes and one object, or the
    // ground (kGroundName; the body left out), with the nearest link. False,
    // with the reason, when there is no such object.
    bool ClearanceTo(const JointAngles& angles, const std::string& name, Clearance* clearance,
                     std::string* reason) const;

    // How far the arm's points move as its joints turn (JointReach.h).
    const JointReach& Reach() const;

    struct Model;  // WorldModel.h

private:
    std::unique_ptr<Model> m_pModel;
};
