#include "robot/Robot.h"

#include "app/Log.h"
#include "config/OptionsParser.h"

#include <GL/gl.h>

bool CRobotPart::Load(const float offset[3], const char* fileName)
{
    for (int i = 0; i < 3; ++i) {
        m_fOffset[i] = offset[i];
        m_fRotation[i] = 0.0f;
    }
    if (!LoadOBJ(fileName))
        return false;

    // Client-array state and pointers are not recorded in a list; the
    // indexed draw is, with the arrays read as it is compiled. The list
    // alone draws the link from then on.
    m_uiDisplayList = glGenLists(1);
    glNewList(m_uiDisplayList, GL_COMPILE);
    C3DSObject::Draw();
    glEndList();
    return true;
}

void CRobotPart::Draw()
{
    glRotatef(m_fRotation[0], 1.0f, 0.0f, 0.0f);
    glRotatef(m_fRotation[1], 0.0f, 1.0f, 0.0f);
    glRotatef(m_fRotation[2], 0.0f, 0.0f, 1.0f);
    glCallList(m_uiDisplayList);
    glTranslatef(m_fOffset[0], m_fOffset[1], m_fOffset[2]);
}

bool CRobot::Init()
{
    const COptions* options = COptionsParser::GetOptions("robot.opt", false);
    if (!options) {
        LogError("CRobot::Init -- Impossible de charger le fichier robot.opt");
        return false;
    }
    m_fAngle = JointAngles{};
    static const char* const speedKeys[6] = {"fAngle12MaxSpeed", "fAngle23MaxSpeed", "fAngle34MaxSpeed",
                                             "fAngle45MaxSpeed", "fAngle56MaxSpeed", "fAngle67MaxSpeed"};
    for (int joint = 0; joint < 6; ++joint)
        m_fMaxSpeed[joint] = options->GetFloat(speedKeys[joint], 1.0f);

    m_eMGIModel = ReadMGIModel(*options);

    if (!m_Texture.LoadTGA(options->GetString("strTextureFileName", "metal.tga")))
        return false;

    // Chain order; the first link that fails stops the loading.
    for (int link = 0; link < kLinkCount; ++link) {
        const LinkKeys& keys = kLinkKeys[link];
        const char* file = options->GetString(keys.meshKey, keys.defaultMeshFile);
        float offset[3];
        for (int i = 0; i < 3; ++i)
            offset[i] = options->GetFloat(keys.offsetKeys[i], 0.0f);
        if (!m_Parts[link].Load(offset, file))
            return false;
    }
    if (!m_Axes.Init())
        return false;
    m_bShowAxes = false;
    return true;
}

void CRobot::Draw()
{
    glPushMatrix();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glBindTexture(GL_TEXTURE_2D, m_Texture.m_uiTexture);
    float rotations[kLinkCount][3];
    LinkRotations(m_fAngle, rotations);
    for (int link = 0; link < kLinkCount; ++link) {
        for (int i = 0; i < 3; ++i)
            m_Parts[link].m_fRotation[i] = rotations[link][i];
        if (m_bShowAxes)
            m_Axes.Draw();
        m_Parts[link].Draw();
    }
    glPopAttrib();
    glPopMatrix();
}

ArmLengths CRobot::Lengths() const
{
    return MakeArmLengths(m_Parts[0].m_fOffset[2], m_Parts[1].m_fOffset[0], m_Parts[2].m_fOffset[0],
                          m_Parts[3].m_fOffset[1], m_Parts[4].m_fOffset[2]);
}

void CRobot::ComputeMGD(JointAngles angles, ToolPose* pose) const
{
    ::ComputeMGD(Lengths(), angles, pose);
}

MGIResult CRobot::SolveMGI(const ToolPose& target, const JointAngles& reference) const
{
    return ::SolveMGI(Lengths(), m_eMGIModel, target, reference, m_Limits);
}
