// The cell's objects in the real scene: every pixel an object covers lies on
// the surface the collision model gives it (read back from the depth
// buffer, in pose units, against the definition's own numbers); an object
// casts its shadow and shows in the floor; hidden, the scene is drawn to the
// byte as without it. With the switch Collisions, the links and the object
// that touch turn red and nothing else in the picture changes.
#include "arm/ArmKinematics.h"
#include "collision/CollisionWorld.h"
#include "sim/CellContacts.h"
#include "tests/support/SceneFixture.h"
#include "tests/support/ScenePicture.h"
#include "view/OrbitCamera.h"
#include "app/SceneWindow.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 800, kHeight = 600;

Picture DrawScene(CMainScene& s)
{
    s.Display();  // drawn into the back buffer, which is read without a swap
    glFinish();
    return ReadPicture();
}

std::vector<float> ReadDepth()
{
    std::vector<float> depth(static_cast<std::size_t>(g_iScreenWidth) * g_iScreenHeight);
    glReadPixels(0, 0, g_iScreenWidth, g_iScreenHeight, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    return depth;
}

// What a frame leaves: its colours, its depths, and the matrices it drew
// with (the camera stays on the model-view matrix).
struct Frame {
    Picture rgb;
    std::vector<float> depth;
    GLdouble modelview[16], projection[16];
    GLint viewport[4];
};

Frame DrawFrame(CMainScene& s)
{
    Frame f;
    f.rgb = DrawScene(s);
    f.depth = ReadDepth();
    glGetDoublev(GL_MODELVIEW_MATRIX, f.modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, f.projection);
    glGetIntegerv(GL_VIEWPORT, f.viewport);
    return f;
}

// The pixels where the second frame drew nearer than the first: what was
// added.
std::vector<std::size_t> Nearer(const Frame& before, const Frame& after)
{
    std::vector<std::size_t> pixels;
    for (std::size_t i = 0; i < after.depth.size(); ++i)
        if (after.depth[i] < before.depth[i] - 1e-6f)
            pixels.push_back(i);
    return pixels;
}

// Pixel i of a frame as a point of the base frame, pose units.
void PoseUnitsAt(const Frame& f, std::size_t i, double p[3])
{
    const double x = static_cast<double>(i % static_cast<std::size_t>(g_iScreenWidth)) + 0.5;
    const double y = static_cast<double>(i / static_cast<std::size_t>(g_iScreenWidth)) + 0.5;
    gluUnProject(x, y, f.depth[i], f.modelview, f.projection, f.viewport, &p[0], &p[1], &p[2]);
    for (int k = 0; k < 3; ++k)
        p[k] *= 100.0;
}

// How far a point (pose units) lies from the surface of the object as its
// definition's numbers give it, read as the collision model reads them: a
// box's full sides, a cylinder's radius and length about its centre along
// its own z, a sphere's radius; the mesh here is a box of known corners.
// Negative inside.
double SurfaceDistance(const ObjectDefinition& object, const double p[3], const double meshLow[3],
                       const double meshHigh[3])
{
    const ObjectPlacement at = PlacementOf(object);
    double local[3];
    for (int k = 0; k < 3; ++k) {
        local[k] = 0;
        for (int row = 0; row < 3; ++row)
            local[k] += at.r[row][k] * (p[row] - at.centre[row]);
    }
    const std::vector<double>& n = object.numbers;
    switch (object.kind) {
    case ObjectKind::Box:
        return std::max(
            {std::fabs(local[0]) - n[3] / 2, std::fabs(local[1]) - n[4] / 2, std::fabs(local[2]) - n[5] / 2});
    case ObjectKind::Cylinder:
        return std::max(std::hypot(local[0], local[1]) - n[3], std::fabs(local[2]) - n[4] / 2);
    case ObjectKind::Sphere:
        return std::sqrt(local[0] * local[0] + local[1] * local[1] + local[2] * local[2]) - n[3];
    case ObjectKind::Mesh: {
        double d = -1e300;
        for (int k = 0; k < 3; ++k) {
            const double middle = 50.0 * (meshLow[k] + meshHigh[k]), half = 50.0 * (meshHigh[k] - meshLow[k]);
            d = std::max(d, std::fabs(local[k] - middle) - half);
        }
        return d;
    }
    }
    return 0;
}

// A closed box from low to high (scene units), twelve triangles facing out.
std::shared_ptr<const MeshData> BoxMesh(const double low[3], const double high[3])
{
    auto mesh = std::make_shared<MeshData>();
    for (int corner = 0; corner < 8; ++corner)
        for (int k = 0; k < 3; ++k)
            mesh->vertices.push_back(static_cast<float>((corner >> k) & 1 ? high[k] : low[k]));
    mesh->normals.assign(mesh->vertices.size(), 0.0f);
    mesh->indices = {0, 2, 1, 1, 2, 3, 4, 5, 6, 5, 7, 6, 0, 1, 4, 1, 5, 4,
                     2, 6, 3, 3, 6, 7, 0, 4, 2, 2, 4, 6, 1, 3, 5, 3, 7, 5};
    return mesh;
}

ObjectDefinition Object(ObjectKind kind, const std::string& name, std::vector<double> numbers,
                        std::shared_ptr<const MeshData> mesh = nullptr)
{
    ObjectDefinition object;
    object.kind = kind;
    object.name = name;
    object.numbers = std::move(numbers);
    object.mesh = std::move(mesh);
    return object;
}

class CellPicture : public ScenePictureTest {
protected:
    void SetUp() override
    {
        OpenScene({DisplayFlag::Decoration},
                  {DisplayFlag::Shadows, DisplayFlag::Reflect, DisplayFlag::MetalLook, DisplayFlag::Trail,
                   DisplayFlag::Configurations, DisplayFlag::Collisions});
        if (!m_pScene)
            return;
        ASSERT_TRUE(ResizeSceneWindow(kWidth, kHeight));
        ASSERT_NE(Cell(), nullptr) << "the scene builds its cell";
        m_pScene->Simulation().SetAngles(m_pScene->Simulation().Arm().start);
    }
    void TearDown() override
    {
        if (m_pScene && Cell()) {
            Cell()->RemoveAllObjects();
            m_pScene->Simulation().CellChanged();
        }
    }
    CCollisionWorld* Cell() const { return m_pScene->Simulation().Cell(); }
    void Define(const ObjectDefinition& object)
    {
        std::string reason;
        ASSERT_TRUE(Cell()->DefineObject(object, &reason)) << reason;
        m_pScene->Simulation().CellChanged();
    }
    void Look(const OrbitView& view) { m_pScene->m_Camera = CameraOfOrbit(view); }
};

TEST_F(CellPicture, EveryObjectIsDrawnOnItsCollisionSurface)
{
    const double low[3] = {-0.8, -0.5, 0.0}, high[3] = {0.8, 0.5, 1.2};
    const ObjectDefinition objects[] = {
        Object(ObjectKind::Box, "table", {-500, 300, 150, 400, 300, 300}),
        Object(ObjectKind::Box, "turned", {-400, 350, 320, 200, 80, 260, 35, 70, 50}),
        Object(ObjectKind::Cylinder, "upright", {-500, 300, 150, 120, 300}),
        Object(ObjectKind::Cylinder, "lying", {-450, 300, 250, 80, 400, 90, 90, 90}),
        Object(ObjectKind::Sphere, "ball", {-450, 350, 250, 150}),
        Object(ObjectKind::Mesh, "part", {-450, 300, 100, -60, 30, 120}, BoxMesh(low, high)),
    };
    CMainScene& s = *m_pScene;
    for (const OrbitView& view : {OrbitView{160, 25, 16}, OrbitView{230, 50, 14}}) {
        Look(view);
        const Frame without = DrawFrame(s);
        for (const ObjectDefinition& object : objects) {
            SCOPED_TRACE(object.name + " seen from " + std::to_string(view.azimuth));
            Define(object);
            const Frame with = DrawFrame(s);
            const std::vector<std::size_t> drawn = Nearer(without, with);
            EXPECT_GT(drawn.size(), 2000u) << "in view";
            // On the surface, to the depth buffer's precision and the
            // facets of a round object (48 around: 0.2 % of the radius).
            double worst = 0;
            for (std::size_t i : drawn) {
                double p[3];
                PoseUnitsAt(with, i, p);
                worst = std::max(worst, std::fabs(SurfaceDistance(object, p, low, high)));
            }
            EXPECT_LT(worst, 1.5) << "pose units off the surface";
            Cell()->RemoveAllObjects();
            s.Simulation().CellChanged();
        }
    }
}

TEST_F(CellPicture, AnObjectCastsItsShadowAndShowsInTheFloorAndHiddenIsNotDrawn)
{
    CMainScene& s = *m_pScene;
    CSimulation& simulation = s.Simulation();
    Look(OrbitView{160, 25, 20});
    // The object's own pixels: those it adds without shadow or reflection. A
    // shelf above the floor, whose image in the floor shows under it.
    const Frame plain = DrawFrame(s);
    Define(Object(ObjectKind::Box, "shelf", {-500, 300, 400, 300, 200, 100}));
    const Frame plainShown = DrawFrame(s);
    std::vector<bool> own(plain.depth.size(), false);
    for (std::size_t i : Nearer(plain, plainShown))
        own[i] = true;
    int outside = 0;
    for (std::size_t i = 0; i < own.size(); ++i)
        outside += !own[i] && PixelDiffers(plain.rgb, plainShown.rgb, i, 8);
    EXPECT_LT(outside, 400) << "without shadow and reflection, the object alone changes pixels (its edges' smoothing)";

    // Its shadow darkens the ground beside it, its reflection shows in the
    // floor; hidden, it is as if it were not there.
    simulation.SetDisplay(DisplayFlag::Shadows, true);
    const Frame shadow = DrawFrame(s);
    simulation.SetDisplay(DisplayFlag::Reflect, true);
    const Frame reflected = DrawFrame(s);
    simulation.ShowObject("shelf", false);
    const Frame hidden = DrawFrame(s);
    Cell()->RemoveAllObjects();
    simulation.CellChanged();
    const Frame before = DrawFrame(s);
    simulation.SetDisplay(DisplayFlag::Reflect, false);
    const Frame beforeShadow = DrawFrame(s);
    EXPECT_TRUE(hidden.rgb == before.rgb) << "hidden, as if it were not there";
    int darker = 0, reflection = 0;
    for (std::size_t i = 0; i < own.size(); ++i) {
        if (own[i])
            continue;
        const int sumBefore = beforeShadow.rgb[3 * i] + beforeShadow.rgb[3 * i + 1] + beforeShadow.rgb[3 * i + 2];
        const int sumShadow = shadow.rgb[3 * i] + shadow.rgb[3 * i + 1] + shadow.rgb[3 * i + 2];
        darker += sumShadow + 24 < sumBefore;
        reflection +=
            PixelDiffers(shadow.rgb, reflected.rgb, i, 8) && !PixelDiffers(beforeShadow.rgb, before.rgb, i, 8);
    }
    EXPECT_GT(darker, 2000) << "its shadow";
    EXPECT_GT(reflection, 2000) << "its reflection, where the arm's is not";
}

// The links that touch (the hand through a table under the wrist, or on the
// floor) and the table turn red with the switch on, and every pixel that
// changes is one of theirs; switched off, the picture is the one before.
TEST_F(CellPicture, CollisionsTurnWhatTouchesRedAndNothingElse)
{
    CMainScene& s = *m_pScene;
    CSimulation& simulation = s.Simulation();
    const JointAngles start = simulation.Arm().start;
    const ToolPose wrist = ArmMGD(simulation.Arm(), start);
    const struct {
        const char* what;
        JointAngles angles;
        std::vector<ObjectDefinition> objects;
    } cases[] = {
        {"the hand through a table",
         start,
         {Object(ObjectKind::Box, "table", {wrist.X, wrist.Y, wrist.Z - 150, 500, 400, 60})}},
        {"the hand on the floor", JointAngles{-25, -30, 75, 0, -30, 0}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        s.ResetCamera();
        simulation.SetAngles(c.angles);
        const Frame empty = DrawFrame(s);
        for (const ObjectDefinition& object : c.objects)
            Define(object);
        const CellContacts touching = ContactsOf(Cell()->Collisions(simulation.Angles()));
        ASSERT_NE(touching.links, 0u);
        EXPECT_EQ(touching.objects.size(), c.objects.size());

        const Frame off = DrawFrame(s);
        simulation.SetDisplay(DisplayFlag::Collisions, true);
        const Picture on = DrawScene(s);
        simulation.SetDisplay(DisplayFlag::Collisions, false);
        EXPECT_TRUE(DrawScene(s) == off.rgb) << "switched off, as before";

        // White where the touching links are in view, drawn flat against
        // the scene's depth; and where the objects are.
        DrawScene(s);
        glClear(GL_COLOR_BUFFER_BIT);
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(-1.0f, -1.0f);
        glDepthFunc(GL_LEQUAL);
        glColor3f(1.0f, 1.0f, 1.0f);
        s.m_Robot.Draw(simulation.Angles(), false, touching.links);
        glPopAttrib();
        glFinish();
        const Picture links = ReadPicture();
        std::vector<bool> theirs(links.size() / 3, false);
        for (std::size_t i = 0; i < theirs.size(); ++i)
            theirs[i] = links[3 * i] != 0;
        for (std::size_t i : Nearer(empty, off))
            theirs[i] = true;

        auto red = [](const Picture& p, std::size_t i) {
            return p[3 * i] > 120 && p[3 * i + 1] < 40 && p[3 * i + 2] < 40;
        };
        int redThere = 0, redOff = 0, changedElsewhere = 0, area = 0;
        for (std::size_t i = 0; i < theirs.size(); ++i) {
            area += theirs[i];
            redThere += theirs[i] && red(on, i);
            redOff += red(off.rgb, i);
            // A pixel beside them may take a little of their colour from the
            // smoothing of their edges.
            changedElsewhere += !theirs[i] && PixelDiffers(on, off.rgb, i, 8);
        }
        EXPECT_GT(area, 1000) << "in view";
        EXPECT_EQ(redOff, 0) << "nothing red without the switch";
        EXPECT_GT(redThere, area / 2) << redThere << " red of " << area;
        EXPECT_LT(changedElsewhere, area / 50) << changedElsewhere << " changed elsewhere";
        Cell()->RemoveAllObjects();
        simulation.CellChanged();
    }
}

}  // namespace
