// The exact MGI and the choice among its configurations: random
// round trips on the example and shipped arms, the out-of-reach and singular
// targets, degenerate arms, and the nearest-configuration rule.
#include "kinematics_fixture.h"
#include "config/OptionsParser.h"
#include "arm/ArmDescription.h"
#include "config/OptionKeys.h"
#include "kinematics/MGI.h"
#include "kinematics/MGIExact.h"
#include "kinematics/MGIGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace kxtest;

namespace {

const JointLimits kHalfTurns = {{-180, -180, -180, -180, -180, -180}, {180, 180, 180, 180, 180, 180}};

double PositionError(const ArmLengths& arm, const JointAngles& angles, const ToolPose& target)
{
    const ToolPose p = ArmMGD(arm, angles);
    return std::hypot(p.X - double(target.X), p.Y - double(target.Y), p.Z - double(target.Z));
}

double RotationError(const ArmLengths& arm, const JointAngles& angles, const ToolPose& target)
{
    return MaxDifference(RotationOfPose(ArmMGD(arm, angles)), RotationOfPose(target));
}

// Largest joint difference modulo 360, in degrees.
double MaxJointGap(const JointAngles& a, const JointAngles& b)
{
    double worst = 0;
    for (float JointAngles::*f : kJointFields)
        worst = std::fmax(worst, std::fabs(std::remainder(double(a.*f) - b.*f, 360.0)));
    return worst;
}

struct NamedArm {
    const char* name;
    ArmLengths arm;
};

const NamedArm kArms[] = {{"exemple", ExampleArm()}, {"données livrées", DefaultArm()}};

// Angles away from the singular targets: wrist clear of 0 and 180, elbow
// clear of stretched and folded, wrist centre clear of the base axis.
bool AwayFromSingularities(const ArmLengths& arm, const JointAngles& a)
{
    const double k = M_PI / 180.0;
    const double phi = std::atan2(arm.d, arm.e);
    const ToolPose p = ArmMGD(arm, a);
    return std::fabs(std::sin(a.A56 * k)) > 0.05 && std::fabs(std::sin(a.A34 * k - phi)) > 0.05 &&
           std::hypot(p.X, p.Y) > 1.0;
}

// ---------------------------------------------------------------------------
// Round trips
// ---------------------------------------------------------------------------

// MGD, exact model, MGD again, on random angles within
// the spinners' limits: every configuration reproduces the target, the
// starting angles are among them, and with them as reference the model
// gives them back.
TEST(SolveMGIExact, RandomRoundTripsReproduceTheTarget)
{
    for (const NamedArm& named : kArms) {
        SCOPED_TRACE(named.name);
        const ArmLengths& arm = named.arm;
        std::mt19937 rng(20261210);
        std::uniform_real_distribution<float> turn(-180.0f, 180.0f);
        int away = 0;
        for (int n = 0; n < 5000; ++n) {
            const JointAngles start{turn(rng), turn(rng), turn(rng), turn(rng), turn(rng), turn(rng)};
            const ToolPose target = ArmMGD(arm, start);
            SCOPED_TRACE(testing::Message() << "angles " << start.A12 << " " << start.A23 << " " << start.A34 << " "
                                            << start.A45 << " " << start.A56 << " " << start.A67);

            MGISolutions all;
            SolveMGIExact(arm, target, &all);
            ASSERT_TRUE(all.Reached()) << all.distance;
            ASSERT_GE(all.count, 1);
            double nearest = INFINITY;
            for (int i = 0; i < all.count; ++i) {
                const JointAngles& a = all.configurations[i].angles;
                ASSERT_LE(PositionError(arm, a, target), 0.01) << "configuration " << i;
                ASSERT_LE(RotationError(arm, a, target), 1e-5) << "configuration " << i;
                nearest = std::fmin(nearest, MaxJointGap(a, start));
            }
            if (AwayFromSingularities(arm, start)) {
                ++away;
                ASSERT_TRUE(all.count == 4 || all.count == 8) << "reaching back too, or not: " << all.count;
                ASSERT_LT(nearest, 1e-3) << "the starting configuration is listed";
            }

            const MGIResult near = SolveMGI(arm, MGIModel::Exact, target, start, kHalfTurns);
            ASSERT_LE(PositionError(arm, near.angles, target), 0.01);
            ASSERT_LE(RotationError(arm, near.angles, target), 1e-5);
            ASSERT_TRUE(near.reached && near.withinLimits);
            if (AwayFromSingularities(arm, start)) {
                ASSERT_LT(MaxJointGap(near.angles, start), 1e-3) << "nearest the reference: the start itself";
            }

            const MGIResult nearGrid = SolveMGINearGrid(arm, target, kHalfTurns);
            ASSERT_LE(PositionError(arm, nearGrid.angles, target), 0.01);
            ASSERT_LE(RotationError(arm, nearGrid.angles, target), 1e-5);
        }
        EXPECT_GT(away, 4000);
    }
}

// The exact model near the grid's answer takes the grid's configuration:
// reaching forward, the wrist not flipped, the elbow bent the same way.
TEST(SolveMGIExact, NearTheGridItTakesTheGridsConfiguration)
{
    const ArmLengths arm = ExampleArm();
    const double phi = std::atan2(arm.d, arm.e);
    // The side the elbow bends to: the sign of sin(t3 - phi) (MGIExact.h).
    auto bend = [&](float a34) { return std::sin(a34 * M_PI / 180 - phi); };
    std::mt19937 rng(7);
    int compared = 0;
    for (int n = 0; n < 1000; ++n) {
        const ToolPose target = ArmMGD(arm, RandomReachableAngles(rng));
        JointAngles grid;
        ComputeMGI(arm, target, &grid);
        const MGIResult exact = SolveMGINearGrid(arm, target, kHalfTurns);
        EXPECT_FALSE(exact.posture.back);
        EXPECT_FALSE(exact.posture.flipped) << "the grid's wrist keeps A56 within 0 to 180";
        if (std::fabs(bend(grid.A34)) < 0.1)
            continue;  // the grid's elbow nearly straight: either bend is near it
        EXPECT_EQ(bend(exact.angles.A34) > 0, bend(grid.A34) > 0);
        ++compared;
    }
    EXPECT_GT(compared, 800);
}

// A pose moved one unit at a time along Z, each step solved with the last
// answer as reference: the wrist centre follows step by step, the joints
// move a little each time and the configuration never changes.
TEST(SolveMGI, StepsAlongZFollowWithoutFlipping)
{
    const ArmLengths arm = DefaultArm();
    JointAngles angles{-25, 45, 15, 0, 60, 0};
    ToolPose target = ArmMGD(arm, angles);
    const MGIResult first = SolveMGI(arm, MGIModel::Exact, target, angles, kHalfTurns);
    for (int step = 0; step < 200; ++step) {
        target.Z += 1.0f;
        const MGIResult r = SolveMGI(arm, MGIModel::Exact, target, angles, kHalfTurns);
        ASSERT_TRUE(r.reached) << "step " << step;
        ASSERT_LE(PositionError(arm, r.angles, target), 0.01) << "step " << step;
        ASSERT_LT(MaxJointGap(r.angles, angles), 2.0) << "step " << step;
        ASSERT_EQ(r.posture.elbow, first.posture.elbow) << "step " << step;
        ASSERT_EQ(r.posture.flipped, first.posture.flipped) << "step " << step;
        angles = r.angles;
    }
}

// ---------------------------------------------------------------------------
// Targets out of reach and singular targets
// ---------------------------------------------------------------------------

TEST(SolveMGIExact, OutOfReachGoesToTheNearestReachablePoint)
{
    const ArmLengths arm = ExampleArm();  // shoulder at (30, 100), reach 120 + hypot(20, 110)
    // Without the shoulder offset, the hole the folded arm cannot reach,
    // 120 - hypot(20, 110) around the shoulder, holds both azimuths.
    const ArmLengths centred{100, 0, 120, 20, 110};
    const double link = std::hypot(arm.e, arm.d);
    struct Case {
        const char* what;
        ArmLengths arm;
        ToolPose target;
        double expected;  // distance from the nearest reachable point
    };
    const Case cases[] = {
        {"far along x", arm, {5000, 0, 100, 0, 0, 180}, 5000 - 30 - (arm.a3 + link)},
        {"far above", arm, {30, 0, 1000, 0, 0, 180}, 900 - (arm.a3 + link)},
        {"far, sideways and low", arm, {-3000, 4000, -500, 30, -60, 90}, std::hypot(5000 - 30, 600) - (arm.a3 + link)},
        {"inside the folded arm", centred, {1, 0, 100, 10, -20, 30}, (arm.a3 - link) - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MGISolutions all;
        SolveMGIExact(c.arm, c.target, &all);
        EXPECT_FALSE(all.Reached());
        EXPECT_NEAR(all.distance, c.expected, 1e-3);
        ASSERT_GE(all.count, 1);
        for (int i = 0; i < all.count; ++i) {
            const MGIConfiguration& conf = all.configurations[i];
            for (float JointAngles::*f : kJointFields)
                EXPECT_TRUE(std::isfinite(conf.angles.*f));
            EXPECT_NEAR(PositionError(c.arm, conf.angles, c.target), c.expected, 1e-3);
            // The hand still takes the target's orientation.
            EXPECT_LE(RotationError(c.arm, conf.angles, c.target), 1e-5);
        }
        const MGIResult r = SolveMGI(c.arm, MGIModel::Exact, c.target, JointAngles{}, kHalfTurns);
        EXPECT_FALSE(r.reached);
        EXPECT_NEAR(r.distance, c.expected, 1e-3);
    }
}

TEST(SolveMGIExact, SingularTargetsGiveOneConfigurationWhereTwoMeet)
{
    const ArmLengths arm = ExampleArm();
    const float stretched = float(std::atan2(arm.d, arm.e) * 180 / M_PI);
    auto solve = [&](const JointAngles& start) {
        MGISolutions all;
        SolveMGIExact(arm, ArmMGD(arm, start), &all);
        EXPECT_TRUE(all.Reached());
        for (int i = 0; i < all.count; ++i)
            EXPECT_LE(RotationError(arm, all.configurations[i].angles, ArmMGD(arm, start)), 1e-5);
        return all;
    };
    // The elbow: bent a little, two ways; stretched, one.
    EXPECT_EQ(solve({0, 30, stretched, 10, 40, 20}).count * 2, solve({0, 30, stretched + 20, 10, 40, 20}).count);
    // The wrist: at A56 = 0 the arm's own configuration has no flipped twin.
    auto withArm = [](const MGISolutions& all, const JointAngles& start) {
        int n = 0;
        for (int i = 0; i < all.count; ++i)
            n += std::fabs(all.configurations[i].angles.A23 - start.A23) < 0.01f &&
                 std::fabs(all.configurations[i].angles.A34 - start.A34) < 0.01f;
        return n;
    };
    const JointAngles straight{10, 20, 30, 0, 0, 0}, bent{10, 20, 30, 0, 20, 0};
    EXPECT_EQ(withArm(solve(straight), straight), 1);
    EXPECT_EQ(withArm(solve(bent), bent), 2);
}

// Near the folded elbow of an arm whose upper arm and forearm are nearly
// as long (the shipped arm's differ by 3.4 units), the two bends still
// differ by degrees of A23 a tenth of a degree from folded: both are listed,
// each on the target, and the nearest configuration stays the arm's own.
TEST(SolveMGIExact, NearTheFoldedElbowBothBendsAreListed)
{
    const ArmLengths arm = DefaultArm();
    const double folded = std::atan2(arm.d, arm.e) * 180.0 / M_PI - 180.0;
    for (double away : {-0.12, -0.08, -0.05, -0.02, 0.02, 0.05, 0.08, 0.12})
        for (float shoulder : {-30.0f, 20.0f, 60.0f}) {
            const JointAngles start{30, shoulder, float(folded + away), 30, 50, -20};
            SCOPED_TRACE(testing::Message() << "A23 " << shoulder << ", " << away << " degré(s) du repli");
            const ToolPose target = ArmMGD(arm, start);
            MGISolutions all;
            SolveMGIExact(arm, target, &all);
            ASSERT_TRUE(all.Reached());
            int own = 0;
            for (int i = 0; i < all.count; ++i) {
                const JointAngles& a = all.configurations[i].angles;
                EXPECT_LE(PositionError(arm, a, target), kReachTolerance);
                EXPECT_LE(RotationError(arm, a, target), 1e-5);
                own += std::fabs(a.A12 - start.A12) < 1e-3f && std::fabs(a.A23 - start.A23) < 0.1f &&
                       std::fabs(a.A34 - start.A34) < 0.01f;
            }
            EXPECT_GE(own, 1);
            const MGIResult nearest = SolveMGI(arm, MGIModel::Exact, target, start, kHalfTurns);
            EXPECT_LT(MaxJointGap(nearest.angles, start), 0.1);
        }
}

TEST(SolveMGIExact, OnTheBaseAxisA12IsZeroOrAHalfTurn)
{
    const ArmLengths arm = ExampleArm();
    MGISolutions all;
    SolveMGIExact(arm, ToolPose{0, 0, 150, 0, 0, 180}, &all);
    ASSERT_TRUE(all.Reached());
    for (int i = 0; i < all.count; ++i) {
        const MGIConfiguration& c = all.configurations[i];
        EXPECT_TRUE(c.angles.A12 == 0.0f || c.angles.A12 == 180.0f) << c.angles.A12;
        EXPECT_LE(PositionError(arm, c.angles, ToolPose{0, 0, 150, 0, 0, 180}), 0.01);
    }
}

// Arms whose wrist centre ignores A23 or A34, and targets that are not
// numbers, take the grid model's arm angles; the wrist is still solved.
TEST(SolveMGIExact, DegenerateArmsAndTargetsTakeTheGridsArm)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        ArmLengths arm;
        ToolPose target;
    };
    const Case cases[] = {
        {"sans bras", {100, 30, 0, 20, 110}, {50, 50, 100, 10, -40, 90}},
        {"sans avant-bras", {100, 30, 120, 0, 0}, {50, 50, 100, 10, -40, 90}},
        {"longueurs nulles", {0, 0, 0, 0, 0}, {50, 50, 100, 10, -40, 90}},
        {"cible NaN", ExampleArm(), {nan, 0, 0, 0, 0, 180}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        JointAngles grid;
        ComputeMGI(c.arm, c.target, &grid);
        MGISolutions all;
        SolveMGIExact(c.arm, c.target, &all);
        ASSERT_GE(all.count, 1);
        for (int i = 0; i < all.count; ++i) {
            const JointAngles& a = all.configurations[i].angles;
            EXPECT_TRUE(SameBits(a.A12, grid.A12));
            EXPECT_TRUE(SameBits(a.A23, grid.A23));
            EXPECT_TRUE(SameBits(a.A34, grid.A34));
        }
    }
}

// ---------------------------------------------------------------------------
// Choosing among configurations
// ---------------------------------------------------------------------------

TEST(NearestConfiguration, NearestModulo360AmongThoseWithinTheLimits)
{
    auto config = [](JointAngles a) { return MGIConfiguration{a, {}, 0.0}; };
    const MGIConfiguration three[] = {config({170, 0, 0, 0, 0, 0}), config({-170, 0, 0, 0, 0, 0}),
                                      config({0, 90, 0, 0, 0, 0})};
    const JointLimits narrow = {{-90, -180, -180, -180, -180, -180}, {90, 180, 180, 180, 180, 180}};
    struct Case {
        const char* what;
        JointAngles reference;
        JointLimits limits;
        int expected;
    };
    const Case cases[] = {
        {"across the half turn: -170 is 20 from 170", {-175, 0, 0, 0, 0, 0}, kHalfTurns, 1},
        {"a whole turn away counts as none", {530, 0, 0, 0, 0, 0}, kHalfTurns, 0},
        {"the one within the limits, though farther", {-175, 0, 0, 0, 0, 0}, narrow, 2},
        {"none within: the nearest of all",
         {-175, 0, 0, 0, 0, 0},
         {{-10, -10, -10, -10, -10, -10}, {-5, -5, -5, -5, -5, -5}},
         1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NearestConfiguration(three, 3, c.reference, c.limits), c.expected) << c.what;
}

TEST(SolveMGI, AnglesShiftedIntoTheLimitsNearTheReference)
{
    const ArmLengths arm = ExampleArm();
    const ToolPose target = ArmMGD(arm, {-30, -40, 50, -60, 70, -80});
    const JointLimits zeroTo360 = {{0, 0, 0, 0, 0, 0}, {360, 360, 360, 360, 360, 360}};
    const JointLimits wide = {{-720, -720, -720, -720, -720, -720}, {720, 720, 720, 720, 720, 720}};
    for (MGIModel model : {MGIModel::Grid, MGIModel::Exact}) {
        SCOPED_TRACE(model == MGIModel::Grid ? "grille" : "exact");
        const MGIResult in360 = SolveMGI(arm, model, target, JointAngles{}, zeroTo360);
        for (float JointAngles::*f : kJointFields) {
            EXPECT_GE(in360.angles.*f, 0.0f);
            EXPECT_LE(in360.angles.*f, 360.0f);
        }
        const JointAngles farReference{690, 690, 690, 690, 690, 690};
        const MGIResult nearFar = SolveMGI(arm, model, target, farReference, wide);
        for (float JointAngles::*f : kJointFields)
            EXPECT_GT(nearFar.angles.*f, 300.0f) << "the turn nearest the reference";
    }
}

// The grid path of SolveMGI is the grid search, moved by whole turns: its
// numbers stay those of ComputeMGI bit for bit.
TEST(SolveMGI, GridModelIsTheGridSearchShiftedByWholeTurns)
{
    const ArmLengths arm = ExampleArm();
    const JointLimits zeroTo360 = {{0, 0, 0, 0, 0, 0}, {360, 360, 360, 360, 360, 360}};
    std::mt19937 rng(11);
    for (int n = 0; n < 200; ++n) {
        const ToolPose target = ArmMGD(arm, RandomReachableAngles(rng));
        JointAngles grid;
        ComputeMGI(arm, target, &grid);
        const JointAngles reference{1, 2, 3, 4, 5, 6};
        const MGIResult r = SolveMGI(arm, MGIModel::Grid, target, reference, zeroTo360);
        for (int j = 0; j < 6; ++j) {
            float JointAngles::*f = kJointFields[j];
            EXPECT_TRUE(SameBits(r.angles.*f, ShiftIntoLimits(grid.*f, 0.0f, 360.0f, reference.*f))) << j;
        }
        EXPECT_NEAR(r.distance, PositionError(arm, grid, target), 1e-9);
    }
}

TEST(MGIModelOfADataSet, MissingKeyIsTheGrid)
{
    struct Case {
        const char* text;
        MGIModel expected;
    };
    const Case cases[] = {
        {"", MGIModel::Grid},
        {"bMGIExact = false;", MGIModel::Grid},
        {"bMGIExact = true;", MGIModel::Exact},
    };
    for (const Case& c : cases) {
        COptions options;
        FILE* stream = fmemopen(const_cast<char*>(c.text), std::strlen(c.text), "r");
        if (*c.text) {
            ASSERT_TRUE(COptionsParser::ParseFileForVariable(stream, &options));
        }
        if (stream)
            std::fclose(stream);
        EXPECT_EQ(ReadSettings(&options, DeclareRobotKeys).Model(), c.expected) << c.text;
    }
}

}  // namespace
