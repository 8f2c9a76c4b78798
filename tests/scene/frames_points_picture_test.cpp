// The frames and points of the arm's program in the real scene: with the
// switch Frames, axes in F4's colours (x blue, y green, z red) meeting at
// the tool point, wherever the tool puts it, and at each user frame's
// origin, the frame's name beside it; with the switch Points, axes meeting
// at each point's tool point, its name beside it; each switch draws only its
// own, and with both off the scene is drawn to the byte as without any frame
// or point.
#include "arm/ArmKinematics.h"
#include "kinematics/KdlFrames.h"
#include "sim/Controller.h"
#include "sim/MotionRecorder.h"
#include "tests/support/RecordingView.h"
#include "tests/support/SceneFixture.h"
#include "tests/support/ScenePicture.h"
#include "view/OrbitCamera.h"
#include "app/SceneWindow.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int kWidth = 800, kHeight = 600;

// A frame on the floor in front of the arm, and the angles of a point away
// from the start's tool point.
const ToolPose kTable{300, 350, 0, 0, 0, 0};
const JointAngles kApproach{20, 30, -10, 0, 50, 0};

struct Pixel {
    int x, y;  // from the bottom left, as GL reads them
};

// The pixels of F4's colours: one channel bright, the two others dark.
enum Hue { kRed = 0, kGreen = 1, kBlue = 2, kNoHue = -1 };
Hue HueOf(const Picture& p, std::size_t i)
{
    for (int c = 0; c < 3; ++c)
        if (p[3 * i + c] > 178 && p[3 * i + (c + 1) % 3] < 77 && p[3 * i + (c + 2) % 3] < 77)
            return static_cast<Hue>(c);
    return kNoHue;
}

// How many pixels within `reach` of `at` are of each hue in `picture` and
// not in `before`: the axes drawn there.
struct Hues {
    int count[3] = {0, 0, 0};
    bool All(int least) const { return count[0] >= least && count[1] >= least && count[2] >= least; }
    int Total() const { return count[0] + count[1] + count[2]; }
};
Hues NewHuesNear(const Picture& before, const Picture& picture, Pixel at, int reach)
{
    Hues hues;
    for (int y = at.y - reach; y <= at.y + reach; ++y)
        for (int x = at.x - reach; x <= at.x + reach; ++x) {
            if (x < 0 || y < 0 || x >= kWidth || y >= kHeight)
                continue;
            const std::size_t i = static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x);
            const Hue hue = HueOf(picture, i);
            if (hue != kNoHue && HueOf(before, i) != hue)
                ++hues.count[hue];
        }
    return hues;
}

// Pixels of a label's colour right of `at`, where a name is written.
int LabelPixels(const Picture& before, const Picture& picture, Pixel at, const float colour[3])
{
    int count = 0;
    for (int y = at.y - 12; y <= at.y + 12; ++y)
        for (int x = at.x + 6; x <= at.x + 80; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x);
            bool near = true;
            for (int c = 0; c < 3; ++c)
                near = near && std::abs(picture[3 * i + c] - static_cast<int>(colour[c] * 255)) < 20;
            count += near && PixelDiffers(before, picture, i, 20);
        }
    return count;
}

class FramesAndPointsPicture : public ScenePictureTest {
protected:
    void SetUp() override
    {
        OpenScene({DisplayFlag::Decoration},
                  {DisplayFlag::Shadows, DisplayFlag::Reflect, DisplayFlag::MetalLook, DisplayFlag::Trail,
                   DisplayFlag::Configurations, DisplayFlag::Frames, DisplayFlag::Points});
        if (!m_pScene)
            return;
        ASSERT_TRUE(ResizeSceneWindow(kWidth, kHeight));
        CSimulation& simulation = m_pScene->Simulation();
        m_pRecorder = std::make_unique<CMotionRecorder>(simulation);
        m_pController = std::make_unique<CController>(simulation, m_View, *m_pRecorder);
        m_Tool = m_pController->Tool();
        simulation.SetAngles(simulation.Arm().start);
        m_pScene->m_Camera = CameraOfOrbit(OrbitView{200, 30, 22});
    }
    void TearDown() override
    {
        if (!m_pController)
            return;
        m_pController->RemoveFrame("table");
        m_pController->RemovePoint("approche");
        m_pController->SetTool(m_Tool);
        m_pScene->Simulation().SetDisplay(DisplayFlag::Frames, false);
        m_pScene->Simulation().SetDisplay(DisplayFlag::Points, false);
    }

