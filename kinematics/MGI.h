#pragma once
// The MGI as its callers use it (the panel, the kalimbrax-kin
// tool, scripts): the model a data set asks for, its answer brought into the
// joints' limits, and how it went.
//  - The grid model (MGIGrid.h) gives its one answer, moved by whole turns
//    into the limits nearest a reference.
//  - The exact model (MGIExact.h) gives every configuration; the one nearest
//    the reference among those that fit the limits is taken, or, without an
//    arm to refer to, the one the grid search would land in.
#include "kinematics/JointLimits.h"
#include "kinematics/MGIExact.h"

enum class MGIModel { Grid, Exact };

struct MGIResult {
    JointAngles angles;  // each within its limits where a whole turn fits
    MGIModel model;
    double distance;     // from the wrist centre the angles give to the target, pose units
    bool reached;        // exact model: the target is within reach
    bool withinLimits;   // exact model: the configuration fits the limits
    ArmPosture posture;  // exact model: how the arm holds it
};

// Squared distance in joint space, each joint's difference taken modulo 360
// into [-180, 180]: how far the arm turns from one set of angles to the other.
double JointDistance2(const JointAngles& a, const JointAngles& b);

// The configuration nearest the reference among those that fit the limits
// once shifted by whole turns; when none fits, the nearest of all. Ties go to
// the first. Needs count > 0.
int NearestConfiguration(const MGIConfiguration* configurations, int count, const JointAngles& reference,
                         const JointLimits& limits);

// The MGI on a target. The reference is where the arm stands: the
// exact model takes the configuration nearest it, and both move each angle
// by whole turns into its limits nearest it.
MGIResult SolveMGI(const ArmLengths& lengths, MGIModel model, const ToolPose& target, const JointAngles& reference,
                   const JointLimits& limits);

// The exact model with the grid model's answer as reference: the
// configuration the grid search lands in (reaching forward, the wrist not
// flipped, the elbow nearest the grid's), without the grid's error, moved by
// whole turns nearest the grid's angles. What a caller without an arm at
// hand (the kalimbrax-kin tool) uses.
MGIResult SolveMGINearGrid(const ArmLengths& lengths, const ToolPose& target, const JointLimits& limits);
