#pragma once
// Real-time motion: an idle callback that moves the arm's current angles
// toward its targets at the joints' maximum speeds, against wall time.
#include "app/Timer.h"

extern CTimer g_MotionTimer;
// Set at start and after a motion ends: the next idle call only restarts
// the timer.
extern bool g_bRestartTimer;

// Shortest step taken, in seconds. Idle calls come far faster than a frame;
// a step of a few microseconds does not change a single-precision angle of
// a few hundred degrees (at 300 degrees and 1 degree per second below about
// 15 microseconds), so the time accumulates until a step can move.
constexpr double kMinimumMotionStep = 0.001;

void OnIdle();
