// What the configuration ghosts draw: each link placement once (the solid
// arm's and another ghost's are not drawn again), those outside the limits
// first, a label per configuration at its elbow, and labels spread so that
// none covers another.
#include "arm/ArmKinematics.h"
#include "view/GhostLayout.h"
#include "tests/core/kinematics_fixture.h"
#include "tests/support/ShippedArm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace {

bool SamePlacement(const ArmDescription& arm, const JointAngles& a, const JointAngles& b, int link)
{
    const Matrix4 p = LinkMeshTransform(arm.LinkTurns().x, ModelAngles(arm, a), arm.offset, link);
    const Matrix4 q = LinkMeshTransform(arm.LinkTurns().x, ModelAngles(arm, b), arm.offset, link);
    for (int i = 0; i < 16; ++i)
        if (std::fabs(p.m[i] - q.m[i]) > 1e-3)  // far below a pixel
            return false;
    return true;
}

// Over random poses, with the flipped wrists ruled out in half of them:
// every placement of a link among the solid arm and the ghosts is drawn
// once, in blue when a configuration within the limits has it; the ghosts
// outside the limits are drawn first.
TEST(GhostLayout, EveryLinkPlacementIsDrawnOnceBlueWhenItCanBe)
{
    std::mt19937 rng(5);
    for (int n = 0; n < 200; ++n) {
        ArmDescription arm = ShippedArm();
        if (n % 2)
            arm.limits.low[4] = 0;
        const JointAngles current = kxtest::RandomReachableAngles(rng);
        const std::vector<ArmConfiguration> list = ConfigurationsOf(arm, current);
        const GhostLayout layout = LayOutGhosts(arm, current, list);
        ASSERT_LT(layout.arms.size(), list.size()) << n << ": the arm's own is no ghost";
        std::vector<GhostArm> all{GhostArm{0, current, kEveryLink, true}};  // the solid arm
        all.insert(all.end(), layout.arms.begin(), layout.arms.end());
        for (std::size_t g = 1; g < all.size(); ++g) {
            EXPECT_NE(all[g].links, 0u) << n << ": a ghost that draws nothing is left out";
            if (g > 1) {
                EXPECT_LE(all[g - 1].withinLimits, all[g].withinLimits) << n << ": those outside first";
            }
            for (int link = 0; link < kLinkCount; ++link) {
                int drawers = 0;
                bool drawnWithin = false, canBeWithin = false;
                for (const GhostArm& other : all) {
                    if (!SamePlacement(arm, all[g].angles, other.angles, link))
                        continue;
                    canBeWithin |= other.withinLimits;
                    if ((other.links >> link) & 1u) {
                        ++drawers;
                        drawnWithin = other.withinLimits;
                    }
                }
                EXPECT_EQ(drawers, 1) << n << ", configuration " << all[g].number << ", link " << link;
                EXPECT_EQ(drawnWithin, canBeWithin) << n << ", configuration " << all[g].number << ", link " << link;
            }
        }
    }
}

TEST(GhostLayout, EightConfigurationsSevenGhostsAndALabelEach)
{
    ArmDescription arm = ShippedArm();
    arm.limits.low[4] = 0;  // A56 kept positive: the flipped wrists are out
    const JointAngles current{20, 30, -40, 25, 50, -10};
    const std::vector<ArmConfiguration> list = ConfigurationsOf(arm, current);
    ASSERT_EQ(list.size(), 8u);
    const GhostLayout layout = LayOutGhosts(arm, current, list);

    // Configurations 1 and 2 reach forward with the elbow down, 3 is the
    // arm's own and 4 its flipped wrist, 5 to 8 reach back over the base.
    // A flipped wrist, outside the limits, is drawn first: its lower arm and
    // wrist only, since up to the elbow it lies on its twin and its hand
    // ends where its twin's does.
    constexpr unsigned kForearmAndWrist = (1u << 4) | (1u << 5);
    constexpr unsigned kFromUpperArm = kEveryLink & ~3u, kFromShoulder = kEveryLink & ~1u;
    const struct {
        int number;
        unsigned links;
    } drawn[] = {{2, kForearmAndWrist}, {4, kForearmAndWrist}, {6, kForearmAndWrist}, {8, kForearmAndWrist},
                 {1, kFromUpperArm},    {5, kFromShoulder},    {7, kFromUpperArm}};
    ASSERT_EQ(layout.arms.size(), 7u);
    for (std::size_t i = 0; i < layout.arms.size(); ++i) {
        EXPECT_EQ(layout.arms[i].number, drawn[i].number) << i;
        EXPECT_EQ(layout.arms[i].links, drawn[i].links) << i;
        EXPECT_EQ(layout.arms[i].withinLimits, layout.arms[i].angles.A56 >= 0) << i;
    }

    ASSERT_EQ(layout.labels.size(), 8u);
    EXPECT_EQ(layout.labels[2].text, "3 : vers l'avant, coude en haut, poignet non retourné (actuelle)");
    EXPECT_EQ(layout.labels[7].text, "8 : vers l'arrière, coude en bas, poignet retourné");
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(layout.labels[i].current, i == 2) << i;
        EXPECT_EQ(layout.labels[i].withinLimits, list[i].withinLimits) << i;
    }
    // Twin wrists share an elbow; the four elbows differ.
    auto gap = [&](int a, int b) {
        const Point3 &p = layout.labels[a].anchor, &q = layout.labels[b].anchor;
        return std::hypot(p.x - q.x, p.y - q.y, p.z - q.z);
    };
    for (int twin = 0; twin < 8; twin += 2) {
        EXPECT_LT(gap(twin, twin + 1), 1e-4) << twin;
        for (int other = twin + 2; other < 8; other += 2)
            EXPECT_GT(gap(twin, other), 0.1) << twin << " " << other;
    }
}

TEST(GhostLayout, LabelsSpreadDownUntilNoneCoversAnother)
{
    constexpr int kLine = 14;
    const struct {
        const char* what;
        std::vector<LabelBox> given, placed;
    } cases[] = {
        {"apart", {{0, 100, 50}, {0, 60, 50}}, {{0, 100, 50}, {0, 60, 50}}},
        {"side by side", {{0, 100, 50}, {50, 100, 50}}, {{0, 100, 50}, {50, 100, 50}}},
        {"a line apart", {{0, 100, 50}, {20, 86, 50}}, {{0, 100, 50}, {20, 86, 50}}},
        {"one elbow, three labels",
         {{0, 100, 50}, {0, 100, 60}, {0, 100, 40}},
         {{0, 100, 50}, {0, 86, 60}, {0, 72, 40}}},
        {"the higher anchor keeps its place", {{10, 95, 50}, {0, 100, 50}}, {{10, 86, 50}, {0, 100, 50}}},
        {"pushed into the next", {{0, 100, 50}, {0, 95, 50}, {30, 84, 50}}, {{0, 100, 50}, {0, 86, 50}, {30, 72, 50}}},
    };
    for (const auto& c : cases) {
        std::vector<LabelBox> boxes = c.given;
        SpreadLabels(boxes, kLine);
        ASSERT_EQ(boxes.size(), c.placed.size());
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            EXPECT_EQ(boxes[i].x, c.placed[i].x) << c.what << " " << i;
            EXPECT_EQ(boxes[i].y, c.placed[i].y) << c.what << " " << i;
        }
    }
}

}  // namespace
