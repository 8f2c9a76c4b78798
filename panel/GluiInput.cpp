#include "panel/GluiInput.h"

#include "base/Clock.h"
#include "base/Cp1252.h"
#include "base/FrenchDecimal.h"
#include "base/Log.h"
#include "dataset/OptionFiles.h"
#include "gl/Graphics.h"
#include "panel/ConfigurationList.h"
#include "glui/Glui.h"
#include "panel/JointCurves.h"
#include "sim/PanelActions.h"
#include "dataset/PanelSettings.h"
#include "panel/SingularityReadout.h"
#include "arm/ArmKinematics.h"
#include "motion/MoveSettings.h"
#include "sim/Simulation.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

GLUI* g_pGlui = nullptr;
GLUI_Spinner* g_pAngleSpinners[6] = {};
GLUI_Spinner* g_pPoseSpinners[6] = {};
GLUI_Checkbox* g_pCheckboxes[CHECK_COUNT] = {};
GLUI_Button* g_pGoButton = nullptr;
GLUI_Button* g_pMGDCButton = nullptr;
GLUI_Button* g_pMGICButton = nullptr;
GLUI_Button* g_pTeachButton = nullptr;
GLUI_Spinner* g_pSpeedSpinner = nullptr;
GLUI_Button* g_pMoveButton = nullptr;
GLUI_Button* g_pCheckButton = nullptr;
GLUI_StaticText* g_pMGIStatus = nullptr;
GLUI_StaticText* g_pReadoutAngles = nullptr;
GLUI_StaticText* g_pReadoutPose = nullptr;

namespace {

CPanelActions* g_pActions = nullptr;
const CMotionRecorder* g_pRecorder = nullptr;

// glui.opt as read once by Init; when it cannot be read, every label and
// limit takes its default.
PanelSettings g_Settings;

// What the canvases show of the arm as it stands, found when the panel
// follows a change rather than in each of its frames: the configurations
// of its pose and how near it is to its singularities (the meter of the
// arm, built once).
GLUI_Canvas* g_pConfigurationCanvas = nullptr;
std::vector<ArmConfiguration> g_Configurations;
std::unique_ptr<CSingularityMeter> g_pMeter;
SingularityMeasures g_Singularity{};

CPanelActions& Actions()
{
    return *g_pActions;
}

// The panel layer takes Windows-1252, like the labels of glui.opt; the texts
// written here are UTF-8.
std::string PanelText(const std::string& utf8)
{
    char text[1024];
    Utf8ToCp1252(utf8.c_str(), text, sizeof text);
    return text;
}

void SetTooltip(GLUI_Control* control, const char* utf8)
{
    control->set_tooltip(PanelText(utf8).c_str());
}

// A button of the panel, at the left of its rollout, with its help.
GLUI_Button* AddButton(GLUI_Panel* panel, const std::string& label, int id, const char* tooltip)
{
    GLUI_Button* button = g_pGlui->add_button_to_panel(panel, label.c_str(), id, CGluiInput::OnButton);
    button->set_alignment(GLUI_ALIGN_LEFT);
    SetTooltip(button, tooltip);
    return button;
}

// "A12    -25,00°": a name and a value, aligned for the panel's fixed-width
// font (the name padded by characters, not by UTF-8 bytes).
std::string ReadoutLine(const std::string& name, double value, const char* unit)
{
    std::string line = name;
    const auto characters = std::count_if(name.begin(), name.end(), [](char c) { return (c & 0xC0) != 0x80; });
    line.append(characters < 6 ? 6 - characters : 0, ' ');
    char number[32];
    std::snprintf(number, sizeof number, "%9s", FormatDecimal(value, 2).c_str());
    return line + number + unit;
}

void RefreshReadout()
{
    const CSimulation& simulation = Actions().Simulation();
    static const char* const poseNames[6] = {"X", "Y", "Z", "Alpha", "Bêta", "Gamma"};
    const JointAngles& angles = simulation.Angles();
    const ToolPose pose = PoseOf(simulation.Arm(), angles);
    std::string joints, place;
    for (int i = 0; i < 6; ++i) {
        joints += (i ? "\n" : "") + ReadoutLine(JointName(i), angles.*kJointFields[i], "°");
        place += (i ? "\n" : "") + ReadoutLine(poseNames[i], pose.*kPoseFields[i], i < 3 ? "" : "°");
    }
    g_pReadoutAngles->set_text(PanelText(joints).c_str());
    g_pReadoutPose->set_text(PanelText(place).c_str());
}

// The panel follows every change of the simulation. A motion moves the arm
// far more often than a person reads the panel: while it runs the panel
// follows ten times a second, then once more when it stops.
class CPanelFollower : public CSimulationListener {
    void OnStateChanged() override { CGluiInput::Refresh(); }
    void OnMotionStep(double, const JointAngles&) override
    {
        const double now = MonotonicSeconds();
        if (now - m_dLastRefresh < 0.1)
            return;
        m_dLastRefresh = now;
        CGluiInput::Refresh();
    }
    void OnMotionEnded(bool) override { CGluiInput::Refresh(); }

