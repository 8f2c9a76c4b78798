#include "panel/GluiInput.h"

#include "app/Cp1252.h"
#include "app/FrenchDecimal.h"
#include "app/Log.h"
#include "app/Scene.h"
#include "config/OptionsParser.h"
#include "graphics/Graphics.h"
#include "panel/Glui.h"
#include "robot/Motion.h"
#include "scene/MainScene.h"

#include <GL/freeglut.h>

#include <string>

GLUI* g_pGlui = nullptr;
JointAngles g_fPanelAngles{};
ToolPose g_fPanelPose{};
int g_iRealTime = 0;
int g_iImmediateMode = 0;
GLUI_Spinner* g_pAngleSpinners[6] = {};
GLUI_Spinner* g_pPoseSpinners[6] = {};
GLUI_Button* g_pGoButton = nullptr;
GLUI_Button* g_pMGDCButton = nullptr;
GLUI_Button* g_pMGICButton = nullptr;
GLUI_StaticText* g_pMGIStatus = nullptr;

bool g_bPanelRealTime = false;
bool g_bPanelImmediate = false;
bool g_bPanelWireFrame = false;
bool g_bPanelDecoration = true;
bool g_bPanelReflect = true;
bool g_bPanelShadows = true;
bool g_bPanelMetalLook = false;

namespace {

// glui.opt as read once by Init; when it cannot be read, an empty set
// answers every lookup with its default, so the panel is built with the
// default labels and limits.
const COptions* g_pPanelOptions = nullptr;

const COptions& PanelOptions()
{
    static const COptions empty;
    return g_pPanelOptions ? *g_pPanelOptions : empty;
}

CMainScene* MainScene()
{
    return static_cast<CMainScene*>(g_pCurrentScene);
}

float* AngleField(JointAngles& a, int joint)
{
    return &(a.*kJointFields[joint]);
}

float* PoseField(ToolPose& p, int index)
{
    return &(p.*kPoseFields[index]);
}

// The status line takes UTF-8 text, as written here, and gives the panel
// layer the Windows-1252 every label is in.
void SetStatus(const std::string& utf8)
{
    char text[256];
    Utf8ToCp1252(utf8.c_str(), text, sizeof text);
    g_pMGIStatus->set_text(text);
}

std::string DescribePosture(const ArmPosture& p)
{
    static const char* const elbows[] = {", coude en haut", ", coude en bas", ", bras tendu", ", bras replié"};
    return std::string(p.back ? "vers l'arrière" : "vers l'avant") + elbows[static_cast<int>(p.elbow)] +
           (p.flipped ? ", poignet retourné" : ", poignet non retourné");
}

// How the inverse model's last answer went, in one line.
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

// With real time on only the targets change; the arm moves after GO.
void CopyPanelAnglesToArm()
{
    CRobot& robot = MainScene()->m_Robot;
    (g_iRealTime ? robot.m_fTargetAngle : robot.m_fAngle) = g_fPanelAngles;
}

void ShowForwardModel()
{
    MainScene()->m_Robot.ComputeMGD(g_fPanelAngles, &g_fPanelPose);
    for (int i = 0; i < 6; ++i)
        g_pPoseSpinners[i]->set_float_val(*PoseField(g_fPanelPose, i));
}

void ShowInverseModel()
{
    // The model repeats every turn while the spinners clamp: each angle is
    // moved by whole turns into its spinner's limits. The grid model's one
    // answer lands nearest the angles shown now; the exact model takes the
    // configuration nearest where the arm stands, so that a pose dragged
    // step by step moves the arm smoothly and never flips it.
    const CRobot& robot = MainScene()->m_Robot;
    const bool exact = robot.m_eMGIModel == MGIModel::Exact;
    const MGIResult result = robot.SolveMGI(g_fPanelPose, exact ? robot.m_fAngle : g_fPanelAngles);
    for (int joint = 0; joint < 6; ++joint)
        g_pAngleSpinners[joint]->set_float_val(result.angles.*kJointFields[joint]);
    SetStatus(DescribeMGI(result));
}

void SetSceneFlag(bool CMainScene::*flag, bool& toggle)
{
    toggle = !toggle;
    MainScene()->*flag = toggle;
    glutPostRedisplay();
}

} // namespace

