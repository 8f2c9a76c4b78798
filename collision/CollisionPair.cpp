#include "collision/CollisionPair.h"

#include "collision/CellObject.h"
#include "kinematics/ArmChain.h"

namespace {

// The links as a sentence names them, in chain order.
const char* const kLinkWords[kLinkCount] = {"le socle",     "l'épaule",   "le bras", "le coude",
                                            "l'avant-bras", "le poignet", "la main"};

}  // namespace

std::string CollisionPair::Text() const
{
    return std::string(kLinkNames[link]) + ":" + (otherLink >= 0 ? kLinkNames[otherLink] : object.c_str());
}

bool CollisionPair::operator==(const CollisionPair& other) const
{
    return link == other.link && otherLink == other.otherLink && object == other.object;
}

std::string CollisionPair::Words() const
{
    std::string other;
    if (otherLink >= 0)
        other = kLinkWords[otherLink];
    else if (object == kGroundName)
        other = "le sol";
    else
        other = "« " + object + " »";
    return std::string(kLinkWords[link]) + " et " + other;
}
