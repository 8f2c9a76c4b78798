// The continuous jog (see JogMotion.h).
#include "motion/JogMotion.h"

#include "arm/ArmKinematics.h"
#include "collision/CollisionWorld.h"
#include "kinematics/KdlFrames.h"
#include "motion/MovePlanner.h"
#include "motion/PathChecks.h"

#include <algorithm>
#include <cmath>

namespace {

// The longest step, as a planned path's samples are apart.
constexpr double kMaxMoveStep = 1.0;  // pose units
constexpr double kMaxTurnStep = 0.5;  // degrees

// A step shorter than this is no step: what is left of the time goes.
constexpr double kLeastStep = 1e-9;

bool IsJointJog(const JogAxis& axis)
{
    return axis.frame == JogFrame::Joints;
}

double AxisSpeed(const ArmDescription& arm, const JogAxis& axis)
{
    if (IsJointJog(axis))
        return arm.maxSpeed[axis.axis];
    return IsJogTurn(axis.axis) ? arm.angularSpeed : arm.linearSpeed;
}

}  // namespace

std::unique_ptr<CJogMotion> CJogMotion::Begin(const ArmDescription& arm, const JointAngles& start, const JogAxis& axis,
                                              double percent, const CCollisionWorld* cell, PlanFailure* failure)
{
    *failure = PlanFailure{};
    if (axis.axis < 0 || axis.axis >= kJogAxes || (axis.direction != 1 && axis.direction != -1)) {
        failure->reason = PlanFault::InvalidTarget;
        return nullptr;
    }
    const MoveSetup setup = MoveSetupOf(arm);
    const PathSpeeds speeds{arm.linearSpeed, arm.linearAccel, arm.angularSpeed};
    if (!CheckMoveSetup(setup, percent, failure) || !CheckPathSpeeds(speeds, failure))
        return nullptr;
    if (!IsJointJog(axis) &&
        !CheckPathAngles(CSingularityMeter(setup.lengths), setup.limits, ModelAngles(arm, start), failure)) {
        NumberAsArm(arm, failure);
        return nullptr;
    }
    return std::unique_ptr<CJogMotion>(new CJogMotion(arm, start, axis, percent, cell));
}

CJogMotion::CJogMotion(const ArmDescription& arm, const JointAngles& start, const JogAxis& axis, double percent,
                       const CCollisionWorld* cell)
    : m_Arm(arm), m_Setup(MoveSetupOf(arm)), m_Axis(axis), m_pCell(cell), m_Meter(m_Setup.lengths),
      m_ToolInverse(m_Setup.tool.Inverse()), m_dSpeed(AxisSpeed(arm, axis) * percent / 100),
      m_dMaxStep(IsJointJog(axis) || IsJogTurn(axis.axis) ? kMaxTurnStep : kMaxMoveStep), m_Angles(start),
      m_Model(ModelAngles(arm, start))
{
    for (int joint = 0; joint < kJointCount; ++joint)
        m_dJointSpeed[joint] = arm.maxSpeed[joint] * percent / 100;
    m_StartTool = KdlFrameOf(ComputeMGDFrame(m_Setup.lengths, m_Model)) * m_Setup.tool;
    m_Branch = BranchOf(m_Setup.lengths, m_Model);
    if (m_pCell)
        m_StartContacts = m_pCell->Collisions(start);
}

TrajectoryStep CJogMotion::Sample(double t, JointAngles& angles)
{
    if (m_bEnded) {
        angles = m_Angles;
        return TrajectoryStep::Arrived;
    }
    if (!m_bClockStarted) {
        m_bClockStarted = true;
        m_dLastTime = t;
        return TrajectoryStep::Waiting;
    }
    // The time since the last sample, spent step by step: a step costs the
    // time of its length at the jog's speed, or more where a joint needs
    // longer at its own.
    double budget = t - m_dLastTime;
    m_dLastTime = t;
    bool moved = false;
    while (budget > 0 && !m_bEnded) {
        double length = std::min(m_dMaxStep, m_dSpeed * budget);
        if (!(length > kLeastStep))
            break;
        Step step;
        if (!Take(&length, &step))
            break;
        double cost = std::max(length / m_dSpeed, JointTime(step));
        if (cost > budget) {
            // A joint would outrun its speed: a step as short as the time
            // left allows (the joints turn in proportion, that short).
            length *= budget / cost;
            if (!(length > kLeastStep) || !Take(&length, &step))
                break;
            cost = budget;
        }
        m_dDone += length;
        m_Model = step.model;
        m_Angles = step.angles;
        budget -= cost;
        moved = true;
    }
    angles = m_Angles;
    if (m_bEnded)
        return TrajectoryStep::Arrived;
    return moved ? TrajectoryStep::Moved : TrajectoryStep::Waiting;
}

