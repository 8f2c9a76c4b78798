// The pairs of links kalimbrax-arm writes as never checked (robot.opt's
// strAlwaysTouching): found on the meshes it writes, the cylinders standing
// in for missing ones included, in the arm's own angles and limits; and the
// published IRB 1600, loaded with its pairs, clear of itself and of the
// floor at its zero and at its start.
#include "arm/LinkMeshFiles.h"
#include "collision/AlwaysTouching.h"
#include "collision/CollisionWorld.h"
#include "dataset/DataSet.h"
#include "tests/arm/urdf_fixture.h"
#include "tests/support/ErrorLog.h"
#include "tools/arm/ArmDataSet.h"
#include "tools/arm/ArmImport.h"
#include "tools/arm/ArmMake.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

namespace {

class ArmAlwaysTouchingTest : public ErrorLogTest {
protected:
    ArmAlwaysTouchingTest() : ErrorLogTest("arm_always_touching_test") {}
    CScratch scratch;
};

std::vector<std::string> Texts(const std::vector<CollisionPair>& pairs)
{
    std::vector<std::string> texts;
    for (const CollisionPair& pair : pairs)
        texts.push_back(pair.Text());
    return texts;
}

struct PairsCase {
    const char* what;
    void (*change)(FixtureArm&);
    const char* missingMesh;
    const char* pairs;
};

// The hand a bar along its own axis, which passes through the wrist centre
// (joint 5, 6.5 cm behind joint 6) at every angle, reaching 13.5 cm behind
// it: whatever A56, it crosses the end of a lower arm that comes up to the
// wrist centre, never a stub that stops 20 cm short of it.
void HandBar(FixtureArm& a)
{
    a.boxes.push_back({"link_6", {-0.2f, -0.05f, -0.05f}, {0.05f, 0.05f, 0.05f}});
    a.boxes.push_back({"link_4", {-0.05f, -0.05f, -0.05f}, {0.1f, 0.05f, 0.05f}});
}

const PairsCase kCases[] = {
    {"les boîtes de l'arbre d'essai", [](FixtureArm&) {}, "", ""},
    // A plate on the body, 50 cm wide at the shoulder's height, reaches
    // across joint 1 around joint 2 (15 cm off the base axis, wherever A12
    // turns it): the upper arm's box, 35 cm long from there, crosses its
    // faces at every angle of A23.
    {"le socle en plateau autour de l'articulation 2",
     [](FixtureArm& a) {
         a.boxes.push_back({"base_link", {-0.25f, -0.25f, 0.45f}, {0.25f, 0.25f, 0.52f}});
     },
     "", "Body:UpperArm"},
    // Only the half in front: joint 2 stays over it while A12 stays within
    // its limits, ±30° (it would leave it beyond ±70°).
    {"un demi-plateau, l'articulation 1 bornée à ±30°",
     [](FixtureArm& a) {
         a.boxes.push_back({"base_link", {0.05f, -0.25f, 0.45f}, {0.25f, 0.25f, 0.52f}});
         a.joints[0].lower = -M_PI / 6;
         a.joints[0].upper = M_PI / 6;
     },
     "", "Body:UpperArm"},
    {"la main en barre, l'avant-bras court", HandBar, "", ""},
    // Without its mesh the lower arm is a cylinder from joint 4 to the
    // wrist centre: the cylinder standing in is what is searched.
    {"la main en barre, l'avant-bras remplacé par un cylindre", HandBar, "link_4", "LowerArm:Hand"},
};

TEST_F(ArmAlwaysTouchingTest, TheWrittenPairsAreThoseOfTheWrittenMeshes)
{
    for (const PairsCase& c : kCases) {
        SCOPED_TRACE(c.what);
        FixtureArm arm = Irb1600Arm();
        c.change(arm);
        CScratch folder;
        const std::string data = folder.Path() + "/data";
        ASSERT_TRUE(ImportArm(WriteFixtureUrdf(folder.Path(), arm, c.missingMesh), data, DefaultTemplateDirectory()))
            << ::testing::PrintToString(Messages());
        const std::optional<ArmDescription> written = LoadDataSet(data).arm;
        ASSERT_TRUE(written);
        EXPECT_EQ(written->alwaysTouching, c.pairs);
    }
}

// make's arms, drawn like the default arm at their size. Without an elbow
// offset (a2 = 0) the forearm's roll bearing starts on the elbow axis,
// inside the upper arm's rounded end, and comes out through both its
// faces, whatever A34 and A45.
TEST_F(ArmAlwaysTouchingTest, AMadeArmsPairsAreWrittenToo)
{
    const struct {
        const char* sheet;
        const char* pairs;
    } cases[] = {
        {"", ""},
        {"fA2 = 0.0;", "UpperArm:LowerArm"},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sheet);
        const std::string sheet = scratch.Path() + "/sheet" + std::to_string(index) + ".txt";
        const std::string data = scratch.Path() + "/made" + std::to_string(index++);
        std::ofstream(sheet) << c.sheet;
        ASSERT_TRUE(MakeArm(sheet, data, DefaultTemplateDirectory())) << ::testing::PrintToString(Messages());
        const DataSet written = LoadDataSet(data);
        ASSERT_TRUE(written.arm);
        const COptions* robot = written.Options("robot.opt");
        EXPECT_TRUE(robot && robot->Find("strAlwaysTouching")) << "the key is written, empty or not";
        EXPECT_EQ(written.arm->alwaysTouching, c.pairs);
    }
}

// The published arm, when its sample lies beside the repository: the pairs
// written are the sample's on its own meshes, and with them left out it
// touches nothing, itself or the floor, standing at its zero (straight up)
// or at its start.
TEST_F(ArmAlwaysTouchingTest, TheReferenceArmTouchesNothingAtItsZeroNorAtItsStart)
{
    const std::string urdf = KX_SOURCE_DIR "/../shared/data/irb1600/abb_irb1600_support/urdf/irb1600_6_12.urdf";
    if (!std::ifstream(urdf).good())
        GTEST_SKIP() << "pas d'échantillon IRB 1600 à côté du dépôt";
    const std::string data = scratch.Path() + "/irb";
    ASSERT_TRUE(ImportArm(urdf, data, DefaultTemplateDirectory())) << ::testing::PrintToString(Messages());
    const std::optional<ArmDescription> arm = LoadDataSet(data).arm;
    ASSERT_TRUE(arm);
    LinkMeshes meshes;
    std::string reason;
    ASSERT_TRUE(ReadLinkMeshes(*arm, data, &meshes, &reason)) << reason;
    const CCollisionWorld world(*arm, meshes.data());
    EXPECT_EQ(arm->AlwaysTouching(), FindAlwaysTouching(world, arm->limits));
    EXPECT_EQ(Texts(world.Collisions(JointAngles{0, 0, 0, 0, 0, 0})), std::vector<std::string>{});
    EXPECT_EQ(Texts(world.Collisions(arm->start)), std::vector<std::string>{});
}

}  // namespace
