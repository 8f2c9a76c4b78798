#include "arm/LinkMeshFiles.h"

#include <cstdio>

bool ReadLinkMeshes(const ArmDescription& arm, const std::string& directory, LinkMeshes* meshes, std::string* reason)
{
    for (int link = 0; link < kLinkCount; ++link) {
        const std::string& name = arm.meshFile[link];
        const std::string path = directory.empty() || (!name.empty() && name[0] == '/') ? name : directory + "/" + name;
        MeshData& mesh = (*meshes)[static_cast<std::size_t>(link)];
        FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) {
            if (reason)
                *reason = path + " : impossible d'ouvrir le fichier";
            return false;
        }
        MeshError error = MeshError::None;
        const bool read = ReadMesh(file, mesh, &error);
        std::fclose(file);
        if (!read) {
            if (reason)
                *reason = path + " : " + MeshErrorText(error);
            return false;
        }
    }
    return true;
}