bool CGluiInput::Init()
{
    g_pPanelOptions = COptionsParser::GetOptions("glui.opt", false);
    if (!g_pPanelOptions)
        LogError("CGluiInput::Init -- Impossible de lire le fichier glui.opt, le panneau prend les valeurs par défaut");
    const COptions& options = PanelOptions();
    g_pGlui = GLUI_Master.create_glui(options.GetString("strGLUIWindowName", "Kalimbrax Controls"), 0, -1, -1);
    if (!g_pGlui) {
        LogError("CGluiInput::Init -- Impossible d'initialiser la GLUI (create_glui failed)");
        return false;
    }
    BuildPanel();
    g_pGlui->set_main_gfx_window(g_iMainWindow);
    return true;
}

void CGluiInput::BuildPanel()
{
    const COptions& options = PanelOptions();
    static const char* const joints[6] = {"12", "23", "34", "45", "56", "67"};
    char key[64];

    // The arm starts at the start angles, whatever the spinner limits.
    for (int joint = 0; joint < 6; ++joint) {
        std::snprintf(key, sizeof key, "fAngle%sStartValue", joints[joint]);
        *AngleField(g_fPanelAngles, joint) = options.GetFloat(key, 0.0f);
    }
    CRobot& robot = MainScene()->m_Robot;
    robot.m_fAngle = g_fPanelAngles;
    robot.m_fTargetAngle = g_fPanelAngles;
    robot.m_Limits = ReadJointLimits(options);

    GLUI_Rollout* angles = g_pGlui->add_rollout(options.GetString("strMGDName", "MGD"), true);
    static const char* const angleNames[6] = {"A12", "A23", "A34", "A45", "A56", "A67"};
    for (int joint = 0; joint < 6; ++joint) {
        std::snprintf(key, sizeof key, "strAngle%sName", joints[joint]);
        const char* label = options.GetString(key, angleNames[joint]);
        GLUI_Spinner* spinner = g_pGlui->add_spinner_to_panel(angles, label, GLUI_SPINNER_FLOAT,
                                                              AngleField(g_fPanelAngles, joint), joint, OnSpinner);
        spinner->set_float_limits(robot.m_Limits.low[joint], robot.m_Limits.high[joint], GLUI_LIMIT_CLAMP);
        spinner->set_alignment(GLUI_ALIGN_RIGHT);
        g_pAngleSpinners[joint] = spinner;
    }

    GLUI_Rollout* pose = g_pGlui->add_rollout(options.GetString("strMGIName", "MGI"), true);
    static const char* const poseKeys[6][2] = {{"strXAxisName", "X"}, {"strYAxisName", "Y"},
                                               {"strZAxisName", "Z"}, {"strAlphaName", "A"},
                                               {"strBetaName", "B"},  {"strGammaName", "C"}};
    for (int i = 0; i < 6; ++i)
        g_pPoseSpinners[i] = g_pGlui->add_spinner_to_panel(pose, options.GetString(poseKeys[i][0], poseKeys[i][1]),
                                                           GLUI_SPINNER_FLOAT, PoseField(g_fPanelPose, i),
                                                           FIRST_POSE_SPINNER + i, OnSpinner);
    // How the inverse model's last answer went; until then, which model it is.
    g_pMGIStatus = g_pGlui->add_statictext_to_panel(pose, "");
    SetStatus(robot.m_eMGIModel == MGIModel::Exact ? "Modèle inverse exact"
                                                    : "Modèle inverse par recherche sur grille");

    g_pGlui->add_column(true);

    GLUI_Rollout* control = g_pGlui->add_rollout(options.GetString("strControlName", "Control"), true);
    g_pGlui->add_checkbox_to_panel(control, options.GetString("strRealTime", "RT"), &g_iRealTime, CHECK_REALTIME,
                                   OnCheckbox);
    g_pGoButton = g_pGlui->add_button_to_panel(control, options.GetString("strRealTimeButton", "GO"), BUTTON_GO,
                                               OnButton);
    g_pGoButton->set_alignment(GLUI_ALIGN_LEFT);
    g_pGoButton->disable();
    g_pGlui->add_separator_to_panel(control);
    GLUI_Checkbox* immediate = g_pGlui->add_checkbox_to_panel(
        control, options.GetString("strImmediateMode", "IM"), &g_iImmediateMode, CHECK_IMMEDIATE, OnCheckbox);
    immediate->set_int_val(1);
    g_pMGDCButton = g_pGlui->add_button_to_panel(control, options.GetString("strMGDCalculus", "MGDC"), BUTTON_MGDC,
                                                 OnButton);
    g_pMGDCButton->set_alignment(GLUI_ALIGN_LEFT);
    g_pMGICButton = g_pGlui->add_button_to_panel(control, options.GetString("strMGICalculus", "MGIC"), BUTTON_MGIC,
                                                 OnButton);
    g_pMGICButton->set_alignment(GLUI_ALIGN_LEFT);

    GLUI_Rollout* display = g_pGlui->add_rollout(options.GetString("strGraphName", "Control"), true);
    struct Toggle { const char* key; const char* label; int id; int value; };
    const Toggle toggles[] = {
        {"strWireFrameMode", "WF", CHECK_WIREFRAME, -1}, {"strDecoration", "DC", CHECK_DECORATION, 1},
        {"strReflect", "RF", CHECK_REFLECT, 1},          {"strShadows", "SH", CHECK_SHADOWS, 1},
        {"strMetalLook", "SM", CHECK_METALLOOK, 0},
    };
    for (const Toggle& t : toggles) {
        GLUI_Checkbox* box = g_pGlui->add_checkbox_to_panel(display, options.GetString(t.key, t.label), nullptr,
                                                            t.id, OnCheckbox);
        if (t.value >= 0)
            box->set_int_val(t.value);
    }
}