bool CJogMotion::Take(double* length, Step* step)
{
    // A step over which a joint turns too far is halved until it does not,
    // as a planned path's samples are.
    for (int halvings = 0;; ++halvings) {
        if (!Solve(*length, step))
            return false;
        int joint;
        const double turn = LargestTurn(m_Angles, step->angles, &joint);
        if (turn <= kMaxJointStep)
            break;
        if (halvings == kMaxHalvings)
            return Refuse(PlanFault::ConfigurationChange, joint, turn);
        *length /= 2;
    }
    CollisionPair pair;
    if (Touches(step->angles, &pair)) {
        Refuse(PlanFault::Collision);
        m_Reason.pair = pair;
        return false;
    }
    return true;
}

bool CJogMotion::Solve(double length, Step* step)
{
    const double along = m_Axis.direction * (m_dDone + length);
    if (IsJointJog(m_Axis)) {
        // In the data set's angles: its limits are the ones a joint is
        // turned against, and a joint already past them may come back.
        const int joint = m_Axis.axis;
        step->angles = JogJoints(m_Angles, joint, m_Axis.direction * length);
        const float angle = step->angles.*kJointFields[joint];
        const bool past = m_Axis.direction > 0 ? angle > m_Arm.limits.high[joint] : angle < m_Arm.limits.low[joint];
        step->model = ModelAngles(m_Arm, step->angles);
        return !past || Refuse(PlanFault::JointLimit, joint, angle);
    }
    const KDL::Frame tool = JogToolFrame(m_StartTool, m_Axis.frame, m_Axis.axis, along, m_Axis.user);
    PlanFault fault;
    if (!SolveOnBranch(m_Setup.lengths, WristFrameOf(tool * m_ToolInverse), m_Branch, &step->model, &fault))
        return Refuse(fault);
    step->model = Unwrapped(step->model, m_Model);
    PlanFailure failure;
    if (!CheckPathAngles(m_Meter, m_Setup.limits, step->model, &failure)) {
        NumberAsArm(m_Arm, &failure);
        m_Reason = failure;
        m_bEnded = true;
        return false;
    }
    step->angles = ArmAngles(m_Arm, step->model);
    return true;
}

bool CJogMotion::Refuse(PlanFault reason, int joint, double value)
{
    m_Reason = PlanFailure{};
    m_Reason.reason = reason;
    m_Reason.joint = joint;
    m_Reason.value = value;
    if (joint >= 0) {
        m_Reason.jointName = m_Arm.JointLabel(joint);
        m_Reason.low = m_Arm.limits.low[joint];
        m_Reason.high = m_Arm.limits.high[joint];
    }
    m_bEnded = true;
    return false;
}

double CJogMotion::JointTime(const Step& step) const
{
    double longest = 0;
    for (int joint = 0; joint < kJointCount; ++joint) {
        const double turn = std::fabs(double(step.angles.*kJointFields[joint]) - m_Angles.*kJointFields[joint]);
        longest = std::max(longest, turn / m_dJointSpeed[joint]);
    }
    return longest;
}

bool CJogMotion::Touches(const JointAngles& to, CollisionPair* pair) const
{
    if (!m_pCell)
        return false;
    const std::vector<JointAngles> way = Densify(m_pCell->Reach(), {m_Angles, to});
    for (std::size_t i = 1; i < way.size(); ++i) {
        if (m_StartContacts.empty()) {
            if (m_pCell->FirstCollision(way[i], pair))
                return true;
            continue;
        }
        for (const CollisionPair& contact : m_pCell->Collisions(way[i]))
            if (std::find(m_StartContacts.begin(), m_StartContacts.end(), contact) == m_StartContacts.end()) {
                *pair = contact;
                return true;
            }
    }
    return false;
}
