#include "collision/CollisionWorld.h"

#include "arm/ArmKinematics.h"
#include "collision/WorldModel.h"

#include <algorithm>
#include <cmath>

namespace {

// The box around a stand-in, in its link's frame.
void StandInExtent(const LinkStandIn& s, double centre[3], double half[3])
{
    for (int k = 0; k < 3; ++k) {
        centre[k] = s.centre[k];
        half[k] = s.shape == StandInShape::Box ? s.half[k] : s.radius;
    }
    if (s.shape != StandInShape::Box)
        half[s.axis] = s.halfLength + (s.shape == StandInShape::Capsule ? s.radius : 0.0);
}

double FarthestVertex(const MeshData& mesh)
{
    double farthest = 0.0;
    for (std::size_t i = 0; i + 2 < mesh.vertices.size(); i += 3)
        farthest = std::max(farthest, std::sqrt(double(mesh.vertices[i]) * mesh.vertices[i] +
                                                double(mesh.vertices[i + 1]) * mesh.vertices[i + 1] +
                                                double(mesh.vertices[i + 2]) * mesh.vertices[i + 2]));
    return kPoseUnitsPerSceneUnit * farthest;
}

bool Fail(std::string* reason, const std::string& text)
{
    if (reason)
        *reason = text;
    return false;
}

std::string NoSuchObject(const std::string& name)
{
    return "aucun objet « " + name + " »";
}

}  // namespace

ArmPlacement CCollisionWorld::Model::Place(const JointAngles& angles) const
{
    Matrix4 frames[kLinkCount];
    LinkFrames(turns.x, ModelAngles(arm, angles), arm.offset, frames);
    ArmPlacement at;
    for (int link = 0; link < kLinkCount; ++link) {
        const double* m = frames[link].m;
        PlacedSolid& placed = at.link[link];
        placed.geometry = links[link].mesh;
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column)
                placed.pose.linear()(row, column) = m[4 * column + row];
            placed.pose.translation()[row] = kPoseUnitsPerSceneUnit * m[12 + row];
        }
        placed.bounds = PlacedBounds(placed.pose, links[link].centre, links[link].half);
        if (!placed.geometry)
            continue;
        for (int k = 0; k < 3; ++k) {
            const bool first = at.whole.low[k] > at.whole.high[k];
            at.whole.low[k] = first ? placed.bounds.low[k] : std::min(at.whole.low[k], placed.bounds.low[k]);
            at.whole.high[k] = first ? placed.bounds.high[k] : std::max(at.whole.high[k], placed.bounds.high[k]);
        }
    }
    return at;
}

bool CCollisionWorld::Model::Touch(const ArmPlacement& at, int link, const PlacedSolid& other) const
{
    const PlacedSolid& placed = at.link[link];
    return placed.geometry && other.geometry && placed.bounds.Overlaps(other.bounds) &&
           ::Touch(*placed.geometry, placed.pose, *other.geometry, other.pose);
}

std::vector<CheckedPair> CCollisionWorld::Model::CheckedPairs() const
{
    std::vector<CheckedPair> pairs;
    for (int link = 1; link < kLinkCount; ++link)
        pairs.push_back(CheckedPair{link, -1, -1});
    for (const auto& [a, b] : linkPairs)
        pairs.push_back(CheckedPair{a, b, -1});
    for (std::size_t object = 0; object < objects.size(); ++object)
        for (int link = 0; link < kLinkCount; ++link)
            pairs.push_back(CheckedPair{link, -1, static_cast<int>(object)});
    return pairs;
}

const PlacedSolid& CCollisionWorld::Model::Other(const ArmPlacement& at, const CheckedPair& pair) const
{
    if (pair.otherLink >= 0)
        return at.link[pair.otherLink];
    return pair.object < 0 ? ground : objects[static_cast<std::size_t>(pair.object)].solid;
}

CollisionPair CCollisionWorld::Model::PairOf(const CheckedPair& pair) const
{
    if (pair.otherLink >= 0)
        return CollisionPair{pair.link, pair.otherLink, {}};
    return CollisionPair{pair.link, -1,
                         pair.object < 0 ? std::string(kGroundName)
                                         : objects[static_cast<std::size_t>(pair.object)].object.definition.name};
}

