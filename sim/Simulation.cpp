#include "sim/Simulation.h"

#include "motion/JointChase.h"

#include <algorithm>

CSimulation::CSimulation(const ArmDescription& arm) : m_Arm(arm), m_Angles(arm.start), m_Targets(arm.start) {}

template <class Call>
void CSimulation::Notify(const Call& call)
{
    // A copy: a listener may add or remove listeners while it is told.
    const std::vector<CSimulationListener*> listeners = m_Listeners;
    for (CSimulationListener* listener : listeners)
        call(*listener);
}

void CSimulation::SetAngles(const JointAngles& angles)
{
    m_Angles = angles;
    NotifyStateChanged();
}

void CSimulation::SetTargets(const JointAngles& angles)
{
    m_Targets = angles;
    NotifyStateChanged();
}

void CSimulation::SetDisplay(DisplayFlag flag, bool on)
{
    m_Display[flag] = on;
    NotifyStateChanged();
}

void CSimulation::NotifyStateChanged()
{
    Notify([](CSimulationListener& l) { l.OnStateChanged(); });
}

void CSimulation::Start(std::unique_ptr<CTrajectory> trajectory)
{
    if (m_pTrajectory)
        End(false);
    m_pTrajectory = std::move(trajectory);
    ++m_iMotion;
    m_bChasing = false;
    m_bClockStarted = false;
    Notify([this](CSimulationListener& l) { l.OnMotionStarted(*m_pTrajectory); });
}

void CSimulation::StartChase()
{
    if (m_bChasing)
        return;
    Start(std::make_unique<CJointChase>(m_Targets, m_Arm.maxSpeed));
    m_bChasing = true;
}

void CSimulation::Stop()
{
    if (m_pTrajectory)
        End(false);
}

void CSimulation::End(bool arrived)
{
    // Released first: a listener may start the next motion.
    std::shared_ptr<CTrajectory> ended = std::move(m_pTrajectory);
    m_bChasing = false;
    m_iEnded = m_iMotion;
    m_bEndedArrived = arrived;
    Notify([arrived](CSimulationListener& l) { l.OnMotionEnded(arrived); });
}

TrajectoryStep CSimulation::Advance(double now)
{
    if (!m_pTrajectory)
        return TrajectoryStep::Waiting;
    if (!m_bClockStarted) {
        m_bClockStarted = true;
        m_dStartTime = now;
    }
    const double t = now - m_dStartTime;
    const TrajectoryStep step = m_pTrajectory->Sample(t, m_Angles);
    if (step == TrajectoryStep::Waiting)
        return step;
    Notify([&](CSimulationListener& l) { l.OnMotionStep(t, m_Angles); });
    if (step == TrajectoryStep::Arrived)
        End(true);
    return step;
}

void CSimulation::AddListener(CSimulationListener* listener)
{
    m_Listeners.push_back(listener);
}

void CSimulation::RemoveListener(CSimulationListener* listener)
{
    m_Listeners.erase(std::remove(m_Listeners.begin(), m_Listeners.end(), listener), m_Listeners.end());
}
