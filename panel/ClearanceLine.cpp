#include "panel/ClearanceLine.h"

#include "base/FrenchDecimal.h"
#include "collision/CollisionWorld.h"
#include "sim/Simulation.h"

#include <cmath>
#include <cstring>

std::string CClearanceLine::Line(const CSimulation& simulation, const std::vector<CollisionPair>& contacts)
{
    const CCollisionWorld* cell = simulation.Cell();
    if (!cell)
        return "";
    if (!contacts.empty())
        return "Collision : " + contacts.front().Words();
    if (simulation.Moving())
        return "Marge : mesurée à l'arrêt";
    const JointAngles& angles = simulation.Angles();
    if (!m_bMeasured || std::memcmp(&angles, &m_MeasuredAt, sizeof angles) != 0 ||
        simulation.CellRevision() != m_iMeasuredRevision) {
        m_Clearance = cell->ExactClearanceOf(angles);
        m_MeasuredAt = angles;
        m_iMeasuredRevision = simulation.CellRevision();
        m_bMeasured = true;
        ++m_iMeasures;
    }
    if (!std::isfinite(m_Clearance.distance))
        return "Marge : rien à mesurer";
    return "Marge : " + FormatDecimal(m_Clearance.distance, 1) + " (" + m_Clearance.pair.Words() + ")";
}
