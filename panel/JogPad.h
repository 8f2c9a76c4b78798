#pragma once
// The jog pad of the panel's "Déplacement manuel" rollout, drawn on a
// canvas: a row per axis of the frame chosen, its name, a - key and a + key;
// the key held drawn pressed. Where a click lands says which axis and which
// way.
#include "motion/JogTarget.h"
#include "panel/CanvasKeys.h"

#include <string>

// A key of the pad: axis 0 to 5 (x, y, z, rx, ry, rz, or joints A12 to
// A67), direction -1 or +1; axis -1: none.
struct JogKey {
    int axis = -1;
    int direction = 0;
    bool operator==(const JogKey& other) const { return axis == other.axis && direction == other.direction; }
    bool operator!=(const JogKey& other) const { return !(*this == other); }
};

constexpr int kJogPadHeight = kJogAxes * kKeyRowHeight;

void DrawJogPad(GLUI_Painter& painter, const std::string (&names)[kJogAxes], JogKey held);

// The key at (x, y), pixels of the pad; axis -1 off every key.
JogKey JogKeyAt(int x, int y);
