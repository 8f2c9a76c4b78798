#pragma once
// Real-time motion: an idle callback that moves the arm's current angles
// toward its targets at the joints' maximum speeds, against wall time.
#include "app/Timer.h"

extern CTimer g_MotionTimer;
// Set at start and after a motion ends: the next idle call only restarts
// the timer.
extern bool g_bRestartTimer;

void OnIdle();
