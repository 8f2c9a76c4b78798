#include "tools/arm/ChainCheck.h"

#include "base/FrenchDecimal.h"
#include "base/Log.h"
#include "arm/ArmKinematics.h"

#include <cmath>
#include <random>

namespace {

const double kPoseUnitsPerMetre = 1000.0;
const double kSceneUnitsPerMetre = 10.0;

double PositionGap(const KDL::Frame& a, const KDL::Frame& b)
{
    return (a.p - b.p).Norm();
}

double RotationGap(const KDL::Frame& a, const KDL::Frame& b)
{
    double gap = 0.0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            gap = std::fmax(gap, std::fabs(a.M(i, j) - b.M(i, j)));
    return gap;
}

KDL::Frame FrameOf(const Matrix4& m)
{
    return KDL::Frame(KDL::Rotation(m.m[0], m.m[4], m.m[8], m.m[1], m.m[5], m.m[9], m.m[2], m.m[6], m.m[10]),
                      KDL::Vector(m.m[12], m.m[13], m.m[14]));
}

std::string Position(const JointAngles& a)
{
    std::string text;
    for (int j = 0; j < kJointCount; ++j)
        text += (j ? " " : "") + FormatShortDecimal(a.*kJointFields[j]);
    return text;
}

bool Differ(const char* what, const JointAngles& angles, double position, double rotation)
{
    LogError("CheckAgainstChain -- Erreur interne : %s s'écarte de la chaîne du bras aux angles %s (%s unité de pose, "
             "%s sur la rotation) ; rien n'est écrit",
             what, Position(angles).c_str(), FormatShortDecimal(position).c_str(),
             FormatShortDecimal(rotation).c_str());
    return false;
}

}  // namespace

std::vector<JointAngles> SeededPositions(const SerialArm& chain, int samples, unsigned seed)
{
    std::mt19937 generator(seed);
    std::vector<JointAngles> positions;
    for (int i = 0; i < samples; ++i) {
        JointAngles a;
        for (int j = 0; j < kJointCount; ++j) {
            std::uniform_real_distribution<double> within(chain.joints[j].lower * 180.0 / M_PI,
                                                          chain.joints[j].upper * 180.0 / M_PI);
            a.*kJointFields[j] = static_cast<float>(within(generator));
        }
        positions.push_back(a);
    }
    return positions;
}

bool CheckAgainstChain(const SerialArm& chain, const ArmDescription& arm, const KDL::Frame bake[kLinkCount],
                       int samples)
{
    const ArmDescription::Turns turns = arm.LinkTurns();
    for (const JointAngles& angles : SeededPositions(chain, samples, 20240601u)) {
        double q[kArmJoints];
        for (int j = 0; j < kArmJoints; ++j)
            q[j] = static_cast<double>(angles.*kJointFields[j]) * M_PI / 180.0;
        KDL::Frame flange = chain.FlangeFrame(q);
        flange.p = flange.p * kPoseUnitsPerMetre;
        const KDL::Frame pose = ArmMGDFrame(arm, angles);
        if (PositionGap(pose, flange) > kCheckPosition || RotationGap(pose, flange) > kCheckRotation)
            return Differ("la pose de l'outil", angles, PositionGap(pose, flange), RotationGap(pose, flange));
        const JointAngles model = ModelAngles(arm, angles);
        for (int link = 0; link < kLinkCount; ++link) {
            KDL::Frame drawn = FrameOf(LinkMeshTransform(turns.x, model, arm.offset, link));
            drawn.p = drawn.p * (kPoseUnitsPerMetre / kSceneUnitsPerMetre);
            KDL::Frame expected = chain.LinkFrame(link, q) * bake[link];
            expected.p = expected.p * kPoseUnitsPerMetre;
            if (PositionGap(drawn, expected) > kCheckPosition || RotationGap(drawn, expected) > kCheckRotation)
                return Differ(("le segment dessiné " + std::string(kLinkNames[link])).c_str(), angles,
                              PositionGap(drawn, expected), RotationGap(drawn, expected));
        }
    }
    return true;
}
