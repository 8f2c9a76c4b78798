#pragma once
// The control panel: joint-angle and tool-pose spinners with the forward
// and inverse models, real-time motion, and the display toggles.
#include "robot/RobotTypes.h"

class GLUI;
class GLUI_Spinner;
class GLUI_Button;
class GLUI_StaticText;

class CGluiInput {
public:
    static bool Init();
    static void BuildPanel();
    static void Release();
    static void StopIdle();

    static void OnSpinner(int id);
    static void OnCheckbox(int id);
    static void OnButton(int id);
};

extern GLUI* g_pGlui;
extern JointAngles g_fPanelAngles;
extern ToolPose g_fPanelPose;
extern int g_iRealTime;
extern int g_iImmediateMode;
extern GLUI_Spinner* g_pAngleSpinners[6];
extern GLUI_Spinner* g_pPoseSpinners[6];
extern GLUI_Button* g_pGoButton;
extern GLUI_Button* g_pMGDCButton;
extern GLUI_Button* g_pMGICButton;
// Under the pose spinners: how the last inverse-model computation went.
extern GLUI_StaticText* g_pMGIStatus;

// The panel's own copies of its toggles: each says which branch the next
// click on its checkbox takes, whatever the function keys did meanwhile.
extern bool g_bPanelRealTime;
extern bool g_bPanelImmediate;
extern bool g_bPanelWireFrame;
extern bool g_bPanelDecoration;
extern bool g_bPanelReflect;
extern bool g_bPanelShadows;
extern bool g_bPanelMetalLook;

// Checkbox and button ids.
enum { CHECK_REALTIME = 1, CHECK_IMMEDIATE = 2, CHECK_WIREFRAME = 4, CHECK_DECORATION = 5,
       CHECK_REFLECT = 6, CHECK_SHADOWS = 7, CHECK_METALLOOK = 8 };
enum { BUTTON_GO = 1, BUTTON_MGDC = 2, BUTTON_MGIC = 3 };
// Spinner ids below this are joint angles, from it up the tool pose.
enum { FIRST_POSE_SPINNER = 10 };
