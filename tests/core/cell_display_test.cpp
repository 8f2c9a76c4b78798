// What the scene shows of the cell, without a window: every object drawn
// exactly where, and as large as, the collision model holds it (FCL's own
// solid, probed just inside and just outside the drawn surface); the links
// and objects drawn red with the switch Collisions on; objects hidden and
// shown through the controller, a hidden state that goes with its object;
// and the switch's state at start, off unless the data set says otherwise.
#include "collision/FclGeometry.h"
#include "collision_fixture.h"
#include "config/OptionKeys.h"
#include "config/OptionsParser.h"
#include "dataset/ArmCell.h"
#include "dataset/DataSet.h"
#include "sim/CellContacts.h"
#include "sim/Controller.h"
#include "sim/MotionRecorder.h"
#include "sim/ObjectShape.h"
#include "sim/Simulation.h"
#include "tests/support/RecordingView.h"

#include <fcl/geometry/shape/sphere.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace kxtest;

namespace {

// ---------------------------------------------------------------------------
// Where objects are drawn
// ---------------------------------------------------------------------------

// A point of the scene (scene units) as the collision model's (pose units).
fcl::Vector3d PoseUnits(const Matrix4& frame, const double local[3])
{
    fcl::Vector3d p;
    for (int row = 0; row < 3; ++row)
        p[row] = 100.0 * (frame.m[row] * local[0] + frame.m[4 + row] * local[1] + frame.m[8 + row] * local[2] +
                          frame.m[12 + row]);
    return p;
}

// Whether a speck at p (pose units) touches the solid.
bool Touches(const PlacedSolid& solid, const fcl::Vector3d& p)
{
    const fcl::Sphered speck(1e-3);
    fcl::Transform3d at = fcl::Transform3d::Identity();
    at.translation() = p;
    return Touch(*solid.geometry, solid.pose, speck, at);
}

// Points of the drawn surface in the object's own frame, scene units, as
// CCellObjects draws it from ShapeOf: a box's corners and the middles of its
// faces, a cylinder's rims and the middle of its side, a sphere's poles and
// equator, a mesh's vertices.
std::vector<std::array<double, 3>> DrawnSurface(const ObjectShape& shape, const ObjectDefinition& object)
{
    const double* s = shape.size;
    std::vector<std::array<double, 3>> points;
    switch (shape.kind) {
    case ObjectKind::Box:
        for (int corner = 0; corner < 8; ++corner)
            points.push_back(
                {(corner & 1 ? 0.5 : -0.5) * s[0], (corner & 2 ? 0.5 : -0.5) * s[1], (corner & 4 ? 0.5 : -0.5) * s[2]});
        for (int axis = 0; axis < 3; ++axis)
            for (double side : {-0.5, 0.5}) {
                std::array<double, 3> middle = {0, 0, 0};
                middle[static_cast<std::size_t>(axis)] = side * s[axis];
                points.push_back(middle);
            }
        break;
    case ObjectKind::Cylinder:
        for (double z : {-0.5 * s[1], 0.0, 0.5 * s[1]})
            for (int i = 0; i < 8; ++i)
                points.push_back({s[0] * std::cos(i * M_PI / 4), s[0] * std::sin(i * M_PI / 4), z});
        points.push_back({0, 0, 0.5 * s[1]});
        points.push_back({0, 0, -0.5 * s[1]});
        break;
    case ObjectKind::Sphere:
        points = {{0, 0, s[0]}, {0, 0, -s[0]}, {s[0], 0, 0}, {0, -s[0], 0}};
        break;
    case ObjectKind::Mesh:
        for (int i = 0; i < object.mesh->VertexCount(); ++i) {
            const float* v = &object.mesh->vertices[3 * static_cast<std::size_t>(i)];
            points.push_back({v[0], v[1], v[2]});
        }
        break;
    }
    return points;
}

TEST(ObjectShape, EveryObjectIsDrawnWhereTheCollisionModelHoldsIt)
{
    const double low[3] = {-0.5, -1.0, 0.0}, high[3] = {1.5, 0.5, 0.8};
    const auto part = std::make_shared<const MeshData>(BoxMesh(low, high));
    const ObjectDefinition objects[] = {
        Object(ObjectKind::Box, "table", {600, -200, 150, 400, 300, 300}),
        Object(ObjectKind::Box, "turned", {-300, 250, 420, 120, 60, 240, 35, 70, 50}),
        Object(ObjectKind::Cylinder, "upright", {500, 0, 350, 40, 200}),
        Object(ObjectKind::Cylinder, "lying", {200, 400, 300, 25, 300, 90, 90, 90}),
        Object(ObjectKind::Sphere, "ball", {700, 100, 600, 55}),
        Object(ObjectKind::Mesh, "part", {100, -500, 250, -60, 30, 120}, part),
    };
    for (const ObjectDefinition& object : objects) {
        SCOPED_TRACE(object.name);
        std::string reason;
        ASSERT_TRUE(CheckObject(object, &reason)) << reason;
        const ObjectShape shape = ShapeOf(object);
        const PlacedSolid solid = ObjectSolid(object);
        for (const std::array<double, 3>& p : DrawnSurface(shape, object)) {
            // A hundredth of the way in from the surface, then out: the
            // speck touches the solid inside and misses it outside (a
            // mesh's surface is all there is of it).
            const double in[3] = {0.99 * p[0], 0.99 * p[1], 0.99 * p[2]};
            const double out[3] = {1.01 * p[0], 1.01 * p[1], 1.01 * p[2]};
            if (object.kind != ObjectKind::Mesh)
                EXPECT_TRUE(Touches(solid, PoseUnits(shape.frame, in))) << p[0] << " " << p[1] << " " << p[2];
            else
                EXPECT_TRUE(Touches(solid, PoseUnits(shape.frame, p.data()))) << p[0] << " " << p[1] << " " << p[2];
            EXPECT_FALSE(Touches(solid, PoseUnits(shape.frame, out))) << p[0] << " " << p[1] << " " << p[2];
        }
        // The corners that bound it on screen and in its shadow hold the
        // collision model's own box around it.
        double lo[3] = {1e300, 1e300, 1e300}, hi[3] = {-1e300, -1e300, -1e300};
        for (const Point3& c : ObjectCorners(object)) {
            const double xyz[3] = {100 * c.x, 100 * c.y, 100 * c.z};
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], xyz[k]);
                hi[k] = std::max(hi[k], xyz[k]);
            }
        }
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(lo[k], solid.bounds.low[k], 1e-6) << "axis " << k;
            EXPECT_NEAR(hi[k], solid.bounds.high[k], 1e-6) << "axis " << k;
        }
    }
}

