#include "collision/JointReach.h"

#include <algorithm>
#include <cmath>

JointReach ReachOf(const float offsets[kLinkCount][3], const double linkExtent[kLinkCount])
{
    // Joint j turns links j + 1 onwards about the origin of link j + 1's
    // frame; link k's frame lies the offsets of links j + 1 .. k - 1 away.
    JointReach reach;
    for (int joint = 0; joint < kJointCount; ++joint) {
        double along = 0.0, farthest = 0.0;
        for (int link = joint + 1; link < kLinkCount; ++link) {
            farthest = std::max(farthest, along + linkExtent[link]);
            along += kPoseUnitsPerSceneUnit * std::sqrt(double(offsets[link][0]) * offsets[link][0] +
                                                        double(offsets[link][1]) * offsets[link][1] +
                                                        double(offsets[link][2]) * offsets[link][2]);
        }
        reach.perDegree[joint] = farthest * M_PI / 180.0;
    }
    return reach;
}

double MoveBound(const JointReach& reach, const JointAngles& a, const JointAngles& b)
{
    double bound = 0.0;
    for (int joint = 0; joint < kJointCount; ++joint)
        bound +=
            reach.perDegree[joint] * std::fabs(static_cast<double>(b.*kJointFields[joint]) - a.*kJointFields[joint]);
    return bound;
}

int StepsBetween(const JointReach& reach, const JointAngles& a, const JointAngles& b, double maxMove)
{
    return std::max(1, static_cast<int>(std::ceil(MoveBound(reach, a, b) / maxMove)));
}

std::vector<JointAngles> Densify(const JointReach& reach, const std::vector<JointAngles>& samples, double maxMove)
{
    std::vector<JointAngles> dense;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (i > 0) {
            const JointAngles& a = samples[i - 1];
            const JointAngles& b = samples[i];
            const int steps = StepsBetween(reach, a, b, maxMove);
            for (int step = 1; step < steps; ++step) {
                JointAngles between;
                const double t = static_cast<double>(step) / steps;
                for (int joint = 0; joint < kJointCount; ++joint)
                    between.*kJointFields[joint] = static_cast<float>(
                        a.*kJointFields[joint] + t * (double(b.*kJointFields[joint]) - a.*kJointFields[joint]));
                dense.push_back(between);
            }
        }
        dense.push_back(samples[i]);
    }
    return dense;
}
