#pragma once
// The one controller: every action on the arm and its display, as values.
// Every way in goes through here, the panel's controls, the graphics
// window's keys and the commands alike, so the panel, the scene and the arm
// cannot disagree:
//  - the simulation holds the truth: the arm's current and target angles,
//    the display switches, the motion; the view holds the camera;
//  - the controller holds what is the user's way of working: the real-time
//    and immediate modes, the tool pose last set or computed, the kind and
//    speed of planned moves, and how the last computation went;
//  - every pose the controller takes or gives is in the user frame in use
//    (the base frame when none is): the pose fields, MoveToPose, MGIOf, the
//    requests of Move, PoseOf and MatrixOf; the planner, the drawing and
//    the cell keep to the base frame;
//  - whatever shows that state listens to the simulation, which every
//    change here also reaches.
// No widget is read and no GL call made here: the panel's callbacks, the
// keys and the commands are adapters that pass values in, and the window is
// reached through its view (View.h).
#include "collision/CellObject.h"
#include "kinematics/MGI.h"
#include "kinematics/RobotTypes.h"
#include "motion/JogTarget.h"
#include "motion/MovePlanner.h"
#include "sim/DisplaySwitches.h"
#include "sim/TaughtPoints.h"
#include "sim/View.h"
#include "sim/WorkFrames.h"

#include <kdl/frames.hpp>

#include <functional>
#include <limits>
#include <memory>
#include <string>

class CCollisionWorld;
class CJogMotion;
class CMotionRecorder;
class CSimulation;

// What an action that can fail says: success, or the reason in French
// (UTF-8), the words a reply or a record carries.
struct ActionResult {
    bool ok = true;
    std::string message;
};

// What a planned move came to: planned (its duration, and when it runs, its
// motion's number and where it ends) or refused (why and where, in French).
struct MoveOutcome {
    bool ok = false;
    std::string words;
    double duration = 0;
    unsigned long motion = 0;
    JointAngles end{};
    // A checked move's smallest clearance along its path (PlanClearance),
    // pose units; infinite without a cell or anything checked.
    double clearance = std::numeric_limits<double>::infinity();
};

// The frames, the points and the tool at once: what a `load` refused
// whole puts back.
struct WorkDefinitions {
    CWorkFrames frames;
    CTaughtPoints points;
    ToolPose tool;
    bool toolSetAtRunTime;
};

class CController {
public:
    // The state at start: real time off, immediate mode on, the pose of the
    // arm's angles, no MGI computation yet.
    CController(CSimulation& simulation, CView& view, const CMotionRecorder& recorder);

    CSimulation& Simulation() const { return m_Simulation; }

    // Joint angle `joint` (0 for A12 to 5 for A67), clamped into its
    // limits, becomes the arm's current angle, or with real time on its
    // target. With immediate mode off the pose follows (MGD).
    void SetJointAngle(int joint, float degrees);
    // Pose value `index` (0 for X to 5 for gamma). With immediate mode off
    // the angles follow (MGI).
    void SetPoseValue(int index, float value);

    // The arm's current angles, each clamped into its limits, at once: a
    // motion under way stops, and the targets are where the arm stands.
    void SetAngles(const JointAngles& angles);
    // The real-time targets, each clamped into its limits; real time is
    // switched on first when it is off.
    void SetTargets(const JointAngles& angles);
    // The pose set and the arm put on it at once through the MGI
    // (as SetAngles does with its angles); returns what the model found.
    MGIResult MoveToPose(const ToolPose& pose);
    // The MGI of a pose as the panel computes it (the arm's
    // current angles as reference, the limits applied), changing nothing.
    MGIResult MGIOf(const ToolPose& pose) const;

