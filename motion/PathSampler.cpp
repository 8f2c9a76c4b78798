// A Cartesian path followed and checked (see PathSampler.h).
#include "motion/PathSampler.h"

#include "motion/PathChecks.h"
#include "motion/PlanBounds.h"

#include <algorithm>
#include <cmath>

namespace {

// A path past the bounds is looked at in this many points for where it
// leaves the reach, then that place is found by halving: a target a
// billion units away is out of reach, which says more than its length.
constexpr int kReachScanPoints = 1000;
// The halving stops when the place is known to this (units of the path).
constexpr double kReachScanPrecision = 1e-6;

// One point of the path, solved.
struct Solved {
    double time;
    double fraction;     // of the path's length
    WristFrame wrist;    // the wrist frame there
    JointAngles angles;  // the branch's configuration, each within [-180, 180]
};

class CPathSampler {
public:
    CPathSampler(const MoveSetup& setup, const JointAngles& start, CartesianPath& path,
                 std::vector<PlannedSample>* samples, PlanFailure* failure)
        : m_Setup(setup), m_Path(path), m_Meter(setup.lengths), m_ToolInverse(setup.tool.Inverse()),
          m_Branch(BranchOf(setup.lengths, start)), m_pSamples(samples), m_pFailure(failure),
          m_dDuration(path.trajectory->Duration()), m_dLength(path.trajectory->GetPath()->PathLength()),
          // As a double: it may be far too large for any integer.
          m_dSteps(m_dDuration > 0 ? std::max(1.0, std::ceil(m_dDuration / path.sampleTime)) : 0.0)
    {
        m_pSamples->clear();
    }

    bool Run(const JointAngles& start)
    {
        const Solved first{0.0, 0.0, ComputeMGDFrame(m_Setup.lengths, start), start};
        if (!Check(first, start))
            return false;
        PlanFailure bound;
        if (!CheckPlanBounds(m_dDuration, m_dSteps + 1, &bound)) {
            if (!LeavesReach())
                *m_pFailure = bound;
            return false;
        }
        const int steps = static_cast<int>(m_dSteps);
        m_pSamples->reserve(static_cast<std::size_t>(steps) + 1);
        Push(first, start);
        for (int k = 1; k <= steps; ++k) {
            Solved next;
            if (!Solve(m_dDuration * k / steps, &next) || !Append(next, 0))
                return false;
        }
        return true;
    }

private:
    // The branch's configuration at time t; refused where it does not
    // reach.
    bool Solve(double t, Solved* s)
    {
        s->time = t;
        s->fraction = m_dLength > 0 ? m_Path.trajectory->GetProfile()->Pos(t) / m_dLength : 1.0;
        s->wrist = WristFrameOf(m_Path.trajectory->Pos(t) * m_ToolInverse);
        PlanFault fault;
        return SolveOnBranch(m_Setup.lengths, s->wrist, m_Branch, &s->angles, &fault) || Refuse(fault, *s);
    }

    // Whether a branch reaches the path's point at `length` along it (on
    // one side of the base axis or the other).
    bool Reaches(double length, WristFrame* wrist) const
    {
        *wrist = WristFrameOf(m_Path.trajectory->GetPath()->Pos(length) * m_ToolInverse);
        for (const bool back : {false, true}) {
            ArmBranch branch = m_Branch;
            branch.back = back;
            JointAngles angles;
            double distance;
            if (SolveMGIBranch(m_Setup.lengths, *wrist, branch, &angles, &distance) && distance <= kReachTolerance)
                return true;
        }
        return false;
    }

    // Refuses the path where it first leaves the reach, if it does among
    // kReachScanPoints points along it; the work is the same whatever its
    // length.
    bool LeavesReach()
    {
        if (!std::isfinite(m_dLength))
            return false;
        Solved lost{};
        double reached = 0;
        for (int i = 1; i <= kReachScanPoints; ++i) {
            double beyond = m_dLength * i / kReachScanPoints;
            if (Reaches(beyond, &lost.wrist)) {
                reached = beyond;
                continue;
            }
            // Far out, the doubles may be further apart than the precision.
            for (double middle = reached + (beyond - reached) / 2;
                 beyond - reached > kReachScanPrecision && middle > reached && middle < beyond;
                 middle = reached + (beyond - reached) / 2) {
                WristFrame wrist;
                if (Reaches(middle, &wrist)) {
                    reached = middle;
                } else {
                    beyond = middle;
                    lost.wrist = wrist;
                }
            }
            lost.fraction = beyond / m_dLength;
            Refuse(PlanFault::OutOfReach, lost);
            return true;
        }
        return false;
    }

