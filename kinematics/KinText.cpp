#include "kinematics/KinText.h"

#include <cstdio>

std::string FormatKinValues(const float values[6])
{
    char text[6 * 16 + 8];
    std::snprintf(text, sizeof text, "%.9g %.9g %.9g %.9g %.9g %.9g", values[0], values[1], values[2], values[3],
                  values[4], values[5]);
    return text;
}

std::string FormatKinValues(const JointAngles& a)
{
    const float values[6] = {a.A12, a.A23, a.A34, a.A45, a.A56, a.A67};
    return FormatKinValues(values);
}

std::string FormatMatrix(const KDL::Frame& f)
{
    char text[12 * 24 + 8];
    std::snprintf(text, sizeof text, "%.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g", f.M(0, 0),
                  f.M(0, 1), f.M(0, 2), f.M(1, 0), f.M(1, 1), f.M(1, 2), f.M(2, 0), f.M(2, 1), f.M(2, 2), f.p.x(),
                  f.p.y(), f.p.z());
    return text;
}

std::string FormatKinValues(const ToolPose& p)
{
    const float values[6] = {p.X, p.Y, p.Z, p.alpha, p.beta, p.gamma};
    return FormatKinValues(values);
}
