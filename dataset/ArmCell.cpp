#include "dataset/ArmCell.h"

#include "base/Log.h"
#include "collision/CollisionWorld.h"

#include <cstdio>

std::unique_ptr<CCollisionWorld> BuildArmCell(const ArmDescription& arm, const std::string& directory)
{
    MeshData meshes[kLinkCount];
    for (int link = 0; link < kLinkCount; ++link)
        if (FILE* file = std::fopen((directory + arm.meshFile[link]).c_str(), "rb")) {
            if (!ReadMesh(file, meshes[link]))
                meshes[link] = MeshData();
            std::fclose(file);
        }
    const std::string touching = FormatLinkPairs(arm.AlwaysTouching());
    LogWrite(LOG_DEBUG,
             "Collisions : les liens voisins ne sont pas vérifiés entre eux, ni ces paires toujours en "
             "contact : %s",
             touching.empty() ? "aucune" : touching.c_str());
    return std::make_unique<CCollisionWorld>(arm, meshes);
}