    // Real time on: changes go to the targets, which start where the arm
    // stands. Off: changes go to the arm, and a motion under way stops.
    void SetRealTime(bool on);
    // Immediate mode on: a change acts on its own group only.
    void SetImmediate(bool on);
    // Moves every joint toward its target at its speed; refused, doing
    // nothing, while real time is off.
    ActionResult StartMotion();
    // A planned move from where the arm stands (a synchronised joint move,
    // a line, an arc), planned whole at the speed override; run: played when
    // it can be done (the targets become its end), else only checked. The
    // planned way is drawn with the trail either way.
    MoveOutcome Move(const MoveRequest& request, bool run);
    // The panel's "Aller à la pose" and "Vérifier": to the pose of the pose
    // fields, with the panel's kind of move (for a joint move, the inverse
    // model's angles of the pose).
    MoveOutcome MoveToPoseFields(bool run);
    // A synchronised joint move to configuration `number` (as
    // ConfigurationsOf numbers them) of the pose where the arm stands.
    MoveOutcome MoveToConfiguration(int number, bool run);
    void SetMoveKind(MoveKind kind);
    MoveKind PanelMoveKind() const { return m_eMoveKind; }
    // The speed override of planned moves, percent: 1 to 100.
    void SetSpeedPercent(float percent);
    float SpeedPercent() const { return m_fSpeedPercent; }
    // Stops the arm where it stands; its targets become where it stands.
    void StopMotion();

    // A jog of the teach pendant (JogTarget.h), planned and played as Move
    // plays its moves: joint `axis` (0 for A12) turned by `delta` degrees (a
    // synchronised joint move), or the tool point moved `delta` pose units
    // along the axis (0 to 2) of the base, of the tool frame as it stands or
    // of the user frame in use, or the tool frame turned by `delta` degrees
    // about that axis (3 to 5) through the tool point (a line).
    MoveOutcome Jog(JogFrame frame, int axis, double delta, bool run);
    // The continuous jog along (or about) the same axes, `direction` 1 or
    // -1, at the arm's jog speed (fJogSpeed, percent of its speeds), until
    // StopJog, or until the next step would put a joint past its limits,
    // come within a singularity's threshold, leave the reach or touch
    // anything: it stops before, the reason in the status line
    // (JogMotion.h). Refused, nothing moving, when it cannot start; a
    // motion under way stops.
    ActionResult StartJog(JogFrame frame, int axis, int direction);
    // Ends the continuous jog where the arm stands, its targets there too
    // (also once it stopped itself); nothing when another motion came since.
    void StopJog();

    // The tool frame in the hand (pose units and degrees, as robot.opt's
    // fTool keys), set at run time within their ranges: the arm keeps its
    // angles, the poses follow its new tool point.
    ActionResult SetTool(const ToolPose& tool);
    ToolPose Tool() const;
    // User frames (WorkFrames.h), a pose in the base frame each: defined or
    // given a new pose, chosen ("base" for the base frame), removed (the one
    // in use: back to the base frame). The pose fields keep the pose they
    // stand for, said in the frame now in use.
    ActionResult DefineFrame(const std::string& name, const ToolPose& pose);
    ActionResult UseFrame(const std::string& name);
    ActionResult RemoveFrame(const std::string& name);
    // Taught points (TaughtPoints.h): the arm's current angles stored under
    // a name (a new one, or the old one's angles replaced), or under the
    // next free name P1, P2 ... (returned), or given angles (a file played
    // back: checked against the limits only when used).
    ActionResult StorePoint(const std::string& name);
    std::string StoreNextPoint();
    ActionResult DefinePoint(const std::string& name, const JointAngles& angles);
    ActionResult RemovePoint(const std::string& name);
    // A point's angles, refused when there is no such point or when one of
    // them is past the joint's limits as they are now (narrowed since).
    ActionResult PointAngles(const std::string& name, JointAngles* angles) const;
    // A planned move to a point: a synchronised joint move to its angles
    // (Joint, "Aller") or a line to its tool pose (Linear, "Ligne").
    MoveOutcome MoveToPoint(const std::string& name, MoveKind kind, bool run);
    // The tool frame and the pose of a set of angles, in the frame in use.
    KDL::Frame MatrixOf(const JointAngles& angles) const;
    ToolPose PoseOf(const JointAngles& angles) const;
    WorkDefinitions Work() const;
    void RestoreWork(const WorkDefinitions& work);

    // The pose of the edited angles (MGD), and the edited angles
    // of the pose (MGI), whatever the immediate mode.
    void CalculateMGD();
    MGIResult CalculateMGI();

