#include "tools/arm/ArmMake.h"

#include "base/Log.h"
#include "tools/arm/ArmDataSet.h"
#include "tools/arm/ArmDataSheet.h"
#include "tools/arm/OptionText.h"
#include "tools/datagen/ArmModel.h"

#include <cmath>

namespace {

// The gripper drawn beyond the flange, against the upper arm's length (the
// default arm's proportion).
const double kGripperPerUpperArm = 1.0 / 4.4;

KDL::Frame FrameOf(const Matrix4& m)
{
    return KDL::Frame(KDL::Rotation(m.m[0], m.m[4], m.m[8], m.m[1], m.m[5], m.m[9], m.m[2], m.m[6], m.m[10]),
                      KDL::Vector(m.m[12], m.m[13], m.m[14]));
}

void PlaceMesh(MeshData& mesh, const KDL::Frame& place)
{
    for (std::size_t i = 0; i + 2 < mesh.vertices.size(); i += 3) {
        const KDL::Vector p = place * KDL::Vector(mesh.vertices[i], mesh.vertices[i + 1], mesh.vertices[i + 2]);
        const KDL::Vector n = place.M * KDL::Vector(mesh.normals[i], mesh.normals[i + 1], mesh.normals[i + 2]);
        for (int k = 0; k < 3; ++k) {
            mesh.vertices[i + k] = static_cast<float>(p(k));
            mesh.normals[i + k] = static_cast<float>(n(k));
        }
    }
}

// The default arm's procedural links, sized to this one. They are modelled
// for the default drawing, whose wrist turns the other way from the forward
// model's before A56; each is moved into the frame the MGD's
// drawing gives its link at the models' zero, so that the drawn hand is the
// pose's at every angle.
void ProceduralMeshes(const ArmLengths& l, double flange, MeshData meshes[kLinkCount])
{
    const datagen::ArmLengths scene = {l.h / 100.0,
                                       l.a2 / 100.0,
                                       l.a3 / 100.0,
                                       l.e / 100.0,
                                       l.d / 100.0,
                                       flange / 100.0,
                                       l.a3 / 100.0 * kGripperPerUpperArm};
    const std::array<MeshData, kLinkCount> drawn = datagen::BuildArmMeshes(scene);
    const std::array<datagen::Vec3, kLinkCount> defaultOffsets = datagen::LinkOffsets(scene);
    float defaults[kLinkCount][3], model[kLinkCount][3] = {};
    float modelTurns[kLinkCount];
    for (int link = 0; link < kLinkCount; ++link) {
        const datagen::Vec3& o = defaultOffsets[link];
        defaults[link][0] = static_cast<float>(o.x);
        defaults[link][1] = static_cast<float>(o.y);
        defaults[link][2] = static_cast<float>(o.z);
        if (link < kWristLink)
            for (int k = 0; k < 3; ++k)
                model[link][k] = defaults[link][k];
        modelTurns[link] = link == kWristLink ? kModelWristTurnX : kLinkTurnX[link];
    }
    const JointAngles zero{0, 0, 0, 0, 0, 0};
    for (int link = 0; link < kLinkCount; ++link) {
        meshes[link] = drawn[link];
        PlaceMesh(meshes[link], FrameOf(LinkMeshTransform(modelTurns, zero, model, link)).Inverse() *
                                    FrameOf(LinkMeshTransform(kLinkTurnX, zero, defaults, link)));
    }
}

}  // namespace

bool MakeArm(const std::string& sheetFile, const std::string& directory, const std::string& templateDirectory)
{
    ArmDataSheet sheet;
    if (!ReadArmDataSheet(sheetFile, &sheet))
        return false;
    ArmDataSet arm;
    arm.source = "bras « " + LabelText(sheet.name) + " » fait de ses cotes";
    if (!DataSheetChain(sheet, &arm.chain) || !FitFamily(arm.chain, &arm.fit))
        return false;
    if (arm.fit.lengths.d < 0.0 || arm.fit.lengths.e < 0.0) {
        LogError("MakeArm -- Le dessin des segments ne sait pas tracer un avant-bras dont le poignet est en arrière "
                 "du coude (d = %.1f mm)",
                 arm.fit.lengths.d);
        return false;
    }
    BakeFrames(arm.chain, arm.fit, arm.bake);
    ProceduralMeshes(arm.fit.lengths, sheet.c4, arm.mesh);
    return WriteArmDataSet(arm, directory, templateDirectory);
}
