#pragma once
// The joint curves of a motion: the six angles over time above, the six
// speeds below with each joint's speed limit, every joint in its colour with
// its name, and the motion's duration under them. Drawn on a panel canvas.
#include "glui/Glui.h"
#include "arm/ArmDescription.h"
#include "sim/MotionRecorder.h"

// The motion under way or, when none runs, the last one of the recorder.
void DrawJointCurves(GLUI_Painter& painter, int width, int height, const CMotionRecorder& recorder,
                     const ArmDescription& arm);
