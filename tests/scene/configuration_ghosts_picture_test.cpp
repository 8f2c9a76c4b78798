// The configuration ghosts in the real scene: they change the picture where
// the ghosts stand in view and, but for their labels, nowhere else; and once
// switched off, the scene is drawn to the byte as before they were shown.
#include "base/Cp1252.h"
#include "arm/Configurations.h"
#include "view/GhostLayout.h"
#include "view/OrbitCamera.h"
#include "tests/support/SceneFixture.h"
#include "tests/support/ScenePicture.h"
#include "app/SceneWindow.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

// A pose of eight configurations, none near another.
const JointAngles kEightConfigurations{20, 30, -40, 25, 50, -10};

Picture DrawScene(CMainScene& s, bool ghosts)
{
    s.Simulation().SetDisplay(DisplayFlag::Configurations, ghosts);
    s.Display();  // drawn into the back buffer, which is read without a swap
    glFinish();
    return ReadPicture();
}

// White where a ghost is in view: the scene without ghosts lays its depth,
// then every ghost arm is drawn flat over black against it, as far behind
// as the first ghost is drawn (a hub of the solid arm hides its own ghost).
Picture GhostMask(CMainScene& s, const GhostLayout& layout)
{
    DrawScene(s, false);  // leaves the camera on the model-view matrix
    glClear(GL_COLOR_BUFFER_BIT);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 1.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    for (const GhostArm& ghost : layout.arms)
        s.m_Robot.Draw(ghost.angles, false, ghost.links);
    glPopAttrib();
    glFinish();
    return ReadPicture();
}

// The pixels every label may cover: its text and its dark copy, a line each.
int LabelArea(const GhostLayout& layout)
{
    int area = 0;
    for (const GhostLabel& label : layout.labels) {
        const std::string text = Utf8ToLatin1(label.text);
        area +=
            (glutBitmapLength(GLUT_BITMAP_HELVETICA_12, reinterpret_cast<const unsigned char*>(text.c_str())) + 1) * 15;
    }
    return area;
}

struct View {
    const char* what;
    bool orbit;
    OrbitView orbitView;  // when orbit
};

class ConfigurationGhosts : public ScenePictureTest {
protected:
    void SetUp() override
    {
        OpenScene({DisplayFlag::Decoration, DisplayFlag::Shadows, DisplayFlag::Reflect},
                  {DisplayFlag::MetalLook, DisplayFlag::Trail});
        if (m_pScene) {
            ASSERT_TRUE(ResizeSceneWindow(800, 600));
        }
    }
};

TEST_F(ConfigurationGhosts, ChangeThePictureWhereTheyStandAndOnlyThere)
{
    const View views[] = {
        {"start view, from above", false, {}},
        {"from the side, low", true, {250.0f, 20.0f, 16.0f}},
        {"from the other side", true, {160.0f, 25.0f, 16.0f}},
    };
    CMainScene& s = *m_pScene;
    CSimulation& simulation = s.Simulation();
    simulation.SetAngles(kEightConfigurations);
    const GhostLayout layout =
        LayOutGhosts(simulation.Arm(), kEightConfigurations, ConfigurationsOf(simulation.Arm(), kEightConfigurations));
    ASSERT_EQ(layout.arms.size(), 7u);
    for (const View& v : views) {
        SCOPED_TRACE(v.what);
        s.ResetCamera();
        if (v.orbit)
            s.m_Camera = CameraOfOrbit(v.orbitView);
        const Picture before = DrawScene(s, false);
        const Picture shown = DrawScene(s, true);
        const Picture after = DrawScene(s, false);
        const Picture mask = GhostMask(s, layout);

        int inView = 0, changedThere = 0, changedElsewhere = 0;
        for (std::size_t i = 0; i < before.size() / 3; ++i) {
            const bool ghost = mask[3 * i] != 0;
            const bool changed = PixelDiffers(before, shown, i, 8);
            inView += ghost;
            changedThere += ghost && changed;
            changedElsewhere += !ghost && changed;
        }
        // The ghosts stand in view and show over nearly all of it (a ghost
        // behind an earlier one is hidden by it, but that one shows there).
        EXPECT_GT(inView, 800 * 600 / 100);
        EXPECT_GT(changedThere, inView * 9 / 10) << changedThere << " of " << inView;
        // Elsewhere, nothing but the labels' text.
        EXPECT_LT(changedElsewhere, LabelArea(layout)) << changedElsewhere;
        EXPECT_TRUE(after == before) << "switched off, the scene is drawn as before";
    }
}

}  // namespace
