#pragma once
// The graphics window's GLUT callbacks. Escape, F5, F6 and F8 are handled
// here; every other key and mouse event goes to the current scene when its
// input flags accept that kind.

void OnDisplay();
void OnMotion(int x, int y);
void OnMouse(int button, int state, int x, int y);
void OnSpecialKey(int key, int x, int y);
void OnKeyboard(unsigned char key, int x, int y);

// Wireframe state, which F5 and the panel's checkbox both switch through the
// panel's actions.
extern bool g_bWireFrame;

// Draws the window's frame afresh and reads it into fileName in the current
// directory: PNG when the name ends in ".png", TGA otherwise. False when the
// picture could not be written.
bool SaveScreenshot(const char* fileName);
