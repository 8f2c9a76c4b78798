#include "sim/CellContacts.h"

#include "collision/CellObject.h"
#include "collision/CollisionWorld.h"
#include "sim/Simulation.h"

#include <algorithm>

bool CellContacts::Touches(const std::string& object) const
{
    return std::find(objects.begin(), objects.end(), object) != objects.end();
}

CellContacts ContactsOf(const std::vector<CollisionPair>& pairs)
{
    CellContacts contacts;
    for (const CollisionPair& pair : pairs) {
        for (int link : {pair.link, pair.otherLink})
            if (link >= 0)
                contacts.links |= 1u << link;
        if (pair.otherLink < 0 && pair.object != kGroundName && !contacts.Touches(pair.object))
            contacts.objects.push_back(pair.object);
    }
    return contacts;
}

CellContacts ShownContacts(const CSimulation& simulation)
{
    const CCollisionWorld* cell = simulation.Cell();
    if (!cell || !simulation.Display()[DisplayFlag::Collisions])
        return {};
    return ContactsOf(cell->Collisions(simulation.Angles()));
}
