#include "gl/MainScene.h"

#include "arm/ArmKinematics.h"

#include "gl/Graphics.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <vector>

namespace {

// A directional light shining from (1, 1, 1.2), and the same light mirrored
// in the ground for the reflection, whose undersides face the mirrored one.
const GLfloat kLightPosition[4] = {1.0f, 1.0f, 1.2f, 0.0f};
const GLfloat kMirroredLightPosition[4] = {1.0f, 1.0f, -1.2f, 0.0f};

// How much of the mirrored arm the polished floor shows.
constexpr float kReflectionStrength = 0.5f;

// The half-space below the ground, z <= 0, in world coordinates.
const GLdouble kBelowGround[4] = {0.0, 0.0, -1.0, 0.0};

// How far the grid's anti-aliased lines reach beyond their end points, in
// pixels, with room to spare.
constexpr int kLineReach = 3;

Matrix4 GetMatrix(GLenum which)
{
    Matrix4 m;
    glGetDoublev(which, m.m);
    return m;
}

void SphereMapping()
{
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
}

}  // namespace

void CMainScene::ResetCamera()
{
    m_Camera = StartCamera();
    if (Orbiting())
        SetOrbit(OrbitOfCamera(m_Camera));
    glutPostWindowRedisplay(g_iMainWindow);
}

void CMainScene::ShowPlannedPath(const std::vector<ToolPose>& path, std::size_t refusedFrom)
{
    std::vector<float> points;
    for (const ToolPose& p : path)
        points.insert(points.end(), {p.X, p.Y, p.Z});
    m_Trail.SetPlanned(std::move(points), refusedFrom);
    glutPostWindowRedisplay(g_iMainWindow);
}

void CMainScene::ClearTrail()
{
    m_TrailHistory.Clear();
    glutPostWindowRedisplay(g_iMainWindow);
}

bool CMainScene::Orbiting() const
{
    return m_Simulation.Display()[DisplayFlag::Orbit];
}

void CMainScene::UseOrbit(bool on)
{
    // From where the eye is: the view turns to the arm, the eye stays.
    if (on)
        SetOrbit(OrbitOfCamera(m_Camera));
}

void CMainScene::SetOrbit(const OrbitView& view)
{
    m_Orbit = ClampOrbit(view);
    m_Camera = CameraOfOrbit(m_Orbit);
    glutPostWindowRedisplay(g_iMainWindow);
}

CMainScene::CMainScene(CSimulation& simulation, const CMotionRecorder& recorder, std::optional<DecorSettings> decor)
    : m_Simulation(simulation), m_DecorFiles(std::move(decor)), m_TrailHistory(simulation, recorder),
      m_Trail(m_TrailHistory), m_Ghosts(simulation, m_Robot), m_FramesAndPoints(simulation)
{
    m_Simulation.AddListener(this);
}

CMainScene::~CMainScene()
{
    m_Simulation.RemoveListener(this);
}

void CMainScene::OnStateChanged()
{
    glutPostWindowRedisplay(g_iMainWindow);
}

void CMainScene::OnMotionStep(double, const JointAngles&)
{
    glutPostWindowRedisplay(g_iMainWindow);
}

bool CMainScene::Init()
{
    ResetCamera();
    if (!m_Decoration.Init(m_DecorFiles ? &*m_DecorFiles : nullptr))
        return false;
    if (!m_Robot.Init(m_Simulation) || !m_CellObjects.Init())
        return false;

    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, 0.5f);
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0.015f);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    return true;
}

void CMainScene::Release() {}

int CMainScene::GetInputFlags()
{
    return INPUT_KEYBOARD | INPUT_MOUSE;
}

