#pragma once
// An object of the arm's cell as it was defined: its kind, its name and its
// numbers as given (so that it can be answered and saved as it was typed),
// and the colour it is drawn in. Objects lie in the base frame, in pose
// units; their orientation is a pose's (alpha, beta, gamma: PoseRotation).
#include "formats/MeshFormat.h"

#include <memory>
#include <string>
#include <vector>

enum class ObjectKind { Box, Cylinder, Sphere, Mesh };

// The kind as the commands write it: "box", "cylinder", "sphere", "mesh".
const char* ObjectKindName(ObjectKind kind);
// How many sizes follow the centre: 3 (DX DY DZ), 2 (RADIUS LENGTH), 1
// (RADIUS), 0.
int ObjectSizeCount(ObjectKind kind);

struct ObjectDefinition {
    ObjectKind kind = ObjectKind::Box;
    std::string name;
    // X Y Z, the sizes, then ALPHA BETA GAMMA when given (a sphere has none):
    // box X Y Z DX DY DZ, its sides along its own axes; cylinder X Y Z RADIUS
    // LENGTH, its axis its own z; sphere X Y Z RADIUS; mesh X Y Z.
    std::vector<double> numbers;
    std::string meshFile;                  // a mesh's file, as named
    std::shared_ptr<const MeshData> mesh;  // a mesh's triangles, scene units as the arm's
};

// Objects are grey until given a colour.
constexpr const char* kObjectGrey = "#a0a0a0";

struct CellObject {
    ObjectDefinition definition;
    std::string colour = kObjectGrey;  // "#rrggbb"
};

// The name that stands for the ground in the collisions' pairs.
constexpr const char* kGroundName = "ground";

// Letters, digits, '-' and '_', and neither the ground's nor a link's name
// (a pair "Hand:Hand" would say nothing). False with the reason in French.
bool CheckObjectName(const std::string& name, std::string* reason);
// A definition that can be placed: a good name, as many numbers as its kind
// takes, all finite, sizes above zero, a mesh with triangles whose vertices
// exist and are finite. False with the reason in French.
bool CheckObject(const ObjectDefinition& object, std::string* reason);

// Where an object lies: its centre (pose units) and its rotation, row-major
// r[row][column], the identity when no orientation was given.
struct ObjectPlacement {
    double centre[3];
    double r[3][3];
};
ObjectPlacement PlacementOf(const ObjectDefinition& object);
