// The control panel (see ControlPanel.h): its tables first, each control's
// label, help and action side by side, then the panel built from them in the
// order it shows them. That order numbers the controls in the layout dump,
// which the end-to-end tests read.
#include "panel/ControlPanel.h"

#include "arm/ArmKinematics.h"
#include "base/FrenchDecimal.h"
#include "base/Log.h"
#include "collision/CollisionWorld.h"
#include "glui/Glui.h"
#include "motion/MoveSettings.h"
#include "panel/ConfigurationList.h"
#include "panel/CellList.h"
#include "panel/JointCurves.h"
#include "panel/PointList.h"
#include "panel/SingularityReadout.h"
#include "sim/CellContacts.h"
#include "sim/Controller.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

// ============================================================================
// The tables
// ============================================================================

enum {
    ROLLOUT_JOINTS,
    ROLLOUT_JOG,
    ROLLOUT_POINTS,
    ROLLOUT_POSE,
    ROLLOUT_MOVES,
    ROLLOUT_CONFIGURATIONS,
    ROLLOUT_CURVES,
    ROLLOUT_CONTROL,
    ROLLOUT_DISPLAY,
    ROLLOUT_ARM,
    ROLLOUT_CELL
};
const PanelRollout kRollouts[] = {
    {&PanelSettings::mgdName, true, "Angles des six articulations, en degrés, de la base (A12) à la main (A67)."},
    {&PanelSettings::jogName, false,
     "Déplacer l'outil le long des axes x, y, z ou autour d'eux (rx, ry, rz), dans le repère choisi, ou chaque "
     "articulation : d'un pas par clic, ou en continu tant que la touche est tenue."},
    {&PanelSettings::pointsName, false,
     "Les points appris (commande point) : y aller par un mouvement articulaire ou en ligne droite, ou enregistrer "
     "où le bras se trouve."},
    {&PanelSettings::mgiName, true,
     "Pose de l'outil : son point X, Y, Z (centièmes d'unité de scène ; sans outil, le centre du poignet) et son "
     "orientation Alpha, Bêta, Gamma (degrés), dans le repère des poses nommé en tête."},
    {&PanelSettings::trajectoryName, true,
     "Mouvements planifiés vers la pose des champs, vérifiés en entier avant que le bras bouge."},
    {&PanelSettings::configurationsName, false,
     "Les configurations du bras qui donnent sa pose, numérotées comme kalimbrax-kin mgi --all ; un clic en choisit "
     "une."},
    {&PanelSettings::curvesName, false,
     "Les angles et les vitesses des six articulations pendant le dernier mouvement, avec les vitesses maximales en "
     "tirets."},
    {&PanelSettings::controlName, true, "Mouvement en temps réel et calculs des modèles géométriques."},
    {&PanelSettings::displayName, true,
     "Ce que montre la fenêtre graphique ; les touches F4, F5 et F9 à F12 font de même."},
    {&PanelSettings::armStateName, true,
     "Où le bras se trouve, pendant et après un mouvement : ses angles (degrés) et la pose qu'ils donnent (MGD : "
     "centièmes d'unité de scène et degrés)."},
    {&PanelSettings::cellName, false,
     "Les objets de la cellule du bras (commandes object) : les montrer ou les cacher, et voir les collisions."},
};

// The joint spinners, A12 to A67 (labels: PanelSettings::angleName): each
// sets its joint, and each help ends with how to work a spinner.
const char* const kJointTips[kJointCount] = {
    "A12 : rotation de la base autour de la verticale, en degrés.",
    "A23 : épaule, inclinaison du bras, en degrés.",
    "A34 : coude, pliage de l'avant-bras, en degrés.",
    "A45 : rotation de l'avant-bras sur lui-même, en degrés.",
    "A56 : poignet, pliage de la main, en degrés.",
    "A67 : rotation de la main sur elle-même, en degrés.",
};
const char* const kSpinnerUse = " Flèches : un degré ; glisser depuis une flèche : plus vite ; ou taper une valeur "
                                "(virgule ou point) puis Entrée, Tab ou un clic ailleurs.";

