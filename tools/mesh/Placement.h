#pragma once
// The user's placement of an imported mesh (--scale, --rotate-*,
// --translate) and the node transforms of the file, as affine maps in double
// precision, so that a chain of steps adds no float rounding before the
// final conversion.
#include <assimp/matrix4x4.h>

// One step of the user's placement, applied in command-line order.
struct MeshTransform {
    enum Kind { Scale, RotateX, RotateY, RotateZ, Translate } kind;
    double x = 0.0, y = 0.0, z = 0.0;  // Scale: x; Rotate*: x in degrees
};

// Row-major 3x4 affine map: the linear part and the translation.
struct Affine {
    double m[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
};

Affine Multiply(const Affine& a, const Affine& b);  // a after b
Affine FromAssimp(const aiMatrix4x4& t);
Affine StepMatrix(const MeshTransform& step);
double Determinant(const Affine& a);

// The matrix normals follow (the inverse transpose of the linear part, up
// to a positive factor), scaled so that its largest entry is 1.
void NormalMatrix(const Affine& a, double n[3][3]);

// Unit length within a millionth is left as it is: renormalising a normal
// that is already unit would change its last bits on every pass, and a mesh
// exported and imported again must come back identical. False for a zero or
// non-finite vector.
bool Normalise(double n[3]);
