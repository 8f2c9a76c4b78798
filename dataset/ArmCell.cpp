#include "dataset/ArmCell.h"

#include "arm/LinkMeshFiles.h"
#include "base/Log.h"

std::unique_ptr<CCollisionWorld> BuildArmCell(const ArmDescription& arm, const std::string& directory)
{
    LinkMeshes meshes;
    std::string reason;
    if (!ReadLinkMeshes(arm, directory, &meshes, &reason)) {
        LogWrite(LOG_DEBUG, "Collisions : aucune vérification, %s", reason.c_str());
        meshes = LinkMeshes();
    }
    const std::string touching = FormatLinkPairs(arm.AlwaysTouching());
    LogWrite(LOG_DEBUG,
             "Collisions : les liens voisins ne sont pas vérifiés entre eux, ni ces paires toujours en contact : %s",
             touching.empty() ? "aucune" : touching.c_str());
    return std::make_unique<CCollisionWorld>(arm, meshes.data());
}
