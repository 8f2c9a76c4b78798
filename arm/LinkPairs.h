#pragma once
// Sets of pairs of links, and their text in robot.opt: the pairs that touch
// at every pose of an arm (strAlwaysTouching), which the collision checks
// leave out, written "Body:UpperArm Shoulder:Elbow" with the links' option
// key stems (kLinkNames).
#include "kinematics/ArmChain.h"

#include <string>
#include <vector>

// Link i and link i + 1 share a joint: they always touch and are never
// checked against each other.
bool AdjacentLinks(int a, int b);

// Unordered pairs of distinct links.
class CLinkPairs {
public:
    void Add(int a, int b);
    bool Has(int a, int b) const { return (m_Rows[a] >> b) & 1u; }
    bool Empty() const;
    bool operator==(const CLinkPairs& other) const;
    bool operator!=(const CLinkPairs& other) const { return !(*this == other); }
    // Only the pairs both sets hold.
    void Intersect(const CLinkPairs& other);

private:
    unsigned m_Rows[kLinkCount] = {};  // bit b of row a: the pair (a, b), kept both ways
};

// The link named by an option key stem ("UpperArm"), or -1.
int LinkIndex(const std::string& stem);

// "Body:UpperArm Shoulder:Elbow": each pair once, the link nearer the body
// first, in chain order; "" for no pair.
std::string FormatLinkPairs(const CLinkPairs& pairs);

// The pairs of such a text, entries separated by blanks. An entry that is
// not two different links' stems joined by ':' is left out, with one French
// sentence in `refused` when given.
CLinkPairs ParseLinkPairs(const std::string& text, std::vector<std::string>* refused = nullptr);