// The pose spinners, X to gamma (labels: PanelSettings::poseName): each
// sets its value of the pose.
const char* const kPoseTips[6] = {
    "X du centre du poignet, en centièmes d'unité de scène.",
    "Y du centre du poignet, en centièmes d'unité de scène.",
    "Z du centre du poignet au-dessus du sol, en centièmes d'unité de scène.",
    "Alpha (degrés) : la direction de l'axe dont la main tourne, autour de la verticale, comptée de -y vers +x.",
    "Bêta (degrés) : l'inclinaison de cet axe depuis z ; (alpha, bêta) et (alpha + 180, -bêta) sont le même axe.",
    "Gamma (degrés) : l'angle dont la main tourne autour de cet axe ; à gamma = 0, alpha et bêta n'importent pas.",
};
const char* const kStatusTip =
    "Résultat du dernier calcul du MGI : pose atteinte ou distance qui reste, et configuration prise par le bras.";

// The kinds of planned move, a choice of one: a click on the one chosen
// leaves it chosen.
const PanelCheckbox kMoveKindBoxes[] = {
    {CHECK_MOVE_JOINT, &PanelSettings::moveJoint,
     "Toutes les articulations partent et arrivent ensemble ; l'outil suit une courbe.",
     [](const CController& c) { return c.PanelMoveKind() == MoveKind::Joint; },
     [](CController& c, bool) { c.SetMoveKind(MoveKind::Joint); }},
    {CHECK_MOVE_LINEAR, &PanelSettings::moveLinear,
     "L'outil va en ligne droite, l'orientation tournant autour d'un seul axe.",
     [](const CController& c) { return c.PanelMoveKind() == MoveKind::Linear; },
     [](CController& c, bool) { c.SetMoveKind(MoveKind::Linear); }},
};
const char* const kSpeedTip = "Pourcentage des vitesses de robot.opt pour les mouvements planifiés (1 à 100).";
const PanelButton kMoveButtons[] = {
    {BUTTON_MOVE, &PanelSettings::moveToPose,
     "Planifie le mouvement du bras vers la pose des champs et le joue s'il est possible.",
     [](CController& c) { c.MoveToPoseFields(true); }, nullptr},
    {BUTTON_CHECK, &PanelSettings::checkMove,
     "Planifie sans bouger : la durée, ou pourquoi et où le chemin est impossible.",
     [](CController& c) { c.MoveToPoseFields(false); }, nullptr},
};

// The jog's frames, a choice of one, in JogFrame's order.
const char* const kJogFrameTips[4] = {
    "Chaque touche tourne une articulation, A12 à A67, en degrés.",
    "x, y, z : l'outil glisse le long des axes de la base ; rx, ry, rz : il tourne autour d'eux, son point fixe.",
    "x, y, z et rx, ry, rz : les axes de l'outil tel qu'il se tient, son axe d'approche z.",
    "x, y, z et rx, ry, rz : les axes du repère des poses (frame use), ceux de la base sans repère choisi.",
};
// The steps, a choice of one: continuous first, then kJogSteps.
const char* const kJogStepTips[4] = {
    "Tant qu'une touche est tenue, le bras avance à la vitesse de déplacement manuel (fJogSpeed de robot.opt) ; il "
    "s'arrête avant une limite, une singularité ou une collision, la raison dans la ligne d'état.",
    "Un clic déplace de 0,1 : dixième d'unité de pose le long d'un axe, dixième de degré autour.",
    "Un clic déplace d'une unité de pose le long d'un axe, d'un degré autour.",
    "Un clic déplace de 10 unités de pose le long d'un axe, de 10 degrés autour.",
};
const char* const kJogPadTip =
    "- et + : dans le sens de l'axe ou en sens inverse. Chaque pas est un mouvement planifié et vérifié : refusé, le "
    "bras ne bouge pas et la ligne d'état dit pourquoi.";

const char* const kPointListTip = "Aller : mouvement articulaire synchronisé jusqu'au point ; Ligne : l'outil y va "
                                  "en ligne droite (avec l'outil actuel). Refusé, le bras ne bouge pas.";
const PanelButton kStorePointButton = {
    BUTTON_STORE_POINT, &PanelSettings::storePoint,
    "Enregistre les angles actuels du bras comme un point, sous le premier nom libre P1, P2...",
    [](CController& c) { c.StoreNextPoint(); }, nullptr};

const char* const kPoseFrameTip = "Le repère dans lequel les champs de la pose, les commandes et les mouvements "
                                  "donnent et prennent les poses : la base, ou un repère défini par frame.";

