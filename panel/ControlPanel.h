#pragma once
// The control panel: joint-angle and tool-pose spinners with the forward
// and MGI, planned moves, real-time motion, the display
// switches, and a readout of where the arm stands. One object owns its
// window and its controls, built from tables (ControlPanel.cpp) that give
// each control its label, its help and what it does side by side. Its
// controls hand values to the controller; its widgets follow the state the
// controller and the motion change, the panel being one of the
// simulation's listeners.
#include "arm/Configurations.h"
#include "dataset/PanelSettings.h"
#include "kinematics/Singularity.h"
#include "panel/CellList.h"
#include "panel/ClearanceLine.h"
#include "panel/JogPad.h"
#include "sim/DisplaySwitches.h"
#include "sim/Simulation.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

class CController;
class CMotionRecorder;
class GLUI;
class GLUI_Panel;
class GLUI_Spinner;
class GLUI_Checkbox;
class GLUI_Button;
class GLUI_StaticText;
class GLUI_Canvas;
class GLUI_Painter;

// The controls' ids, as the layout dump shows them (ids repeat from one
// kind of control to another).
// Checkbox ids: the modes, one per display switch, in the order of their
// table (kDisplaySwitches), the kinds of planned move, then the cell's
// collisions (the display switch Collisions again, in the cell's rollout).
enum { CHECK_REALTIME = 1, CHECK_IMMEDIATE = 2, CHECK_FIRST_DISPLAY = 4 };
constexpr int CheckboxOf(DisplayFlag flag)
{
    return CHECK_FIRST_DISPLAY + static_cast<int>(flag);
}
constexpr int CHECK_MOVE_JOINT = CHECK_FIRST_DISPLAY + kDisplayFlagCount;
constexpr int CHECK_MOVE_LINEAR = CHECK_MOVE_JOINT + 1;
constexpr int CHECK_CELL_COLLISIONS = CHECK_MOVE_LINEAR + 1;
constexpr int CHECK_FIRST_JOG_FRAME = CHECK_CELL_COLLISIONS + 1;
constexpr int CheckboxOf(JogFrame frame)
{
    return CHECK_FIRST_JOG_FRAME + static_cast<int>(frame);
}
constexpr int CHECK_FIRST_JOG_STEP = CHECK_FIRST_JOG_FRAME + 4;
// The jog's steps after "continuous", in the units of the axis moved:
// degrees for a joint or a turn, pose units along x, y or z.
constexpr double kJogSteps[3] = {0.1, 1.0, 10.0};
enum {
    BUTTON_GO = 1,
    BUTTON_MGDC = 2,
    BUTTON_MGIC = 3,
    BUTTON_TEACH = 4,
    BUTTON_MOVE = 5,
    BUTTON_CHECK = 6,
    BUTTON_STORE_POINT = 7
};
// Spinner ids below this are joint angles, from it up the tool pose; then
// the speed override.
enum { FIRST_POSE_SPINNER = 10, SPINNER_SPEED = 20 };
// The lists of configurations, of the cell's objects and of the points, and
// the jog's pad: canvases.
enum { CANVAS_CONFIGURATIONS = 1, CANVAS_CELL = 2, CANVAS_POINTS = 3, CANVAS_JOG = 4 };

// The rows of the panel's tables (ControlPanel.cpp): a control's label, as
// the field of glui.opt's settings that holds it, its help, and what it
// shows and does.
struct PanelRollout {
    std::string PanelSettings::*title;
    bool open;
    const char* tooltip;
};
struct PanelCheckbox {
    int id;
    std::string PanelSettings::*label;
    const char* tooltip;
    bool (*shows)(const CController&);
    void (*set)(CController&, bool checked);
};
struct PanelButton {
    int id;
    std::string PanelSettings::*label;
    const char* tooltip;
    void (*press)(CController&);
    bool (*enabled)(const CController&);  // nullptr: always
};

class CControlPanel : private CSimulationListener {
public:
    // The panel of the controller's simulation, labelled as glui.opt says;
    // its curves show the motions the recorder keeps. Nothing shows before
    // Open.
    CControlPanel(CController& controller, const CMotionRecorder& recorder, const PanelSettings& settings);
    ~CControlPanel() override;
    CControlPanel(const CControlPanel&) = delete;
    CControlPanel& operator=(const CControlPanel&) = delete;

