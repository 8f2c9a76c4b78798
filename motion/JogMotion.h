#pragma once
// The continuous jog of a teach pendant: while a button is held, the tool
// moves along an axis or turns about it, or one joint turns, at a steady
// speed until the motion is stopped. Nothing is planned ahead: each step is
// checked before the arm takes it, as a planned path's samples are
// (PathChecks.h), and against the cell. Where the next step would put a
// joint past its limits, come within a singularity's threshold (Cartesian
// jogs only: a joint turning alone goes through them, as a synchronised
// joint move does), leave the arm's reach or touch anything, the jog ends
// at the step before, with the reason in the planner's words.
//
// Steps are at most what a planned path's samples are apart (1 pose unit,
// half a degree); no joint turns faster than the jog's share of its own
// speed, so near a singularity the tool slows down. Time is the motion's:
// the samples come at the times the simulation's clock gives.
#include "arm/ArmDescription.h"
#include "collision/CollisionPair.h"
#include "kinematics/MGIExact.h"
#include "kinematics/Singularity.h"
#include "motion/JogTarget.h"
#include "motion/MoveSettings.h"
#include "motion/PlanFailure.h"
#include "motion/Trajectory.h"

#include <memory>
#include <vector>

class CCollisionWorld;

struct JogAxis {
    JogFrame frame = JogFrame::Base;
    int axis = 0;       // 0 to 5 (JogTarget.h)
    int direction = 1;  // 1 or -1
    ToolPose user{};    // the user frame, in the base frame, for JogFrame::User
};

class CJogMotion : public CTrajectory {
public:
    // A jog from `start` (the data set's angles) at `percent` (1 to 100) of
    // the arm's speeds: a joint's maximum speed, or the linear or angular
    // speed along lines. With a cell (which must outlive the jog), a step
    // into a contact that was not there at the start ends the jog: an arm
    // already touching can be jogged out. Null when the jog cannot start:
    // an axis out of range, speeds out of theirs, or a Cartesian jog from
    // where a path could not start (a singularity's threshold, a joint past
    // its limits); *failure says why.
    static std::unique_ptr<CJogMotion> Begin(const ArmDescription& arm, const JointAngles& start, const JogAxis& axis,
                                             double percent, const CCollisionWorld* cell, PlanFailure* failure);

    // The first sample starts the jog's clock; each one after moves the arm
    // as far as the time since the one before allows, or ends the jog
    // (Arrived) where the next step is refused.
    TrajectoryStep Sample(double t, JointAngles& angles) override;

    // Whether the jog ended itself, and why (in the data set's numbering).
    bool Ended() const { return m_bEnded; }
    const PlanFailure& Reason() const { return m_Reason; }
    // Where the jog stands: its last step, the data set's angles.
    const JointAngles& Angles() const { return m_Angles; }

private:
    CJogMotion(const ArmDescription& arm, const JointAngles& start, const JogAxis& axis, double percent,
               const CCollisionWorld* cell);

    struct Step {
        JointAngles model;   // the models' angles
        JointAngles angles;  // the data set's
    };
    // A step *length further along the axis (pose units or degrees), solved
    // and checked, shortened where a joint would turn too far in it; false,
    // the jog ended with the reason, where it is refused.
    bool Take(double* length, Step* step);
    // The step `length` further, solved; its joints' limits and, for a
    // Cartesian jog, the singularities' thresholds checked.
    bool Solve(double length, Step* step);
    bool Refuse(PlanFault reason, int joint = -1, double value = 0);
    // The longest time a joint needs for the step at the jog's share of its
    // speed.
    double JointTime(const Step& step) const;
    // A contact on the way from the arm's angles to these that was not
    // there at the start.
    bool Touches(const JointAngles& to, CollisionPair* pair) const;

    ArmDescription m_Arm;
    MoveSetup m_Setup;
    JogAxis m_Axis;
    const CCollisionWorld* m_pCell;
    std::vector<CollisionPair> m_StartContacts;
    CSingularityMeter m_Meter;
    KDL::Frame m_StartTool, m_ToolInverse;
    ArmBranch m_Branch{};
    double m_dSpeed;          // along the axis, pose units or degrees per second
    double m_dJointSpeed[6];  // degrees per second
    double m_dMaxStep;        // pose units or degrees
    double m_dDone = 0;       // how far along the axis
    JointAngles m_Angles, m_Model;
    bool m_bClockStarted = false;
    double m_dLastTime = 0;
    bool m_bEnded = false;
    PlanFailure m_Reason;
};
