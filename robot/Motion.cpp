#include "robot/Motion.h"

#include "graphics/Graphics.h"
#include "panel/Glui.h"
#include "scene/MainScene.h"

#include <GL/freeglut.h>

CTimer g_MotionTimer;
bool g_bRestartTimer = true;

void OnIdle()
{
    if (g_bRestartTimer) {
        g_MotionTimer.Start();
        g_bRestartTimer = false;
        return;
    }
    if (g_MotionTimer.Elapsed() < kMinimumMotionStep)
        return;
    double dt = g_MotionTimer.Lap();
    CRobot& robot = static_cast<CMainScene*>(g_pCurrentScene)->m_Robot;
    if (robot.UpdateMotion(dt)) {
        GLUI_Master.set_glutIdleFunc(nullptr);
        g_bRestartTimer = true;
    }
    // The idle function belongs to no window: name the one to redraw.
    if (glutGetWindow() != g_iMainWindow)
        glutSetWindow(g_iMainWindow);
    glutPostRedisplay();
}