void CGluiInput::Release() {}

void CGluiInput::StopIdle()
{
    GLUI_Master.set_glutIdleFunc(nullptr);
}

void CGluiInput::OnSpinner(int id)
{
    if (!g_iImmediateMode) {
        if (id < FIRST_POSE_SPINNER)
            ShowForwardModel();
        else
            ShowInverseModel();
    }
    CopyPanelAnglesToArm();
}

void CGluiInput::OnCheckbox(int id)
{
    CMainScene* scene = MainScene();
    switch (id) {
    case CHECK_REALTIME:
        if (g_bPanelRealTime) {
            g_pGoButton->disable();
            StopIdle();
        } else {
            g_pGoButton->enable();
            // Old targets would drive the arm back: GO moves only toward
            // changes made from now on.
            scene->m_Robot.m_fTargetAngle = scene->m_Robot.m_fAngle;
        }
        g_bPanelRealTime = !g_bPanelRealTime;
        break;
    case CHECK_IMMEDIATE:
        if (g_bPanelImmediate) {
            g_pMGDCButton->enable();
            g_pMGICButton->enable();
        } else {
            g_pMGDCButton->disable();
            g_pMGICButton->disable();
        }
        g_bPanelImmediate = !g_bPanelImmediate;
        break;
    case CHECK_WIREFRAME:
        g_bPanelWireFrame = !g_bPanelWireFrame;
        glPolygonMode(GL_FRONT_AND_BACK, g_bPanelWireFrame ? GL_LINE : GL_FILL);
        glutPostRedisplay();
        break;
    case CHECK_DECORATION: SetSceneFlag(&CMainScene::m_bDecoration, g_bPanelDecoration); break;
    case CHECK_REFLECT: SetSceneFlag(&CMainScene::m_bReflect, g_bPanelReflect); break;
    case CHECK_SHADOWS: SetSceneFlag(&CMainScene::m_bShadows, g_bPanelShadows); break;
    case CHECK_METALLOOK: SetSceneFlag(&CMainScene::m_bMetalLook, g_bPanelMetalLook); break;
    default: break;
    }
}

void CGluiInput::OnButton(int id)
{
    switch (id) {
    case BUTTON_GO:
        GLUI_Master.set_glutIdleFunc(OnIdle);
        break;
    case BUTTON_MGDC:
        ShowForwardModel();
        CopyPanelAnglesToArm();
        break;
    case BUTTON_MGIC:
        ShowInverseModel();
        CopyPanelAnglesToArm();
        break;
    default: break;
    }
}