    double m_dLastRefresh = -1.0;
};

}  // namespace

bool CGluiInput::Init(CPanelActions& actions, const CMotionRecorder& recorder)
{
    g_pActions = &actions;
    g_pRecorder = &recorder;
    const COptions* options = ReadOptionFile("glui.opt");
    if (!options)
        LogError("CGluiInput::Init -- Impossible de lire le fichier glui.opt, le panneau prend les valeurs par défaut");
    g_Settings = ReadSettings(options, DeclarePanelKeys);
    g_pMeter = std::make_unique<CSingularityMeter>(actions.Simulation().Arm().Lengths());
    g_pGlui = GLUI_Master.create_glui(g_Settings.windowName.c_str(), 0, -1, -1);
    if (!g_pGlui) {
        LogError("CGluiInput::Init -- Impossible d'initialiser la GLUI (create_glui failed)");
        return false;
    }
    BuildPanel();
    g_pGlui->set_main_gfx_window(g_iMainWindow);
    // Never destroyed: the panel lives as long as the program.
    actions.Simulation().AddListener(new CPanelFollower);
    Refresh();
    return true;
}

void CGluiInput::BuildPanel()
{
    const PanelSettings& labels = g_Settings;
    const JointLimits& limits = Actions().Simulation().Arm().limits;

    GLUI_Rollout* angles = g_pGlui->add_rollout(labels.mgdName.c_str(), true);
    SetTooltip(angles, "Angles des six articulations, en degrés, de la base (A12) à la main (A67).");
    static const char* const angleTips[6] = {
        "A12 : rotation de la base autour de la verticale, en degrés.",
        "A23 : épaule, inclinaison du bras, en degrés.",
        "A34 : coude, pliage de l'avant-bras, en degrés.",
        "A45 : rotation de l'avant-bras sur lui-même, en degrés.",
        "A56 : poignet, pliage de la main, en degrés.",
        "A67 : rotation de la main sur elle-même, en degrés.",
    };
    for (int joint = 0; joint < 6; ++joint) {
        GLUI_Spinner* spinner = g_pGlui->add_spinner_to_panel(angles, labels.angleName[joint].c_str(),
                                                              GLUI_SPINNER_FLOAT, nullptr, joint, OnSpinner);
        spinner->set_float_limits(limits.low[joint], limits.high[joint], GLUI_LIMIT_CLAMP);
        spinner->set_alignment(GLUI_ALIGN_RIGHT);
        SetTooltip(spinner, (std::string(angleTips[joint]) +
                             " Flèches : un degré ; glisser depuis une flèche : plus vite ; ou taper une "
                             "valeur (virgule ou point) puis Entrée, Tab ou un clic ailleurs.")
                                .c_str());
        g_pAngleSpinners[joint] = spinner;
    }

    GLUI_Rollout* pose = g_pGlui->add_rollout(labels.mgiName.c_str(), true);
    SetTooltip(pose, "Pose de l'outil : centre du poignet X, Y, Z (centièmes d'unité de scène, repère de la "
                     "base) et orientation de la main Alpha, Bêta, Gamma (degrés).");
    static const char* const poseTips[6] = {
        "X du centre du poignet, en centièmes d'unité de scène.",
        "Y du centre du poignet, en centièmes d'unité de scène.",
        "Z du centre du poignet au-dessus du sol, en centièmes d'unité de scène.",
        "Alpha (degrés) : la direction de l'axe dont la main tourne, autour de la verticale, comptée de -y vers +x.",
        "Bêta (degrés) : l'inclinaison de cet axe depuis z ; (alpha, bêta) et (alpha + 180, -bêta) sont le même axe.",
        "Gamma (degrés) : l'angle dont la main tourne autour de cet axe ; à gamma = 0, alpha et bêta n'importent pas.",
    };
    for (int i = 0; i < 6; ++i) {
        g_pPoseSpinners[i] = g_pGlui->add_spinner_to_panel(pose, labels.poseName[i].c_str(), GLUI_SPINNER_FLOAT,
                                                           nullptr, FIRST_POSE_SPINNER + i, OnSpinner);
        SetTooltip(g_pPoseSpinners[i], poseTips[i]);
    }
    g_pMGIStatus = g_pGlui->add_statictext_to_panel(pose, "");
    SetTooltip(g_pMGIStatus, "Résultat du dernier calcul du MGI : pose atteinte ou distance qui reste, et "
                             "configuration prise par le bras.");

    GLUI_Rollout* moves = g_pGlui->add_rollout(labels.trajectoryName.c_str(), true);
    SetTooltip(moves, "Mouvements planifiés vers la pose des champs, vérifiés en entier avant que le bras bouge.");
    const std::pair<int, const char*> kinds[] = {
        {CHECK_MOVE_JOINT, "Toutes les articulations partent et arrivent ensemble ; l'outil suit une courbe."},
        {CHECK_MOVE_LINEAR, "L'outil va en ligne droite, l'orientation tournant autour d'un seul axe."},
    };
    for (const auto& [id, tip] : kinds) {
        const std::string& label = id == CHECK_MOVE_JOINT ? labels.moveJoint : labels.moveLinear;
        g_pCheckboxes[id] = g_pGlui->add_checkbox_to_panel(moves, label.c_str(), nullptr, id, OnCheckbox);
        SetTooltip(g_pCheckboxes[id], tip);
    }
    g_pSpeedSpinner = g_pGlui->add_spinner_to_panel(moves, labels.speedOverride.c_str(), GLUI_SPINNER_FLOAT, nullptr,
                                                    SPINNER_SPEED, OnSpinner);
    g_pSpeedSpinner->set_float_limits(kMinSpeedPercent, kMaxSpeedPercent, GLUI_LIMIT_CLAMP);
    SetTooltip(g_pSpeedSpinner, "Pourcentage des vitesses de robot.opt pour les mouvements planifiés (1 à 100).");
    g_pMoveButton = AddButton(moves, labels.moveToPose, BUTTON_MOVE,
                              "Planifie le mouvement du bras vers la pose des champs et le joue s'il est possible.");
    g_pCheckButton = AddButton(moves, labels.checkMove, BUTTON_CHECK,
                               "Planifie sans bouger : la durée, ou pourquoi et où le chemin est impossible.");

    GLUI_Rollout* configurations = g_pGlui->add_rollout(labels.configurationsName.c_str(), false);
    SetTooltip(configurations, "Les configurations du bras qui donnent sa pose, numérotées comme kalimbrax-kin mgi "
                               "--all ; un clic en choisit une.");
    g_pConfigurationCanvas = g_pGlui->add_canvas_to_panel(
        configurations, 320, kConfigurationListHeight,
        [](GLUI_Painter& painter, int w, int h) { DrawConfigurationList(painter, w, h, g_Configurations); },
        CANVAS_CONFIGURATIONS, OnCanvas);
    SetTooltip(g_pConfigurationCanvas, "> : la configuration du bras ; en rouge : hors des limites des angles. Un "
                                       "clic y amène le bras par un mouvement articulaire synchronisé.");

    GLUI_Rollout* curves = g_pGlui->add_rollout(labels.curvesName.c_str(), false);
    SetTooltip(curves, "Les angles et les vitesses des six articulations pendant le dernier mouvement, avec les "
                       "vitesses maximales en tirets.");
    GLUI_Canvas* plot = g_pGlui->add_canvas_to_panel(curves, 320, 300, [](GLUI_Painter& painter, int w, int h) {
        DrawJointCurves(painter, w, h, *g_pRecorder, Actions().Simulation().Arm());
    });
    SetTooltip(plot, "Angles (degrés) et vitesses (degrés par seconde) en fonction du temps, une couleur par "
                     "articulation ; les tirets marquent les vitesses maximales de robot.opt.");

    g_pGlui->add_column(true);

    GLUI_Rollout* control = g_pGlui->add_rollout(labels.controlName.c_str(), true);
    SetTooltip(control, "Mouvement en temps réel et calculs des modèles géométriques.");
    g_pCheckboxes[CHECK_REALTIME] =
        g_pGlui->add_checkbox_to_panel(control, labels.realTime.c_str(), nullptr, CHECK_REALTIME, OnCheckbox);
    SetTooltip(g_pCheckboxes[CHECK_REALTIME],
               "Temps réel : les changements deviennent des cibles, que « Démarrer » fait atteindre à chaque "
               "articulation à sa vitesse maximale. Décoché : le bras bouge aussitôt, un mouvement s'arrête.");
    g_pGoButton = AddButton(control, labels.realTimeButton, BUTTON_GO,
                            "Démarre le mouvement vers les cibles, chaque articulation à sa vitesse maximale "
                            "(degrés par seconde, robot.opt).");
    g_pGlui->add_separator_to_panel(control);
    g_pCheckboxes[CHECK_IMMEDIATE] =
        g_pGlui->add_checkbox_to_panel(control, labels.immediateMode.c_str(), nullptr, CHECK_IMMEDIATE, OnCheckbox);
    SetTooltip(g_pCheckboxes[CHECK_IMMEDIATE],
               "Mode immédiat : un changement n'agit que sur son groupe. Décoché : changer les angles recalcule "
               "la pose (MGD), changer la pose recalcule les angles (MGI).");
    g_pMGDCButton = AddButton(control, labels.mgdCalculus, BUTTON_MGDC,
                              "MGD, modèle géométrique direct : la pose de l'outil que donnent les six angles.");
    g_pMGICButton = AddButton(control, labels.mgiCalculus, BUTTON_MGIC,
                              "MGI, modèle géométrique inverse : les six angles qui amènent l'outil à la pose.");
    g_pGlui->add_separator_to_panel(control);
    g_pTeachButton = AddButton(control, labels.teachPose, BUTTON_TEACH,
                               "Ajoute « moveto » et les angles actuels du bras à poses.txt, dans le répertoire de "
                               "données : un script que --script rejoue (F8 fait de même).");

    GLUI_Rollout* display = g_pGlui->add_rollout(labels.displayName.c_str(), true);
    SetTooltip(display, "Ce que montre la fenêtre graphique ; les touches F4, F5 et F9 à F12 font de même.");
    for (const DisplaySwitch& sw : kDisplaySwitches) {
        const int id = CheckboxOf(sw.flag);
        g_pCheckboxes[id] = g_pGlui->add_checkbox_to_panel(
            display, labels.switchLabel[static_cast<int>(sw.flag)].c_str(), nullptr, id, OnCheckbox);
        SetTooltip(g_pCheckboxes[id], sw.tooltip);
    }

    GLUI_Rollout* arm = g_pGlui->add_rollout(labels.armStateName.c_str(), true);
    SetTooltip(arm, "Où le bras se trouve, pendant et après un mouvement : ses angles (degrés) et la pose "
                    "qu'ils donnent (MGD : centièmes d'unité de scène et degrés).");
    g_pReadoutAngles = g_pGlui->add_statictext_to_panel(arm, "");
    SetTooltip(g_pReadoutAngles, "Angles actuels du bras, en degrés.");
    g_pReadoutPose = g_pGlui->add_statictext_to_panel(arm, "");
    SetTooltip(g_pReadoutPose, "Pose actuelle de l'outil (MGD des angles actuels) : X, Y, Z en centièmes "
                               "d'unité de scène, Alpha, Bêta, Gamma en degrés.");
    GLUI_Canvas* singularity =
        g_pGlui->add_canvas_to_panel(arm, 170, kSingularityReadoutHeight, [](GLUI_Painter& painter, int, int) {
            DrawSingularityReadout(painter, g_Singularity, g_pMeter->ShoulderThreshold());
        });
    SetTooltip(singularity, "Singularités : |A56| ; coude, degrés depuis tendu ou replié ; épaule, distance du "
                            "centre du poignet à l'axe de la base ; en orange sous les seuils des mouvements "
                            "planifiés. Manipulabilité du centre du poignet : 1 au mieux, 0 quand une direction "
                            "se perd.");
}

