#pragma once
// The graphics window's GLUT callbacks. Escape, F5 and F6 are handled here;
// every other key and mouse event goes to the current scene when its input
// flags accept that kind.

void OnDisplay();
void OnMotion(int x, int y);
void OnMouse(int button, int state, int x, int y);
void OnSpecialKey(int key, int x, int y);
void OnKeyboard(unsigned char key, int x, int y);

// Wireframe state of F5 (the panel's WF checkbox keeps a flag of its own).
extern bool g_bWireFrame;

// Reads the window's colour buffer into "screenshot.tga" in the current
// directory; false when the picture could not be written.
bool SaveScreenshot();
