#include "sim/Simulation.h"

#include "collision/CollisionWorld.h"
#include "motion/JointChase.h"

#include <algorithm>

CSimulation::CSimulation(const ArmDescription& arm, const DisplayFlags& display)
    : m_Arm(arm), m_Angles(arm.start), m_Targets(arm.start), m_Display(display)
{
}

CSimulation::~CSimulation() = default;

void CSimulation::SetCell(std::unique_ptr<CCollisionWorld> cell)
{
    m_pCell = std::move(cell);
    CellChanged();
}

void CSimulation::CellChanged()
{
    ++m_iCellRevision;
    for (auto name = m_HiddenObjects.begin(); name != m_HiddenObjects.end();)
        name = m_pCell && m_pCell->FindObject(*name) ? std::next(name) : m_HiddenObjects.erase(name);
    NotifyStateChanged();
}

void CSimulation::ShowObject(const std::string& name, bool shown)
{
    if (shown)
        m_HiddenObjects.erase(name);
    else
        m_HiddenObjects.insert(name);
    NotifyStateChanged();
}

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

void CSimulation::SetTool(const ToolPose& tool, bool setAtRunTime)
{
    for (int i = 0; i < 3; ++i) {
        m_Arm.toolOffset[i] = tool.*kPoseFields[i];
        m_Arm.toolTurn[i] = tool.*kPoseFields[3 + i];
    }
    m_bToolSet = setAtRunTime;
    NotifyStateChanged();
}

void CSimulation::SetFrames(const CWorkFrames& frames)
{
    m_Frames = frames;
    NotifyStateChanged();
}

void CSimulation::SetPoints(const CTaughtPoints& points)
{
    m_Points = points;
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
    m_StartContacts.clear();
    if (m_Arm.stopOnCollision && m_pCell)
        m_StartContacts = m_pCell->Collisions(m_Angles);
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
    m_EndedContact = {};
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
    CollisionPair contact;
    const bool stopped = NewContact(m_Angles, &contact);
    Notify([&](CSimulationListener& l) { l.OnMotionStep(t, m_Angles); });
    if (!m_pTrajectory)
        return step;  // a listener stopped it
    if (stopped) {
        End(false);
        m_EndedContact = contact;
        NotifyStateChanged();
        return TrajectoryStep::Arrived;
    }
    if (step == TrajectoryStep::Arrived)
        End(true);
    return step;
}

bool CSimulation::NewContact(const JointAngles& angles, CollisionPair* pair) const
{
    if (!m_Arm.stopOnCollision || !m_pCell)
        return false;
    for (const CollisionPair& contact : m_pCell->Collisions(angles))
        if (std::find(m_StartContacts.begin(), m_StartContacts.end(), contact) == m_StartContacts.end()) {
            *pair = contact;
            return true;
        }
    return false;
}

void CSimulation::AddListener(CSimulationListener* listener)
{
    m_Listeners.push_back(listener);
}

void CSimulation::RemoveListener(CSimulationListener* listener)
{
    m_Listeners.erase(std::remove(m_Listeners.begin(), m_Listeners.end(), listener), m_Listeners.end());
}
