#include "kinematics/ArmChain.h"

#include <cctype>
#include <cmath>

const char* const kLinkNames[kLinkCount] = {"Body", "Shoulder", "UpperArm", "Elbow", "LowerArm", "Wrist", "Hand"};
const char* const kJointNumbers[kJointCount] = {"12", "23", "34", "45", "56", "67"};
const float kLinkTurnX[kLinkCount] = {0.0f, 0.0f, 90.0f, 0.0f, 90.0f, 90.0f, 90.0f};

std::string JointName(int joint)
{
    return std::string("A") + kJointNumbers[joint];
}

std::string JointKey(const char* prefix, int joint, const char* suffix)
{
    return prefix + std::string(kJointNumbers[joint]) + suffix;
}

std::string LinkKey(const char* prefix, int link, const char* suffix)
{
    return prefix + std::string(kLinkNames[link]) + suffix;
}

std::string LinkMeshFile(int link)
{
    std::string name = kLinkNames[link];
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return "robot" + name + ".obj";
}

void LinkRotations(const float turnX[kLinkCount], const JointAngles& a, float r[kLinkCount][3])
{
    for (int link = 0; link < kLinkCount; ++link) {
        r[link][0] = turnX[link];
        r[link][1] = 0.0f;
        r[link][2] = link == 0 ? 0.0f : a.*kJointFields[link - 1];
    }
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
Matrix4 Chain(const float turnX[kLinkCount], const JointAngles& angles, const float offsets[kLinkCount][3], int link,
              bool withTranslation)
{
    float rotations[kLinkCount][3];
    LinkRotations(turnX, angles, rotations);
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

Matrix4 ChainTransform(const float turnX[kLinkCount], const JointAngles& angles, const float offsets[kLinkCount][3],
                       int last)
{
    return Chain(turnX, angles, offsets, last, true);
}

Matrix4 LinkMeshTransform(const float turnX[kLinkCount], const JointAngles& angles, const float offsets[kLinkCount][3],
                          int link)
{
    return Chain(turnX, angles, offsets, link, false);
}

void LinkFrames(const float turnX[kLinkCount], const JointAngles& angles, const float offsets[kLinkCount][3],
                Matrix4 frames[kLinkCount])
{
    // The frame's axes (columns x, y, z) and origin p, each product written
    // out as Multiply sums it: its terms against the rotation's zeros and
    // ones add nothing, the others in the same order.
    double x[3] = {1, 0, 0}, y[3] = {0, 1, 0}, z[3] = {0, 0, 1}, p[3] = {0, 0, 0};
    for (int link = 0; link < kLinkCount; ++link) {
        const double turn = static_cast<double>(turnX[link]) * M_PI / 180.0;
        const double cx = std::cos(turn), sx = std::sin(turn);
        const float degrees = link == 0 ? 0.0f : angles.*kJointFields[link - 1];
        const double joint = static_cast<double>(degrees) * M_PI / 180.0;
        const double cz = std::cos(joint), sz = std::sin(joint);
        Matrix4& m = frames[link];
        for (int row = 0; row < 3; ++row) {
            const double yx = y[row] * cx + z[row] * sx;  // Rx
            z[row] = y[row] * -sx + z[row] * cx;
            y[row] = yx;
            const double xz = x[row] * cz + y[row] * sz;  // Rz (Ry turns by 0)
            y[row] = x[row] * -sz + y[row] * cz;
            x[row] = xz;
            m.m[row] = x[row];
            m.m[4 + row] = y[row];
            m.m[8 + row] = z[row];
            m.m[12 + row] = p[row];
            p[row] = x[row] * offsets[link][0] + y[row] * offsets[link][1] + z[row] * offsets[link][2] + p[row];
        }
        m.m[3] = m.m[7] = m.m[11] = 0.0;
        m.m[15] = 1.0;
    }
}

void ModelChain(const ArmLengths& l, ModelLink links[kLinkCount])
{
    const double offsets[kLinkCount][3] = {{0, 0, l.h},       {l.a2, 0, 0}, {l.a3, 0, 0}, {l.e, -l.e, 0},
                                           {0, 0, l.d - l.e}, {0, 0, 0},    {0, 0, 0}};
    for (int link = 0; link < kLinkCount; ++link) {
        links[link].turnX = link == kWristLink ? kModelWristTurnX : kLinkTurnX[link];
        for (int k = 0; k < 3; ++k)
            links[link].offset[k] = offsets[link][k];
    }
}
