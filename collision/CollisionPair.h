#pragma once
// What the checks find: a link against another link, the ground or an
// object, and how far apart they are.
#include <string>

struct CollisionPair {
    int link = -1;       // kLinkNames' index: the one nearer the body of two links
    int otherLink = -1;  // the other link, or -1
    std::string object;  // without another link: the object's name, or kGroundName

    // "LowerArm:table", "Body:Hand", "Hand:ground".
    std::string Text() const;
    // The pair in a refusal's words: "l'avant-bras et « table »", "la main
    // et le sol", "le socle et la main".
    std::string Words() const;
    bool operator==(const CollisionPair& other) const;
};

// The distance between the two of a pair, pose units, 0 when they touch,
// and the nearest point of each in the base frame (the link's first; when
// they touch, both are the origin).
struct Clearance {
    double distance = 0.0;
    CollisionPair pair;
    double nearest[2][3] = {};
};
