#include "robot/Motion.h"

#include "app/Timer.h"
#include "graphics/Graphics.h"
#include "scene/MainScene.h"

#include <GL/freeglut.h>

namespace {

CJointMotion g_Motion;
void (*g_pObserver)() = nullptr;

}  // namespace

void StartMotion()
{
    g_Motion.Start();
    glutIdleFunc(OnIdle);
}

void StopMotion()
{
    g_Motion.Stop();
    glutIdleFunc(nullptr);
}

bool IsMotionRunning()
{
    return g_Motion.IsRunning();
}

void SetMotionObserver(void (*observer)())
{
    g_pObserver = observer;
}

void OnIdle()
{
    CRobot& robot = static_cast<CMainScene*>(g_pCurrentScene)->m_Robot;
    const MotionStep step =
        g_Motion.Advance(robot.m_fAngle, robot.m_fTargetAngle, robot.m_fMaxSpeed, MonotonicSeconds());
    if (step == MotionStep::Waiting)
        return;
    if (step == MotionStep::Arrived)
        glutIdleFunc(nullptr);
    // The idle function belongs to no window: name the one to redraw.
    glutPostWindowRedisplay(g_iMainWindow);
    if (g_pObserver)
        g_pObserver();
}
