#pragma once
// The two records the geometric models, the motion and the panel exchange.

// Six joint angles in degrees, joint between links i and j named Aij, links
// counted from the body (1) to the hand (7). No wrap-around is applied.
struct JointAngles {
    float A12, A23, A34, A45, A56, A67;
};

// The wrist centre X, Y, Z in pose units (1/100 of a scene unit) in the base
// frame, and the hand's orientation as a rotation by gamma (degrees, 0 to
// 180) about the axis given by alpha and beta (degrees).
struct ToolPose {
    float X, Y, Z, alpha, beta, gamma;
};

// The fields in order, for code that runs over the six joints or the six
// pose values: a.*kJointFields[i].
constexpr float JointAngles::*kJointFields[6] = {&JointAngles::A12, &JointAngles::A23, &JointAngles::A34,
                                                 &JointAngles::A45, &JointAngles::A56, &JointAngles::A67};
constexpr float ToolPose::*kPoseFields[6] = {&ToolPose::X,     &ToolPose::Y,    &ToolPose::Z,
                                             &ToolPose::alpha, &ToolPose::beta, &ToolPose::gamma};

// The joints' names in the same order, as messages write them.
constexpr const char* kJointNames[6] = {"A12", "A23", "A34", "A45", "A56", "A67"};
