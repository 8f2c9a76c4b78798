#include "app/CommandTimer.h"

#include "base/Clock.h"
#include "command/CommandLoop.h"

#include <GL/freeglut.h>

namespace {

CCommandLoop* g_pLoop = nullptr;

void Schedule();

void OnTimer(int)
{
    g_pLoop->Tick(MonotonicSeconds);
    Schedule();
}

void Schedule()
{
    const int delay = g_pLoop->NextTick(MonotonicSeconds());
    if (delay >= 0)
        glutTimerFunc(static_cast<unsigned int>(delay), OnTimer, 0);
}

}  // namespace

void StartCommandTimer(CCommandLoop& loop)
{
    g_pLoop = &loop;
    Schedule();
}
