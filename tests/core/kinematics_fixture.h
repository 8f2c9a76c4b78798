#pragma once
// Builders shared by the kinematics tests: the example arm, seeded random
// angles and poses, and an independent rotation chain to check orientations.
#include "dataset/DataSet.h"
#include "kinematics/Kinematics.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace kxtest {

// The example arm: h = 100, a2 = 30, a3 = 120, e = 20, d = 110, exactly.
inline ArmLengths ExampleArm()
{
    return {100.0, 30.0, 120.0, 20.0, 110.0};
}

// The arm of the shipped data set when it is there, else the example arm
// as robot.opt would give it (offsets 1.0, 0.3, 1.2, 0.2, 0.9).
inline ArmLengths DefaultArm()
{
    const std::string dir = std::string(KX_SOURCE_DIR) + "/default";
    if (std::FILE* f = std::fopen((dir + "/robot.opt").c_str(), "r")) {
        std::fclose(f);
        if (const std::optional<ArmDescription> arm = LoadDataSet(dir).arm)
            return arm->Lengths();
    }
    return MakeArmLengths(1.0f, 0.3f, 1.2f, 0.2f, 0.9f);
}

inline bool SameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Joint angles with the arm joints inside the MGI's search ranges
// and the wrist anywhere.
inline JointAngles RandomReachableAngles(std::mt19937& rng)
{
    std::uniform_real_distribution<float> turn(-180.0f, 180.0f), a23(-90.0f, 60.0f), a34(-160.0f, 140.0f);
    return {turn(rng), a23(rng), a34(rng), turn(rng), turn(rng), turn(rng)};
}

inline ToolPose ArmMGD(const ArmLengths& arm, const JointAngles& angles)
{
    ToolPose pose;
    ComputeMGD(arm, angles, &pose);
    return pose;
}

// ---------------------------------------------------------------------------
// An independent orientation chain: plain 3x3 products of the joint
// rotations (with rounded quarter turns), to check the MGD's
// closed form and its axis-angle decomposition together.
// ---------------------------------------------------------------------------

struct Mat3 {
    double m[3][3];
};

inline Mat3 Mul(const Mat3& a, const Mat3& b)
{
    Mat3 r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                r.m[i][j] += a.m[i][k] * b.m[k][j];
    return r;
}

inline Mat3 RotZ(double t)
{
    return {{{std::cos(t), -std::sin(t), 0}, {std::sin(t), std::cos(t), 0}, {0, 0, 1}}};
}
inline Mat3 RotX(double t)
{
    return {{{1, 0, 0}, {0, std::cos(t), -std::sin(t)}, {0, std::sin(t), std::cos(t)}}};
}

inline Mat3 ChainRotation(const JointAngles& a)
{
    const double k = M_PI / 180.0, q = M_PI / 2;
    Mat3 r = RotZ(a.A12 * k);
    for (const Mat3& next : {RotX(q), RotZ((a.A23 + static_cast<double>(a.A34)) * k), RotX(q), RotZ(a.A45 * k),
                             RotX(-q), RotZ(a.A56 * k), RotX(q), RotZ(a.A67 * k)})
        r = Mul(r, next);
    return r;
}

inline Mat3 RotationOfPose(const ToolPose& pose)
{
    Mat3 r;
    PoseRotation(pose, r.m);
    return r;
}

inline double MaxDifference(const Mat3& a, const Mat3& b)
{
    double worst = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const double d = std::fabs(a.m[i][j] - b.m[i][j]);
            if (std::isnan(d))
                return d;  // fmax would drop it
            worst = std::fmax(worst, d);
        }
    return worst;
}

}  // namespace kxtest
