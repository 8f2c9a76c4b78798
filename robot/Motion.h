#pragma once
// The real-time motion in the running program: an idle callback, registered
// only while the motion runs, that advances the arm of the current scene
// toward its targets against the monotonic clock and redraws.
#include "robot/JointMotion.h"

// Starts the motion toward the arm's targets (nothing more when it runs).
void StartMotion();
// Stops the arm where it stands; the next start begins afresh.
void StopMotion();
bool IsMotionRunning();

// Called after every step that moved the arm, and on arrival: whatever shows
// the arm's angles besides the scene follows them. nullptr for none.
void SetMotionObserver(void (*observer)());

// The idle callback.
void OnIdle();
