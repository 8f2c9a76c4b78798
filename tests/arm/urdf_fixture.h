#pragma once
// Robot descriptions written by the tests: a URDF of six revolute joints
// from a table, each link drawn by a small STL box, in a scratch folder laid
// out like a published support package (package://NAME/meshes/...).
#include <string>
#include <vector>

struct FixtureJoint {
    const char* name;
    double xyz[3];  // the joint's origin in its parent link, metres
    double rpy[3];  // its turn, radians
    double axis[3];
    double lower, upper;  // radians
};

// A link's mesh drawn as a box of one's choosing, in its link frame.
struct FixtureBox {
    std::string link;    // "base_link", "link_1" ...
    float lo[3], hi[3];  // metres
};

struct FixtureArm {
    std::vector<FixtureJoint> joints;
    std::vector<FixtureBox> boxes;  // in place of the links' own
    double flange[3] = {0, 0, 0};   // the flange link's place in the last link
    double flangeRpy[3] = {0, 0, 0};
};

// The ABB IRB 1600-6/1.2 as its published description writes it (joint
// origins, axes and limits), the reference arm of the tests.
FixtureArm Irb1600Arm();

// A scratch folder that removes itself.
class CScratch {
public:
    CScratch();
    ~CScratch();
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

// Writes PACKAGE/urdf/arm.urdf and a box mesh per link (the link's own, or
// the one arm.boxes gives) under PACKAGE/meshes/ in `folder`; returns the description's path. missingMesh
// names a link whose mesh file is not written.
std::string WriteFixtureUrdf(const std::string& folder, const FixtureArm& arm, const std::string& missingMesh = "");