CCollisionWorld::CCollisionWorld(const ArmDescription& arm, const MeshData linkMeshes[kLinkCount])
    : m_pModel(std::make_unique<Model>())
{
    Model& model = *m_pModel;
    model.arm = arm;
    model.turns = arm.LinkTurns();
    double extent[kLinkCount];
    for (int link = 0; link < kLinkCount; ++link) {
        const MeshData& mesh = linkMeshes[link];
        LinkModel& l = model.links[link];
        extent[link] = FarthestVertex(mesh);
        if (mesh.TriangleCount() == 0)
            continue;
        l.mesh = BuildMesh(mesh, kPoseUnitsPerSceneUnit);
        MeshExtent(mesh, kPoseUnitsPerSceneUnit, l.centre, l.half);
        for (const LinkStandIn& piece : FitStandIns(mesh, kPoseUnitsPerSceneUnit)) {
            l.standIn.push_back(StandInPiece{StandInSolid(piece)});
            StandInExtent(piece, l.standIn.back().centre, l.standIn.back().half);
        }
    }
    const CLinkPairs alwaysTouching = arm.AlwaysTouching();
    for (int a = 0; a < kLinkCount; ++a)
        for (int b = a + 2; b < kLinkCount; ++b)
            if (!alwaysTouching.Has(a, b))
                model.linkPairs.emplace_back(a, b);
    model.reach = ReachOf(arm.offset, extent);
}

CCollisionWorld::~CCollisionWorld() = default;

bool CCollisionWorld::DefineObject(const ObjectDefinition& object, std::string* reason)
{
    if (!CheckObject(object, reason))
        return false;
    Model& model = *m_pModel;
    ObjectEntry entry{CellObject{object, kObjectGrey}, ObjectSolid(object)};
    const auto found = model.index.find(object.name);
    if (found == model.index.end()) {
        model.index.emplace(object.name, model.objects.size());
        model.objects.push_back(std::move(entry));
        return true;
    }
    ObjectEntry& old = model.objects[found->second];
    entry.object.colour = old.object.colour;
    old = std::move(entry);
    return true;
}

bool CCollisionWorld::SetObjectColour(const std::string& name, const std::string& colour, std::string* reason)
{
    const auto found = m_pModel->index.find(name);
    if (found == m_pModel->index.end())
        return Fail(reason, NoSuchObject(name));
    if (!ParseColour(colour, nullptr))
        return Fail(reason, "couleur « " + colour + " » : elle s'écrit #rrggbb");
    m_pModel->objects[found->second].object.colour = colour;
    return true;
}

bool CCollisionWorld::RemoveObject(const std::string& name, std::string* reason)
{
    Model& model = *m_pModel;
    const auto found = model.index.find(name);
    if (found == model.index.end())
        return Fail(reason, NoSuchObject(name));
    model.objects.erase(model.objects.begin() + static_cast<std::ptrdiff_t>(found->second));
    model.index.clear();
    for (std::size_t i = 0; i < model.objects.size(); ++i)
        model.index.emplace(model.objects[i].object.definition.name, i);
    return true;
}

void CCollisionWorld::RemoveAllObjects()
{
    m_pModel->objects.clear();
    m_pModel->index.clear();
}

const CellObject* CCollisionWorld::FindObject(const std::string& name) const
{
    const auto found = m_pModel->index.find(name);
    return found == m_pModel->index.end() ? nullptr : &m_pModel->objects[found->second].object;
}

std::vector<std::string> CCollisionWorld::ObjectNames() const
{
    std::vector<std::string> names;
    for (const ObjectEntry& entry : m_pModel->objects)
        names.push_back(entry.object.definition.name);
    return names;
}

std::vector<CollisionPair> CCollisionWorld::Collisions(const JointAngles& angles) const
{
    std::vector<CollisionPair> pairs;
    m_pModel->VisitContacts(m_pModel->Place(angles), [&pairs](const CollisionPair& pair) {
        pairs.push_back(pair);
        return true;
    });
    return pairs;
}

bool CCollisionWorld::FirstCollision(const JointAngles& angles, CollisionPair* pair) const
{
    bool found = false;
    m_pModel->VisitContacts(m_pModel->Place(angles), [&](const CollisionPair& first) {
        found = true;
        if (pair)
            *pair = first;
        return false;
    });
    return found;
}

CLinkPairs CCollisionWorld::LinkContacts(const JointAngles& angles) const
{
    const ArmPlacement at = m_pModel->Place(angles);
    CLinkPairs contacts;
    for (int a = 0; a < kLinkCount; ++a)
        for (int b = a + 2; b < kLinkCount; ++b)
            if (m_pModel->Touch(at, a, at.link[b]))
                contacts.Add(a, b);
    return contacts;
}

const JointReach& CCollisionWorld::Reach() const
{
    return m_pModel->reach;
}