PixelRect CMainScene::ShadowPassRect() const
{
    const ArmDescription& arm = m_Simulation.Arm();
    std::vector<Point3> points =
        ShadowCorners(arm.LinkTurns().x, ModelAngles(arm, m_Simulation.Angles()), arm.offset, arm.box);
    GridSegment grid[kGridSegmentCount];
    const int gridSize = BuildGrid(grid, kGridSegmentCount);
    for (int i = 0; i < gridSize; ++i) {
        points.push_back(Point3{grid[i].x0, grid[i].y0, 0.0});
        points.push_back(Point3{grid[i].x1, grid[i].y1, 0.0});
    }
    if (m_Simulation.Display()[DisplayFlag::Trail])
        for (const Point3& corner : m_Trail.BoxCorners())
            points.push_back(ShadowOf(corner));
    for (const Point3& corner : CCellObjects::Corners(m_Simulation))
        points.push_back(ShadowOf(corner));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    return WindowBounds(points, GetMatrix(GL_MODELVIEW_MATRIX), GetMatrix(GL_PROJECTION_MATRIX), viewport, kLineReach);
}

void CMainScene::DrawShadow()
{
    glPushAttrib(0x000FFFFF);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);

    // The arm and the objects flattened in black, lifted just above the
    // ground. The axes stay out of it: they would be flattened in colour.
    glPushMatrix();
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    glTranslatef(0.0f, 0.0f, kShadowLift);
    glMultMatrixf(kShadowMatrix);
    m_Robot.Draw(m_Simulation.Angles(), false);
    m_CellObjects.Draw(m_Simulation, CellContacts());
    if (m_Simulation.Display()[DisplayFlag::Trail])
        m_Trail.DrawFlat();
    glPopMatrix();

    // The decoration again at half opacity over everything, as with the
    // depth test off, so the shadow shows through as a half-dark patch.
    glEnable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    m_Decoration.DrawOver(ShadowPassRect());
    glPopAttrib();
}

void CMainScene::DrawReflection(const CellContacts& contacts)
{
    glLightfv(GL_LIGHT0, GL_POSITION, kMirroredLightPosition);
    // Only the image of what stands above the ground is a reflection. A link
    // that reaches below z = 0 (a casting imported on its side) would have
    // its mirrored lower part land on its own upper part: two copies of one
    // surface made of different triangles, whose depths interleave, so the
    // darker reflection pierces the arm in speckles and stripes.
    glClipPlane(GL_CLIP_PLANE0, kBelowGround);  // given before the mirror
    glEnable(GL_CLIP_PLANE0);
    glPushMatrix();
    // The mirror turns the winding: clockwise faces are the front ones.
    glFrontFace(GL_CW);
    glScalef(1.0f, 1.0f, -1.0f);
    if (m_Simulation.Display()[DisplayFlag::MetalLook])
        SphereMapping();
    // A polished floor, not a mirror: the mirrored arm is blended into the
    // floor at a fixed strength, so the concrete shows through it. Drawn
    // once: where links of the mirrored arm overlap on screen both blend in,
    // which at this strength only shows in the fingers; laying its depth
    // first to blend one layer cost a whole extra draw of the arm.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.8f, 0.8f, 0.8f, kReflectionStrength);
    m_Robot.Draw(m_Simulation.Angles(), m_Simulation.Display()[DisplayFlag::Axes], kEveryLink, contacts.links);
    m_CellObjects.Draw(m_Simulation, contacts);
    if (m_Simulation.Display()[DisplayFlag::Trail])
        m_Trail.Draw(kReflectionStrength);
    glDisable(GL_BLEND);
    glFrontFace(GL_CCW);
    glPopMatrix();
    glDisable(GL_CLIP_PLANE0);
    glLightfv(GL_LIGHT0, GL_POSITION, kLightPosition);
}

