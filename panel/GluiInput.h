#pragma once
// The control panel: joint-angle and tool-pose spinners with the forward
// and inverse models, real-time motion, the display toggles, and a readout
// of where the arm stands. Its callbacks hand values to the panel's actions
// (PanelActions.h); its widgets follow the state those actions and the
// motion change (Refresh).
#include "kinematics/RobotTypes.h"
#include "sim/DisplaySwitches.h"

class CMotionRecorder;
struct PanelSettings;
class CController;
class GLUI;
class GLUI_Spinner;
class GLUI_Checkbox;
class GLUI_Button;
class GLUI_StaticText;

class CGluiInput {
public:
    // Builds the panel from glui.opt; its controls act through `actions`,
    // its widgets follow the simulation they act on, and its curves show
    // the motions the recorder keeps.
    // settingsRead is false when glui.opt could not be read: every label and
    // limit then takes its default.
    static bool Init(CController& actions, const CMotionRecorder& recorder, const PanelSettings& settings,
                     bool settingsRead);
    static void BuildPanel();
    static void Release();

    static void OnSpinner(int id);
    static void OnCheckbox(int id);
    static void OnButton(int id);
    static void OnCanvas(int id);

    // Sets every widget from the state it shows: the angles being edited,
    // the pose, the modes, the display flags, the inverse model's status and
    // the readout. Runs no callback.
    static void Refresh();
};

// Checkbox and button ids.
// Checkbox ids: the modes, one per display switch, in the order of their
// table (kDisplaySwitches), then the kinds of planned move.
enum { CHECK_REALTIME = 1, CHECK_IMMEDIATE = 2, CHECK_FIRST_DISPLAY = 4 };
constexpr int CheckboxOf(DisplayFlag flag)
{
    return CHECK_FIRST_DISPLAY + static_cast<int>(flag);
}
constexpr int CHECK_MOVE_JOINT = CHECK_FIRST_DISPLAY + kDisplayFlagCount;
constexpr int CHECK_MOVE_LINEAR = CHECK_MOVE_JOINT + 1;
constexpr int CHECK_COUNT = CHECK_MOVE_LINEAR + 1;
enum { BUTTON_GO = 1, BUTTON_MGDC = 2, BUTTON_MGIC = 3, BUTTON_TEACH = 4, BUTTON_MOVE = 5, BUTTON_CHECK = 6 };
// Spinner ids below this are joint angles, from it up the tool pose; then
// the speed override.
enum { FIRST_POSE_SPINNER = 10, SPINNER_SPEED = 20 };
// The list of configurations, a canvas.
enum { CANVAS_CONFIGURATIONS = 1 };

extern GLUI* g_pGlui;
extern GLUI_Spinner* g_pAngleSpinners[6];
extern GLUI_Spinner* g_pPoseSpinners[6];
extern GLUI_Checkbox* g_pCheckboxes[CHECK_COUNT];  // by id; nullptr where no box has it
extern GLUI_Button* g_pGoButton;
extern GLUI_Button* g_pMGDCButton;
extern GLUI_Button* g_pMGICButton;
extern GLUI_Button* g_pTeachButton;
extern GLUI_Spinner* g_pSpeedSpinner;
extern GLUI_Button* g_pMoveButton;
extern GLUI_Button* g_pCheckButton;
// Under the pose spinners: how the last inverse-model computation went.
extern GLUI_StaticText* g_pMGIStatus;
// The arm's current angles, and the pose they give.
extern GLUI_StaticText* g_pReadoutAngles;
extern GLUI_StaticText* g_pReadoutPose;
