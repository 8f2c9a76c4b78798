#include "tools/datagen/ArmModel.h"

#include <cmath>

namespace datagen {

const ArmLengths& DefaultArmLengths()
{
    // Proportions of a mid-size six-axis arm; the scene unit is about 20 cm.
    // A reach of about 9.8 units (8.3 in the start pose) fills a good part of
    // the start view.
    static const ArmLengths arm = {4.0, 1.0, 4.4, 0.55, 4.4, 0.65, 1.0};
    return arm;
}

std::array<Vec3, kLinkCount> LinkOffsets(const ArmLengths& arm)
{
    // Only these offsets put the drawn wrist centre where the geometric
    // models put it: the elbow offset must be (e, -e, 0) and the forearm
    // carries the rest of d. The wrist's length lies along its local y (the
    // continuation of the forearm); the hand's offset marks the point between
    // the fingertips (its local -z) and moves nothing that is drawn.
    return {{
        {0.0, 0.0, arm.h},
        {arm.a2, 0.0, 0.0},
        {arm.a3, 0.0, 0.0},
        {arm.e, -arm.e, 0.0},
        {0.0, 0.0, arm.d - arm.e},
        {0.0, arm.wrist, 0.0},
        {0.0, 0.0, -arm.tool},
    }};
}

std::array<double, kJointCount> StartAngles()
{
    // Upper arm 45 degrees up, forearm 30 degrees below the horizontal
    // (A23 + A34 = 60), wrist bent by that same 60 degrees so that the
    // gripper points straight down; the arm turned 25 degrees away from the
    // camera, so it is seen three-quarters on with its lit side showing.
    return {-25.0, 45.0, 15.0, 0.0, 60.0, 0.0};
}

ChainFrames ComposeChain(const std::array<Vec3, kLinkCount>& offsets, const std::array<double, kJointCount>& angles)
{
    ChainFrames chain;
    Frame current;
    for (int i = 0; i < kLinkCount; ++i) {
        const double jointAngle = i == 0 ? 0.0 : angles[i - 1];
        current = current * RotationX(kLinkTurnX[i]) * RotationZ(jointAngle);
        chain.meshFrame[i] = current;
        current = current * Translation(offsets[i]);
        chain.endFrame[i] = current;
    }
    return chain;
}

namespace {

// The cross-sections below are drawn for an arm with a 3.4-unit upper arm;
// each link is built at that size and scaled with the arm as a whole.
const double kDesignUpperArm = 3.4;

const int kRound = 40;  // segments of the large round parts
const int kSmall = 24;  // segments of the small ones
const Vec3 kX{1, 0, 0}, kY{0, 1, 0}, kZ{0, 0, 1};

Frame Along(Vec3 origin, Vec3 axis, Vec3 hint)
{
    return AxisFrame(origin, axis, hint);
}

// A frame whose xy plane is spanned by the link frame's axes u and v, so that
// a Slab outline drawn in it lies in that plane; its z is u x v.
Frame PlaneFrame(Vec3 u, Vec3 v)
{
    Frame f;
    f.ex = u;
    f.ey = v;
    f.ez = Cross(u, v);
    return f;
}

MeshData Body(const ArmLengths& arm, MeshBuilder m)
{
    const Frame world;
    const double top = arm.h - 0.95;                          // where the turret sits
    m.Frustum(world, 0.0, 0.22, 1.15, 1.15, kRound);          // foot plate
    m.Frustum(world, 0.22, 0.34, 1.15, 0.95, kRound, false);  // its chamfer
    for (int i = 0; i < 6; ++i) {                             // anchor bolts
        const Frame bolt = RotationZ(30.0 + 60.0 * i) * Translation({1.0, 0.0, 0.0});
        m.Frustum(bolt, 0.22, 0.3, 0.07, 0.07, 8, false);
    }
    m.Frustum(world, 0.34, top - 0.12, 0.72, 0.62, kRound, false);  // column
    m.Frustum(world, top - 0.12, top, 0.7, 0.7, kRound);            // bearing ring
    m.Box(world, {-0.98, -0.32, 0.34}, {-0.55, 0.32, 1.0});         // connector box
    m.Frustum(Along({-0.98, 0.0, 0.72}, {-1, 0, 0}, kZ), 0.0, 0.12, 0.12, 0.12, 12, false);
    return m.ToMesh();
}

MeshData Shoulder(const ArmLengths& arm, MeshBuilder m)
{
    const Frame local;
    m.Frustum(local, -0.95, -0.78, 0.82, 0.82, kRound);         // turntable
    m.Frustum(local, -0.78, -0.35, 0.76, 0.62, kRound, false);  // turret
    // Two cheeks carrying the upper arm's joint, in the xz plane, on either
    // side of the upper arm (which spans y = -0.26 .. 0.26).
    const Frame cheeks = PlaneFrame(kX, kZ);  // its z is -y
    m.Slab(cheeks, {0.0, -0.45}, 0.6, {arm.a2, 0.0}, 0.46, -0.56, -0.3, kRound);
    m.Slab(cheeks, {0.0, -0.45}, 0.6, {arm.a2, 0.0}, 0.46, 0.3, 0.56, kRound);
    // The shoulder motor on one side, a bearing cover on the other.
    const Frame motor = Along({arm.a2, 0.56, 0.0}, kY, kX);
    m.Frustum(motor, 0.0, 0.38, 0.3, 0.3, kSmall, false, false);
    m.Cap(motor * Translation({0, 0, 0.38}), 0.3, 0.12, kSmall, 4);
    m.Frustum(Along({arm.a2, -0.56, 0.0}, {0, -1, 0}, kX), 0.0, 0.08, 0.36, 0.3, kSmall, false);
    return m.ToMesh();
}

MeshData UpperArm(const ArmLengths& arm, MeshBuilder m)
{
    const Frame local;  // x along the arm, z the joint axes
    m.Slab(local, {0.0, 0.0}, 0.44, {arm.a3, 0.0}, 0.33, -0.26, 0.26, kRound + 8);
    for (double side : {1.0, -1.0}) {  // bearing covers at both joints
        m.Frustum(Along({0, 0, 0.26 * side}, {0, 0, side}, kX), 0.0, 0.05, 0.32, 0.28, kSmall, false);
        m.Frustum(Along({arm.a3, 0, 0.26 * side}, {0, 0, side}, kX), 0.0, 0.05, 0.24, 0.2, kSmall, false);
    }
    return m.ToMesh();
}

MeshData Elbow(const ArmLengths& arm, MeshBuilder m)
{
    // The joint axis is z; the forearm leaves along -y from (e, -e, 0). The
    // housing reaches behind the forearm, where a real arm keeps the wrist
    // motors as a counterweight.
    const Frame local;
    m.Frustum(local, -0.3, 0.3, 0.37, 0.37, kRound);
    m.Slab(local, {0.0, 0.0}, 0.37, {arm.e, 0.35}, 0.33, -0.27, 0.27, kRound);
    const Frame collar = Along({arm.e, 0.6, 0.0}, {0, -1, 0}, kX);
    m.Frustum(collar, 0.0, 0.6 + arm.e, 0.31, 0.31, kRound, false);
    m.Cap(Along({arm.e, 0.6, 0.0}, kY, kX), 0.31, 0.14, kRound, 5);
    return m.ToMesh();
}

MeshData LowerArm(const ArmLengths& arm, MeshBuilder m)
{
    // z along the forearm to the wrist centre at z = d - e; the wrist's joint
    // axis there is the local y.
    const double len = arm.d - arm.e;
    const Frame local;
    m.Frustum(local, 0.0, 0.12, 0.31, 0.31, kRound);                   // roll bearing
    m.Frustum(local, 0.12, len - 0.44, 0.27, 0.2, kRound, false);      // tube
    m.Box(local, {-0.2, -0.28, len - 0.52}, {0.2, 0.28, len - 0.36});  // fork base
    const Frame prongs = PlaneFrame(kZ, kX);                           // its z is y
    m.Slab(prongs, {len - 0.44, 0.0}, 0.2, {len, 0.0}, 0.19, 0.17, 0.28, kSmall);
    m.Slab(prongs, {len - 0.44, 0.0}, 0.2, {len, 0.0}, 0.19, -0.28, -0.17, kSmall);
    return m.ToMesh();
}

MeshData Wrist(const ArmLengths& arm, MeshBuilder m)
{
    // The bending axis is z at the origin; the wrist reaches along y to the
    // flange at y = wrist.
    const Frame local;
    m.Frustum(local, -0.16, 0.16, 0.19, 0.19, kSmall);
    m.Slab(local, {0.0, 0.0}, 0.19, {0.0, arm.wrist - 0.14}, 0.15, -0.15, 0.15, kSmall);
    m.Frustum(Along({0, arm.wrist - 0.2, 0}, kY, kX), 0.0, 0.2, 0.15, 0.14, kSmall);
    return m.ToMesh();
}

MeshData Hand(const ArmLengths& arm, MeshBuilder m)
{
    // The flange faces the local -z; the gripper extends that way.
    const Frame down = Along({0, 0, 0}, {0, 0, -1}, kX);
    m.Frustum(down, 0.0, 0.07, 0.17, 0.17, kSmall);  // flange
    m.Frustum(down, 0.07, 0.2, 0.12, 0.12, kSmall);  // adapter
    const Frame local;
    m.Box(local, {-0.28, -0.12, -0.42}, {0.28, 0.12, -0.2});  // gripper body
    for (double side : {1.0, -1.0}) {                         // two fingers
        const double x0 = 0.1 * side, x1 = 0.18 * side;
        m.Box(local, {std::fmin(x0, x1), -0.08, -arm.tool + 0.06}, {std::fmax(x0, x1), 0.08, -0.42});
        const double t0 = 0.05 * side;
        m.Box(local, {std::fmin(t0, x1), -0.08, -arm.tool}, {std::fmax(t0, x1), 0.08, -arm.tool + 0.06});
    }
    return m.ToMesh();
}

}  // namespace

std::array<MeshData, kLinkCount> BuildArmMeshes(const ArmLengths& arm)
{
    const double k = arm.a3 / kDesignUpperArm;
    const ArmLengths design = {arm.h / k, arm.a2 / k, arm.a3 / k, arm.e / k, arm.d / k, arm.wrist / k, arm.tool / k};
    // Texture coordinates stay within the bright, gently shaded part of the
    // metal image: the full image (dark floor, sharp horizon) would stripe
    // the links when the sphere mapping is off.
    MeshBuilder m;
    m.scale = k;
    m.uvScale = {0.3, 0.22};
    m.uvOffset = {0.56, 0.1};
    return {Body(design, m),     Shoulder(design, m), UpperArm(design, m), Elbow(design, m),
            LowerArm(design, m), Wrist(design, m),    Hand(design, m)};
}

}  // namespace datagen