const char* const kConfigurationsTip = "> : la configuration du bras ; en rouge : hors des limites des angles. Un "
                                       "clic y amène le bras par un mouvement articulaire synchronisé.";
const char* const kCurvesTip = "Angles (degrés) et vitesses (degrés par seconde) en fonction du temps, une couleur "
                               "par articulation ; les tirets marquent les vitesses maximales de robot.opt.";

const PanelCheckbox kRealTimeBox = {
    CHECK_REALTIME, &PanelSettings::realTime,
    "Temps réel : les changements deviennent des cibles, que « Démarrer » fait atteindre à chaque articulation à sa "
    "vitesse maximale. Décoché : le bras bouge aussitôt, un mouvement s'arrête.",
    [](const CController& c) { return c.RealTime(); }, [](CController& c, bool on) { c.SetRealTime(on); }};
const PanelButton kGoButton = {
    BUTTON_GO, &PanelSettings::realTimeButton,
    "Démarre le mouvement vers les cibles, chaque articulation à sa vitesse maximale (degrés par seconde, robot.opt).",
    [](CController& c) { c.StartMotion(); }, [](const CController& c) { return c.RealTime(); }};
const PanelCheckbox kImmediateBox = {
    CHECK_IMMEDIATE, &PanelSettings::immediateMode,
    "Mode immédiat : un changement n'agit que sur son groupe. Décoché : changer les angles recalcule la pose (MGD), "
    "changer la pose recalcule les angles (MGI).",
    [](const CController& c) { return c.Immediate(); }, [](CController& c, bool on) { c.SetImmediate(on); }};
// With immediate mode off the models run at every change: nothing to ask.
const PanelButton kModelButtons[] = {
    {BUTTON_MGDC, &PanelSettings::mgdCalculus,
     "MGD, modèle géométrique direct : la pose de l'outil que donnent les six angles.",
     [](CController& c) { c.CalculateMGD(); }, [](const CController& c) { return c.Immediate(); }},
    {BUTTON_MGIC, &PanelSettings::mgiCalculus,
     "MGI, modèle géométrique inverse : les six angles qui amènent l'outil à la pose.",
     [](CController& c) { c.CalculateMGI(); }, [](const CController& c) { return c.Immediate(); }},
};
const PanelButton kTeachButton = {BUTTON_TEACH, &PanelSettings::teachPose,
                                  "Ajoute « moveto » et les angles actuels du bras à poses.txt, dans le répertoire de "
                                  "données : un script que --script rejoue (F8 fait de même).",
                                  [](CController& c) { c.TeachPose(); }, nullptr};

// The display switches' checkboxes come from their own table
// (kDisplaySwitches), labels in PanelSettings::switchLabel.

const char* const kReadoutAnglesTip = "Angles actuels du bras, en degrés.";
const char* const kReadoutPoseTip = "Pose actuelle de l'outil (MGD des angles actuels) : X, Y, Z en centièmes "
                                    "d'unité de scène, Alpha, Bêta, Gamma en degrés.";
const char* const kSingularityTip =
    "Singularités : |A56| ; coude, degrés depuis tendu ou replié ; épaule, distance du centre du poignet à l'axe de "
    "la base ; en orange sous les seuils des mouvements planifiés. Manipulabilité du centre du poignet : 1 au "
    "mieux, 0 quand une direction se perd.";

const char* const kReadoutCellTip =
    "Collision : la première paire qui se touche. Sinon, bras arrêté : la marge, la plus petite distance entre le "
    "bras, le sol et les objets (unités de pose), et la paire la plus proche.";
const char* const kCellCollisionsTip = "Collisions : en rouge les segments du bras et les objets qui se touchent, et "
                                       "les configurations en fantômes qui touchent quelque chose.";
const char* const kCellListTip = "Un clic sur une ligne montre ou cache l'objet dans la scène ; un objet caché est "
                                 "toujours vérifié. En rouge : touché par le bras (avec les collisions montrées).";

// A motion moves the arm far more often than a person reads the panel:
// while it runs the panel follows it this often (seconds of the motion),
// then once more when it stops.
constexpr double kStepRefreshInterval = 0.1;

// ============================================================================
// The readout
// ============================================================================

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

}  // namespace

