#include "robot/Motion.h"

#include "graphics/Graphics.h"
#include "panel/Glui.h"
#include "robot/JointMotion.h"
#include "scene/MainScene.h"

#include <GL/freeglut.h>

CTimer g_MotionTimer;
bool g_bRestartTimer = true;

namespace {

// Idle calls come far faster than frames; laps too short to move an angle
// add up here until they can.
double g_dPendingMotionTime = 0.0;

} // namespace

void OnIdle()
{
    if (g_bRestartTimer) {
        g_MotionTimer.Start();
        g_bRestartTimer = false;
        return;
    }
    CRobot& robot = static_cast<CMainScene*>(g_pCurrentScene)->m_Robot;
    MotionStep step = AdvanceMotion(robot.m_fAngle, robot.m_fTargetAngle, robot.m_fMaxSpeed, g_MotionTimer.Lap(),
                                    &g_dPendingMotionTime);
    if (step == MotionStep::Waiting)
        return;
    if (step == MotionStep::Arrived) {
        GLUI_Master.set_glutIdleFunc(nullptr);
        g_bRestartTimer = true;
        g_dPendingMotionTime = 0.0;
    }
    // The idle function belongs to no window: name the one to redraw.
    if (glutGetWindow() != g_iMainWindow)
        glutSetWindow(g_iMainWindow);
    glutPostRedisplay();
}
