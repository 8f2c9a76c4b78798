#include "arm/Configurations.h"

#include "arm/ArmKinematics.h"
#include "kinematics/JointLimits.h"

#include <algorithm>
#include <cmath>

namespace {

// How far apart two sets of angles are, each joint modulo whole turns.
double TurnDistance(const JointAngles& a, const JointAngles& b)
{
    double sum = 0;
    for (float JointAngles::*joint : kJointFields)
        sum += std::fabs(std::remainder(static_cast<double>(a.*joint) - b.*joint, 360.0));
    return sum;
}

}  // namespace

std::vector<ArmConfiguration> ConfigurationsOf(const ArmDescription& arm, const JointAngles& current)
{
    const MGISolutions all = ArmMGIAll(arm, ArmMGD(arm, current));
    std::vector<ArmConfiguration> list;
    if (!all.Reached())
        return list;
    for (int i = 0; i < all.count; ++i) {
        ArmConfiguration c{i + 1, all.configurations[i].angles, all.configurations[i].posture, false, false};
        for (int joint = 0; joint < kJointCount; ++joint) {
            float& a = c.angles.*kJointFields[joint];
            a = ShiftIntoLimits(a, arm.limits.low[joint], arm.limits.high[joint], current.*kJointFields[joint]);
        }
        c.withinLimits = FitsLimits(c.angles, arm.limits);
        list.push_back(c);
    }
    // The arm's own is the one nearest its angles: the same up to the models'
    // rounding, except near a singularity, where the models give one member
    // of a family (A45 and A67 sharing one turn at A56 = 0; the two bends of
    // an elbow nearly stretched or folded).
    auto nearest =
        std::min_element(list.begin(), list.end(), [&](const ArmConfiguration& a, const ArmConfiguration& b) {
            return TurnDistance(a.angles, current) < TurnDistance(b.angles, current);
        });
    if (nearest != list.end())
        nearest->current = true;
    return list;
}

std::string DescribePosture(const ArmPosture& p)
{
    static const char* const elbows[] = {", coude en haut", ", coude en bas", ", bras tendu", ", bras replié"};
    return std::string(p.back ? "vers l'arrière" : "vers l'avant") + elbows[static_cast<int>(p.elbow)] +
           (p.flipped ? ", poignet retourné" : ", poignet non retourné");
}

std::string NoSuchConfiguration(const std::string& number)
{
    return "pas de configuration " + number + " pour la pose du bras";
}
