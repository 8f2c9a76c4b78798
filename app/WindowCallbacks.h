#pragma once
// The graphics window's GLUT callbacks. Escape ends the program; F6, F8,
// Home and the display switches' function keys (F4, F5, F9 to F12) act
// through the controller; every other key and mouse event goes to the
// current scene when its input flags accept that kind.

class CController;

void OnDisplay();
void OnMotion(int x, int y);
void OnMouse(int button, int state, int x, int y);
void OnSpecialKey(int key, int x, int y);
void OnKeyboard(unsigned char key, int x, int y);

// The controller the keys go through; none before the program is composed.
void SetKeyController(CController* controller);
