// What the control panel does, as values (see PanelActions.h).
#include "panel/PanelActions.h"

#include "app/FrenchDecimal.h"
#include "app/Log.h"
#include "app/Scene.h"
#include "app/WindowCallbacks.h"
#include "robot/Motion.h"
#include "scene/MainScene.h"

#include <GL/freeglut.h>

#include <cstdio>

bool CPanelActions::s_bRealTime = false;
bool CPanelActions::s_bImmediate = true;
ToolPose CPanelActions::s_Pose{};
std::string CPanelActions::s_strInverseStatus;
void (*CPanelActions::s_pObserver)() = nullptr;

namespace {

CMainScene& Scene()
{
    return *static_cast<CMainScene*>(g_pCurrentScene);
}

CRobot& Robot()
{
    return Scene().m_Robot;
}

JointAngles& Edited(bool realTime)
{
    return realTime ? Robot().m_fTargetAngle : Robot().m_fAngle;
}

std::string DescribePosture(const ArmPosture& p)
{
    static const char* const elbows[] = {", coude en haut", ", coude en bas", ", bras tendu", ", bras replié"};
    return std::string(p.back ? "vers l'arrière" : "vers l'avant") + elbows[static_cast<int>(p.elbow)] +
           (p.flipped ? ", poignet retourné" : ", poignet non retourné");
}

std::string DescribeMGI(const MGIResult& r)
{
    if (r.model == MGIModel::Grid)
        return "Grille : centre du poignet à " + FormatDecimal(r.distance, 1) + " de la cible";
    std::string outcome = "Pose atteinte";
    if (!r.reached)
        outcome = "Hors d'atteinte : position la plus proche à " + FormatDecimal(r.distance, 1);
    if (!r.withinLimits)
        outcome += " ; aucune configuration dans les limites des angles";
    return outcome + " ; " + DescribePosture(r.posture);
}

// The flag each display switch stands for, in the scene; the wireframe is
// the window's polygon mode, kept by its callbacks, which switch it even
// without a scene.
bool* FlagOf(DisplayFlag flag)
{
    switch (flag) {
    case DisplayFlag::WireFrame:
        return &g_bWireFrame;
    case DisplayFlag::Decoration:
        return &Scene().m_bDecoration;
    case DisplayFlag::Reflect:
        return &Scene().m_bReflect;
    case DisplayFlag::Shadows:
        return &Scene().m_bShadows;
    case DisplayFlag::MetalLook:
        return &Scene().m_bMetalLook;
    case DisplayFlag::Axes:
        return &Scene().m_Robot.m_bShowAxes;
    }
    return nullptr;
}

}  // namespace

void CPanelActions::Changed()
{
    glutPostRedisplay();
    if (s_pObserver)
        s_pObserver();
}

void CPanelActions::SetObserver(void (*observer)())
{
    s_pObserver = observer;
}

void CPanelActions::Reset()
{
    s_bRealTime = false;
    s_bImmediate = true;
    s_Pose = ToolPose{};
    s_strInverseStatus.clear();
}

const JointAngles& CPanelActions::EditedAngles()
{
    return Edited(s_bRealTime);
}

std::string CPanelActions::InverseStatus()
{
    if (!s_strInverseStatus.empty())
        return s_strInverseStatus;
    return Robot().m_eMGIModel == MGIModel::Exact ? "Modèle inverse exact" : "Modèle inverse par recherche sur grille";
}

void CPanelActions::SetJointAngle(int joint, float degrees)
{
    // Only this joint changes: the others stay where they are, even outside
    // their limits (a start angle may be).
    CRobot& robot = Robot();
    Edited(s_bRealTime).*kJointFields[joint] =
        ClampIntoLimits(degrees, robot.m_Limits.low[joint], robot.m_Limits.high[joint]);
    if (!s_bImmediate)
        robot.ComputeMGD(Edited(s_bRealTime), &s_Pose);
    Changed();
}

void CPanelActions::SetPoseValue(int index, float value)
{
    s_Pose.*kPoseFields[index] = value;
    if (!s_bImmediate)
        Inverse();
    Changed();
}

void CPanelActions::SetRealTime(bool on)
{
    if (on == s_bRealTime)
        return;
    SwitchRealTime(on);
    Changed();
}

