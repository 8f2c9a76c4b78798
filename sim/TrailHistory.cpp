#include "sim/TrailHistory.h"

namespace {

// The rows a finished motion leaves on the trail.
constexpr double kTrailStep = 0.02;

}  // namespace

CTrailHistory::CTrailHistory(CSimulation& simulation, const CMotionRecorder& recorder)
    : m_Simulation(simulation), m_Recorder(recorder), m_bOn(simulation.Display()[DisplayFlag::Trail])
{
    simulation.AddListener(this);
}

CTrailHistory::~CTrailHistory()
{
    m_Simulation.RemoveListener(this);
}

void CTrailHistory::Clear()
{
    m_Paths.clear();
    m_iPoints = 0;
    m_bFollowing = false;
}

void CTrailHistory::OnStateChanged()
{
    const bool on = m_Simulation.Display()[DisplayFlag::Trail];
    if (on != m_bOn)
        Clear();  // switched on: from now; switched off: nothing to keep
    m_bOn = on;
}

void CTrailHistory::OnMotionStarted(const CTrajectory&)
{
    m_bFollowing = m_bOn;
    if (!m_bFollowing)
        return;
    m_Paths.push_back(m_Recorder.Latest());
    m_iPoints += m_Paths.back().size();
}

void CTrailHistory::OnMotionStep(double, const JointAngles&)
{
    if (!m_bFollowing)
        return;
    m_Paths.back().push_back(m_Recorder.Latest().back());
    ++m_iPoints;
}

void CTrailHistory::OnMotionEnded(bool)
{
    if (!m_bFollowing)
        return;
    m_bFollowing = false;
    m_iPoints -= m_Paths.back().size();
    m_Paths.back() = m_Recorder.Rows(kTrailStep);
    m_iPoints += m_Paths.back().size();
    Bound();
}

void CTrailHistory::Bound()
{
    while (m_iPoints > kTrailPoints && m_Paths.size() > 1) {
        m_iPoints -= m_Paths.front().size();
        m_Paths.pop_front();
    }
}
