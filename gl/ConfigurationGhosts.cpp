#include "gl/ConfigurationGhosts.h"

#include "base/Cp1252.h"
#include "collision/CollisionWorld.h"
#include "gl/Robot.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <algorithm>

namespace {

// Pale blue glass within the limits, red outside; the labels in the same
// hues, brighter, and white for the solid arm's own configuration.
const float kGhost[4] = {0.45f, 0.85f, 1.0f, 0.5f};
const float kGhostOutside[4] = {1.0f, 0.15f, 0.1f, 0.5f};
constexpr float kGlow = 0.4f;
const float kLabel[3] = {0.7f, 0.9f, 1.0f};
const float kLabelOutside[3] = {1.0f, 0.3f, 0.25f};
const float kLabelCurrent[3] = {1.0f, 1.0f, 1.0f};
const float kLabelShade[3] = {0.0f, 0.0f, 0.0f};

void* const kFont = GLUT_BITMAP_HELVETICA_12;
constexpr int kLineHeight = 14;  // pixels
constexpr int kLabelGap = 8;     // pixels right of the elbow
constexpr int kBaseline = -4;    // pixels from the elbow, to centre a line of text on it

bool SameAngles(const JointAngles& a, const JointAngles& b)
{
    for (float JointAngles::*joint : kJointFields)
        if (a.*joint != b.*joint)
            return false;
    return true;
}

void DrawText(int x, int y, const float* colour, const std::string& latin1)
{
    glColor3fv(colour);  // the raster colour is taken at glRasterPos
    glRasterPos2i(x, y);
    glutBitmapString(kFont, reinterpret_cast<const unsigned char*>(latin1.c_str()));
}

}  // namespace

CConfigurationGhosts::CConfigurationGhosts(CSimulation& simulation, const CRobot& robot)
    : m_Simulation(simulation), m_Robot(robot)
{
    m_Simulation.AddListener(this);
    Follow();
}

CConfigurationGhosts::~CConfigurationGhosts()
{
    m_Simulation.RemoveListener(this);
}

void CConfigurationGhosts::OnStateChanged()
{
    Follow();
}

void CConfigurationGhosts::OnMotionStep(double, const JointAngles&)
{
    Follow();
}

void CConfigurationGhosts::Follow()
{
    const JointAngles& angles = m_Simulation.Angles();
    if (!m_Simulation.Display()[DisplayFlag::Configurations])
        return;
    if (!m_bLaidOut || !SameAngles(angles, m_LaidOutAt)) {
        const ArmDescription& arm = m_Simulation.Arm();
        const std::vector<ArmConfiguration> configurations = ConfigurationsOf(arm, angles);
        GhostLayout layout = LayOutGhosts(arm, angles, configurations);
        m_Arms = std::move(layout.arms);
        m_Labels.clear();
        // A label for each configuration, in their order.
        for (std::size_t i = 0; i < layout.labels.size(); ++i) {
            const GhostLabel& l = layout.labels[i];
            m_Labels.push_back(Label{configurations[i].number, configurations[i].angles, l.anchor, Utf8ToLatin1(l.text),
                                     l.current        ? kLabelCurrent
                                     : l.withinLimits ? kLabel
                                                      : kLabelOutside});
        }
        m_LaidOutAt = angles;
        m_bLaidOut = true;
    }
    m_Touching.clear();
    const CCollisionWorld* cell = m_Simulation.Cell();
    if (cell && m_Simulation.Display()[DisplayFlag::Collisions])
        for (const Label& l : m_Labels)
            if (cell->FirstCollision(l.angles))
                m_Touching.push_back(l.number);
}

bool CConfigurationGhosts::Touching(int number) const
{
    return std::find(m_Touching.begin(), m_Touching.end(), number) != m_Touching.end();
}

void CConfigurationGhosts::Draw() const
{
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT | GL_LIGHTING_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glEnable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glEnable(GL_POLYGON_OFFSET_LINE);  // the wireframe's
    float behind = 0.0f;
    for (const GhostArm& ghost : m_Arms) {
        // A link's hub turned about its own joint lies on the hub of the
        // solid arm, or of a ghost drawn before, in triangles of its own:
        // their depths would interleave in speckles. Each ghost lies a step
        // further behind, so the one drawn first shows there.
        behind += 1.0f;
        glPolygonOffset(behind, behind);
        // Its depth first, then its colour where that depth is: only the
        // ghost's nearest surface is blended in. Blended straight away, the
        // far side of a link and a link behind another would show through
        // as darker patches wherever the drawing order put them first.
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        glDepthFunc(GL_LESS);
        glDepthMask(GL_TRUE);
        m_Robot.Draw(ghost.angles, false, ghost.links);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glDepthFunc(GL_EQUAL);
        glDepthMask(GL_FALSE);
        const float* colour = ghost.withinLimits && !Touching(ghost.number) ? kGhost : kGhostOutside;
        // A glow of its own colour keeps the sides away from the light from
        // going dark grey: glass, not smoke.
        const float glow[4] = {kGlow * colour[0], kGlow * colour[1], kGlow * colour[2], 1.0f};
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, glow);
        glColor4fv(colour);
        m_Robot.Draw(ghost.angles, false, ghost.links);
    }
    glPopAttrib();
}

void CConfigurationGhosts::DrawLabels() const
{
    // Where the elbows land in the window, each label right of its own,
    // spread so that none covers another; a label whose elbow is out of
    // view is left out.
    GLdouble modelview[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    struct Shown {
        std::string latin1;
        const float* colour;
    };
    std::vector<Shown> shown;
    std::vector<LabelBox> boxes;
    const int right = viewport[0] + viewport[2];
    for (const Label& l : m_Labels) {
        GLdouble x, y, z;
        if (!gluProject(l.anchor.x, l.anchor.y, l.anchor.z, modelview, projection, viewport, &x, &y, &z) || z < 0.0 ||
            z > 1.0 || x < viewport[0] || x >= right || y < viewport[1] || y >= viewport[1] + viewport[3])
            continue;
        const bool touching = Touching(l.number);
        const Shown& s = shown.emplace_back(
            Shown{touching ? l.latin1 + ", en collision" : l.latin1, touching ? kLabelOutside : l.colour});
        const int width = glutBitmapLength(kFont, reinterpret_cast<const unsigned char*>(s.latin1.c_str()));
        // Left of the elbow when the window's edge would cut it on the right.
        const int after = static_cast<int>(x) + kLabelGap, before = static_cast<int>(x) - kLabelGap - width;
        boxes.push_back(LabelBox{after + width > right && before >= viewport[0] ? before : after,
                                 static_cast<int>(y) + kBaseline, width});
    }
    SpreadLabels(boxes, kLineHeight);

    // The lighting bit too: with GL_COLOR_MATERIAL on, every glColor sets
    // the material, which the current bit does not bring back, and the
    // next frame's ground would take the last label's colour.
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT | GL_LIGHTING_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(viewport[0], viewport[0] + viewport[2], viewport[1], viewport[1] + viewport[3]);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    for (std::size_t i = 0; i < shown.size(); ++i) {
        // A dark copy a pixel down and right keeps the text readable on the
        // sky and on the ghosts alike.
        DrawText(boxes[i].x + 1, boxes[i].y - 1, kLabelShade, shown[i].latin1);
        DrawText(boxes[i].x, boxes[i].y, shown[i].colour, shown[i].latin1);
    }
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();  // back to the model-view matrix mode
}
