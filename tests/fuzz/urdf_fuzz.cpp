// Fuzz target: kalimbrax-arm's reading of a robot description, from its
// text: the XML depth check, liburdfdom's parser, the tree's shape, the
// walk down the chain and the numbers' bounds. Meshes are looked for from a
// folder that does not exist, so a reading that gets that far stops at its
// first mesh. A description read whole must hold six joints whose numbers
// lie within the bounds the reading promises.
#include "tools/arm/ArmBounds.h"
#include "tools/arm/UrdfArm.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

bool Within(double value, double bound)
{
    return value >= -bound && value <= bound;
}

}  // namespace

// liburdfdom leaks the links it has built when it refuses a description
// whose joints close a loop: their shared pointers hold each other, and the
// model is dropped inside the library. What it hands over, the reading
// frees (CModel in UrdfArm.cpp).
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:liburdfdom_model.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    UrdfArm arm;
    if (!ReadUrdfText(std::string(reinterpret_cast<const char*>(data), size), "fuzz.urdf", "/kx-fuzz-none", &arm))
        return 0;
    const double radians = kMaxJointDegrees * M_PI / 180, metres = kMaxArmMillimetres / 1000;
    for (const SerialJoint& joint : arm.chain.joints) {
        const KDL::Vector& p = joint.origin.p;
        if (!Within(joint.lower, radians) || !Within(joint.upper, radians) || !(joint.lower <= joint.upper) ||
            !(joint.velocity >= 0 && joint.velocity <= kMaxJointSpeed * M_PI / 180) || !Within(p.x(), metres) ||
            !Within(p.y(), metres) || !Within(p.z(), metres) || !(std::fabs(joint.axis.Norm() - 1) < 1e-9))
            __builtin_trap();
    }
    return 0;
}
