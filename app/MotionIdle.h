#pragma once
// The motion in the running program: while the simulation moves the arm,
// GLUT's idle function feeds it the monotonic clock, one step per call; the
// idle function is registered only then, so the program sleeps otherwise.
class CSimulation;

// Drives the simulation's motions from the idle function, from now on.
void DriveMotion(CSimulation& simulation);
