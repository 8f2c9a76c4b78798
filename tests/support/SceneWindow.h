#pragma once
// The default scene in a GLUT window, for the frame benchmark and the
// picture tests: the program's graphics window and scene, the arm in its
// start pose, without the panel and the main loop. Needs an X display.
#include "gl/MainScene.h"

// True when an X display can be opened: without one a picture test can only
// be skipped, while any other start-up failure is a failure.
bool SceneDisplayAvailable();

// Opens the window and the scene once per process; they live until it ends
// (GLUT has no clean way to give a window back without ending). Null when
// there is no display or the data set does not load (robot_error.log says
// why).
CMainScene* OpenDefaultScene();

// Resizes the window and waits until the reshape callback has seen the new
// size, so that what is drawn next is drawn at it.
bool ResizeSceneWindow(int width, int height);