void CPanelActions::SwitchRealTime(bool on)
{
    if (on == s_bRealTime)
        return;
    CRobot& robot = Robot();
    if (on)
        robot.m_fTargetAngle = robot.m_fAngle;  // old targets would pull the arm back on GO
    else
        Stop();
    s_bRealTime = on;
}

void CPanelActions::SetImmediate(bool on)
{
    s_bImmediate = on;
    Changed();
}

ActionResult CPanelActions::StartMotion()
{
    if (!s_bRealTime)
        return {false, "le temps réel n'est pas actif"};
    ::StartMotion();
    Changed();
    return {};
}

void CPanelActions::StopMotion()
{
    Stop();
    Changed();
}

void CPanelActions::Stop()
{
    ::StopMotion();
    CRobot& robot = Robot();
    robot.m_fTargetAngle = robot.m_fAngle;
}

void CPanelActions::ComputeForward()
{
    Robot().ComputeMGD(EditedAngles(), &s_Pose);
    Changed();
}

MGIResult CPanelActions::ComputeInverse()
{
    const MGIResult result = Inverse();
    Changed();
    return result;
}

MGIResult CPanelActions::InverseOf(const ToolPose& pose)
{
    // The grid model's one answer is moved by whole turns nearest the
    // angles being edited; the exact model takes the configuration nearest
    // where the arm stands, so that a pose changed step by step moves the
    // arm smoothly and never flips it. Either way the angles are clamped
    // into the limits, as the spinners would.
    const CRobot& robot = Robot();
    const bool exact = robot.m_eMGIModel == MGIModel::Exact;
    MGIResult result = robot.SolveMGI(pose, exact ? robot.m_fAngle : EditedAngles());
    result.angles = ClampIntoLimits(result.angles, robot.m_Limits);
    return result;
}

MGIResult CPanelActions::Inverse()
{
    const MGIResult result = InverseOf(s_Pose);
    Edited(s_bRealTime) = result.angles;
    s_strInverseStatus = DescribeMGI(result);
    return result;
}

void CPanelActions::SetAngles(const JointAngles& angles)
{
    CRobot& robot = Robot();
    ::StopMotion();
    robot.m_fAngle = ClampIntoLimits(angles, robot.m_Limits);
    robot.m_fTargetAngle = robot.m_fAngle;
    Changed();
}

void CPanelActions::SetTargets(const JointAngles& angles)
{
    SwitchRealTime(true);
    CRobot& robot = Robot();
    robot.m_fTargetAngle = ClampIntoLimits(angles, robot.m_Limits);
    Changed();
}

MGIResult CPanelActions::MoveToPose(const ToolPose& pose)
{
    s_Pose = pose;
    const MGIResult result = InverseOf(pose);
    s_strInverseStatus = DescribeMGI(result);
    SetAngles(result.angles);  // tells the observers
    return result;
}

void CPanelActions::SetDisplayFlag(DisplayFlag flag, bool on)
{
    *FlagOf(flag) = on;
    if (flag == DisplayFlag::WireFrame)
        glPolygonMode(GL_FRONT_AND_BACK, on ? GL_LINE : GL_FILL);
    Changed();
}

bool CPanelActions::IsDisplayed(DisplayFlag flag)
{
    return *FlagOf(flag);
}

void CPanelActions::ResetCamera()
{
    Scene().ResetCamera();
    Changed();
}

ActionResult CPanelActions::SaveScreenshot(const char* fileName)
{
    if (!::SaveScreenshot(fileName))
        return {false, std::string("impossible d'écrire « ") + fileName + " »"};
    return {};
}

ActionResult CPanelActions::TeachPose()
{
    const JointAngles& a = Robot().m_fAngle;
    std::string reason;
    if (FILE* file = std::fopen("poses.txt", "a")) {
        // Closed at once: the line is on disk whatever happens next.
        const bool printed =
            std::fprintf(file, "moveto %.9g %.9g %.9g %.9g %.9g %.9g\n", a.A12, a.A23, a.A34, a.A45, a.A56, a.A67) > 0;
        if (std::fclose(file) == 0 && printed)
            return {};
        reason = "impossible d'écrire dans poses.txt";
    } else {
        reason = "impossible d'ouvrir poses.txt en écriture";
    }
    LogError("CPanelActions::TeachPose -- %s", reason.c_str());
    return {false, reason};
}
