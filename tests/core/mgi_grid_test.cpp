// The grid model of the MGI: the worked examples, the tie rule,
// the mended wrist (every orientation reproduced), the edge cases the search
// must survive (far, non-finite and degenerate targets and arms), and a plain
// reimplementation that calls the full MGD for every candidate.
#include "kinematics_fixture.h"
#include "kinematics/MGIGrid.h"
#include "kinematics/MGIWrist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace kxtest;

namespace {

// ---------------------------------------------------------------------------
// A plain search straight from the algorithm: every candidate through the
// full MGD, the best distance starting at infinity, only finite
// distances kept.
// ---------------------------------------------------------------------------

struct PlainResult {
    JointAngles angles;
    int fine = 0;
};

PlainResult PlainMGI(const ArmLengths& arm, const ToolPose& pose)
{
    const double theta1 = std::atan2(double(pose.Y), double(pose.X));
    const float a12 = float(theta1 * kRadToDeg);
    const double zt = pose.Z - arm.h;
    float best23 = -90, best34 = -160;
    double best = std::numeric_limits<double>::infinity();
    auto evaluate = [&](float a23, float a34) {
        ToolPose p;
        ComputeMGD(arm, JointAngles{a12, a23, a34, 0, 0, 0}, &p);
        const double dx = p.X - double(pose.X), dy = p.Y - double(pose.Y), dz = (p.Z - arm.h) - zt;
        const double dist = dx * dx + dy * dy + dz * dz;
        if (std::isfinite(dist) && dist <= best) {
            best = dist;
            best23 = a23;
            best34 = a34;
        }
    };
    for (float a23 = -90; a23 < 90; a23 += 30)
        for (float a34 = -160; a34 < 160; a34 += 30)
            evaluate(a23, a34);
    PlainResult r;
    float a23 = best23 - 15;
    while (best23 + 15 > a23 && r.fine < kMaxFineEvaluations) {
        float a34 = best34 - 15;
        while (best34 + 15 > a34 && r.fine < kMaxFineEvaluations) {
            evaluate(a23, a34);
            ++r.fine;
            a34 += 1;
        }
        a23 += 1;
    }
    r.angles.A12 = a12;
    SolveMGIWrist(pose, theta1, best23, best34, &r.angles);
    return r;
}

bool SameAngles(const JointAngles& a, const JointAngles& b)
{
    return SameBits(a.A12, b.A12) && SameBits(a.A23, b.A23) && SameBits(a.A34, b.A34) && SameBits(a.A45, b.A45) &&
           SameBits(a.A56, b.A56) && SameBits(a.A67, b.A67);
}

bool AllFinite(const JointAngles& a)
{
    return std::isfinite(a.A12) && std::isfinite(a.A23) && std::isfinite(a.A34) && std::isfinite(a.A45) &&
           std::isfinite(a.A56) && std::isfinite(a.A67);
}

JointAngles Solve(const ArmLengths& arm, const ToolPose& pose, MGISearchInfo* info = nullptr)
{
    JointAngles angles;
    EXPECT_EQ(ComputeMGI(arm, pose, &angles, info), &angles);
    return angles;
}

// ---------------------------------------------------------------------------
// Worked examples
// ---------------------------------------------------------------------------

struct MGIExample {
    JointAngles from;  // the target is the MGD of these angles
    float a12, a23, a34;
};

TEST(ComputeMGI, WorkedExamples)
{
    const MGIExample examples[] = {
        {{0, 0, 0, 0, 0, 0}, 0, 0, 0},          // distance 0 at a coarse point
        {{10, 20, 30, 0, 0, 0}, 10, -28, 130},  // the other elbow configuration
        {{45, -45, 90, 0, 0, 0}, 45, -35, 69},
    };
    for (const MGIExample& e : examples) {
        const ToolPose target = ArmMGD(ExampleArm(), e.from);
        SCOPED_TRACE(testing::Message() << target.X << " " << target.Y << " " << target.Z);
        MGISearchInfo info;
        const JointAngles a = Solve(ExampleArm(), target, &info);
        EXPECT_NEAR(a.A12, e.a12, 1e-4);
        EXPECT_EQ(a.A23, e.a23);
        EXPECT_EQ(a.A34, e.a34);
        EXPECT_EQ(info.coarseEvaluations, 66);
        EXPECT_FALSE(info.bounded);
    }
    // The first one exactly: every angle of the search is a whole degree.
    const JointAngles zero = Solve(ExampleArm(), ArmMGD(ExampleArm(), {0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(zero.A12, 0.0f);
    // The second lands about 0.66 pose units from its target.
    const ToolPose target = ArmMGD(ExampleArm(), {10, 20, 30, 0, 0, 0});
    const ToolPose reached = ArmMGD(ExampleArm(), Solve(ExampleArm(), target));
    EXPECT_NEAR(std::hypot(reached.X - target.X, reached.Y - target.Y, reached.Z - target.Z), 0.66, 0.01);
}

TEST(ComputeMGI, TargetOnTheBaseAxisGivesZeroA12)
{
    EXPECT_TRUE(SameBits(Solve(ExampleArm(), {0, 0, 250, 0, 0, 0}).A12, 0.0f));
}

// ---------------------------------------------------------------------------
// The mended wrist: the MGD of the result reproduces the target's
// orientation, whatever signs its Euler angles need.
// ---------------------------------------------------------------------------

// Worst element error between the target's rotation and that of the forward
// model of the result, over poses of the given angles.
double WorstOrientationError(const ArmLengths& arm, std::mt19937& rng, int count, float forcedA56)
{
    double worst = 0;
    for (int i = 0; i < count; ++i) {
        JointAngles from = RandomReachableAngles(rng);
        if (!std::isnan(forcedA56))
            from.A56 = forcedA56;
        const ToolPose target = ArmMGD(arm, from);
        const JointAngles a = Solve(arm, target);
        EXPECT_TRUE(AllFinite(a)) << i;
        EXPECT_GE(a.A56, 0.0f);
        EXPECT_LE(a.A56, 180.0f);
        const double diff = MaxDifference(RotationOfPose(ArmMGD(arm, a)), RotationOfPose(target));
        if (!(diff <= worst))
            worst = diff;  // a NaN sticks
    }
    return worst;
}

TEST(ComputeMGI, ReproducesEveryTargetOrientation)
{
    std::mt19937 rng(2024);
    EXPECT_LT(WorstOrientationError(DefaultArm(), rng, 5000, NAN), 1e-4);
    EXPECT_LT(WorstOrientationError(ExampleArm(), rng, 5000, NAN), 1e-4);
}

// A stretched or folded wrist in the target (or one within a degree of it):
// the search's arm angles differ slightly from the target's, so the solved
// theta5 is small but rarely 0, and may fall below the threshold, where
// theta4 is fixed at 0. That is exact only to the order of the threshold.
TEST(ComputeMGI, StretchedAndFoldedWristsStayWithinTheThreshold)
{
    std::mt19937 rng(77);
    for (float a56 : {0.0f, 180.0f, 0.5f, 179.5f}) {
        SCOPED_TRACE(a56);
        EXPECT_LT(WorstOrientationError(DefaultArm(), rng, 1000, a56), 3 * kKinThreshold);
    }
}

// ---------------------------------------------------------------------------
// Exact thresholds of the wrist
// ---------------------------------------------------------------------------

TEST(MGIWrist, CosineTakesTheNearZeroFormAtTheThreshold)
{
    // A rotation with a non-zero third column, so the two forms differ.
    double r[3][3];
    PoseRotation(ToolPose{0, 0, 0, 30, -60, 50}, r);
    const double c1 = std::cos(0.3), s1 = std::sin(0.3);
    for (double sign : {1.0, -1.0}) {
        const double s23 = sign * kKinThreshold, c23 = std::sqrt(1 - s23 * s23);
        EXPECT_EQ(MGIWristCosine(r, c1, s1, c23, s23), -r[2][2] / c23);
        const double above = sign * std::nextafter(kKinThreshold, 1.0), c = std::sqrt(1 - above * above);
        EXPECT_EQ(MGIWristCosine(r, c1, s1, c, above), above * (c1 * r[0][2] + s1 * r[1][2]) - c * r[2][2]);
    }
}

TEST(MGIWrist, CosineIsClampedIntoRange)
{
    double r[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1.0000001}};
    EXPECT_EQ(MGIWristCosine(r, 1, 0, 1, 0), -1.0);
    EXPECT_EQ(MGIWristCosine(r, 1, 0, -1, 0), 1.0);
    r[0][2] = 1.0;  // general form: 0.8 * 1 + 0.5 * 1.0000001 = 1.3
    r[2][2] = -1.0000001;
    EXPECT_EQ(MGIWristCosine(r, 1, 0, 0.5, 0.8), 1.0);
}

TEST(MGIWrist, EulerTakesTheNearZeroBranchAtTheThreshold)
{
    // A theta5 whose sine is exactly the threshold.
    double t5 = std::asin(kKinThreshold);
    for (int i = 0; i < 64 && std::sin(t5) != kKinThreshold; ++i)
        t5 = std::nextafter(t5, std::sin(t5) < kKinThreshold ? 1.0 : 0.0);
    ASSERT_EQ(std::sin(t5), kKinThreshold);
    double r[3][3];
    PoseRotation(ToolPose{0, 0, 0, 20, -70, 100}, r);
    const double c1 = std::cos(0.5), s1 = std::sin(0.5), c23 = std::cos(0.7), s23 = std::sin(0.7);
    double t4 = 1, t6 = 1;
    MGIWristEuler(r, c1, s1, c23, s23, t5, &t4, &t6);
    EXPECT_EQ(t4, 0.0);
    double above4 = 0, above6;
    MGIWristEuler(r, c1, s1, c23, s23, std::nextafter(std::nextafter(t5, 1.0), 1.0), &above4, &above6);
    EXPECT_NE(above4, 0.0);
}

// ---------------------------------------------------------------------------
// Ties and the bound: degenerate arms make many candidates tie
// ---------------------------------------------------------------------------

struct DegenerateArm {
    const char* what;
    ArmLengths arm;
    bool bounded;
};

TEST(ComputeMGI, DegenerateArmsEndAtTheBound)
{
    const DegenerateArm arms[] = {
        {"all lengths 0: every candidate ties", {0, 0, 0, 0, 0}, true},
        {"e = d = 0: the wrist centre ignores A34", {100, 30, 120, 0, 0}, true},
        {"a3 = 0: only A23 + A34 counts", {100, 30, 0, 20, 110}, true},
    };
    for (const DegenerateArm& c : arms) {
        SCOPED_TRACE(c.what);
        const ToolPose target{120, 40, 150, 10, -20, 30};
        MGISearchInfo info;
        const JointAngles a = Solve(c.arm, target, &info);
        EXPECT_EQ(info.bounded, c.bounded);
        EXPECT_EQ(info.fineEvaluations, kMaxFineEvaluations);
        EXPECT_TRUE(AllFinite(a));
        EXPECT_TRUE(SameAngles(a, PlainMGI(c.arm, target).angles));
    }
}

TEST(ComputeMGI, CoarseTiesGoToTheLaterCandidate)
{
    // With e = d = 0 all candidates of one A23 row tie: the last A34 (140)
    // wins, and the fine window then runs along A34.
    MGISearchInfo info;
    const JointAngles a = Solve({100, 30, 120, 0, 0}, ToolPose{150, 0, 100, 0, 0, 0}, &info);
    EXPECT_GT(a.A34, 140.0f + 15.0f);
    // With a3 = 0 candidates of equal A23 + A34 tie: the later, larger A23
    // wins, and the window runs toward larger A23.
    const JointAngles b = Solve({100, 30, 0, 20, 110}, ToolPose{150, 0, 100, 0, 0, 0});
    EXPECT_GT(b.A23, 60.0f + 15.0f);
}

// ---------------------------------------------------------------------------
// Targets out of reach or not finite
// ---------------------------------------------------------------------------

TEST(ComputeMGI, FarTargetKeepsItsNearestCandidate)
{
    // More than 10 000 pose units from every coarse candidate.
    const ArmLengths arm = ExampleArm();
    const ToolPose far{30000, 0, 5000, 0, 0, 0};
    MGISearchInfo info;
    const JointAngles a = Solve(arm, far, &info);
    ASSERT_TRUE(AllFinite(a));
    EXPECT_GT(info.bestDistance2, 1e8);
    // No coarse candidate is nearer than the result.
    const ToolPose reached = ArmMGD(arm, a);
    const double dist = std::hypot(reached.X - far.X, reached.Y - far.Y, reached.Z - far.Z);
    for (float a23 = -90; a23 < 90; a23 += 30)
        for (float a34 = -160; a34 < 160; a34 += 30) {
            const ToolPose p = ArmMGD(arm, {a.A12, a23, a34, 0, 0, 0});
            EXPECT_LE(dist, std::hypot(p.X - far.X, p.Y - far.Y, p.Z - far.Z));
        }
    EXPECT_TRUE(SameAngles(a, PlainMGI(arm, far).angles));
}

TEST(ComputeMGI, NonFiniteTargetTakesTheFirstCoarseCandidate)
{
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    const ToolPose targets[] = {{inf, 0, 0, 0, 0, 0}, {0, 0, nan, 10, 20, 30}, {nan, nan, nan, nan, nan, nan}};
    for (const ToolPose& t : targets) {
        MGISearchInfo info;
        const JointAngles a = Solve(ExampleArm(), t, &info);
        EXPECT_EQ(a.A23, float(-90 * kDegToRad * kRadToDeg));
        EXPECT_EQ(a.A34, float(-160 * kDegToRad * kRadToDeg));
        EXPECT_EQ(info.fineEvaluations, 900);  // no improvement: the plain 30 x 30 window
    }
    // A finite orientation keeps the wrist finite.
    MGISearchInfo info;
    const JointAngles a = Solve(ExampleArm(), targets[0], &info);
    EXPECT_EQ(a.A12, 0.0f);
    EXPECT_TRUE(AllFinite(a));
}

// ---------------------------------------------------------------------------
// The fast search against the plain one
// ---------------------------------------------------------------------------

TEST(ComputeMGI, SameResultsAsThePlainSearch)
{
    std::mt19937 rng(99);
    std::uniform_real_distribution<float> coord(-400.0f, 400.0f), any(-180.0f, 180.0f);
    const ArmLengths arms[] = {ExampleArm(), DefaultArm(), MakeArmLengths(1.3f, 0.27f, 1.13f, -0.21f, 0.97f)};
    for (const ArmLengths& arm : arms) {
        for (int i = 0; i < 1500; ++i) {
            // Reachable poses, and arbitrary points in and out of reach.
            const ToolPose target =
                i % 2 ? ArmMGD(arm, RandomReachableAngles(rng))
                      : ToolPose{coord(rng), coord(rng), coord(rng), any(rng), any(rng), std::fabs(any(rng))};
            MGISearchInfo info;
            const JointAngles fast = Solve(arm, target, &info);
            const PlainResult plain = PlainMGI(arm, target);
            ASSERT_TRUE(SameAngles(fast, plain.angles)) << i << ": " << target.X << " " << target.Y << " " << target.Z;
            ASSERT_EQ(info.fineEvaluations, plain.fine);
        }
    }
}

// ---------------------------------------------------------------------------
// How far the fine search goes on an ordinary arm: well inside the bound, so
// the bound never changes an ordinary result.
// ---------------------------------------------------------------------------

TEST(ComputeMGI, OrdinaryTargetsStayFarBelowTheBound)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f), any(-180.0f, 180.0f);
    const ArmLengths arm = DefaultArm();
    const double reach = arm.a2 + arm.a3 + arm.d;
    std::vector<int> reachable, unreachable;
    for (int i = 0; i < 20000; ++i) {
        MGISearchInfo info;
        Solve(arm, ArmMGD(arm, RandomReachableAngles(rng)), &info);
        reachable.push_back(info.fineEvaluations);
        // A point beyond the reach (up to 100 times it) in a random direction.
        double x = unit(rng), y = unit(rng), z = unit(rng);
        const double norm = std::sqrt(x * x + y * y + z * z) + 1e-9;
        const double scale = reach * (1.05 + 99.0 * std::pow((unit(rng) + 1) / 2, 3)) / norm;
        Solve(arm, ToolPose{float(x * scale), float(y * scale), float(arm.h + z * scale), 0, 0, 0}, &info);
        unreachable.push_back(info.fineEvaluations);
    }
    for (std::vector<int>* counts : {&reachable, &unreachable}) {
        std::sort(counts->begin(), counts->end());
        EXPECT_LT(counts->back(), kMaxFineEvaluations / 2);
    }
    auto summary = [](const std::vector<int>& c) {
        return testing::Message() << "median " << c[c.size() / 2] << ", 99th percentile " << c[c.size() * 99 / 100]
                                  << ", max " << c.back();
    };
    std::printf("fine evaluations, reachable targets: %s\n", summary(reachable).GetString().c_str());
    std::printf("fine evaluations, unreachable targets: %s\n", summary(unreachable).GetString().c_str());
}

}  // namespace
