#pragma once
// A second composition of the program: a data set's scene alone in a GLUT
// window, the arm in its start pose, without the panel and the main loop,
// for the frame benchmark and the picture tests. Needs an X display.
#include "gl/MainScene.h"

// Opens the window and the scene of the data set in `directory` (which
// becomes the current directory) once per process: later calls give the
// same scene, whatever directory they name. They live until the process
// ends (GLUT has no clean way to give a window back without ending). Null
// when there is no display or the data set does not load (robot_error.log
// says why).
CMainScene* OpenScene(const char* directory);

// Resizes the window and waits until the reshape callback has seen the new
// size, so that what is drawn next is drawn at it.
bool ResizeSceneWindow(int width, int height);
