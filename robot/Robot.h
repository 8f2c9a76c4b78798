#pragma once
// The six-joint arm: seven links chained by revolute joints, drawn at the
// current angles, moved toward the target angles in real time.
#include "app/BaseObject.h"
#include "graphics/3DSObject.h"
#include "robot/InverseModel.h"
#include "robot/Kinematics.h"
#include "robot/LinkChain.h"
#include "robot/RobotTypes.h"
#include "scene/Texture.h"

// One link: a mesh recorded once into a display list, drawn after its
// joint's rotation and followed by the translation to the next link.
class CRobotPart : public C3DSObject {
public:
    bool Load(const float offset[3], const char* fileName);
    void Draw() override;

    float m_fRotation[3] = {0.0f, 0.0f, 0.0f};
    float m_fOffset[3] = {0.0f, 0.0f, 0.0f};
    unsigned int m_uiDisplayList = 0;
};

class CRobot : public CBaseObject {
public:
    bool Init() override;
    void Draw() override;

    // The lengths of the geometric models, from the links' offsets.
    ArmLengths Lengths() const;
    // Forward and inverse models on this arm's lengths: the inverse model
    // robot.opt asks for, within m_Limits, with the reference as SolveMGI of
    // InverseModel.h takes it.
    void ComputeMGD(JointAngles angles, ToolPose* pose) const;
    MGIResult SolveMGI(const ToolPose& target, const JointAngles& reference) const;

    JointAngles m_fAngle{};
    JointAngles m_fTargetAngle{};
    float m_fMaxSpeed[6] = {};
    CRobotPart m_Parts[kLinkCount];
    CAxes m_Axes;
    CTexture m_Texture;
    bool m_bShowAxes = false;
    // The inverse model of robot.opt (bMGIExact), and the joints' limits of
    // the panel's spinners, which the panel sets when it reads glui.opt.
    MGIModel m_eMGIModel = MGIModel::Grid;
    JointLimits m_Limits = kDefaultJointLimits;
};
