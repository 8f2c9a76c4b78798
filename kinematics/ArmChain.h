#pragma once
// The arm's chain, written once: seven links from the body to the hand and
// six revolute joints between them. Each joint turns its link about the
// link's local z, after a fixed turn about x; each link then moves the frame
// on by its offset to where the next link attaches. The drawing, the data-set
// generator, the option keys and the benchmarks' KDL chain all derive from
// these tables.
#include "kinematics/Kinematics.h"
#include "kinematics/RobotTypes.h"

#include <string>

constexpr int kLinkCount = 7;
constexpr int kJointCount = 6;
// The chain is drawn in scene units; poses and the models count in pose
// units, hundredths of a scene unit.
constexpr double kPoseUnitsPerSceneUnit = 100.0;
// A set of links as a mask, bit i for link i: every link.
constexpr unsigned kEveryLink = (1u << kLinkCount) - 1;

// The links in chain order, as their option keys name them: "Body" gives
// strBodyFileObj, fBodySizeX... and the default mesh robotbody.obj.
extern const char* const kLinkNames[kLinkCount];
// The joints by the two links they join, counted from the body (1) to the
// hand (7): "12" is the joint between body and shoulder, shown as A12.
extern const char* const kJointNumbers[kJointCount];

// The fixed turn about x (degrees) before each link's joint rotation, as the
// arm is drawn: a quarter turn for the upper arm, lower arm, wrist and hand.
// The body never turns; link i (from 1) turns with joint i - 1.
extern const float kLinkTurnX[kLinkCount];
// The MGD turns the other way about x before the wrist's joint
// (A56): its hand frame is not the drawn hand's. The pose reports the model.
constexpr int kWristLink = 5;
constexpr float kModelWristTurnX = -90.0f;

// "A12" ... "A67".
std::string JointName(int joint);
// An option key of a joint or of a link: JointKey("fAngle", 0, "MaxSpeed")
// is "fAngle12MaxSpeed", LinkKey("str", 0, "FileObj") "strBodyFileObj".
std::string JointKey(const char* prefix, int joint, const char* suffix);
std::string LinkKey(const char* prefix, int link, const char* suffix);
// The default mesh file of a link: "robotbody.obj" ... "robothand.obj".
std::string LinkMeshFile(int link);

// The rotation (degrees about x, y, z) each link gets before its mesh is
// drawn: its fixed turn about x (turnX, kLinkTurnX for the arm as the data
// sets describe it), then its joint's angle about z.
void LinkRotations(const float turnX[kLinkCount], const JointAngles& angles, float rotations[kLinkCount][3]);

// Column-major 4x4 matrix, as GL takes it.
struct Matrix4 {
    double m[16];
};

// The model transform of the chain up to and including link `last`'s own
// translation: Rx·Ry·Rz then T for every link from the body to `last`. The
// frame after the lower arm (last = 4) has the wrist centre at its origin.
Matrix4 ChainTransform(const float turnX[kLinkCount], const JointAngles& angles, const float offsets[kLinkCount][3],
                       int last);

// The model transform under which link `link`'s mesh is drawn: the chain up
// to and including that link's rotation, before its own translation.
Matrix4 LinkMeshTransform(const float turnX[kLinkCount], const JointAngles& angles, const float offsets[kLinkCount][3],
                          int link);

// The seven frames LinkMeshTransform gives link by link, in one walk down
// the chain: the same products in the same order, so the same bits, at a
// seventh of the cost (the collision checks place every link at every pose).
void LinkFrames(const float turnX[kLinkCount], const JointAngles& angles, const float offsets[kLinkCount][3],
                Matrix4 frames[kLinkCount]);

// One link of the MGD's chain: the fixed turn about x before its
// joint (degrees; none for the body) and the translation after it (pose
// units).
struct ModelLink {
    float turnX;
    double offset[3];
};

// The MGD's chain: the drawn chain of an arm whose offsets fit
// the models, up to the wrist centre, turning the model's way before A56,
// with the hand's frame at the wrist centre. Its last frame is the wrist
// centre turned like the MGD's orientation.
void ModelChain(const ArmLengths& lengths, ModelLink links[kLinkCount]);
