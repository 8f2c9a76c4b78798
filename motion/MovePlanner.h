#pragma once
// The planned moves of the arm as its data set describes it: a synchronised
// joint move, a straight line (or lines through several targets, the
// corners rounded or not) or an arc of the tool point, planned whole
// from where the arm stands with the arm's speeds, accelerations, limits and
// tool, in the data set's own angles. What the commands movej, movel, movec
// and check, and the panel's "Aller à la pose" and "Vérifier", go through.
#include "arm/ArmDescription.h"
#include "motion/MoveSettings.h"
#include "motion/PlanFailure.h"
#include "motion/PlannedTrajectory.h"

#include <memory>
#include <vector>

enum class MoveKind { Joint, Linear, Arc };

struct MoveRequest {
    MoveKind kind = MoveKind::Joint;
    JointAngles joints{};  // a joint move's target, in the data set's angles
    ToolPose pose{};       // a line's or an arc's target pose (of the tool point)
    float via[3] = {};     // an arc's via point, pose units
    // A line through several targets: the ones before `pose`, in order; the
    // arm stops at each unless `blend` rounds the corners there.
    std::vector<ToolPose> through;
    double blend = 0;  // radius of the rounded corners at `through`'s targets, pose units; 0: stops at each
};

struct MovePlan {
    bool ok = false;
    PlanFailure failure;  // when refused
    // When planned: the trajectory in the data set's angles.
    std::unique_ptr<CPlannedTrajectory> trajectory;
    double duration = 0;  // seconds, at the speed override
    // The tool point's way (pose units), drawn before the arm moves: the
    // whole planned path, or for a refused one the path as far as it can be
    // drawn, refused from `refusedFrom` on (an index into `path`; its size
    // when planned).
    std::vector<ToolPose> path;
    std::size_t refusedFrom = 0;
};

class CCollisionWorld;

// The move from `start` (the data set's angles), at `speedPercent` (1 to
// 100) of the arm's speeds; with a cell, refused where its path first
// touches anything there (PlanContacts.h).
MovePlan PlanMove(const ArmDescription& arm, const JointAngles& start, const MoveRequest& request, double speedPercent,
                  const CCollisionWorld* cell = nullptr);

// The arm's joints, speeds and tool as the planners take them, in the
// models' angles.
MoveSetup MoveSetupOf(const ArmDescription& arm);
// A refusal found in the models' angles, said in the data set's: its angle
// in the data set's numbering, its joint by the arm's own name.
void NumberAsArm(const ArmDescription& arm, PlanFailure* failure);
