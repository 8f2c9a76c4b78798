#pragma once
// The line of the "Bras" readout about the arm in its cell: while a pair
// touches, "Collision : l'avant-bras et « table »" (the first pair in
// contact); else, once the arm is still, "Marge : 14,3 (le bras et
// l'avant-bras)", the exact clearance and its pair. The exact clearance
// takes from 0.1 to some milliseconds: it is measured again only when the
// arm stands still at other angles, or the cell's objects changed, since it
// was last measured, never while the arm moves.
#include "collision/CollisionPair.h"
#include "kinematics/RobotTypes.h"

#include <string>
#include <vector>

class CSimulation;

class CClearanceLine {
public:
    // The line for the simulation as it stands, whose pairs in contact
    // (CCollisionWorld::Collisions) are `contacts`; "" without a cell.
    std::string Line(const CSimulation& simulation, const std::vector<CollisionPair>& contacts);
    // How many times the exact clearance was measured.
    unsigned long Measures() const { return m_iMeasures; }

private:
    bool m_bMeasured = false;
    JointAngles m_MeasuredAt{};
    unsigned long m_iMeasuredRevision = 0;
    Clearance m_Clearance;
    unsigned long m_iMeasures = 0;
};
