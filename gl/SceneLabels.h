#pragma once
// Names written in the scene beside the points they are about (the ghosts'
// numbers, the frames' and points' names): GLUT bitmap text over everything,
// right of its point, or left of it where the window's edge would cut it,
// spread down so that none covers another, with a dark copy a pixel down and
// right that keeps it readable on the sky and on the arm alike. A label
// whose point is out of view is left out.
#include "view/WindowBounds.h"

#include <string>
#include <vector>

struct SceneLabel {
    Point3 anchor;        // scene units
    std::string latin1;   // GLUT's bitmap fonts draw Latin-1
    const float* colour;  // red, green, blue
};

// Draws them with the current model-view and projection matrices and
// viewport, depth test off: after everything they are written over.
void DrawSceneLabels(const std::vector<SceneLabel>& labels);
