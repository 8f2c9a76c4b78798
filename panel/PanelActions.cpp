// What the control panel does, as values (see PanelActions.h).
#include "panel/PanelActions.h"

#include "app/FrenchDecimal.h"
#include "app/Log.h"
#include "app/WindowCallbacks.h"
#include "graphics/Graphics.h"
#include "robot/ArmKinematics.h"
#include "robot/Simulation.h"
#include "scene/MainScene.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstring>

namespace {

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
        outcome = "Hors d'atteinte : il manque " + FormatDecimal(r.distance, 1) + " unités de pose";
    if (!r.withinLimits)
        outcome += " ; aucune configuration dans les limites des angles";
    return outcome + " ; " + DescribePosture(r.posture);
}

bool SameAngles(const JointAngles& a, const JointAngles& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

CPanelActions::CPanelActions(CSimulation& simulation, CMainScene& scene) : m_Simulation(simulation), m_Scene(scene)
{
    // The pose fields start where the arm stands.
    m_Pose = PoseOf(simulation.Arm(), simulation.Angles());
}

const JointAngles& CPanelActions::EditedAngles() const
{
    return m_bRealTime ? m_Simulation.Targets() : m_Simulation.Angles();
}

void CPanelActions::SetEdited(const JointAngles& angles)
{
    if (m_bRealTime)
        m_Simulation.SetTargets(angles);
    else
        m_Simulation.SetAngles(angles);
}

std::string CPanelActions::InverseStatus() const
{
    // How the last inverse-model computation went, as long as the angles it
    // gave are the ones being edited; once anything else moved them, how
    // the arm holds itself now.
    if (m_bInverseShown && SameAngles(EditedAngles(), m_InverseAngles))
        return m_strInverseStatus;
    const ArmDescription& arm = m_Simulation.Arm();
    return "Configuration : " + DescribePosture(PostureOf(arm.Lengths(), ModelAngles(arm, m_Simulation.Angles())));
}

void CPanelActions::ShowInverse(const MGIResult& result)
{
    m_strInverseStatus = DescribeMGI(result);
    m_InverseAngles = result.angles;
    m_bInverseShown = true;
}

void CPanelActions::SetJointAngle(int joint, float degrees)
{
    // Only this joint changes: the others stay where they are, even outside
    // their limits (a start angle may be).
    const JointLimits& limits = m_Simulation.Arm().limits;
    JointAngles edited = EditedAngles();
    edited.*kJointFields[joint] = ClampIntoLimits(degrees, limits.low[joint], limits.high[joint]);
    if (!m_bImmediate)
        m_Pose = PoseOf(m_Simulation.Arm(), edited);
    SetEdited(edited);
}

void CPanelActions::SetPoseValue(int index, float value)
{
    m_Pose.*kPoseFields[index] = value;
    if (!m_bImmediate)
        Inverse();
    else
        m_Simulation.NotifyStateChanged();
}

void CPanelActions::SetRealTime(bool on)
{
    if (on == m_bRealTime)
        return;
    SwitchRealTime(on);
    m_Simulation.NotifyStateChanged();
}

void CPanelActions::SwitchRealTime(bool on)
{
    if (on == m_bRealTime)
        return;
    if (on)
        m_Simulation.SetTargets(m_Simulation.Angles());  // old targets would pull the arm back on GO
    else
        Stop();
    m_bRealTime = on;
}

void CPanelActions::SetImmediate(bool on)
{
    m_bImmediate = on;
    m_Simulation.NotifyStateChanged();
}

ActionResult CPanelActions::StartMotion()
{
    if (!m_bRealTime)
        return {false, "le temps réel n'est pas actif"};
    m_Simulation.StartChase();
    m_Simulation.NotifyStateChanged();
    return {};
}

void CPanelActions::StopMotion()
{
    Stop();
    m_Simulation.NotifyStateChanged();
}

void CPanelActions::Stop()
{
    m_Simulation.Stop();
    m_Simulation.SetTargets(m_Simulation.Angles());
}

void CPanelActions::ComputeForward()
{
    m_Pose = PoseOf(m_Simulation.Arm(), EditedAngles());
    m_Simulation.NotifyStateChanged();
}

MGIResult CPanelActions::ComputeInverse()
{
    return Inverse();
}

MGIResult CPanelActions::InverseOf(const ToolPose& pose) const
{
    // The grid model's one answer is moved by whole turns nearest the
    // angles being edited; the exact model takes the configuration nearest
    // where the arm stands, so that a pose changed step by step moves the
    // arm smoothly and never flips it. Either way the angles are clamped
    // into the limits, as the spinners would.
    const ArmDescription& arm = m_Simulation.Arm();
    const bool exact = arm.Model() == MGIModel::Exact;
    MGIResult result = SolvePose(arm, pose, exact ? m_Simulation.Angles() : EditedAngles());
    result.angles = ClampIntoLimits(result.angles, arm.limits);
    return result;
}

MGIResult CPanelActions::Inverse()
{
    const MGIResult result = InverseOf(m_Pose);
    ShowInverse(result);
    SetEdited(result.angles);
    return result;
}

void CPanelActions::SetAngles(const JointAngles& angles)
{
    m_Simulation.Stop();
    const JointAngles clamped = ClampIntoLimits(angles, m_Simulation.Arm().limits);
    m_Simulation.SetTargets(clamped);
    m_Simulation.SetAngles(clamped);
}

void CPanelActions::SetTargets(const JointAngles& angles)
{
    SwitchRealTime(true);
    m_Simulation.SetTargets(ClampIntoLimits(angles, m_Simulation.Arm().limits));
}

MGIResult CPanelActions::MoveToPose(const ToolPose& pose)
{
    m_Pose = pose;
    const MGIResult result = InverseOf(pose);
    ShowInverse(result);
    SetAngles(result.angles);
    return result;
}

void CPanelActions::SetDisplayFlag(DisplayFlag flag, bool on)
{
    if (flag == DisplayFlag::WireFrame)
        glPolygonMode(GL_FRONT_AND_BACK, on ? GL_LINE : GL_FILL);
    m_Simulation.SetDisplay(flag, on);
    if (flag == DisplayFlag::Orbit)
        m_Scene.UseOrbit(on);
}

void CPanelActions::LookAround(const OrbitView& view)
{
    SetDisplayFlag(DisplayFlag::Orbit, true);
    m_Scene.SetOrbit(view);
}

bool CPanelActions::IsDisplayed(DisplayFlag flag) const
{
    return m_Simulation.Display()[flag];
}

void CPanelActions::ResetCamera()
{
    m_Scene.ResetCamera();
    glutPostRedisplay();
}

ActionResult CPanelActions::SaveScreenshot(const char* fileName)
{
    if (!::SaveScreenshot(fileName))
        return {false, std::string("impossible d'écrire « ") + fileName + " »"};
    LogWrite(LOG_DEBUG, "Capture écrite : %s (%d x %d)", fileName, g_iScreenWidth, g_iScreenHeight);
    return {};
}

ActionResult CPanelActions::TeachPose()
{
    const JointAngles& a = m_Simulation.Angles();
    std::string reason;
    if (FILE* file = std::fopen("poses.txt", "a+")) {
        // The file's lines so far give the number of the one taught; closed
        // at once, the line is on disk whatever happens next.
        long lines = 0;
        for (int c; (c = std::fgetc(file)) != EOF;)
            lines += c == '\n';
        std::fseek(file, 0, SEEK_END);  // a stream that was read must seek before it writes
        const bool printed =
            std::fprintf(file, "moveto %.9g %.9g %.9g %.9g %.9g %.9g\n", a.A12, a.A23, a.A34, a.A45, a.A56, a.A67) > 0;
        if (std::fclose(file) == 0 && printed) {
            LogWrite(LOG_DEBUG, "Pose apprise : ligne %ld de poses.txt", lines + 1);
            return {};
        }
        reason = "impossible d'écrire dans poses.txt";
    } else {
        reason = "impossible d'ouvrir poses.txt en écriture";
    }
    LogError("CPanelActions::TeachPose -- %s", reason.c_str());
    return {false, reason};
}
