// The arm as an Orocos KDL chain (see KdlArm.h).
#include "bench/KdlArm.h"

#include "config/OptionsParser.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// The fixed quarter turns, written exactly (KDL::Rotation::RotX would round
// cos 90 to 6e-17).
KDL::Rotation QuarterTurnX(int sign)
{
    return KDL::Rotation(1, 0, 0, 0, 0, -sign, 0, sign, 0);
}

const double kDegrees = M_PI / 180.0;

}  // namespace

KDL::Chain MakeKdlArm(const ArmLengths& l)
{
    using KDL::Frame;
    using KDL::Joint;
    using KDL::Segment;
    using KDL::Vector;
    // The forward model's chain: base -> up h -> Rz(t1) -> out a2 -> Rx(+90)
    // -> Rz(t2) -> along a3 -> Rz(t3) -> along e, then -d along y (the
    // wrist centre) -> Rx(+90) Rz(t4) Rx(-90) Rz(t5) Rx(+90) Rz(t6).
    KDL::Chain chain;
    chain.addSegment(Segment(Joint(Joint::None), Frame(Vector(0, 0, l.h))));
    chain.addSegment(Segment(Joint(Joint::RotZ), Frame(QuarterTurnX(+1), Vector(l.a2, 0, 0))));
    chain.addSegment(Segment(Joint(Joint::RotZ), Frame(Vector(l.a3, 0, 0))));
    chain.addSegment(Segment(Joint(Joint::RotZ), Frame(QuarterTurnX(+1), Vector(l.e, -l.d, 0))));
    chain.addSegment(Segment(Joint(Joint::RotZ), Frame(QuarterTurnX(-1))));
    chain.addSegment(Segment(Joint(Joint::RotZ), Frame(QuarterTurnX(+1))));
    chain.addSegment(Segment(Joint(Joint::RotZ), Frame::Identity()));
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

ArmLengths BenchArm()
{
    const std::string path = std::string(KX_SOURCE_DIR) + "/default/robot.opt";
    if (FILE* f = std::fopen(path.c_str(), "r")) {
        std::fclose(f);
        if (const COptions* options = COptionsParser::GetOptions(path.c_str()))
            return MakeArmLengths(*options);
    }
    return {100.0, 30.0, 120.0, 20.0, 110.0};
}

JointLimits BenchLimits()
{
    JointLimits limits;
    std::fill(limits.low, limits.low + 6, -180.0f);
    std::fill(limits.high, limits.high + 6, 180.0f);
    const std::string path = std::string(KX_SOURCE_DIR) + "/default/glui.opt";
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f)
        return limits;
    std::fclose(f);
    const COptions* options = COptionsParser::GetOptions(path.c_str());
    return options ? ReadJointLimits(*options) : limits;
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
