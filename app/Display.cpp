#include "app/Display.h"

#include <X11/Xlib.h>

#include <cstdlib>

std::string DisplayName()
{
    const char* name = std::getenv("DISPLAY");
    return name ? name : "";
}

bool DisplayAvailable()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}
