#pragma once
// The X display, asked for before the window system starts: without one,
// GLUT would end the program itself, in English and with status 1.
#include <string>

// The display's name as the window system takes it ($DISPLAY; "" when unset).
std::string DisplayName();
// True when that display can be opened.
bool DisplayAvailable();
