#pragma once
// Where the scene draws an object of the arm's cell, worked out without GL:
// in scene units (a pose unit is a hundredth of one), in the frame the
// collision model places the object in (PlacementOf: the same centre, the
// same turn), so that what is seen is what is checked.
#include "collision/CellObject.h"
#include "kinematics/ArmChain.h"
#include "view/WindowBounds.h"

#include <vector>

struct ObjectShape {
    ObjectKind kind = ObjectKind::Box;
    // From the object's own frame to the scene, column-major as GL takes it.
    Matrix4 frame{};
    // Scene units. A box: its sides along its own x, y, z, centred. A
    // cylinder: its radius, and its length along its own z, centred. A
    // sphere: its radius. A mesh: none, its vertices are scene units already.
    double size[3] = {0, 0, 0};
};

ObjectShape ShapeOf(const ObjectDefinition& object);

// The eight corners of a box around the object, placed in the scene (scene
// units): what the object covers on screen and in its shadow lies within
// their convex hull.
std::vector<Point3> ObjectCorners(const ObjectDefinition& object);
