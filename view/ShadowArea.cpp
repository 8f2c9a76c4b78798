#include "view/ShadowArea.h"

const float kShadowMatrix[16] = {
    1.2f, 0.0f, 0.0f, 0.0f, 0.0f, 1.2f, 0.0f, 0.0f, -1.0f, -1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.2f,
};

Point3 ShadowOf(const Point3& p)
{
    // As drawn: glTranslatef(0, 0, kShadowLift) then glMultMatrixf(kShadowMatrix).
    const float* s = kShadowMatrix;
    const double world[3] = {p.x, p.y, p.z};
    double flat[4];
    for (int row = 0; row < 4; ++row)
        flat[row] = s[row] * world[0] + s[4 + row] * world[1] + s[8 + row] * world[2] + s[12 + row];
    return Point3{flat[0] / flat[3], flat[1] / flat[3], flat[2] / flat[3] + kShadowLift};
}

std::vector<Point3> ShadowCorners(const float turnX[kLinkCount], const JointAngles& angles,
                                  const float offsets[kLinkCount][3], const MeshBox boxes[kLinkCount])
{
    std::vector<Point3> corners;
    for (int link = 0; link < kLinkCount; ++link) {
        const MeshBox& b = boxes[link];
        if (b.empty)
            continue;
        const Matrix4 placed = LinkMeshTransform(turnX, angles, offsets, link);
        const double* m = placed.m;
        for (int corner = 0; corner < 8; ++corner) {
            const double x = (corner & 1) ? b.hi[0] : b.lo[0];
            const double y = (corner & 2) ? b.hi[1] : b.lo[1];
            const double z = (corner & 4) ? b.hi[2] : b.lo[2];
            corners.push_back(
                ShadowOf(Point3{m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
                                m[2] * x + m[6] * y + m[10] * z + m[14]}));
        }
    }
    return corners;
}
