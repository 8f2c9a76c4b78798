#pragma once
// What the control panel does, as values. Every way in goes through here,
// the panel's controls, the graphics window's keys and scripts alike, so the
// panel, the scene and the arm cannot disagree:
//  - the scene and the arm hold the truth: the current and target angles,
//    the display flags, the camera, the motion;
//  - this layer holds what is the panel's own: the real-time and immediate
//    modes, the tool pose last set or computed, and how the last
//    inverse-model computation went;
//  - whatever shows that state (the panel's widgets) follows it through the
//    observer, called after every change.
// No widget is read here: the panel's callbacks and the keys are one-line
// adapters that pass values in.
//
// Everything runs on the GLUT thread with the graphics window current, as
// the panel's callbacks and the window's keys run: the polygon mode and the
// redisplay requests made here act on it.
#include "panel/DisplayFlag.h"
#include "robot/InverseModel.h"
#include "robot/RobotTypes.h"

#include <string>

// What an action that can fail says: success, or the reason in French
// (UTF-8), the words a reply or a record carries.
struct ActionResult {
    bool ok = true;
    std::string message;
};

class CPanelActions {
public:
    // Joint angle `joint` (0 for A12 to 5 for A67), clamped into its
    // limits, becomes the arm's current angle, or with real time on its
    // target. With immediate mode off the pose follows (forward model).
    static void SetJointAngle(int joint, float degrees);
    // Pose value `index` (0 for X to 5 for gamma). With immediate mode off
    // the angles follow (inverse model).
    static void SetPoseValue(int index, float value);

    // The arm's current angles, each clamped into its limits, at once: a
    // motion under way stops, and the targets are where the arm stands.
    static void SetAngles(const JointAngles& angles);
    // The real-time targets, each clamped into its limits; real time is
    // switched on first when it is off.
    static void SetTargets(const JointAngles& angles);
    // The pose set and the arm put on it at once through the inverse model
    // (as SetAngles does with its angles); returns what the model found.
    static MGIResult MoveToPose(const ToolPose& pose);
    // The inverse model of a pose as the panel computes it (the arm's
    // current angles as reference, the limits applied), changing nothing.
    static MGIResult InverseOf(const ToolPose& pose);

    // Real time on: changes go to the targets, which start where the arm
    // stands. Off: changes go to the arm, and a motion under way stops.
    static void SetRealTime(bool on);
    // Immediate mode on: a change acts on its own group only.
    static void SetImmediate(bool on);
    // Moves every joint toward its target at its speed; refused, doing
    // nothing, while real time is off.
    static ActionResult StartMotion();
    // Stops the arm where it stands; its targets become where it stands.
    static void StopMotion();

    // The pose of the edited angles (forward model), and the edited angles
    // of the pose (inverse model), whatever the immediate mode.
    static void ComputeForward();
    static MGIResult ComputeInverse();

    static void SetDisplayFlag(DisplayFlag flag, bool on);
    static bool IsDisplayed(DisplayFlag flag);
    // The camera's start view.
    static void ResetCamera();
    // The graphics window as it shows now, into fileName in the data
    // directory (PNG for ".png", TGA otherwise).
    static ActionResult SaveScreenshot(const char* fileName);
    // Appends "moveto" and the arm's current angles to poses.txt in the
    // data directory, so that positions set by hand can be replayed as a
    // script. A file that cannot be written gives a record and nothing else.
    static ActionResult TeachPose();

    // The state the panel shows.
    static bool RealTime() { return s_bRealTime; }
    static bool Immediate() { return s_bImmediate; }
    static const ToolPose& Pose() { return s_Pose; }
    // The angles the joint spinners stand for: the targets with real time
    // on, the arm's current angles otherwise.
    static const JointAngles& EditedAngles();
    // One line, UTF-8: how the last inverse-model computation went, or
    // before any, which model the arm uses.
    static std::string InverseStatus();

    // Called after every change, whoever made it.
    static void SetObserver(void (*observer)());
    // The state at start: real time off, immediate mode on, pose zero,
    // no inverse-model computation yet.
    static void Reset();

private:
    static void Changed();
    // The work of SetRealTime, StopMotion and ComputeInverse, without
    // telling anyone.
    static void SwitchRealTime(bool on);
    static void Stop();
    static MGIResult Inverse();

    static bool s_bRealTime;
    static bool s_bImmediate;
    static ToolPose s_Pose;
    static std::string s_strInverseStatus;
    static void (*s_pObserver)();
};
