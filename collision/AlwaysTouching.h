#pragma once
// The pairs of links an arm's checks leave out: those in contact at every
// one of a large sample of joint sets within its limits (a link's mesh that
// reaches into its neighbour's neighbour at the joint, say), which would
// otherwise be reported at every pose. Found once per arm, by the tools
// that write its robot.opt, never at start: it takes about a second.
#include "arm/LinkPairs.h"
#include "kinematics/JointLimits.h"

class CCollisionWorld;

// The sample robot.opt's pairs are found from.
constexpr int kAlwaysTouchingSamples = 10000;
constexpr unsigned kAlwaysTouchingSeed = 20240611u;

// The non-neighbour pairs in contact at every one of `samples` joint sets
// drawn evenly within the limits (the data set's angles), from a seeded
// generator: the same pairs on every run and every machine.
CLinkPairs FindAlwaysTouching(const CCollisionWorld& world, const JointLimits& limits,
                              int samples = kAlwaysTouchingSamples, unsigned seed = kAlwaysTouchingSeed);
