#pragma once
// A planned move against the arm's cell: where its path first touches
// something, and how near it comes. The trajectory's samples are checked
// with the steps between them that keep every point of the links within
// kMaxSampleMove of the last one checked (JointReach.h), so nothing
// thicker than that is crossed unseen.
#include "motion/MovePlanner.h"

class CCollisionWorld;

// A planned move whose path touches something becomes a refusal there:
// the pair, how far along the tool point's way (its length) and where, the
// way drawn as far as the contact and refused from it. A refused plan, or
// one that touches nothing, is left as it is.
void RefuseAtFirstContact(const CCollisionWorld& world, const ArmDescription& arm, MovePlan* plan);

// Poses along a planned path where its clearance is measured.
constexpr int kClearancePoses = 16;

// The smallest exact clearance (CCollisionWorld::ExactClearanceOf) at
// kClearancePoses poses evenly spaced in time along the plan, the first
// and the last included; infinite when nothing is checked. Between two of
// them the arm may come nearer, by at most what its points move there.
double PlanClearance(const CCollisionWorld& world, const MovePlan& plan);
