// The collision world of the shipped arm: the poses whose answers are
// known, objects of each kind hit and missed, definitions refused with the
// old one kept, the objects' list, and the first contact that the planner
// asks for agreeing with the full list.
#include "collision_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

using namespace kxtest;

namespace {

class CollisionWorldTest : public ShippedCellTest {
protected:
    std::vector<std::string> At(const JointAngles& angles) const { return Texts(world.Collisions(angles)); }
    bool Define(const ObjectDefinition& object)
    {
        std::string reason;
        const bool defined = world.DefineObject(object, &reason);
        EXPECT_TRUE(defined) << reason;
        return defined;
    }
};

bool AnyWith(const std::vector<std::string>& pairs, const std::string& part)
{
    return std::any_of(pairs.begin(), pairs.end(), [&](const std::string& pair) {
        const std::size_t colon = pair.find(':');
        return pair.substr(0, colon) == part || pair.substr(colon + 1) == part;
    });
}

// The wrist centre at the start angles, and the point opposite it across
// the base's axis, where nothing of the arm is.
constexpr double kWrist[3] = {742.88, -346.41, 538.76};
constexpr double kOpposite[3] = {-742.88, 346.41, 538.76};

}  // namespace

// All angles 0 put the forearm through the floor (the wrist centre 40 units
// under it); the start angles touch nothing; the wrist centre driven into
// the body folds the arm onto it.
TEST_F(CollisionWorldTest, PosesWithKnownAnswers)
{
    const MGIResult intoBody = ArmMGI(arm, ToolPose{100, 0, 150, 0, 0, 0}, arm.start);
    ASSERT_TRUE(intoBody.reached);
    const struct {
        const char* what;
        JointAngles angles;
        std::vector<std::string> expected;
    } cases[] = {
        {"all angles 0", JointAngles{0, 0, 0, 0, 0, 0}, {"LowerArm:ground", "Wrist:ground", "Hand:ground"}},
        {"start", arm.start, {}},
        {"pose 100 0 150 0 0 0",
         intoBody.angles,
         {"Hand:ground", "Body:LowerArm", "Body:Wrist", "Body:Hand", "UpperArm:LowerArm"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(At(c.angles), c.expected);
        CollisionPair first;
        EXPECT_EQ(world.FirstCollision(c.angles, &first), !c.expected.empty());
        if (!c.expected.empty()) {
            EXPECT_EQ(first.Text(), c.expected.front());
        }
    }
    EXPECT_TRUE(AnyWith(At(intoBody.angles), "Body"));
}

// Each kind of object, at the start angles: where the wrist is, and across
// the base; a table just under the fingers and just into them; a bar
// turned along the arm's plane or across it.
TEST_F(CollisionWorldTest, ObjectsOfEachKindHitAndMissed)
{
    const double cube[2][3] = {{-0.2, -0.2, -0.2}, {0.2, 0.2, 0.2}};
    const double bar[2][3] = {{-10, -0.1, -0.1}, {10, 0.1, 0.1}};
    const auto cubeMesh = std::make_shared<const MeshData>(BoxMesh(cube[0], cube[1]));
    const auto barMesh = std::make_shared<const MeshData>(BoxMesh(bar[0], bar[1]));
    const auto at = [](const double p[3], std::vector<double> rest) {
        std::vector<double> numbers{p[0], p[1], p[2]};
        numbers.insert(numbers.end(), rest.begin(), rest.end());
        return numbers;
    };
    // The bar's centre 500 units beyond the wrist, away from the base; the
    // arm's plane is turned -25 degrees (A12).
    const double s = 1 + 500 / std::hypot(kWrist[0], kWrist[1]);
    const double beyond[3] = {kWrist[0] * s, kWrist[1] * s, kWrist[2]};
    const struct {
        ObjectDefinition object;
        bool hit;
    } cases[] = {
        {Object(ObjectKind::Box, "part", at(kWrist, {40, 40, 40})), true},
        {Object(ObjectKind::Box, "part", at(kOpposite, {40, 40, 40})), false},
        // The fingers' tips are at z = 373.8.
        {Object(ObjectKind::Box, "table", {742.88, -346.41, 334, 300, 300, 100}), true},
        {Object(ObjectKind::Box, "table", {742.88, -346.41, 314, 300, 300, 100}), false},
        {Object(ObjectKind::Box, "bar", at(beyond, {2000, 20, 20, 0, 0, 155})), true},
        {Object(ObjectKind::Box, "bar", at(beyond, {2000, 20, 20, 0, 0, 65})), false},
        {Object(ObjectKind::Cylinder, "post", at(kWrist, {30, 1000})), true},
        {Object(ObjectKind::Cylinder, "post", at(kOpposite, {30, 1000})), false},
        // Its axis, z, laid level by a quarter turn about a level axis.
        {Object(ObjectKind::Cylinder, "pipe", at(beyond, {10, 2000, 155, 90, 90})), true},
        {Object(ObjectKind::Cylinder, "pipe", at(beyond, {10, 2000, 245, 90, 90})), false},
        {Object(ObjectKind::Sphere, "ball", at(kWrist, {30})), true},
        {Object(ObjectKind::Sphere, "ball", at(kOpposite, {30})), false},
        {Object(ObjectKind::Mesh, "block", at(kWrist, {}), cubeMesh), true},
        {Object(ObjectKind::Mesh, "block", at(kOpposite, {}), cubeMesh), false},
        {Object(ObjectKind::Mesh, "rail", at(beyond, {0, 0, 155}), barMesh), true},
        {Object(ObjectKind::Mesh, "rail", at(beyond, {0, 0, 65}), barMesh), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.object.name + (c.hit ? " hit" : " missed"));
        world.RemoveAllObjects();
        ASSERT_TRUE(Define(c.object));
        const std::vector<std::string> pairs = At(arm.start);
        EXPECT_EQ(AnyWith(pairs, c.object.name), c.hit) << ::testing::PrintToString(pairs);
        EXPECT_EQ(world.FirstCollision(arm.start), c.hit);
    }
    world.RemoveAllObjects();
    ASSERT_TRUE(Define(cases[2].object));
    EXPECT_EQ(At(arm.start), std::vector<std::string>{"Hand:table"});
}

// A bad definition says why and changes nothing: the object keeps its old
// definition, and no name is added.
TEST_F(CollisionWorldTest, BadDefinitionsAreRefusedAndTheOldOneKept)
{
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    auto empty = std::make_shared<const MeshData>();
    MeshData astray = BoxMesh(std::array<double, 3>{0, 0, 0}.data(), std::array<double, 3>{1, 1, 1}.data());
    astray.indices[4] = 8;
    const struct {
        ObjectDefinition object;
        const char* reason;
    } cases[] = {
        {Object(ObjectKind::Box, "part", {0, 0, 0, 10, 0, 10}), "taille nulle ou négative : DY vaut 0"},
        {Object(ObjectKind::Box, "part", {0, 0, 0, 10, 10, -5}), "taille nulle ou négative : DZ vaut -5"},
        {Object(ObjectKind::Cylinder, "part", {0, 0, 0, -1, 10}), "taille nulle ou négative : le rayon vaut -1"},
        {Object(ObjectKind::Cylinder, "part", {0, 0, 0, 1, 0}), "taille nulle ou négative : la longueur vaut 0"},
        {Object(ObjectKind::Sphere, "part", {0, 0, 0, 0}), "taille nulle ou négative : le rayon vaut 0"},
        {Object(ObjectKind::Sphere, "part", {nan, 0, 0, 5}), "nombre non fini : X vaut nan"},
        {Object(ObjectKind::Box, "part", {0, 0, 0, 1, 1, 1, 0, inf, 0}), "nombre non fini : bêta vaut inf"},
        {Object(ObjectKind::Box, "part", {0, 0, 0, 1, 1}), "box : 5 nombres au lieu de 6 ou 9"},
        {Object(ObjectKind::Sphere, "part", {0, 0, 0, 1, 0, 0, 0}), "sphere : 7 nombres au lieu de 4"},
        {Object(ObjectKind::Mesh, "part", {0, 0, 0}, empty), "maillage vide : aucun triangle"},
        {Object(ObjectKind::Mesh, "part", {0, 0, 0}), "maillage vide : aucun triangle"},
        {Object(ObjectKind::Mesh, "part", {0, 0, 0}, std::make_shared<const MeshData>(astray)),
         "maillage invalide : un triangle désigne un sommet absent"},
        {Object(ObjectKind::Sphere, "ta ble", {0, 0, 0, 1}),
         "nom d'objet « ta ble » : lettres, chiffres, « - » et « _ » seulement"},
        {Object(ObjectKind::Sphere, "pièce", {0, 0, 0, 1}),
         "nom d'objet « pièce » : lettres, chiffres, « - » et « _ » seulement"},
        {Object(ObjectKind::Sphere, "", {0, 0, 0, 1}), "nom d'objet vide"},
        {Object(ObjectKind::Sphere, "ground", {0, 0, 0, 1}), "nom d'objet « ground » : il désigne le sol"},
        {Object(ObjectKind::Sphere, "Hand", {0, 0, 0, 1}), "nom d'objet « Hand » : il désigne un segment du bras"},
    };
    const ObjectDefinition old = Object(ObjectKind::Sphere, "part", {kWrist[0], kWrist[1], kWrist[2], 30});
    ASSERT_TRUE(Define(old));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        std::string reason;
        EXPECT_FALSE(world.DefineObject(c.object, &reason));
        EXPECT_EQ(reason, c.reason);
        EXPECT_EQ(world.ObjectNames(), std::vector<std::string>{"part"});
        const CellObject* kept = world.FindObject("part");
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(kept->definition.kind, ObjectKind::Sphere);
        EXPECT_EQ(kept->definition.numbers, old.numbers);
        EXPECT_EQ(At(arm.start), (std::vector<std::string>{"LowerArm:part", "Wrist:part"}));
    }
    // Good names take letters, digits, '-' and '_'.
    EXPECT_TRUE(Define(Object(ObjectKind::Sphere, "Table_2-b", {0, 0, -500, 1})));
}

// Objects keep their definitions as given and their order; a new
// definition keeps the name's place and colour; colours and removals.
TEST_F(CollisionWorldTest, TheObjectsList)
{
    ASSERT_TRUE(Define(Object(ObjectKind::Box, "table", {800, -350, 250, 300, 300, 100})));
    ASSERT_TRUE(Define(Object(ObjectKind::Sphere, "ball", {0, 800, 100, 50})));
    ASSERT_TRUE(Define(Object(ObjectKind::Cylinder, "post", {-600, 0, 500, 30, 1000, 0, 90, 45})));
    EXPECT_EQ(world.ObjectNames(), (std::vector<std::string>{"table", "ball", "post"}));
    const CellObject* post = world.FindObject("post");
    ASSERT_NE(post, nullptr);
    EXPECT_EQ(post->definition.numbers, (std::vector<double>{-600, 0, 500, 30, 1000, 0, 90, 45}));
    EXPECT_STREQ(ObjectKindName(post->definition.kind), "cylinder");
    EXPECT_EQ(post->colour, kObjectGrey);

    std::string reason;
    EXPECT_TRUE(world.SetObjectColour("table", "#8B4513", &reason)) << reason;
    EXPECT_FALSE(world.SetObjectColour("table", "brun", &reason));
    EXPECT_EQ(reason, "couleur « brun » : elle s'écrit #rrggbb");
    EXPECT_FALSE(world.SetObjectColour("chair", "#000000", &reason));
    EXPECT_EQ(reason, "aucun objet « chair »");

    ASSERT_TRUE(Define(Object(ObjectKind::Box, "table", {742.88, -346.41, 334, 300, 300, 100})));
    EXPECT_EQ(world.ObjectNames(), (std::vector<std::string>{"table", "ball", "post"}));
    EXPECT_EQ(world.FindObject("table")->colour, "#8B4513");
    EXPECT_EQ(At(arm.start), std::vector<std::string>{"Hand:table"});

    EXPECT_FALSE(world.RemoveObject("chair", &reason));
    EXPECT_EQ(reason, "aucun objet « chair »");
    EXPECT_TRUE(world.RemoveObject("ball", &reason));
    EXPECT_EQ(world.ObjectNames(), (std::vector<std::string>{"table", "post"}));
    EXPECT_EQ(world.FindObject("ball"), nullptr);
    EXPECT_EQ(world.FindObject("post")->definition.numbers[0], -600) << "found by name after a removal";
    EXPECT_EQ(At(arm.start), std::vector<std::string>{"Hand:table"});
    world.RemoveAllObjects();
    EXPECT_TRUE(world.ObjectNames().empty());
    EXPECT_TRUE(At(arm.start).empty());
}

// The planner's query stops at the first contact: it must find one exactly
// when the full check does, and the same first pair, over poses that touch
// and poses that do not, with objects about.
TEST_F(CollisionWorldTest, FirstContactAgreesWithTheFullCheck)
{
    ASSERT_TRUE(Define(Object(ObjectKind::Box, "table", {700, 0, 200, 400, 800, 40})));
    ASSERT_TRUE(Define(Object(ObjectKind::Sphere, "ball", {0, 600, 600, 80})));
    std::mt19937 random(11u);
    std::uniform_real_distribution<float> turn(-180.0f, 180.0f);
    int touching = 0;
    for (int n = 0; n < 300; ++n) {
        const JointAngles a{turn(random), turn(random), turn(random), turn(random), turn(random), turn(random)};
        const std::vector<CollisionPair> all = world.Collisions(a);
        CollisionPair first;
        ASSERT_EQ(world.FirstCollision(a, &first), !all.empty()) << n;
        if (!all.empty()) {
            EXPECT_EQ(first, all.front()) << n;
            ++touching;
        }
    }
    EXPECT_GT(touching, 30);
    EXPECT_LT(touching, 290);
}
