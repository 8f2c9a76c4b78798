#pragma once
// The arm's geometry as pure functions on its five lengths: the MGD (the
// forward geometric model), six joint angles -> wrist centre and hand
// orientation, and the rotation a pose stands for. The MGI (the inverse
// geometric model) builds on it: the grid search (MGIGrid.h), the
// closed-form solver (MGIExact.h) and the choice between them (MGI.h).
// No GL, no global state, no logging: CRobot, the kalimbrax-kin tool, the
// tests and the benchmarks all call the same code.
//
// Every computation is double precision with the fixed factors below; the
// results are rounded to single precision when stored. The order of the
// operations is part of the result (the grid search compares distances with
// a less-or-equal rule), so this code must never be built with -ffast-math
// or floating-point contraction.
#include "kinematics/RobotTypes.h"

// Degrees to radians and radians to degrees. Their product is not exactly 1:
// an angle that goes through both comes back rounded.
constexpr double kDegToRad = 0.01745329252;
constexpr double kRadToDeg = 57.2957795;
// Threshold of the near-zero branches, a single-precision value compared as
// a double (0.0010000000474974513).
constexpr double kKinThreshold = static_cast<double>(0.001f);

// The five lengths the models use, in pose units (scene units x 100).
struct ArmLengths {
    double h;   // height of the shoulder above the base plane
    double a2;  // base axis to the upper arm's joint
    double a3;  // upper arm
    double e;   // elbow offset (never negative)
    double d;   // elbow to wrist centre, e included
};

// Lengths from the five offset values of robot.opt, given as the
// single-precision values the option reader returns; the products are
// formed in double precision (100 x 0.3f is 30.0000011920929, not 30).
// The sign of the elbow offset only moves the drawn link.
ArmLengths MakeArmLengths(float fBodySizeZ, float fShoulderSizeX, float fUpperArmSizeX, float fElbowSizeY,
                          float fLowerArmSizeZ);

// MGD. Writes all six fields of *pose on every call. The position
// depends on A12, A23, A34 only. An orientation equal to the identity gives
// alpha = beta = -0 (any axis is right for a zero rotation), like a half turn.
void ComputeMGD(const ArmLengths& lengths, const JointAngles& angles, ToolPose* pose);

// The wrist frame in double precision: the wrist centre (pose units) and
// the hand's rotation matrix, row-major r[row][column], the one PoseRotation
// gives for the pose. What a planner passes along a path, where a pose's
// single-precision alpha, beta, gamma would add their rounding to every
// sample.
struct WristFrame {
    double p[3];
    double r[3][3];
};

// The MGD in double precision: the same products as ComputeMGD,
// before any rounding to single precision and before the rotation is turned
// into an axis and an angle.
WristFrame ComputeMGDFrame(const ArmLengths& lengths, const JointAngles& angles);

// Wrist centre of the MGD alone, bit-identical to the X, Y, Z of
// ComputeMGD for the same A12, A23, A34.
void ComputeMGDPosition(const ArmLengths& lengths, float a12, float a23, float a34, float* x, float* y, float* z);

// How far the wrist centre of these angles (A12, A23, A34) lies from the
// target's, in pose units.
double WristCentreDistance(const ArmLengths& lengths, const JointAngles& angles, const ToolPose& target);
double WristCentreDistance(const ArmLengths& lengths, const JointAngles& angles, const double target[3]);

// A rotation matrix (row-major) as a pose's alpha, beta, gamma: the rotation
// by gamma (0 to 180 degrees) about the axis of direction alpha, beta, as
// the MGD gives it. The other three fields are left alone.
void RotationToPose(const double r[3][3], ToolPose* pose);

// The full rotation matrix of a pose's orientation (rotation by gamma about
// the axis given by alpha and beta), row-major m[row][column].
void PoseRotation(const ToolPose& pose, double m[3][3]);
