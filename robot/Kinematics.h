#pragma once
// The arm's geometric models as pure functions on its five lengths:
//   - the forward model (MGD): six joint angles -> wrist centre and hand
//     orientation;
//   - the inverse model (MGI): a tool pose -> six joint angles, by a grid
//     search on the three arm joints and a closed-form wrist.
// No GL, no global state, no logging: CRobot, the kalimbrax-kin tool, the
// tests and the benchmarks all call the same code.
//
// Every computation is double precision with the fixed factors below; the
// results are rounded to single precision when stored. The order of the
// operations is part of the result (the inverse model's search compares
// distances with a less-or-equal rule), so this code must never be built
// with -ffast-math or floating-point contraction.
#include "robot/RobotTypes.h"

class COptions;

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
ArmLengths MakeArmLengths(float fBodySizeZ, float fShoulderSizeX, float fUpperArmSizeX,
                          float fElbowSizeY, float fLowerArmSizeZ);
// The same from an option set (missing keys are 0.0, as for the drawing).
ArmLengths MakeArmLengths(const COptions& robotOptions);

// Forward model. Writes all six fields of *pose on every call. The position
// depends on A12, A23, A34 only. An orientation equal to the identity gives
// alpha = beta = -0 (any axis is right for a zero rotation), like a half turn.
void ComputeMGD(const ArmLengths& lengths, const JointAngles& angles, ToolPose* pose);

// Wrist centre of the forward model alone, bit-identical to the X, Y, Z of
// ComputeMGD for the same A12, A23, A34.
void ComputeMGDPosition(const ArmLengths& lengths, float a12, float a23, float a34,
                        float* x, float* y, float* z);

// What one inverse-model search did, for tests and measurements.
struct MGISearchInfo {
    int coarseEvaluations = 0;  // always 66
    int fineEvaluations = 0;    // at most kMaxFineEvaluations
    bool bounded = false;       // the fine search stopped at the bound
    double bestDistance2 = 0;   // squared distance of the kept candidate
};

// Bound of the fine search. An arm whose wrist centre does not depend on A23
// and A34 (all lengths 0), or moves with only one of them, makes the window
// run away forever; ordinary arms need a few thousand evaluations at most.
constexpr int kMaxFineEvaluations = 20000;

// Inverse model. Never fails: a position out of reach gives the arm angles
// of the nearest candidate found, the wrist angles are always finite for a
// finite pose. Returns angles.
JointAngles* ComputeMGI(const ArmLengths& lengths, const ToolPose& pose, JointAngles* angles,
                        MGISearchInfo* info = nullptr);

// The closed-form wrist of the inverse model, given the target pose, theta1
// (radians, the exact atan2 of the target position) and the arm angles the
// search kept. Writes A23, A34 (converted through radians like the others),
// A45, A56, A67; leaves A12 alone. Exposed so that a plain reimplementation
// of the search can be compared with ComputeMGI as a whole.
void SolveMGIWrist(const ToolPose& pose, double theta1, float bestA23, float bestA34,
                   JointAngles* angles);

// The full rotation matrix of a pose's orientation (rotation by gamma about
// the axis given by alpha and beta), row-major m[row][column].
void PoseRotation(const ToolPose& pose, double m[3][3]);

// The two halves of the closed-form wrist, exposed so that tests can reach
// the exact thresholds. r is the target rotation, c1 s1 of theta1, c23 s23 of
// theta2 + theta3.
// The cosine K of theta5, clamped into [-1, 1]; |s23| <= threshold uses the
// near-zero form -r33 / c23.
double MGIWristCosine(const double r[3][3], double c1, double s1, double c23, double s23);
// theta4 and theta6 (radians) from M = (Rz(t1) Rx(90) Rz(t2+t3) Rx(90))^T r
// = Rz(t4) Ry(t5) Rz(t6); |sin theta5| <= threshold gives theta4 = 0.
void MGIWristEuler(const double r[3][3], double c1, double s1, double c23, double s23, double theta5,
                   double* theta4, double* theta6);