// ============================================================================
// The panel
// ============================================================================

CControlPanel::CControlPanel(CController& controller, const CMotionRecorder& recorder, const PanelSettings& settings)
    : m_Controller(controller), m_Recorder(recorder), m_Settings(settings),
      m_Meter(controller.Simulation().Arm().Lengths())
{
}

CControlPanel::~CControlPanel()
{
    m_Controller.Simulation().RemoveListener(this);
}

bool CControlPanel::Open(int graphicsWindow)
{
    m_pGlui = GLUI_Master.create_glui(m_Settings.windowName.c_str(), 0, -1, -1);
    if (!m_pGlui) {
        // The record keeps the name it has always had in the error log.
        LogError("CGluiInput::Init -- Impossible d'initialiser la GLUI (create_glui failed)");
        return false;
    }
    Build();
    m_pGlui->set_main_gfx_window(graphicsWindow);
    m_Controller.Simulation().AddListener(this);
    Refresh();
    return true;
}

void CControlPanel::Build()
{
    const PanelSettings& labels = m_Settings;
    const JointLimits& limits = m_Controller.Simulation().Arm().limits;
    CController& controller = m_Controller;

    GLUI_Panel* joints = AddRollout(kRollouts[ROLLOUT_JOINTS]);
    for (int joint = 0; joint < kJointCount; ++joint) {
        GLUI_Spinner* spinner = AddSpinner(
            joints, labels.angleName[joint], joint, std::string(kJointTips[joint]) + kSpinnerUse,
            [&controller, joint] { return controller.EditedAngles().*kJointFields[joint]; },
            [&controller, joint](float degrees) { controller.SetJointAngle(joint, degrees); });
        spinner->set_float_limits(limits.low[joint], limits.high[joint], GLUI_LIMIT_CLAMP);
        spinner->set_alignment(GLUI_ALIGN_RIGHT);
    }

    // The jog and the points under the angles, above the pose group: the
    // status line's text, one line or three, moves what is under it, and
    // keys clicked again and again must stay where they are.
    BuildJog(AddRollout(kRollouts[ROLLOUT_JOG]));
    BuildPoints(AddRollout(kRollouts[ROLLOUT_POINTS]));

    GLUI_Panel* pose = AddRollout(kRollouts[ROLLOUT_POSE]);
    m_pPoseFrame = AddText(pose, kPoseFrameTip);
    for (int i = 0; i < 6; ++i)
        AddSpinner(
            pose, labels.poseName[i], FIRST_POSE_SPINNER + i, kPoseTips[i],
            [&controller, i] { return controller.Pose().*kPoseFields[i]; },
            [&controller, i](float value) { controller.SetPoseValue(i, value); });
    m_pStatus = AddText(pose, kStatusTip);

    GLUI_Panel* moves = AddRollout(kRollouts[ROLLOUT_MOVES]);
    for (const PanelCheckbox& row : kMoveKindBoxes)
        AddCheckbox(moves, row);
    AddSpinner(
        moves, labels.speedOverride, SPINNER_SPEED, kSpeedTip, [&controller] { return controller.SpeedPercent(); },
        [&controller](float percent) { controller.SetSpeedPercent(percent); })
        ->set_float_limits(kMinSpeedPercent, kMaxSpeedPercent, GLUI_LIMIT_CLAMP);
    for (const PanelButton& row : kMoveButtons)
        AddButton(moves, row);

    GLUI_Panel* configurations = AddRollout(kRollouts[ROLLOUT_CONFIGURATIONS]);
    m_pConfigurationCanvas = AddCanvas(
        configurations, 320, kConfigurationListHeight, CANVAS_CONFIGURATIONS, kConfigurationsTip,
        [this](GLUI_Painter& painter, int w, int h) { DrawConfigurationList(painter, w, h, m_Configurations); },
        [this](int) {
            if (const int number = ConfigurationAt(m_Configurations, m_pConfigurationCanvas->get_click_y()))
                m_Controller.MoveToConfiguration(number, true);
        });

    GLUI_Panel* curves = AddRollout(kRollouts[ROLLOUT_CURVES]);
    AddCanvas(curves, 320, 300, -1, kCurvesTip, [this](GLUI_Painter& painter, int w, int h) {
        DrawJointCurves(painter, w, h, m_Recorder, m_Controller.Simulation().Arm());
    });

    m_pGlui->add_column(true);

    GLUI_Panel* control = AddRollout(kRollouts[ROLLOUT_CONTROL]);
    AddCheckbox(control, kRealTimeBox);
    AddButton(control, kGoButton);
    m_pGlui->add_separator_to_panel(control);
    AddCheckbox(control, kImmediateBox);
    for (const PanelButton& row : kModelButtons)
        AddButton(control, row);
    m_pGlui->add_separator_to_panel(control);
    AddButton(control, kTeachButton);

    GLUI_Panel* display = AddRollout(kRollouts[ROLLOUT_DISPLAY]);
    for (const DisplaySwitch& sw : kDisplaySwitches)
        AddCheckbox(
            display, labels.switchLabel[static_cast<int>(sw.flag)], CheckboxOf(sw.flag), sw.tooltip,
            [&controller, flag = sw.flag] { return controller.IsDisplayed(flag); },
            [&controller, flag = sw.flag](bool on) { controller.SetDisplayFlag(flag, on); });

    GLUI_Panel* arm = AddRollout(kRollouts[ROLLOUT_ARM]);
    m_pReadoutAngles = AddText(arm, kReadoutAnglesTip);
    m_pReadoutPose = AddText(arm, kReadoutPoseTip);
    AddCanvas(arm, 170, kSingularityReadoutHeight, -1, kSingularityTip, [this](GLUI_Painter& painter, int, int) {
        DrawSingularityReadout(painter, m_Singularity, m_Meter.ShoulderThreshold());
    });
    m_pReadoutCell = AddText(arm, kReadoutCellTip);

    GLUI_Panel* cell = AddRollout(kRollouts[ROLLOUT_CELL]);
    AddCheckbox(
        cell, labels.switchLabel[static_cast<int>(DisplayFlag::Collisions)], CHECK_CELL_COLLISIONS, kCellCollisionsTip,
        [&controller] { return controller.IsDisplayed(DisplayFlag::Collisions); },
        [&controller](bool on) { controller.SetDisplayFlag(DisplayFlag::Collisions, on); });
    m_pCellCanvas = AddCanvas(
        cell, 170, CellListHeight(m_CellRows), CANVAS_CELL, kCellListTip,
        [this](GLUI_Painter& painter, int w, int h) { DrawCellList(painter, w, h, m_CellRows); },
        [this](int) {
            const std::string name = CellObjectAt(m_CellRows, m_pCellCanvas->get_click_y());
            if (!name.empty())
                m_Controller.ShowObject(name, !m_Controller.ObjectShown(name));
        });
}

