#include "gl/FramesAndPoints.h"

#include "arm/ArmKinematics.h"
#include "base/Cp1252.h"
#include "gl/SceneLabels.h"
#include "kinematics/KdlFrames.h"
#include "sim/Simulation.h"

#include <GL/gl.h>

#include <vector>

namespace {

// The axes' lengths, pose units: a user frame stands out from the points
// and the tool frame it holds; a point's axes stay clear of its neighbours'.
constexpr double kUserFrameAxis = 250.0;
constexpr double kToolFrameAxis = 120.0;
constexpr double kPointAxis = 80.0;
constexpr float kLineWidth = 2.0f;

const float kFrameName[3] = {1.0f, 0.9f, 0.4f};
const float kPointName[3] = {0.75f, 0.95f, 1.0f};

// Axes of a frame given in the base frame, pose units, coloured as F4's.
void DrawAxes(const KDL::Frame& frame, double length)
{
    const double m[16] = {
        frame.M(0, 0), frame.M(1, 0), frame.M(2, 0), 0.0, frame.M(0, 1), frame.M(1, 1), frame.M(2, 1), 0.0,
        frame.M(0, 2), frame.M(1, 2), frame.M(2, 2), 0.0, frame.p.x(),   frame.p.y(),   frame.p.z(),   1.0};
    glPushMatrix();
    glMultMatrixd(m);
    glBegin(GL_LINES);
    const float colours[3][3] = {{0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f}, {1.0f, 0.0f, 0.0f}};
    for (int axis = 0; axis < 3; ++axis) {
        double end[3] = {0.0, 0.0, 0.0};
        end[axis] = length;
        glColor3fv(colours[axis]);
        glVertex3d(0.0, 0.0, 0.0);
        glVertex3dv(end);
    }
    glEnd();
    glPopMatrix();
}

Point3 SceneUnits(const KDL::Vector& p)
{
    return Point3{p.x() / 100.0, p.y() / 100.0, p.z() / 100.0};
}

}  // namespace

void CFramesAndPoints::Draw() const
{
    const DisplayFlags& show = m_Simulation.Display();
    const bool frames = show[DisplayFlag::Frames], points = show[DisplayFlag::Points];
    if (!frames && !points)
        return;
    const ArmDescription& arm = m_Simulation.Arm();
    std::vector<SceneLabel> labels;

    // The lighting bit too: with GL_COLOR_MATERIAL on, every glColor sets
    // the material, which the current bit does not bring back.
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_LIGHTING_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glLineWidth(kLineWidth);
    glPushMatrix();
    glScalef(0.01f, 0.01f, 0.01f);  // pose units are hundredths of a scene unit
    if (frames) {
        DrawAxes(ArmMGDFrame(arm, m_Simulation.Angles()), kToolFrameAxis);
        for (const NamedFrame& frame : m_Simulation.Frames().All()) {
            const KDL::Frame f = FrameOfPose(frame.pose);
            DrawAxes(f, kUserFrameAxis);
            labels.push_back(SceneLabel{SceneUnits(f.p), Utf8ToLatin1(frame.name), kFrameName});
        }
    }
    if (points)
        for (const TaughtPoint& point : m_Simulation.Points().All()) {
            const KDL::Frame f = ArmMGDFrame(arm, point.angles);
            DrawAxes(f, kPointAxis);
            labels.push_back(SceneLabel{SceneUnits(f.p), Utf8ToLatin1(point.name), kPointName});
        }
    glPopMatrix();
    glPopAttrib();
    DrawSceneLabels(labels);
}
