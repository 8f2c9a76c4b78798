#include "gl/Robot.h"

#include "arm/ArmKinematics.h"
#include "sim/CellContacts.h"
#include "sim/Simulation.h"

#include <GL/gl.h>

bool CRobotPart::Load(const char* fileName)
{
    if (!m_Mesh.Load(fileName))
        return false;
    // Client-array state and pointers are not recorded in a list; the
    // indexed draw is, with the arrays read as it is compiled. The list
    // alone draws the link from then on.
    m_uiDisplayList = glGenLists(1);
    glNewList(m_uiDisplayList, GL_COMPILE);
    m_Mesh.Draw();
    glEndList();
    return true;
}

void CRobotPart::Draw(const float rotation[3], const float offset[3], bool withMesh) const
{
    glRotatef(rotation[0], 1.0f, 0.0f, 0.0f);
    glRotatef(rotation[1], 0.0f, 1.0f, 0.0f);
    glRotatef(rotation[2], 0.0f, 0.0f, 1.0f);
    if (withMesh)
        glCallList(m_uiDisplayList);
    glTranslatef(offset[0], offset[1], offset[2]);
}

bool CRobot::Init(CSimulation& simulation)
{
    m_pArm = &simulation.Arm();
    if (!m_Texture.LoadTGA(m_pArm->textureFile.c_str()))
        return false;
    // Chain order; the first link that fails stops the loading.
    for (int link = 0; link < kLinkCount; ++link) {
        if (!m_Parts[link].Load(m_pArm->meshFile[link].c_str()))
            return false;
        m_Parts[link].m_bColoured = ParseColour(m_pArm->colour[link], m_Parts[link].m_fColour);
        simulation.SetLinkBox(link, BoxOfVertices(m_Parts[link].m_Mesh.m_Vertices));
    }
    return m_Axes.Init();
}

void CRobot::Draw(const JointAngles& angles, bool showAxes, unsigned links, unsigned red) const
{
    glPushMatrix();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glBindTexture(GL_TEXTURE_2D, m_Texture.m_uiTexture);
    // A link's own colour takes the texture's place, scaled by the colour
    // the pass draws with: itself in the main pass, dimmed and blended in
    // the reflection, black in the shadow.
    GLfloat pass[4];
    glGetFloatv(GL_CURRENT_COLOR, pass);
    float rotations[kLinkCount][3];
    LinkRotations(m_pArm->LinkTurns().x, ModelAngles(*m_pArm, angles), rotations);
    for (int link = 0; link < kLinkCount; ++link) {
        const bool shown = (links >> link) & 1u;
        if (showAxes && shown)
            m_Axes.Draw();
        const bool touching = (red >> link) & 1u;
        const float* rgb = touching ? kContactRed : m_Parts[link].m_fColour;
        const bool coloured = shown && (m_Parts[link].m_bColoured || touching);
        if (coloured) {
            glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
            glDisable(GL_TEXTURE_2D);
            glColor4f(rgb[0] * pass[0], rgb[1] * pass[1], rgb[2] * pass[2], pass[3]);
        }
        m_Parts[link].Draw(rotations[link], m_pArm->offset[link], shown);
        if (coloured) {
            // With GL_COLOR_MATERIAL on, glColor also set the material,
            // which popping the current colour does not bring back: the
            // ground of the next frame would be drawn in the link's colour.
            glColor4fv(pass);
            glPopAttrib();
        }
    }
    glPopAttrib();
    glPopMatrix();
}
