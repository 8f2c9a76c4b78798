#pragma once
// decor.opt: the meshes and textures of the ground and the sky dome.
#include <string>

class COptionDeclarations;

struct DecorSettings {
    std::string groundMesh, skyDomeMesh;
    std::string groundTexture, skyDomeTexture;
};

void DeclareDecorKeys(COptionDeclarations& keys, DecorSettings& settings);
