// The shadow pass draws the decoration a second time only where that changes
// pixels. Its frames must look the same as frames that draw the whole
// decoration again, blended with the depth test off, over views that put the
// shadow, the grid, the horizon and the window's edges in every relation.
#include "view/ShadowArea.h"
#include "tests/support/SceneFixture.h"
#include "tests/support/ScenePicture.h"
#include "app/SceneWindow.h"

#include "gl/Graphics.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The frame of CMainScene::Display with the decoration, the shadow and the
// arm, its shadow pass drawing the whole decoration again.
void DrawWithWholeDecorationAgain(CMainScene& s)
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    const CCamera& c = s.m_Camera;
    gluLookAt(c.eye.x, c.eye.y, c.eye.z, c.eye.x + c.direction.x, c.eye.y + c.direction.y, c.eye.z + c.direction.z,
              c.up.x, c.up.y, c.up.z);
    const GLfloat light[4] = {1.0f, 1.0f, 1.2f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    s.m_Decoration.Draw();

    glPushAttrib(0x000FFFFF);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glPushMatrix();
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    glTranslatef(0.0f, 0.0f, kShadowLift);
    glMultMatrixf(kShadowMatrix);
    s.m_Robot.Draw(s.Simulation().Angles(), false);
    glPopMatrix();
    glEnable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    s.m_Decoration.Draw();
    glPopAttrib();

    glPushAttrib(0x000FFFFF);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    s.m_Robot.Draw(s.Simulation().Angles(), false);
    glPopAttrib();
    glFinish();
}

Picture DrawScene(CMainScene& s)
{
    s.Display();  // drawn into the back buffer, which is read without a swap
    glFinish();
    return ReadPicture();
}

struct KeyPresses {
    int key, presses;
};

struct View {
    const char* what;
    int width, height;
    int turnX, turnY;              // a mouse drag from the start camera, in pixels
    std::vector<KeyPresses> keys;  // then camera keys held
    JointAngles arm;
    bool wireframe;
};

// The arm bent over the grid, its shadow on it; and stretched out sideways.
const JointAngles kBent{-25.0f, -30.0f, 75.0f, 0.0f, -30.0f, 0.0f};
const JointAngles kStretched{60.0f, -80.0f, 10.0f, 0.0f, 0.0f, 0.0f};

class ShadowPass : public ScenePictureTest {
protected:
    void SetUp() override
    {
        OpenScene({DisplayFlag::Decoration, DisplayFlag::Shadows},
                  {DisplayFlag::Reflect, DisplayFlag::MetalLook, DisplayFlag::Collisions});
    }
};

TEST_F(ShadowPass, LooksAsIfTheWholeDecorationWereDrawnAgain)
{
    const View views[] = {
        {"start view", 800, 600, 0, 0, {}, kBent, false},
        {"start view, wide window", 1920, 1080, 0, 0, {}, kBent, false},
        {"start view, wireframe", 800, 600, 0, 0, {}, kBent, true},
        {"arm stretched out, a long shadow", 1280, 720, 0, 0, {}, kStretched, false},
        {"from low down, toward the horizon", 800, 600, 0, 230, {{kKeyPageDown, 60}}, kStretched, false},
        {"from high up, the dome's rim in sight", 640, 480, 0, 0, {{kKeyPageUp, 100}}, kBent, false},
        {"turned away, the grid at the edge", 800, 600, 250, 0, {}, kBent, false},
        {"from outside the dome", 800, 600, 0, 150, {{kKeyDown, 200}}, kBent, false},
        {"low, past the arm, the rim ahead", 800, 600, 0, 230, {{kKeyPageDown, 60}, {kKeyUp, 53}}, kBent, false},
        {"at the arm's foot, the grid behind the eye",
         800,
         600,
         0,
         200,
         {{kKeyPageDown, 64}, {kKeyUp, 50}},
         kStretched,
         false},
    };
    for (const View& v : views) {
        SCOPED_TRACE(v.what);
        ASSERT_TRUE(ResizeSceneWindow(v.width, v.height));
        CMainScene& s = *m_pScene;
        s.ResetCamera();
        TurnCamera(s.m_Camera, v.turnX, v.turnY);
        for (const KeyPresses& k : v.keys)
            for (int i = 0; i < k.presses; ++i)
                MoveCamera(s.m_Camera, k.key);
        s.Simulation().SetAngles(v.arm);
        glPolygonMode(GL_FRONT_AND_BACK, v.wireframe ? GL_LINE : GL_FILL);

        s.Simulation().SetDisplay(DisplayFlag::Shadows, false);
        const Picture withoutShadow = DrawScene(s);
        s.Simulation().SetDisplay(DisplayFlag::Shadows, true);
        const Picture drawn = DrawScene(s);
        DrawWithWholeDecorationAgain(s);
        const Picture expected = ReadPicture();
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);

        // The shadow pass shows (a check that the comparison sees it), and
        // no pixel of it differs from the whole redraw by more than a level
        // or two of rounding, far below what an eye tells apart.
        EXPECT_GT(DifferingPixels(drawn, withoutShadow, 8), v.width * v.height / 1000);
        EXPECT_EQ(DifferingPixels(drawn, expected, 2), 0);
    }
}

}  // namespace
