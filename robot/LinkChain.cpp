#include "robot/LinkChain.h"

#include <cmath>

const LinkKeys kLinkKeys[kLinkCount] = {
    {"strBodyFileObj", "robotbody.obj", {"fBodySizeX", "fBodySizeY", "fBodySizeZ"}},
    {"strShoulderFileObj", "robotshoulder.obj", {"fShoulderSizeX", "fShoulderSizeY", "fShoulderSizeZ"}},
    {"strUpperArmFileObj", "robotupperarm.obj", {"fUpperArmSizeX", "fUpperArmSizeY", "fUpperArmSizeZ"}},
    {"strElbowFileObj", "robotelbow.obj", {"fElbowSizeX", "fElbowSizeY", "fElbowSizeZ"}},
    {"strLowerArmFileObj", "robotlowerarm.obj", {"fLowerArmSizeX", "fLowerArmSizeY", "fLowerArmSizeZ"}},
    {"strWristFileObj", "robotwrist.obj", {"fWristSizeX", "fWristSizeY", "fWristSizeZ"}},
    {"strHandFileObj", "robothand.obj", {"fHandSizeX", "fHandSizeY", "fHandSizeZ"}},
};

void LinkRotations(const JointAngles& a, float r[kLinkCount][3])
{
    const float table[kLinkCount][3] = {
        {0.0f, 0.0f, 0.0f},   {0.0f, 0.0f, a.A12},  {90.0f, 0.0f, a.A23}, {0.0f, 0.0f, a.A34},
        {90.0f, 0.0f, a.A45}, {90.0f, 0.0f, a.A56}, {90.0f, 0.0f, a.A67},
    };
    for (int i = 0; i < kLinkCount; ++i)
        for (int j = 0; j < 3; ++j)
            r[i][j] = table[i][j];
}

namespace {

Matrix4 Multiply(const Matrix4& a, const Matrix4& b)
{
    Matrix4 p{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k)
                p.m[col * 4 + row] += a.m[k * 4 + row] * b.m[col * 4 + k];
    return p;
}

Matrix4 Identity()
{
    return Matrix4{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

// Rotation by degrees about one axis (0 x, 1 y, 2 z), as glRotatef builds it.
Matrix4 Rotation(int axis, float degrees)
{
    const double radians = static_cast<double>(degrees) * M_PI / 180.0;
    const double c = std::cos(radians), s = std::sin(radians);
    Matrix4 r = Identity();
    const int i = (axis + 1) % 3, j = (axis + 2) % 3;  // the plane turned
    r.m[i * 4 + i] = c;
    r.m[j * 4 + j] = c;
    r.m[i * 4 + j] = s;
    r.m[j * 4 + i] = -s;
    return r;
}

Matrix4 Translation(const float t[3])
{
    Matrix4 r = Identity();
    r.m[12] = t[0];
    r.m[13] = t[1];
    r.m[14] = t[2];
    return r;
}

// Rx·Ry·Rz then T for every link before `link`, then `link`'s rotation and,
// when asked, its translation.
Matrix4 Chain(const JointAngles& angles, const float offsets[kLinkCount][3], int link, bool withTranslation)
{
    float rotations[kLinkCount][3];
    LinkRotations(angles, rotations);
    Matrix4 m = Identity();
    for (int i = 0; i <= link && i < kLinkCount; ++i) {
        for (int axis = 0; axis < 3; ++axis)
            m = Multiply(m, Rotation(axis, rotations[i][axis]));
        if (i < link || withTranslation)
            m = Multiply(m, Translation(offsets[i]));
    }
    return m;
}

}  // namespace

Matrix4 ChainTransform(const JointAngles& angles, const float offsets[kLinkCount][3], int last)
{
    return Chain(angles, offsets, last, true);
}

Matrix4 LinkMeshTransform(const JointAngles& angles, const float offsets[kLinkCount][3], int link)
{
    return Chain(angles, offsets, link, false);
}