    // The objects of the arm's cell (CollisionWorld.h): each change shown at
    // once, a refused one changing nothing, with the reason.
    ActionResult DefineObject(const ObjectDefinition& object);
    ActionResult SetObjectColour(const std::string& name, const std::string& colour);
    ActionResult RemoveObject(const std::string& name);
    void RemoveAllObjects();
    // An object drawn in the scene or hidden (it is still checked for
    // collisions); refused, with the reason, when there is no such object.
    ActionResult ShowObject(const std::string& name, bool shown);
    bool ObjectShown(const std::string& name) const;

    void SetDisplayFlag(DisplayFlag flag, bool on);
    bool IsDisplayed(DisplayFlag flag) const;
    // The camera's start view.
    void ResetCamera();
    // The camera turning around the arm, placed at this view.
    void LookAround(const OrbitView& view);
    // The trail starts afresh.
    void ClearTrail();
    // The graphics window as it shows now, into fileName in the data
    // directory (PNG for ".png", TGA otherwise).
    ActionResult SaveScreenshot(const char* fileName);
    // Ends the program (Escape, the command exit).
    void Exit();
    // Appends "moveto" and the arm's current angles to poses.txt in the
    // data directory, so that positions set by hand can be replayed as a
    // script. A file that cannot be written gives a record and nothing else.
    ActionResult TeachPose();
    // The latest motion every 10 ms, as a table for programs, into fileName
    // in the data directory.
    ActionResult RecordMotion(const char* fileName);

    // The state the panel shows.
    bool RealTime() const { return m_bRealTime; }
    bool Immediate() const { return m_bImmediate; }
    // The pose fields, in the frame in use.
    const ToolPose& Pose() const { return m_Pose; }
    // The angles the joint spinners stand for: the targets with real time
    // on, the arm's current angles otherwise.
    const JointAngles& EditedAngles() const;
    // One line, UTF-8, about the arm as it stands: how the last inverse
    // model or planned move went while the arm holds what it gave (the
    // angles it computed; a move while it runs and at its end), else how the
    // arm holds itself (forward or back, elbow up or down, wrist flipped or
    // not).
    std::string StatusLine() const;

private:
    // A planned move of a request in the base frame, named `what` in the
    // status line.
    MoveOutcome Carry(const MoveRequest& request, const std::string& what, bool run);
    // The user frames changed: the pose fields keep the pose they stand
    // for, said in the frame in use.
    void ChangeFrames(const CWorkFrames& frames);
    // The angles being edited set, each listener told.
    void SetEdited(const JointAngles& angles);
    // The frame `jog frame` follows: the user frame in use, in the base
    // frame (the base frame itself when none is).
    ToolPose JogUserFrame() const;
    // The work of SetRealTime, StopMotion and CalculateMGI, without
    // telling anyone.
    void SwitchRealTime(bool on);
    void Stop();
    MGIResult ApplyMGI();
    // A change of the cell's objects, shown when it is made.
    ActionResult ChangeCell(const std::function<bool(CCollisionWorld&, std::string*)>& change);
    // What the status line says, for as long as the angles being edited are
    // `angles`, or with a motion's number, while that motion runs or stands
    // at `angles`, its end.
    void Note(std::string text, const JointAngles& angles, unsigned long motion = 0);

    CSimulation& m_Simulation;
    CView& m_View;
    const CMotionRecorder& m_Recorder;
    bool m_bRealTime = false;
    bool m_bImmediate = true;
    ToolPose m_Pose{};
    MoveKind m_eMoveKind = MoveKind::Joint;
    float m_fSpeedPercent = 100.0f;
    struct StatusNote {
        std::string text;
        JointAngles angles{};
        unsigned long motion = 0;
        bool shown = false;
        // A continuous jog's note: the arm holds it where the jog stands,
        // and once the jog stopped itself the note says why.
        std::shared_ptr<const CJogMotion> jog;
    } m_Note;
    unsigned long m_iJogMotion = 0;  // the motion of the last continuous jog, 0 once stopped
};