void CMainScene::Display()
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    glLoadIdentity();
    const CCamera& c = m_Camera;
    gluLookAt(c.eye.x, c.eye.y, c.eye.z, c.eye.x + c.direction.x, c.eye.y + c.direction.y, c.eye.z + c.direction.z,
              c.up.x, c.up.y, c.up.z);
    // Given after the camera, so the light stays fixed in the world.
    glLightfv(GL_LIGHT0, GL_POSITION, kLightPosition);

    const DisplayFlags& show = m_Simulation.Display();
    // What touches, checked once a frame for every pass (none with the
    // switch off).
    const CellContacts contacts = ShownContacts(m_Simulation);
    if (show[DisplayFlag::Decoration])
        m_Decoration.Draw();
    if (show[DisplayFlag::Shadows] && show[DisplayFlag::Decoration])
        DrawShadow();

    glPushAttrib(0x000FFFFF);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_TEXTURE_2D);
    // The reflection is the floor's: without the decoration there is none.
    if (show[DisplayFlag::Reflect] && show[DisplayFlag::Decoration])
        DrawReflection(contacts);
    glColor3f(1.0f, 1.0f, 1.0f);
    if (show[DisplayFlag::MetalLook])
        SphereMapping();
    m_Robot.Draw(m_Simulation.Angles(), show[DisplayFlag::Axes], kEveryLink, contacts.links);
    m_CellObjects.Draw(m_Simulation, contacts);
    if (show[DisplayFlag::Trail])
        m_Trail.Draw(1.0f);
    if (show[DisplayFlag::Configurations])
        m_Ghosts.Draw();
    glPopAttrib();
    if (show[DisplayFlag::Configurations])
        m_Ghosts.DrawLabels();
    m_FramesAndPoints.Draw();

    if (g_bDoubleBuffer)
        glutSwapBuffers();
    else
        glFlush();
}

namespace {

// freeglut reports the wheel of a window without a wheel callback as the
// buttons 3 (away from the user) and 4 (toward).
constexpr int kWheelAway = 3;
constexpr int kWheelToward = 4;

}  // namespace

void CMainScene::KeyboardMove(int key, int, int)
{
    if (Orbiting()) {
        // Around the arm: the arrows turn and come nearer, the page keys tilt.
        constexpr int kStep = 15;  // pixels of drag
        switch (key) {
        case kKeyLeft:
            return SetOrbit(DragOrbit(m_Orbit, kStep, 0));
        case kKeyRight:
            return SetOrbit(DragOrbit(m_Orbit, -kStep, 0));
        case kKeyUp:
            return SetOrbit(ZoomOrbit(m_Orbit, 1));
        case kKeyDown:
            return SetOrbit(ZoomOrbit(m_Orbit, -1));
        case kKeyPageUp:
            return SetOrbit(DragOrbit(m_Orbit, 0, -kStep));
        case kKeyPageDown:
            return SetOrbit(DragOrbit(m_Orbit, 0, kStep));
        default:
            return;
        }
    }
    if (!MoveCamera(m_Camera, key))
        return;  // not a key of the scene: no redisplay
    glutPostWindowRedisplay(g_iMainWindow);
}

void CMainScene::KeyStroke(unsigned char, int, int) {}

void CMainScene::MouseClic(int button, int state, int x, int y)
{
    m_iLastMouseX = x;
    m_iLastMouseY = y;
    if (state != GLUT_DOWN || (button != kWheelAway && button != kWheelToward))
        return;
    // Around the arm the wheel comes nearer along the line of sight;
    // otherwise it moves forward and back like the Up and Down keys.
    if (Orbiting())
        return SetOrbit(ZoomOrbit(m_Orbit, button == kWheelAway ? 1 : -1));
    MoveCamera(m_Camera, button == kWheelAway ? kKeyUp : kKeyDown);
    glutPostWindowRedisplay(g_iMainWindow);
}

void CMainScene::MouseMove(int x, int y)
{
    const int dx = m_iLastMouseX - x, dy = m_iLastMouseY - y;
    m_iLastMouseX = x;
    m_iLastMouseY = y;
    if (Orbiting())
        return SetOrbit(DragOrbit(m_Orbit, dx, dy));
    TurnCamera(m_Camera, dx, dy);
    glutPostWindowRedisplay(g_iMainWindow);
}