    // Opens the panel's window beside the graphics window, whose id is
    // given and which the controls' callbacks find current, and from then
    // on follows the simulation. False, with a record, when no window could
    // be opened. The window stays open as long as the program runs.
    bool Open(int graphicsWindow);

    // Sets every widget from the state it shows: the angles being edited,
    // the pose, the modes, the display flags, the MGI's status and
    // the readout. Runs no callback.
    void Refresh();

private:
    // A control bound to what it shows.
    struct ShownSpinner {
        GLUI_Spinner* spinner;
        std::function<float()> shows;
    };
    struct ShownCheckbox {
        GLUI_Checkbox* box;
        std::function<bool()> shows;
    };
    struct ShownButton {
        GLUI_Button* button;
        std::function<bool()> enabled;
    };

    void Build();
    GLUI_Panel* AddRollout(const PanelRollout& row);
    GLUI_Spinner* AddSpinner(GLUI_Panel* panel, const std::string& label, int id, const std::string& tooltip,
                             std::function<float()> shows, std::function<void(float)> set);
    void AddCheckbox(GLUI_Panel* panel, const std::string& label, int id, const char* tooltip,
                     std::function<bool()> shows, std::function<void(bool)> set);
    void AddCheckbox(GLUI_Panel* panel, const PanelCheckbox& row);
    void AddButton(GLUI_Panel* panel, const PanelButton& row);
    GLUI_StaticText* AddText(GLUI_Panel* panel, const char* tooltip);
    GLUI_Canvas* AddCanvas(GLUI_Panel* panel, int width, int height, int id, const char* tooltip,
                           std::function<void(GLUI_Painter&, int, int)> draw, std::function<void(int)> click = nullptr);
    void RefreshReadout(const std::vector<CollisionPair>& contacts);
    void RefreshCell(const std::vector<CollisionPair>& contacts);
    void BuildJog(GLUI_Panel* jog);
    void BuildPoints(GLUI_Panel* points);
    // The jog pad held down (true) or let go, and clicked (over the key it
    // was pressed on).
    void OnJogHold(bool down);
    void OnJogClick();

    void OnStateChanged() override;
    void OnMotionStarted(const CTrajectory& trajectory) override;
    void OnMotionStep(double t, const JointAngles& angles) override;
    void OnMotionEnded(bool arrived) override;

    CController& m_Controller;
    const CMotionRecorder& m_Recorder;
    const PanelSettings m_Settings;

    GLUI* m_pGlui = nullptr;
    // deques: a control's callback keeps a reference to its entry.
    std::deque<ShownSpinner> m_Spinners;
    std::deque<ShownCheckbox> m_Checkboxes;
    std::vector<ShownButton> m_Buttons;       // those that are not always enabled
    GLUI_StaticText* m_pPoseFrame = nullptr;  // the frame of the poses
    GLUI_StaticText* m_pStatus = nullptr;     // how the last MGI computation went
    GLUI_StaticText* m_pReadoutAngles = nullptr;
    GLUI_StaticText* m_pReadoutPose = nullptr;
    GLUI_StaticText* m_pReadoutCell = nullptr;
    GLUI_Canvas* m_pConfigurationCanvas = nullptr;
    GLUI_Canvas* m_pCellCanvas = nullptr;
    GLUI_Canvas* m_pJogCanvas = nullptr;
    GLUI_Canvas* m_pPointCanvas = nullptr;

    // What the canvases show of the arm as it stands, found when the panel
    // follows a change rather than in each of its frames: the
    // configurations of its pose and how near it is to its singularities.
    std::vector<ArmConfiguration> m_Configurations;
    CSingularityMeter m_Meter;
    SingularityMeasures m_Singularity{};
    // The cell's objects as listed, and the readout's line about the cell.
    std::vector<CellRow> m_CellRows;
    CClearanceLine m_ClearanceLine;

    // How the jog pad moves the arm, the user's choice kept by the panel
    // alone: in which frame, by which step (0: continuously while held,
    // else kJogSteps[m_iJogStep - 1]), and the key held down.
    JogFrame m_eJogFrame = JogFrame::Base;
    int m_iJogStep = 2;
    JogKey m_JogHeld;
    // The points as listed.
    std::vector<std::string> m_PointNames;

    // Time of the motion under way when the panel last followed it.
    double m_dLastStep = -1.0;
};
