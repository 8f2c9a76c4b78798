#pragma once
// glui.opt: the control panel's labels, the joint spinners' limits and the
// arm's start angles. Labels are UTF-8, decoded from the file's
// Windows-1252 as it is read.
#include "kinematics/ArmChain.h"
#include "sim/DisplaySwitches.h"

#include <string>

class COptionDeclarations;

struct PanelSettings {
    std::string windowName;
    float startAngle[kJointCount];
    std::string mgdName;
    std::string angleName[kJointCount];
    float maxAngle[kJointCount];
    float minAngle[kJointCount];
    // The jog: its rollout, the frames it moves in (joints, base, tool, user
    // frame in use) and its steps (continuous, then the panel's sizes).
    std::string jogName, jogFrame[4], jogStep[4];
    std::string pointsName, storePoint;
    std::string mgiName;
    std::string poseName[6];  // X, Y, Z, alpha, beta, gamma
    std::string trajectoryName, moveJoint, moveLinear, speedOverride, moveToPose, checkMove;
    std::string configurationsName;
    std::string curvesName;
    std::string controlName, realTime, realTimeButton, immediateMode, mgdCalculus, mgiCalculus, teachPose;
    std::string displayName;
    std::string switchLabel[kDisplayFlagCount];  // by DisplayFlag
    // What the display shows at start: the table's states, but for the
    // switches with a key of their own (DisplaySwitch::startKey).
    DisplayFlags startDisplay;
    std::string armStateName;
    std::string cellName;
};

void DeclarePanelKeys(COptionDeclarations& keys, PanelSettings& settings);
