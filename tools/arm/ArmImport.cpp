#include "tools/arm/ArmImport.h"

#include "tools/arm/ArmDataSet.h"
#include "tools/arm/LinkMeshes.h"
#include "tools/arm/OptionText.h"
#include "tools/arm/UrdfArm.h"

namespace {

// A link whose material gives no colour: its mesh has no texture
// coordinates, so the arm's texture would paint it the flat colour of one
// corner of the image.
const char* const kPlainColour = "#b4b4b4";

}  // namespace

bool ImportArm(const std::string& urdfFile, const std::string& directory, const std::string& templateDirectory,
               bool strict)
{
    UrdfArm urdf;
    if (!ReadUrdfArm(urdfFile, &urdf))
        return false;
    ArmDataSet arm;
    arm.source =
        "bras " + LabelText(urdf.name) + " importé de sa description (bride : " + LabelText(urdf.flangeLink) + ")";
    arm.chain = urdf.chain;
    if (!FitFamily(arm.chain, &arm.fit))
        return false;
    BakeFrames(arm.chain, arm.fit, arm.bake);
    if (!BuildLinkMeshes(arm.chain, urdf.visuals, arm.bake, strict, arm.mesh, arm.colour))
        return false;
    for (std::string& colour : arm.colour)
        if (colour.empty())
            colour = kPlainColour;
    return WriteArmDataSet(arm, directory, templateDirectory);
}