// ---------------------------------------------------------------------------
// What is drawn red
// ---------------------------------------------------------------------------

TEST(CellContacts, TheLinksAndObjectsOfEveryPair)
{
    auto pair = [](int link, int otherLink, const char* object) { return CollisionPair{link, otherLink, object}; };
    const struct {
        const char* what;
        std::vector<CollisionPair> pairs;
        unsigned links;
        std::vector<std::string> objects;
    } cases[] = {
        {"nothing", {}, 0u, {}},
        {"the hand on the ground: no object", {pair(6, -1, kGroundName)}, 1u << 6, {}},
        {"the body and the hand", {pair(0, 6, "")}, (1u << 0) | (1u << 6), {}},
        {"two links on one object, named once",
         {pair(4, -1, "table"), pair(5, -1, "table"), pair(5, -1, "part")},
         (1u << 4) | (1u << 5),
         {"table", "part"}},
    };
    for (const auto& c : cases) {
        const CellContacts contacts = ContactsOf(c.pairs);
        EXPECT_EQ(contacts.links, c.links) << c.what;
        EXPECT_EQ(contacts.objects, c.objects) << c.what;
        for (const std::string& object : c.objects)
            EXPECT_TRUE(contacts.Touches(object)) << c.what;
        EXPECT_FALSE(contacts.Touches(kGroundName)) << c.what;
    }
}

