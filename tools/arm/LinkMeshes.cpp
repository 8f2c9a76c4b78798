#include "tools/arm/LinkMeshes.h"

#include "base/Log.h"
#include "tools/arm/PlainLink.h"
#include "tools/mesh/MeshImport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const double kSceneUnitsPerMetre = 10.0;

// The map from a mesh file's coordinates to the drawn link's, scene units:
// the mesh's scale, its place on the body, then the body seen from the
// drawn frame.
Affine MeshPlacement(const LinkVisual& visual, const KDL::Frame& bake)
{
    const KDL::Frame place = bake.Inverse() * visual.place;
    Affine a;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            a.m[i][j] = kSceneUnitsPerMetre * place.M(i, j) * visual.scale[j];
        a.m[i][3] = kSceneUnitsPerMetre * place.p(i);
    }
    return a;
}

}  // namespace

std::string ColourText(const double rgb[3])
{
    char text[8];
    auto channel = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); };
    std::snprintf(text, sizeof text, "#%02x%02x%02x", channel(rgb[0]), channel(rgb[1]), channel(rgb[2]));
    return text;
}

bool BuildLinkMeshes(const SerialArm& arm, const std::vector<LinkVisual>& visuals, const KDL::Frame bake[kLinkCount],
                     bool strict, MeshData meshes[kLinkCount], std::string colours[kLinkCount])
{
    const ImportOptions options;  // smooth normals, creases at 30 degrees, simplified to fit
    for (int link = 0; link < kLinkCount; ++link) {
        CornerMesh corners;
        MergeCounts parts;
        colours[link].clear();
        bool lost = false;
        for (const LinkVisual& visual : visuals) {
            if (visual.body != link)
                continue;
            std::string error = "le maillage « " + visual.written + " » est introuvable";
            if (visual.meshFile.empty() || !ReadCorners(visual.meshFile.c_str(), MeshPlacement(visual, bake[link]),
                                                        options, corners, parts, error)) {
                if (strict) {
                    LogError("BuildLinkMeshes -- Lien « %s » : %s", visual.link.c_str(), error.c_str());
                    return false;
                }
                LogError("BuildLinkMeshes -- Lien « %s » : %s ; un cylindre de l'articulation à la suivante le "
                         "remplace (--strict pour refuser l'import)",
                         visual.link.c_str(), error.c_str());
                lost = true;
                continue;
            }
            if (colours[link].empty() && visual.coloured)
                colours[link] = ColourText(visual.rgba);
        }
        meshes[link] = MeshData();
        if (lost && corners.positions.empty()) {
            meshes[link] = PlainLinkMesh(arm, bake, link);
            continue;
        }
        if (corners.positions.empty())
            continue;  // a body with nothing to draw
        ImportNotes notes;
        std::string error;
        if (!MeshFromCorners(corners, options, meshes[link], notes, error)) {
            LogError("BuildLinkMeshes -- Segment %s : %s", kLinkNames[link], error.c_str());
            return false;
        }
    }
    return true;
}
