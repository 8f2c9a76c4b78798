#pragma once
// The graphics window's GLUT callbacks. Escape ends the program; F6, F8,
// Home and the display switches' function keys (F4, F5, F9 to F12) act
// through the panel's actions; every other key and mouse event goes to the
// current scene when its input flags accept that kind.

class CPanelActions;

void OnDisplay();
void OnMotion(int x, int y);
void OnMouse(int button, int state, int x, int y);
void OnSpecialKey(int key, int x, int y);
void OnKeyboard(unsigned char key, int x, int y);

// The actions the keys go through; none before the program is composed.
void SetKeyActions(CPanelActions* actions);

// Draws the window's frame afresh and reads it into fileName in the current
// directory: PNG when the name ends in ".png", TGA otherwise. False when the
// picture could not be written.
bool SaveScreenshot(const char* fileName);