// The shipped arm at its start angles and its cell, through its controller.
class CellWorld : public ::testing::Test {
protected:
    CellWorld() : simulation(ShippedArm()) {}
    void SetUp() override { simulation.SetCell(BuildArmCell(simulation.Arm(), KX_SOURCE_DIR "/default/")); }

    // A slab through the wrist centre at the start angles: the forearm, the
    // wrist and the hand cross it.
    ObjectDefinition Slab() const
    {
        const ToolPose wrist = ArmMGD(simulation.Arm(), simulation.Arm().start);
        return Object(ObjectKind::Box, "slab", {wrist.X, wrist.Y, wrist.Z, 400, 400, 20});
    }

    CSimulation simulation;
    CMotionRecorder recorder{simulation};
    CRecordingView view;
    CController controller{simulation, view, recorder};
};

TEST_F(CellWorld, ContactsAreShownWithTheSwitchOnly)
{
    ASSERT_TRUE(controller.DefineObject(Slab()).ok);
    ASSERT_TRUE(controller.DefineObject(Object(ObjectKind::Sphere, "away", {-700, 300, 500, 50})).ok);
    controller.SetDisplayFlag(DisplayFlag::Collisions, false);
    EXPECT_EQ(ShownContacts(simulation).links, 0u);
    EXPECT_TRUE(ShownContacts(simulation).objects.empty());

    controller.SetDisplayFlag(DisplayFlag::Collisions, true);
    const CellContacts shown = ShownContacts(simulation);
    EXPECT_EQ(shown.links, ContactsOf(simulation.Cell()->Collisions(simulation.Angles())).links);
    EXPECT_TRUE(shown.links & (1u << 4)) << "the forearm crosses the slab";
    EXPECT_FALSE(shown.links & (1u << 0)) << "the body touches nothing";
    EXPECT_EQ(shown.objects, std::vector<std::string>{"slab"});

    // A hidden object is still checked, and still red.
    ASSERT_TRUE(controller.ShowObject("slab", false).ok);
    EXPECT_EQ(ShownContacts(simulation).objects, std::vector<std::string>{"slab"});

    // Before the cell is built, nothing.
    CSimulation bare(ShippedArm());
    bare.SetDisplay(DisplayFlag::Collisions, true);
    EXPECT_EQ(ShownContacts(bare).links, 0u);
}

// ---------------------------------------------------------------------------
// Objects shown and hidden
// ---------------------------------------------------------------------------

TEST_F(CellWorld, AnObjectIsHiddenThroughTheControllerUntilItGoes)
{
    struct Counting : CSimulationListener {
        int changes = 0;
        void OnStateChanged() override { ++changes; }
    } listener;
    simulation.AddListener(&listener);

    const ActionResult missing = controller.ShowObject("table", false);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.message, "aucun objet « table »");
    EXPECT_EQ(listener.changes, 0);

    ASSERT_TRUE(controller.DefineObject(Object(ObjectKind::Box, "table", {600, 0, 100, 300, 300, 200})).ok);
    EXPECT_TRUE(controller.ObjectShown("table")) << "shown until hidden";
    ASSERT_TRUE(controller.ShowObject("table", false).ok);
    EXPECT_FALSE(controller.ObjectShown("table"));
    EXPECT_EQ(listener.changes, 2) << "the definition and the hiding, each shown";

    // A new definition keeps the state, as it keeps the colour.
    ASSERT_TRUE(controller.DefineObject(Object(ObjectKind::Sphere, "table", {600, 0, 100, 80})).ok);
    EXPECT_FALSE(controller.ObjectShown("table"));
    // The state goes with the object: defined again after its removal, or
    // after all are removed, it is shown.
    ASSERT_TRUE(controller.RemoveObject("table").ok);
    ASSERT_TRUE(controller.DefineObject(Object(ObjectKind::Sphere, "table", {600, 0, 100, 80})).ok);
    EXPECT_TRUE(controller.ObjectShown("table"));
    ASSERT_TRUE(controller.ShowObject("table", false).ok);
    controller.RemoveAllObjects();
    ASSERT_TRUE(controller.DefineObject(Object(ObjectKind::Sphere, "table", {600, 0, 100, 80})).ok);
    EXPECT_TRUE(controller.ObjectShown("table"));
    simulation.RemoveListener(&listener);
}

