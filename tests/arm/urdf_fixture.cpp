#include "tests/arm/urdf_fixture.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

const char* const kPackage = "kx_fixture_support";

// A binary STL box between two corners, outward counter-clockwise faces.
void WriteBox(const std::string& path, const float lo[3], const float hi[3])
{
    static const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    auto corner = [&](int i, float p[3]) {
        p[0] = i & 1 ? hi[0] : lo[0];
        p[1] = i & 2 ? hi[1] : lo[1];
        p[2] = i & 4 ? hi[2] : lo[2];
    };
    std::ofstream out(path, std::ios::binary);
    char header[80] = {};
    out.write(header, sizeof header);
    const std::uint32_t count = 12;
    out.write(reinterpret_cast<const char*>(&count), 4);
    for (const auto& f : faces)
        for (int t = 0; t < 2; ++t) {
            float tri[3][3];
            const int ids[3] = {f[0], f[1 + t], f[2 + t]};
            for (int k = 0; k < 3; ++k)
                corner(ids[k], tri[k]);
            const float normal[3] = {0, 0, 0};  // left to the reader, as many exporters do
            out.write(reinterpret_cast<const char*>(normal), 12);
            out.write(reinterpret_cast<const char*>(tri), 36);
            const std::uint16_t attributes = 0;
            out.write(reinterpret_cast<const char*>(&attributes), 2);
        }
}

std::string Triple(const double v[3])
{
    std::ostringstream s;
    s.precision(17);
    s << v[0] << " " << v[1] << " " << v[2];
    return s.str();
}

std::string Link(const std::string& name, const std::string& mesh)
{
    return "  <link name=\"" + name + "\"><visual><origin xyz=\"0 0 0\" rpy=\"0 0 0\"/><geometry><mesh filename=\"" +
           mesh + "\"/></geometry><material name=\"orange\"/></visual></link>\n";
}

}  // namespace

FixtureArm Irb1600Arm()
{
    FixtureArm arm;
    arm.joints = {
        {"joint_1", {0, 0, 0}, {0, 0, 0}, {0, 0, 1}, -3.141592653589793, 3.141592653589793},
        {"joint_2", {0.15, 0, 0.4865}, {0, 0, 0}, {0, 1, 0}, -1.0995, 1.9198},
        {"joint_3", {0, 0, 0.475}, {0, 0, 0}, {0, 1, 0}, -4.1015, 0.9599},
        {"joint_4", {0.3, 0, 0}, {0, 0, 0}, {1, 0, 0}, -3.4906, 3.4906},
        {"joint_5", {0.3, 0, 0}, {0, 0, 0}, {0, 1, 0}, -2.0071, 2.0071},
        {"joint_6", {0.065, 0, 0}, {0, 0, 0}, {1, 0, 0}, -6.9813, 6.9813},
    };
    return arm;
}

CScratch::CScratch()
{
    char path[] = "/tmp/kx-arm-test.XXXXXX";
    m_strPath = mkdtemp(path);
}

CScratch::~CScratch()
{
    std::system(("rm -rf '" + m_strPath + "'").c_str());
}

std::string WriteFixtureUrdf(const std::string& folder, const FixtureArm& arm, const std::string& missingMesh)
{
    const std::string package = folder + "/" + kPackage;
    std::system(("mkdir -p '" + package + "/urdf' '" + package + "/meshes'").c_str());
    std::string urdf = "<?xml version=\"1.0\"?>\n<robot name=\"fixture_arm\">\n"
                       "  <material name=\"orange\"><color rgba=\"1 0.43 0 1\"/></material>\n";
    std::vector<std::string> links = {"base_link"};
    for (std::size_t j = 0; j < arm.joints.size(); ++j)
        links.push_back("link_" + std::to_string(j + 1));
    for (std::size_t i = 0; i < links.size(); ++i) {
        // A box from the link's origin toward the next joint, thick enough
        // to be seen; the base a plate under the first joint.
        float lo[3] = {-0.05f, -0.05f, -0.05f}, hi[3] = {0.05f, 0.05f, 0.05f};
        if (i + 1 < links.size() && i < arm.joints.size())
            for (int k = 0; k < 3; ++k) {
                const float to = static_cast<float>(i + 1 < arm.joints.size() ? arm.joints[i + 1].xyz[k] : 0.0);
                lo[k] = std::fmin(lo[k], to);
                hi[k] = std::fmax(hi[k], to);
            }
        for (const FixtureBox& box : arm.boxes)
            if (box.link == links[i])
                for (int k = 0; k < 3; ++k) {
                    lo[k] = box.lo[k];
                    hi[k] = box.hi[k];
                }
        const std::string file = links[i] + ".stl";
        if (links[i] != missingMesh)
            WriteBox(package + "/meshes/" + file, lo, hi);
        urdf += Link(links[i], std::string("package://") + kPackage + "/meshes/" + file);
    }
    for (std::size_t j = 0; j < arm.joints.size(); ++j) {
        const FixtureJoint& joint = arm.joints[j];
        char limit[160];
        std::snprintf(limit, sizeof limit, "<limit lower=\"%.17g\" upper=\"%.17g\" effort=\"0\" velocity=\"2.5\"/>",
                      joint.lower, joint.upper);
        urdf += "  <joint name=\"" + std::string(joint.name) + "\" type=\"revolute\"><origin xyz=\"" +
                Triple(joint.xyz) + "\" rpy=\"" + Triple(joint.rpy) + "\"/><parent link=\"" + links[j] +
                "\"/><child link=\"" + links[j + 1] + "\"/><axis xyz=\"" + Triple(joint.axis) + "\"/>" + limit +
                "</joint>\n";
    }
    urdf += "  <link name=\"flange\"/>\n  <joint name=\"to_flange\" type=\"fixed\"><origin xyz=\"" +
            Triple(arm.flange) + "\" rpy=\"" + Triple(arm.flangeRpy) + "\"/><parent link=\"" + links.back() +
            "\"/><child link=\"flange\"/></joint>\n</robot>\n";
    const std::string path = package + "/urdf/arm.urdf";
    std::ofstream(path) << urdf;
    return path;
}
