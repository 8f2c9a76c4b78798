#pragma once
// The numbers kalimbrax-arm takes from a robot description or a data
// sheet. Past them no arm is meant, and the data set written from them
// would hold infinities (a velocity of 1e308 radians a second is an
// infinite number of degrees) or numbers the simulator's single precision
// cannot follow.
#include <string>

constexpr double kMaxArmMillimetres = 100000.0;  // a length or an offset, either way: 100 m
constexpr double kMaxJointDegrees = 3600.0;      // a joint's limit or zero, either way: ten turns
constexpr double kMaxJointSpeed = 3600.0;        // degrees per second: ten turns a second
constexpr double kMaxMeshScale = 1000.0;         // a description's own scale of a mesh, either way

// A number as a description or a data sheet writes it ("%g", a point), for
// the records that name a value refused.
std::string ShownNumber(double value);
