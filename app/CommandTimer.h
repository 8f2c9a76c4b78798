#pragma once
// The GLUT timer that drives the command loop: registered only while the
// loop has something to drain (the idle function belongs to the motion).
class CCommandLoop;

// Ticks `loop` from the event loop, from now on.
void StartCommandTimer(CCommandLoop& loop);