// The cell's revision moves on with every change made, and with no refusal:
// what is worked out from the cell (the readout's margin) knows when to work
// it out again.
TEST_F(CellWorld, EveryChangeOfTheCellMovesItsRevisionOn)
{
    const struct {
        const char* what;
        bool (*change)(CController&);
        bool moves;
    } steps[] = {
        {"a definition",
         [](CController& c) {
             return c.DefineObject(Object(ObjectKind::Sphere, "ball", {600, 0, 100, 80})).ok;
         },
         true},
        {"a refused definition",
         [](CController& c) {
             return c.DefineObject(Object(ObjectKind::Sphere, "ball", {600, 0, 100, -1})).ok;
         },
         false},
        {"a colour", [](CController& c) { return c.SetObjectColour("ball", "#ff8000").ok; }, true},
        {"a colour refused", [](CController& c) { return c.SetObjectColour("ball", "orange").ok; }, false},
        {"hidden: display only", [](CController& c) { return c.ShowObject("ball", false).ok; }, false},
        {"a removal", [](CController& c) { return c.RemoveObject("ball").ok; }, true},
        {"a removal refused", [](CController& c) { return c.RemoveObject("ball").ok; }, false},
        {"all removed",
         [](CController& c) {
             c.RemoveAllObjects();
             return true;
         },
         true},
    };
    for (const auto& step : steps) {
        const unsigned long before = simulation.CellRevision();
        step.change(controller);
        EXPECT_EQ(simulation.CellRevision() != before, step.moves) << step.what;
    }
}

// ---------------------------------------------------------------------------
// The switch at start
// ---------------------------------------------------------------------------

PanelSettings PanelOf(const std::string& text)
{
    COptions options;
    FILE* stream = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    EXPECT_NE(stream, nullptr);
    EXPECT_TRUE(COptionsParser::ParseFileForVariable(stream, &options));
    std::fclose(stream);
    return ReadSettings(&options, DeclarePanelKeys);
}

TEST(CollisionsSwitch, OffUnlessTheDataSetSaysOn)
{
    const struct {
        const char* what;
        std::string glui;
        bool on;
    } cases[] = {
        {"a glui.opt written before the key", "strCollisions = \"Collisions\";\n", false},
        {"on", "bShowCollisions = true;\n", true},
        {"off", "bShowCollisions = false;\n", false},
    };
    for (const auto& c : cases) {
        const PanelSettings settings = PanelOf(c.glui);
        EXPECT_EQ(settings.startDisplay[DisplayFlag::Collisions], c.on) << c.what;
        EXPECT_EQ(CSimulation(ShippedArm(), settings.startDisplay).Display()[DisplayFlag::Collisions], c.on) << c.what;
        // Every other switch starts as its table says.
        for (const DisplaySwitch& sw : kDisplaySwitches)
            if (sw.flag != DisplayFlag::Collisions) {
                EXPECT_EQ(settings.startDisplay[sw.flag], sw.initial) << c.what << ": " << sw.word;
            }
    }
    EXPECT_FALSE(ReadSettings(nullptr, DeclarePanelKeys).startDisplay[DisplayFlag::Collisions]) << "without glui.opt";
    EXPECT_TRUE(LoadDataSet(KX_SOURCE_DIR "/default").panel.startDisplay[DisplayFlag::Collisions])
        << "the default data set shows them";
}

}  // namespace
