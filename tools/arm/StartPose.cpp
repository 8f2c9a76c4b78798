#include "tools/arm/StartPose.h"

#include "kinematics/Kinematics.h"
#include "kinematics/MGIExact.h"
#include "kinematics/Singularity.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

// How clear of the planner's thresholds a start must be: a few times each,
// so that a move of some tens of degrees from it does not reach them.
constexpr double kWristClearance = 30.0;    // degrees from 0 and 180
constexpr double kElbowClearance = 30.0;    // degrees from stretched and folded
constexpr double kShoulderClearance = 0.2;  // of the reach, from the base axis
constexpr double kSearchStep = 5.0;         // degrees

double Degrees(double radians)
{
    return radians * 180.0 / M_PI;
}

// A joint left out of the search stays at 0, or at the middle of its limits.
double Resting(const SerialJoint& joint)
{
    return joint.lower <= 0.0 && joint.upper >= 0.0 ? 0.0 : Degrees(joint.lower + joint.upper) / 2.0;
}

}  // namespace

std::array<double, kArmJoints> StartAngles(const SerialArm& arm, const ArmFit& fit)
{
    std::array<double, kArmJoints> start;
    for (int j = 0; j < kArmJoints; ++j)
        start[j] = Resting(arm.joints[j]);
    const CSingularityMeter meter(fit.lengths);
    const double reach = fit.lengths.a2 + fit.lengths.a3 + std::hypot(fit.lengths.e, fit.lengths.d);
    auto clear = [&](const std::array<double, kArmJoints>& angles) {
        JointAngles model;
        for (int j = 0; j < kArmJoints; ++j)
            model.*kJointFields[j] = static_cast<float>(ModelAngle(fit, j, angles[j]));
        const SingularityMeasures m = meter.Measure(model);
        float x, y, z;
        ComputeMGDPosition(fit.lengths, model.A12, model.A23, model.A34, &x, &y, &z);
        // Reaching forward, as an arm stands to work, not back over its base.
        const ArmPosture posture = PostureOf(fit.lengths, model);
        return m.wrist >= kWristClearance && m.elbow >= kElbowClearance && m.shoulder >= kShoulderClearance * reach &&
               z > 0 && !posture.back && !posture.flipped;
    };
    // Each searched joint within its limits, from its resting angle outward.
    auto values = [&](int j) {
        std::vector<double> v;
        const double low = Degrees(arm.joints[j].lower), high = Degrees(arm.joints[j].upper);
        for (double d = 0; d <= 180; d += kSearchStep)
            for (double sign : {1.0, -1.0})
                if (const double a = start[j] + sign * d; a >= low && a <= high && (d > 0 || sign > 0))
                    v.push_back(a);
        return v;
    };
    std::array<double, kArmJoints> best = start;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (double shoulder : values(1))
        for (double elbow : values(2))
            for (double wrist : values(4)) {
                std::array<double, kArmJoints> angles = start;
                angles[1] = shoulder;
                angles[2] = elbow;
                angles[4] = wrist;
                const double distance = shoulder * shoulder + elbow * elbow + wrist * wrist;
                if (distance < bestDistance && clear(angles)) {
                    best = angles;
                    bestDistance = distance;
                }
            }
    return best;
}