    Picture Draw(bool frames, bool points)
    {
        m_pScene->Simulation().SetDisplay(DisplayFlag::Frames, frames);
        m_pScene->Simulation().SetDisplay(DisplayFlag::Points, points);
        m_pScene->Display();  // drawn into the back buffer, read without a swap
        glFinish();
        return ReadPicture();
    }
    // Where a point of the base frame (pose units) lands in the window of
    // the last frame drawn (the camera stays on the model-view matrix).
    Pixel Project(const KDL::Vector& p) const
    {
        GLdouble modelview[16], projection[16], x, y, z;
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        gluProject(p.x() / 100, p.y() / 100, p.z() / 100, modelview, projection, viewport, &x, &y, &z);
        EXPECT_TRUE(x > 20 && x < kWidth - 100 && y > 20 && y < kHeight - 20) << "in view: " << x << ", " << y;
        return Pixel{static_cast<int>(x), static_cast<int>(y)};
    }

    CRecordingView m_View;
    std::unique_ptr<CMotionRecorder> m_pRecorder;
    std::unique_ptr<CController> m_pController;
    ToolPose m_Tool{};
};

const float kFrameName[3] = {1.0f, 0.9f, 0.4f};
const float kPointName[3] = {0.75f, 0.95f, 1.0f};

TEST_F(FramesAndPointsPicture, EachSwitchDrawsItsOwnAxesWithTheirNamesAndOffNothing)
{
    CController& c = *m_pController;
    CSimulation& simulation = m_pScene->Simulation();
    const Picture none = Draw(false, false);
    ASSERT_TRUE(c.DefineFrame("table", kTable).ok);
    simulation.SetAngles(kApproach);
    ASSERT_TRUE(c.StorePoint("approche").ok);
    simulation.SetAngles(simulation.Arm().start);
    EXPECT_EQ(DifferingPixels(Draw(false, false), none, 0), 0) << "defined but not shown: nothing drawn";

    const Pixel tool = Project(ArmMGDFrame(simulation.Arm(), simulation.Angles()).p);
    const Pixel table = Project(FrameOfPose(kTable).p);
    const Pixel point = Project(ArmMGDFrame(simulation.Arm(), kApproach).p);

    // The three axes of each meet at its origin: all three hues right there.
    const Picture frames = Draw(true, false);
    EXPECT_TRUE(NewHuesNear(none, frames, tool, 4).All(2)) << "the tool frame at the tool point";
    EXPECT_TRUE(NewHuesNear(none, frames, table, 4).All(2)) << "the user frame at its origin";
    EXPECT_GT(LabelPixels(none, frames, table, kFrameName), 20) << "its name beside it";
    EXPECT_EQ(NewHuesNear(none, frames, point, 4).Total(), 0) << "no point without the switch Points";
    EXPECT_EQ(LabelPixels(none, frames, point, kPointName), 0);

    const Picture points = Draw(false, true);
    EXPECT_TRUE(NewHuesNear(none, points, point, 4).All(2)) << "the point at its tool point";
    EXPECT_GT(LabelPixels(none, points, point, kPointName), 20) << "its name beside it";
    EXPECT_EQ(NewHuesNear(none, points, tool, 4).Total(), 0) << "no frame without the switch Frames";
    EXPECT_EQ(NewHuesNear(none, points, table, 4).Total(), 0);

    const Picture both = Draw(true, true);
    for (const Pixel& at : {tool, table, point})
        EXPECT_TRUE(NewHuesNear(none, both, at, 4).All(2)) << at.x << ", " << at.y;
    EXPECT_EQ(DifferingPixels(Draw(false, false), none, 0), 0) << "off again: the scene as before, to the byte";
}

// A tool set at run time moves the tool frame's axes to its point, 100 along
// the hand's z here; the point's axes follow the tool in use too.
TEST_F(FramesAndPointsPicture, TheAxesStandAtTheToolPointOfTheToolInUse)
{
    CController& c = *m_pController;
    CSimulation& simulation = m_pScene->Simulation();
    ASSERT_TRUE(c.StorePoint("approche").ok) << "at the start angles";
    const Picture none = Draw(false, false);
    const Pixel wrist = Project(ArmMGDFrame(simulation.Arm(), simulation.Angles()).p);
    ASSERT_TRUE(c.SetTool(ToolPose{0, 0, 100, 0, 0, 0}).ok);
    const Pixel tip = Project(ArmMGDFrame(simulation.Arm(), simulation.Angles()).p);
    ASSERT_GT(std::abs(tip.x - wrist.x) + std::abs(tip.y - wrist.y), 15) << "apart on the screen";
    for (const bool frames : {true, false}) {
        SCOPED_TRACE(frames ? "the tool frame" : "the point");
        const Picture shown = Draw(frames, !frames);
        EXPECT_TRUE(NewHuesNear(none, shown, tip, 4).All(2)) << "at the tool's point";
        EXPECT_LT(NewHuesNear(none, shown, wrist, 4).Total(), 4) << "not at the wrist centre";
    }
}

}  // namespace