void CGluiInput::Refresh()
{
    const CPanelActions& actions = Actions();
    const JointAngles& edited = actions.EditedAngles();
    for (int joint = 0; joint < 6; ++joint)
        g_pAngleSpinners[joint]->set_float_val(edited.*kJointFields[joint]);
    for (int i = 0; i < 6; ++i)
        g_pPoseSpinners[i]->set_float_val(actions.Pose().*kPoseFields[i]);
    g_pCheckboxes[CHECK_REALTIME]->set_int_val(actions.RealTime());
    // The kinds of move as a choice of one: a click on the one chosen
    // leaves it chosen.
    g_pCheckboxes[CHECK_MOVE_JOINT]->set_int_val(actions.PanelMoveKind() == MoveKind::Joint);
    g_pCheckboxes[CHECK_MOVE_LINEAR]->set_int_val(actions.PanelMoveKind() == MoveKind::Linear);
    g_pSpeedSpinner->set_float_val(actions.SpeedPercent());
    g_pCheckboxes[CHECK_IMMEDIATE]->set_int_val(actions.Immediate());
    for (const DisplaySwitch& sw : kDisplaySwitches)
        g_pCheckboxes[CheckboxOf(sw.flag)]->set_int_val(actions.IsDisplayed(sw.flag));
    if (actions.RealTime())
        g_pGoButton->enable();
    else
        g_pGoButton->disable();
    for (GLUI_Button* button : {g_pMGDCButton, g_pMGICButton}) {
        if (actions.Immediate())
            button->enable();
        else
            button->disable();
    }
    g_pMGIStatus->set_text(PanelText(actions.StatusLine()).c_str());
    RefreshReadout();
    const CSimulation& simulation = actions.Simulation();
    g_Configurations = ConfigurationsOf(simulation.Arm(), simulation.Angles());
    g_Singularity = g_pMeter->Measure(ModelAngles(simulation.Arm(), simulation.Angles()));
}

