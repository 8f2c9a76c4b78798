#include "collision/CellObject.h"

#include "base/FrenchDecimal.h"
#include "kinematics/ArmChain.h"
#include "kinematics/Kinematics.h"

#include <cctype>
#include <cmath>

namespace {

const char* const kSizeNames[4][3] = {
    {"DX", "DY", "DZ"}, {"le rayon", "la longueur", nullptr}, {"le rayon", nullptr, nullptr}, {}};
const char* const kPlaceNames[6] = {"X", "Y", "Z", "alpha", "bêta", "gamma"};

// The name of the i-th number of a definition, as a message writes it.
std::string NumberName(ObjectKind kind, std::size_t i)
{
    const std::size_t sizes = static_cast<std::size_t>(ObjectSizeCount(kind));
    if (i < 3)
        return kPlaceNames[i];
    if (i < 3 + sizes)
        return kSizeNames[static_cast<int>(kind)][i - 3];
    return kPlaceNames[i - sizes];
}

bool Fail(std::string* reason, const std::string& text)
{
    if (reason)
        *reason = text;
    return false;
}

bool CheckMesh(const MeshData* mesh, std::string* reason)
{
    if (!mesh || mesh->TriangleCount() == 0)
        return Fail(reason, "maillage vide : aucun triangle");
    for (float v : mesh->vertices)
        if (!std::isfinite(v))
            return Fail(reason, "maillage invalide : un sommet n'est pas fini");
    for (std::uint32_t index : mesh->indices)
        if (index >= static_cast<std::uint32_t>(mesh->VertexCount()))
            return Fail(reason, "maillage invalide : un triangle désigne un sommet absent");
    return true;
}

}  // namespace

const char* ObjectKindName(ObjectKind kind)
{
    static const char* const names[] = {"box", "cylinder", "sphere", "mesh"};
    return names[static_cast<int>(kind)];
}

int ObjectSizeCount(ObjectKind kind)
{
    static const int counts[] = {3, 2, 1, 0};
    return counts[static_cast<int>(kind)];
}

bool CheckObjectName(const std::string& name, std::string* reason)
{
    if (name.empty())
        return Fail(reason, "nom d'objet vide");
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_')
            return Fail(reason, "nom d'objet « " + name + " » : lettres, chiffres, « - » et « _ » seulement");
    if (name == kGroundName)
        return Fail(reason, "nom d'objet « " + name + " » : il désigne le sol");
    for (const char* link : kLinkNames)
        if (name == link)
            return Fail(reason, "nom d'objet « " + name + " » : il désigne un segment du bras");
    return true;
}

bool CheckObject(const ObjectDefinition& object, std::string* reason)
{
    if (!CheckObjectName(object.name, reason))
        return false;
    const std::size_t placed = 3 + static_cast<std::size_t>(ObjectSizeCount(object.kind));
    const bool turnable = object.kind != ObjectKind::Sphere;
    const std::size_t count = object.numbers.size();
    if (count != placed && !(turnable && count == placed + 3))
        return Fail(reason, std::string(ObjectKindName(object.kind)) + " : " + std::to_string(count) +
                                " nombres au lieu de " + std::to_string(placed) +
                                (turnable ? " ou " + std::to_string(placed + 3) : std::string()));
    for (std::size_t i = 0; i < count; ++i) {
        const double value = object.numbers[i];
        if (!std::isfinite(value))
            return Fail(reason,
                        "nombre non fini : " + NumberName(object.kind, i) + " vaut " + FormatShortDecimal(value));
        if (i >= 3 && i < placed && !(value > 0.0))
            return Fail(reason, "taille nulle ou négative : " + NumberName(object.kind, i) + " vaut " +
                                    FormatShortDecimal(value));
    }
    return object.kind != ObjectKind::Mesh || CheckMesh(object.mesh.get(), reason);
}

ObjectPlacement PlacementOf(const ObjectDefinition& object)
{
    ObjectPlacement placement = {{object.numbers[0], object.numbers[1], object.numbers[2]},
                                 {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    const std::size_t turn = 3 + static_cast<std::size_t>(ObjectSizeCount(object.kind));
    if (object.numbers.size() == turn + 3) {
        ToolPose pose{};
        pose.alpha = static_cast<float>(object.numbers[turn]);
        pose.beta = static_cast<float>(object.numbers[turn + 1]);
        pose.gamma = static_cast<float>(object.numbers[turn + 2]);
        PoseRotation(pose, placement.r);
    }
    return placement;
}