void CControlPanel::BuildJog(GLUI_Panel* jog)
{
    for (int i = 0; i < 4; ++i) {
        const JogFrame frame = static_cast<JogFrame>(i);
        AddCheckbox(
            jog, m_Settings.jogFrame[i], CheckboxOf(frame), kJogFrameTips[i],
            [this, frame] { return m_eJogFrame == frame; },
            [this, frame](bool) {
                m_eJogFrame = frame;
                Refresh();
            });
    }
    m_pGlui->add_separator_to_panel(jog);
    for (int i = 0; i < 4; ++i)
        AddCheckbox(
            jog, m_Settings.jogStep[i], CHECK_FIRST_JOG_STEP + i, kJogStepTips[i],
            [this, i] { return m_iJogStep == i; },
            [this, i](bool) {
                m_iJogStep = i;
                Refresh();
            });
    m_pJogCanvas = AddCanvas(
        jog, 320, kJogPadHeight, CANVAS_JOG, kJogPadTip,
        [this](GLUI_Painter& painter, int, int) {
            std::string names[kJogAxes];
            for (int axis = 0; axis < kJogAxes; ++axis)
                names[axis] = m_eJogFrame == JogFrame::Joints ? m_Settings.angleName[axis] : JogAxisWord(axis);
            DrawJogPad(painter, names, m_JogHeld);
        },
        [this](int) { OnJogClick(); });
    m_pJogCanvas->set_hold_callback([this](bool down) { OnJogHold(down); });
}

