#include "gl/ConfigurationGhosts.h"

#include "base/Cp1252.h"
#include "collision/CollisionWorld.h"
#include "gl/Robot.h"
#include "gl/SceneLabels.h"

#include <GL/gl.h>

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

bool SameAngles(const JointAngles& a, const JointAngles& b)
{
    for (float JointAngles::*joint : kJointFields)
        if (a.*joint != b.*joint)
            return false;
    return true;
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
    std::vector<SceneLabel> labels;
    for (const Label& l : m_Labels) {
        const bool touching = Touching(l.number);
        labels.push_back(SceneLabel{l.anchor, touching ? l.latin1 + ", en collision" : l.latin1,
                                    touching ? kLabelOutside : l.colour});
    }
    DrawSceneLabels(labels);
}
