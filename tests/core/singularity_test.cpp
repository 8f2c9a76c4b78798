// The singularity measures: zero where each singularity lies, the
// manipulability against a finite-difference Jacobian, and 1 at the best
// pose a brute-force search finds.
#include "kinematics_fixture.h"
#include "kinematics/Singularity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace kxtest;

namespace {

double StretchedA34(const ArmLengths& arm)
{
    return std::atan2(arm.d, arm.e) * 180 / M_PI;
}

// The wrist centre in double precision.
void WristCentre(const ArmLengths& arm, double a12, double a23, double a34, double p[3])
{
    const WristFrame f = ComputeMGDFrame(arm, JointAngles{float(a12), float(a23), float(a34), 0, 0, 0});
    for (int i = 0; i < 3; ++i)
        p[i] = f.p[i];
}

// |det J| of the wrist centre against A12, A23, A34 by central differences.
double FiniteDifferenceDet(const ArmLengths& arm, const JointAngles& a)
{
    const double h = 0.1;  // degrees: single-precision angles near 180 round by 1e-5
    double J[3][3];
    const double q[3] = {a.A12, a.A23, a.A34};
    for (int j = 0; j < 3; ++j) {
        double plus[3] = {q[0], q[1], q[2]}, minus[3] = {q[0], q[1], q[2]};
        plus[j] += h;
        minus[j] -= h;
        double pp[3], pm[3];
        WristCentre(arm, plus[0], plus[1], plus[2], pp);
        WristCentre(arm, minus[0], minus[1], minus[2], pm);
        for (int i = 0; i < 3; ++i)
            J[i][j] = (pp[i] - pm[i]) / (2 * h * M_PI / 180);
    }
    return std::fabs(J[0][0] * (J[1][1] * J[2][2] - J[1][2] * J[2][1]) -
                     J[0][1] * (J[1][0] * J[2][2] - J[1][2] * J[2][0]) +
                     J[0][2] * (J[1][0] * J[2][1] - J[1][1] * J[2][0]));
}

TEST(CSingularityMeter, ZeroAtEachSingularity)
{
    const ArmLengths arm = DefaultArm();
    const CSingularityMeter meter(arm);
    const float stretched = float(StretchedA34(arm));
    struct Case {
        const char* what;
        JointAngles angles;
        double wrist, elbow;  // expected, degrees
    };
    const Case cases[] = {
        {"poignet tendu", {20, 30, 60, 10, 0, 30}, 0, std::fabs(60 - StretchedA34(arm))},
        {"poignet retourné", {20, 30, 60, 10, 180, 30}, 0, std::fabs(60 - StretchedA34(arm))},
        {"poignet à -0,4°", {20, 30, 60, 10, -0.4f, 30}, 0.4, std::fabs(60 - StretchedA34(arm))},
        {"poignet à 179°", {20, 30, 60, 10, 179, 30}, 1, std::fabs(60 - StretchedA34(arm))},
        {"coude tendu", {20, 30, stretched, 10, 45, 30}, 45, 0},
        {"coude replié", {20, 30, stretched - 180, 10, 45, 30}, 45, 0},
        {"coude à 1,5° du tendu", {20, 30, stretched + 1.5f, 10, 45, 30}, 45, 1.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SingularityMeasures m = meter.Measure(c.angles);
        EXPECT_NEAR(m.wrist, c.wrist, 1e-4);
        EXPECT_NEAR(m.elbow, c.elbow, 1e-4);
    }
    EXPECT_NEAR(meter.Measure({20, 30, stretched, 10, 45, 30}).manipulability, 0, 1e-6);

    // The wrist centre on the base axis, over an arm without a shoulder
    // offset: the upper arm at 45 degrees, the forearm bent square back
    // over the axis.
    const ArmLengths centred{400, 0, 440, 0, 440};
    const SingularityMeasures onAxis = CSingularityMeter(centred).Measure({35, 45, 180, 0, 45, 0});
    EXPECT_NEAR(onAxis.shoulder, 0, 1e-3);
    EXPECT_NEAR(onAxis.manipulability, 0, 1e-6);
    EXPECT_NEAR(meter.Measure({35, 0, 90, 0, 45, 0}).shoulder, arm.a2 + arm.a3 + arm.d, 1e-3);
}

// The manipulability is |det J| over one constant: its ratio between any
// two poses is that of the finite-difference Jacobian's determinants.
TEST(CSingularityMeter, ManipulabilityFollowsTheJacobian)
{
    for (const ArmLengths& arm : {ExampleArm(), DefaultArm()}) {
        const CSingularityMeter meter(arm);
        std::mt19937 rng(5);
        const JointAngles reference{10, 20, 30, 0, 45, 0};
        const double referenceDet = FiniteDifferenceDet(arm, reference);
        const double referenceMeasure = meter.Measure(reference).manipulability;
        ASSERT_GT(referenceMeasure, 0.1);
        for (int n = 0; n < 200; ++n) {
            const JointAngles a = RandomReachableAngles(rng);
            const double expected = FiniteDifferenceDet(arm, a) / referenceDet * referenceMeasure;
            EXPECT_NEAR(meter.Measure(a).manipulability, expected, 1e-3 * expected + 1e-6);
        }
    }
}

// A brute-force search over A23 and A34 by half degrees: the best reads 1
// and nothing reads more.
TEST(CSingularityMeter, BestPoseReadsOne)
{
    for (const ArmLengths& arm : {ExampleArm(), DefaultArm(), ArmLengths{100, -40, 300, 0, 80}}) {
        const CSingularityMeter meter(arm);
        double best = 0;
        for (float a23 = -180; a23 < 180; a23 += 0.5f)
            for (float a34 = -180; a34 < 180; a34 += 0.5f)
                best = std::fmax(best, meter.Measure({0, a23, a34, 0, 0, 0}).manipulability);
        EXPECT_LE(best, 1 + 1e-6);
        EXPECT_GT(best, 1 - 1e-3);
    }
}

}  // namespace
