#pragma once
// What the scene shows of the cell's contacts with the switch Collisions on:
// the links that touch anything (another link, the ground, an object) and
// the objects the arm touches, drawn red.
#include "collision/CollisionPair.h"

#include <string>
#include <vector>

class CSimulation;

struct CellContacts {
    unsigned links = 0;                // bit i: link i touches something
    std::vector<std::string> objects;  // the objects a link touches
    bool Touches(const std::string& object) const;
};

CellContacts ContactsOf(const std::vector<CollisionPair>& pairs);

// The contacts of the arm where it stands, checked once per call: none with
// the switch off or before the cell is built.
CellContacts ShownContacts(const CSimulation& simulation);

// The colour of what touches, red, green, blue from 0 to 1.
constexpr float kContactRed[3] = {0.95f, 0.05f, 0.05f};