void CControlPanel::BuildPoints(GLUI_Panel* points)
{
    // The button above the list, which grows under it: stored again and
    // again, the button stays where it is.
    AddButton(points, kStorePointButton);
    m_pPointCanvas = AddCanvas(
        points, 320, PointListHeight(0), CANVAS_POINTS, kPointListTip,
        [this](GLUI_Painter& painter, int, int) { DrawPointList(painter, m_PointNames); },
        [this](int) {
            const PointClick click =
                PointClickAt(m_PointNames, m_pPointCanvas->get_click_x(), m_pPointCanvas->get_click_y());
            if (!click.name.empty())
                m_Controller.MoveToPoint(click.name, click.line ? MoveKind::Linear : MoveKind::Joint, true);
        });
}

void CControlPanel::OnJogHold(bool down)
{
    const bool continuous = m_iJogStep == 0;
    if (down) {
        m_JogHeld = JogKeyAt(m_pJogCanvas->get_click_x(), m_pJogCanvas->get_click_y());
        if (continuous && m_JogHeld.axis >= 0)
            m_Controller.StartJog(m_eJogFrame, m_JogHeld.axis, m_JogHeld.direction);
        return;
    }
    // Let go: a continuous jog ends (if no limit ended it first).
    if (continuous && m_JogHeld.axis >= 0)
        m_Controller.StopJog();
    m_JogHeld = JogKey{};
}

void CControlPanel::OnJogClick()
{
    // A step for a click that ends on the key it began on; the release's
    // callback follows and lets the key go.
    const JogKey key = JogKeyAt(m_pJogCanvas->get_click_x(), m_pJogCanvas->get_click_y());
    if (m_iJogStep == 0 || key.axis < 0 || key != m_JogHeld)
        return;
    m_Controller.Jog(m_eJogFrame, key.axis, key.direction * kJogSteps[m_iJogStep - 1], true);
}

GLUI_Panel* CControlPanel::AddRollout(const PanelRollout& row)
{
    GLUI_Rollout* rollout = m_pGlui->add_rollout((m_Settings.*row.title).c_str(), row.open);
    rollout->set_tooltip(row.tooltip);
    return rollout;
}

GLUI_Spinner* CControlPanel::AddSpinner(GLUI_Panel* panel, const std::string& label, int id, const std::string& tooltip,
                                        std::function<float()> shows, std::function<void(float)> set)
{
    ShownSpinner& shown = m_Spinners.emplace_back(ShownSpinner{nullptr, std::move(shows)});
    shown.spinner =
        m_pGlui->add_spinner_to_panel(panel, label.c_str(), GLUI_SPINNER_FLOAT, nullptr, id,
                                      [&shown, set = std::move(set)](int) { set(shown.spinner->get_float_val()); });
    shown.spinner->set_tooltip(tooltip.c_str());
    return shown.spinner;
}

void CControlPanel::AddCheckbox(GLUI_Panel* panel, const std::string& label, int id, const char* tooltip,
                                std::function<bool()> shows, std::function<void(bool)> set)
{
    ShownCheckbox& shown = m_Checkboxes.emplace_back(ShownCheckbox{nullptr, std::move(shows)});
    shown.box = m_pGlui->add_checkbox_to_panel(
        panel, label.c_str(), nullptr, id, [&shown, set = std::move(set)](int) { set(shown.box->get_int_val() != 0); });
    shown.box->set_tooltip(tooltip);
}

void CControlPanel::AddCheckbox(GLUI_Panel* panel, const PanelCheckbox& row)
{
    CController& controller = m_Controller;
    AddCheckbox(
        panel, m_Settings.*row.label, row.id, row.tooltip, [&controller, &row] { return row.shows(controller); },
        [&controller, &row](bool checked) { row.set(controller, checked); });
}

void CControlPanel::AddButton(GLUI_Panel* panel, const PanelButton& row)
{
    CController& controller = m_Controller;
    GLUI_Button* button = m_pGlui->add_button_to_panel(panel, (m_Settings.*row.label).c_str(), row.id,
                                                       [&controller, &row](int) { row.press(controller); });
    button->set_alignment(GLUI_ALIGN_LEFT);
    button->set_tooltip(row.tooltip);
    if (row.enabled)
        m_Buttons.push_back({button, [&controller, &row] { return row.enabled(controller); }});
}

