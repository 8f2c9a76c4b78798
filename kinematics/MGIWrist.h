#pragma once
// The closed-form wrist of the MGI. Once A12, A23 and A34 are
// fixed, the hand's orientation leaves the wrist one rotation to make,
//   M = C^T R = Rz(t4) Ry(t5) Rz(t6),
// with R the target rotation and C = Rz(t1) Rx(+90) Rz(t2+t3) Rx(+90) the
// arm's frame. Two wrists make it: t5 in [0, pi] and its flipped twin
// (t4 + pi, -t5, t6 + pi).
//
// r is the target rotation (PoseRotation), c1 s1 of theta1, c23 s23 of
// theta2 + theta3.
#include "kinematics/RobotTypes.h"

// M = C^T r, row-major.
void MGIWristMatrix(const double r[3][3], double c1, double s1, double c23, double s23, double m[3][3]);

// ---------------------------------------------------------------------------
// The grid model's wrist: t5 from the cosine K with its near-zero form, the
// singular branch within the models' threshold.
// ---------------------------------------------------------------------------

// The wrist of the grid model, given the target pose, theta1 (radians, the
// exact atan2 of the target position) and the arm angles the search kept.
// Writes A23, A34 (converted through radians like the others), A45, A56,
// A67; leaves A12 alone. Exposed so that a plain reimplementation of the
// search can be compared with the grid model as a whole.
void SolveMGIWrist(const ToolPose& pose, double theta1, float bestA23, float bestA34, JointAngles* angles);

// Its two halves, exposed so that tests can reach the exact thresholds.
// The cosine K of theta5, clamped into [-1, 1]; |s23| <= threshold uses the
// near-zero form -r33 / c23.
double MGIWristCosine(const double r[3][3], double c1, double s1, double c23, double s23);
// theta4 and theta6 (radians) from M; |sin theta5| <= threshold gives
// theta4 = 0.
void MGIWristEuler(const double r[3][3], double c1, double s1, double c23, double s23, double theta5, double* theta4,
                   double* theta6);

// ---------------------------------------------------------------------------
// The exact wrist: every angle from M itself.
// ---------------------------------------------------------------------------

// The wrist with t5 in [0, pi], in radians. Returns false at a stretched or
// folded wrist (sin t5 within rounding of 0), where only t4 + t6 or t4 - t6
// is defined: t4 is then 0, and the flipped twin is the same wrist.
bool SolveWristExactly(const double m[3][3], double* theta4, double* theta5, double* theta6);
