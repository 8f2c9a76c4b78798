// The arm as an Orocos KDL chain (see KdlArm.h).
#include "bench/KdlArm.h"

#include "dataset/DataSet.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// A fixed turn about x, written exactly for quarter turns (KDL::Rotation::RotX
// would round cos 90 to 6e-17).
KDL::Rotation TurnX(float degrees)
{
    if (degrees == 0.0f)
        return KDL::Rotation::Identity();
    if (degrees == 90.0f || degrees == -90.0f) {
        const double s = degrees > 0 ? 1.0 : -1.0;
        return KDL::Rotation(1, 0, 0, 0, 0, -s, 0, s, 0);
    }
    return KDL::Rotation::RotX(degrees * M_PI / 180.0);
}

const double kDegrees = M_PI / 180.0;

}  // namespace

KDL::Chain MakeKdlArm(const ArmLengths& lengths)
{
    // Each link of the model's chain is Rx(turn) Rz(joint) T(offset); as KDL
    // segments, a joint carries its link's translation and the next link's
    // turn: Rz(q) then the frame (Rx(next turn), offset).
    ModelLink links[kLinkCount];
    ModelChain(lengths, links);
    auto tip = [&](int link) {
        const ModelLink& l = links[link];
        const KDL::Rotation next = link + 1 < kLinkCount ? TurnX(links[link + 1].turnX) : KDL::Rotation::Identity();
        return KDL::Frame(next, KDL::Vector(l.offset[0], l.offset[1], l.offset[2]));
    };
    KDL::Chain chain;
    chain.addSegment(KDL::Segment(KDL::Joint(KDL::Joint::None), tip(0)));
    for (int link = 1; link < kLinkCount; ++link)
        chain.addSegment(KDL::Segment(KDL::Joint(KDL::Joint::RotZ), tip(link)));
    return chain;
}

KDL::JntArray ToKdl(const JointAngles& a)
{
    KDL::JntArray q(6);
    const float v[6] = {a.A12, a.A23, a.A34, a.A45, a.A56, a.A67};
    for (int i = 0; i < 6; ++i)
        q(i) = v[i] * kDegrees;
    return q;
}

JointAngles FromKdl(const KDL::JntArray& q)
{
    auto deg = [&](int i) { return static_cast<float>(q(i) / kDegrees); };
    return {deg(0), deg(1), deg(2), deg(3), deg(4), deg(5)};
}

bool ShippedArm(ArmDescription* arm)
{
    const std::string dir = std::string(KX_SOURCE_DIR) + "/default";
    if (access((dir + "/robot.opt").c_str(), R_OK) != 0)
        return false;
    const std::optional<ArmDescription> shipped = LoadDataSet(dir).arm;
    if (shipped)
        *arm = *shipped;
    return shipped.has_value();
}

ArmLengths BenchArm()
{
    ArmDescription arm;
    if (ShippedArm(&arm))
        return arm.Lengths();
    return {100.0, 30.0, 120.0, 20.0, 110.0};
}

JointLimits BenchLimits()
{
    ArmDescription arm;
    if (ShippedArm(&arm))
        return arm.limits;
    JointLimits limits;
    std::fill(limits.low, limits.low + 6, -180.0f);
    std::fill(limits.high, limits.high + 6, 180.0f);
    return limits;
}

std::vector<JointAngles> BenchTargets(int count, unsigned seed, const JointLimits& limits)
{
    const float searchLow[6] = {-180, -90, -160, -180, -180, -180};
    const float searchHigh[6] = {180, 60, 140, 180, 180, 180};
    std::uniform_real_distribution<float> draw[6];
    for (int i = 0; i < 6; ++i) {
        float low = std::max(searchLow[i], limits.low[i]), high = std::min(searchHigh[i], limits.high[i]);
        if (!(low < high)) {  // no overlap: the search range alone
            low = searchLow[i];
            high = searchHigh[i];
        }
        draw[i] = std::uniform_real_distribution<float>(low, high);
    }
    std::mt19937 rng(seed);
    std::vector<JointAngles> targets;
    for (int n = 0; n < count; ++n) {
        float v[6];
        for (int i = 0; i < 6; ++i)
            v[i] = draw[i](rng);
        targets.push_back({v[0], v[1], v[2], v[3], v[4], v[5]});
    }
    return targets;
}