GLUI_StaticText* CControlPanel::AddText(GLUI_Panel* panel, const char* tooltip)
{
    GLUI_StaticText* text = m_pGlui->add_statictext_to_panel(panel, "");
    text->set_tooltip(tooltip);
    return text;
}

GLUI_Canvas* CControlPanel::AddCanvas(GLUI_Panel* panel, int width, int height, int id, const char* tooltip,
                                      std::function<void(GLUI_Painter&, int, int)> draw, std::function<void(int)> click)
{
    GLUI_Canvas* canvas = m_pGlui->add_canvas_to_panel(panel, width, height, std::move(draw), id, std::move(click));
    canvas->set_tooltip(tooltip);
    return canvas;
}

void CControlPanel::Refresh()
{
    for (const ShownSpinner& s : m_Spinners)
        s.spinner->set_float_val(s.shows());
    for (const ShownCheckbox& c : m_Checkboxes)
        c.box->set_int_val(c.shows());
    for (const ShownButton& b : m_Buttons) {
        if (b.enabled())
            b.button->enable();
        else
            b.button->disable();
    }
    m_pStatus->set_text(m_Controller.StatusLine().c_str());
    const CSimulation& simulation = m_Controller.Simulation();
    const NamedFrame* frame = simulation.Frames().InUse();
    m_pPoseFrame->set_text(("Repère des poses : " + (frame ? frame->name : std::string(kBaseFrameName))).c_str());
    m_PointNames.clear();
    for (const TaughtPoint& point : simulation.Points().All())
        m_PointNames.push_back(point.name);
    m_pPointCanvas->set_h(PointListHeight(m_PointNames.size()));
    // The pairs in contact where the arm stands, checked once for the
    // readout and the list.
    const CCollisionWorld* world = simulation.Cell();
    const std::vector<CollisionPair> contacts =
        world ? world->Collisions(simulation.Angles()) : std::vector<CollisionPair>();
    RefreshReadout(contacts);
    RefreshCell(contacts);
    m_Configurations = ConfigurationsOf(simulation.Arm(), simulation.Angles());
    m_Singularity = m_Meter.Measure(ModelAngles(simulation.Arm(), simulation.Angles()));
}

void CControlPanel::RefreshCell(const std::vector<CollisionPair>& contacts)
{
    const CSimulation& simulation = m_Controller.Simulation();
    m_CellRows.clear();
    if (const CCollisionWorld* world = simulation.Cell()) {
        const CellContacts touching =
            simulation.Display()[DisplayFlag::Collisions] ? ContactsOf(contacts) : CellContacts();
        for (const std::string& name : world->ObjectNames()) {
            const CellObject& object = *world->FindObject(name);
            m_CellRows.push_back(CellRow{name, object.definition.kind, object.colour, simulation.ObjectShown(name),
                                         touching.Touches(name)});
        }
    }
    m_pCellCanvas->set_h(CellListHeight(m_CellRows));
}

void CControlPanel::RefreshReadout(const std::vector<CollisionPair>& contacts)
{
    const CSimulation& simulation = m_Controller.Simulation();
    static const char* const poseNames[6] = {"X", "Y", "Z", "Alpha", "Bêta", "Gamma"};
    const JointAngles& angles = simulation.Angles();
    const ToolPose pose = ArmMGD(simulation.Arm(), angles);
    std::string joints, place;
    for (int i = 0; i < 6; ++i) {
        joints += (i ? "\n" : "") + ReadoutLine(JointName(i), angles.*kJointFields[i], "°");
        place += (i ? "\n" : "") + ReadoutLine(poseNames[i], pose.*kPoseFields[i], i < 3 ? "" : "°");
    }
    m_pReadoutAngles->set_text(joints.c_str());
    m_pReadoutPose->set_text(place.c_str());
    m_pReadoutCell->set_text(m_ClearanceLine.Line(simulation, contacts).c_str());
}

void CControlPanel::OnStateChanged()
{
    Refresh();
}

void CControlPanel::OnMotionStarted(const CTrajectory&)
{
    m_dLastStep = -1.0;
}

void CControlPanel::OnMotionStep(double t, const JointAngles&)
{
    if (t - m_dLastStep < kStepRefreshInterval)
        return;
    m_dLastStep = t;
    Refresh();
}

void CControlPanel::OnMotionEnded(bool)
{
    Refresh();
}
