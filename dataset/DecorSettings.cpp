#include "dataset/DecorSettings.h"

#include "config/OptionKeys.h"

void DeclareDecorKeys(COptionDeclarations& keys, DecorSettings& s)
{
    keys.Text("strGroundFileObj", "ground.obj", &s.groundMesh);
    keys.Text("strSkyDomeFileObj", "skydome.obj", &s.skyDomeMesh);
    keys.Text("strGroundTextFileName", "ground.tga", &s.groundTexture);
    keys.Text("strSkyDomeTextFileName", "skydome.tga", &s.skyDomeTexture);
}
