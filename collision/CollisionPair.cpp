#include "collision/CollisionPair.h"

#include "kinematics/ArmChain.h"

std::string CollisionPair::Text() const
{
    return std::string(kLinkNames[link]) + ":" + (otherLink >= 0 ? kLinkNames[otherLink] : object.c_str());
}

bool CollisionPair::operator==(const CollisionPair& other) const
{
    return link == other.link && otherLink == other.otherLink && object == other.object;
}