void CGluiInput::Release() {}

void CGluiInput::OnSpinner(int id)
{
    if (id == SPINNER_SPEED)
        Actions().SetSpeedPercent(g_pSpeedSpinner->get_float_val());
    else if (id < FIRST_POSE_SPINNER)
        Actions().SetJointAngle(id, g_pAngleSpinners[id]->get_float_val());
    else
        Actions().SetPoseValue(id - FIRST_POSE_SPINNER, g_pPoseSpinners[id - FIRST_POSE_SPINNER]->get_float_val());
}

void CGluiInput::OnCheckbox(int id)
{
    if (id <= 0 || id >= CHECK_COUNT || !g_pCheckboxes[id])
        return;
    const bool checked = g_pCheckboxes[id]->get_int_val() != 0;
    if (id == CHECK_REALTIME)
        Actions().SetRealTime(checked);
    else if (id == CHECK_IMMEDIATE)
        Actions().SetImmediate(checked);
    else if (id == CHECK_MOVE_JOINT || id == CHECK_MOVE_LINEAR)
        Actions().SetMoveKind(id == CHECK_MOVE_JOINT ? MoveKind::Joint : MoveKind::Linear);
    else if (id >= CHECK_FIRST_DISPLAY)
        Actions().SetDisplayFlag(kDisplaySwitches[id - CHECK_FIRST_DISPLAY].flag, checked);
}

void CGluiInput::OnButton(int id)
{
    switch (id) {
    case BUTTON_GO:
        Actions().StartMotion();
        break;
    case BUTTON_MGDC:
        Actions().ComputeForward();
        break;
    case BUTTON_MGIC:
        Actions().ComputeInverse();
        break;
    case BUTTON_TEACH:
        Actions().TeachPose();
        break;
    case BUTTON_MOVE:
    case BUTTON_CHECK:
        Actions().MoveToPoseFields(id == BUTTON_MOVE);
        break;
    default:
        break;
    }
}

void CGluiInput::OnCanvas(int id)
{
    if (id != CANVAS_CONFIGURATIONS)
        return;
    if (const int number = ConfigurationAt(g_Configurations, g_pConfigurationCanvas->get_click_y()))
        Actions().MoveToConfiguration(number, true);
}