    // Appends a solved sample after the last one, halving the step while
    // a joint turns too far in it.
    bool Append(const Solved& s, int halvings)
    {
        // Halvings add samples: the bound holds for them too.
        if (m_pSamples->size() >= kMaxPlanSamples)
            return CheckPlanBounds(0, static_cast<double>(m_pSamples->size() + 1), m_pFailure);
        const PlannedSample& previous = m_pSamples->back();
        const JointAngles angles = Unwrapped(s.angles, previous.angles);
        int joint;
        const double step = LargestTurn(previous.angles, angles, &joint);
        if (step > kMaxJointStep) {
            if (halvings == kMaxHalvings)
                return Refuse(PlanFault::ConfigurationChange, s, joint, step);
            Solved middle;
            return Solve((previous.time + s.time) / 2, &middle) && Append(middle, halvings + 1) &&
                   Append(s, halvings + 1);
        }
        if (!Check(s, angles))
            return false;
        Push(s, angles);
        return true;
    }

    // The thresholds of the singularities, then the limits.
    bool Check(const Solved& s, const JointAngles& angles)
    {
        PlanFailure fault;
        if (CheckPathAngles(m_Meter, m_Setup.limits, angles, &fault))
            return true;
        if (fault.reason == PlanFault::ElbowSingularity)
            return RefuseElbow(s, fault.value);
        Refuse(fault.reason, s, fault.joint, fault.value);
        m_pFailure->low = fault.low;
        m_pFailure->high = fault.high;
        return false;
    }

    // Near the stretched or folded elbow: if the path goes on out of the
    // branch's reach before it comes clear of the threshold, that is the
    // fault, where the reach is lost.
    bool RefuseElbow(const Solved& s, double elbow)
    {
        for (double t = s.time + m_Path.sampleTime; t < m_dDuration + m_Path.sampleTime; t += m_Path.sampleTime) {
            Solved ahead;
            if (!Solve(std::min(t, m_dDuration), &ahead))
                return false;
            if (m_Meter.Measure(ahead.angles).elbow >= kElbowSingularDegrees)
                break;
        }
        return Refuse(PlanFault::ElbowSingularity, s, -1, elbow);
    }

    bool Refuse(PlanFault reason, const Solved& s, int joint = -1, double value = 0)
    {
        *m_pFailure = PlanFailure{};
        m_pFailure->reason = reason;
        m_pFailure->joint = joint;
        m_pFailure->placed = true;
        m_pFailure->fraction = s.fraction;
        const KDL::Vector tool = (KdlFrameOf(s.wrist) * m_Setup.tool).p;
        std::copy(tool.data, tool.data + 3, m_pFailure->place);
        m_pFailure->value = value;
        return false;
    }

    void Push(const Solved& s, const JointAngles& angles)
    {
        m_pSamples->push_back({s.time, angles, {s.wrist.p[0], s.wrist.p[1], s.wrist.p[2]}});
    }

    const MoveSetup& m_Setup;
    CartesianPath& m_Path;
    const CSingularityMeter m_Meter;
    const KDL::Frame m_ToolInverse;
    const ArmBranch m_Branch;
    std::vector<PlannedSample>* m_pSamples;
    PlanFailure* m_pFailure;
    const double m_dDuration;
    const double m_dLength;
    const double m_dSteps;
};

// The one factor by which the path must be slowed so that no joint turns
// faster than its maximum speed between two samples; 1 when none would.
double SpeedStretch(const std::vector<PlannedSample>& samples, const double maxSpeed[6])
{
    double stretch = 1.0;
    for (std::size_t k = 1; k < samples.size(); ++k) {
        const double dt = samples[k].time - samples[k - 1].time;
        for (int joint = 0; joint < 6; ++joint) {
            float JointAngles::*field = kJointFields[joint];
            const double turn = std::fabs(static_cast<double>(samples[k].angles.*field) - samples[k - 1].angles.*field);
            stretch = std::max(stretch, turn / (dt * maxSpeed[joint]));
        }
    }
    return stretch;
}

}  // namespace

bool SamplePath(const MoveSetup& setup, const JointAngles& start, CartesianPath& path,
                std::vector<PlannedSample>* samples, PlanFailure* failure)
{
    if (!CPathSampler(setup, start, path, samples, failure).Run(start))
        return false;
    StretchTime(samples, SpeedStretch(*samples, setup.maxSpeed));
    // Slowed for the joints, the move may now last too long.
    return CheckPlanBounds(samples->back().time, static_cast<double>(samples->size()), failure);
}
