#include "sim/ObjectShape.h"

#include "formats/MeshBox.h"

ObjectShape ShapeOf(const ObjectDefinition& object)
{
    const ObjectPlacement placement = PlacementOf(object);
    ObjectShape shape;
    shape.kind = object.kind;
    double* m = shape.frame.m;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column)
            m[4 * column + row] = placement.r[row][column];
        m[12 + row] = placement.centre[row] / kPoseUnitsPerSceneUnit;
    }
    m[15] = 1.0;
    for (int i = 0; i < ObjectSizeCount(object.kind); ++i)
        shape.size[i] = object.numbers[3 + static_cast<std::size_t>(i)] / kPoseUnitsPerSceneUnit;
    return shape;
}

std::vector<Point3> ObjectCorners(const ObjectDefinition& object)
{
    const ObjectShape shape = ShapeOf(object);
    const double* s = shape.size;
    double lo[3], hi[3] = {0, 0, 0};
    switch (shape.kind) {
    case ObjectKind::Box:
        for (int k = 0; k < 3; ++k)
            hi[k] = 0.5 * s[k];
        break;
    case ObjectKind::Cylinder:
        hi[0] = hi[1] = s[0];
        hi[2] = 0.5 * s[1];
        break;
    case ObjectKind::Sphere:
        hi[0] = hi[1] = hi[2] = s[0];
        break;
    case ObjectKind::Mesh:
        break;
    }
    for (int k = 0; k < 3; ++k)
        lo[k] = -hi[k];
    if (shape.kind == ObjectKind::Mesh) {
        const MeshBox box = BoxOfVertices(object.mesh->vertices);
        for (int k = 0; k < 3; ++k) {
            lo[k] = box.lo[k];
            hi[k] = box.hi[k];
        }
    }
    std::vector<Point3> corners;
    const double* m = shape.frame.m;
    for (int corner = 0; corner < 8; ++corner) {
        const double p[3] = {corner & 1 ? hi[0] : lo[0], corner & 2 ? hi[1] : lo[1], corner & 4 ? hi[2] : lo[2]};
        double q[3];
        for (int row = 0; row < 3; ++row)
            q[row] = m[row] * p[0] + m[4 + row] * p[1] + m[8 + row] * p[2] + m[12 + row];
        corners.push_back(Point3{q[0], q[1], q[2]});
    }
    return corners;
}
