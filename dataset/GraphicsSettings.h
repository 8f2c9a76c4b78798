#pragma once
// graphics.opt: the graphics window's size, place, title, buffering and
// field of view.
#include <string>

class COptionDeclarations;

struct GraphicsSettings {
    int width, height;
    // Negative on purpose: with the scene's camera, whose up vector points
    // away from +z, the picture comes out upright.
    double fieldOfView;
    int positionY, positionX;
    bool doubleBuffer;
    std::string windowName;
    bool fullScreen;
    bool smoothAndNice;
};

void DeclareGraphicsKeys(COptionDeclarations& keys, GraphicsSettings& settings);
