#pragma once
// Keys drawn on a panel canvas, for the pads and lists whose rows each hold
// a name and two keys (the jog's − and +, a point's "Aller" and "Ligne"):
// the two keys' place in a row, a key drawn raised or pressed, and which key
// a click lands on.
#include "glui/Glui.h"

// Every such row: its height, and its two keys' left edges and width,
// pixels of the canvas. The name takes what is left of the first key.
constexpr int kKeyRowHeight = 22;
constexpr int kFirstKeyX = 150;
constexpr int kSecondKeyX = 222;
constexpr int kKeyWidth = 64;

// The key of a row's canvas that (x, y) lands on: 0 the first, 1 the
// second, -1 neither (the name, the gap, the margins). Its row is
// y / kKeyRowHeight.
int KeyAt(int x, int y);

// The key of row `row` (0 the first key, 1 the second), raised or pressed,
// with a label centred on it; a label "-" or "+" is drawn as lines, the same
// in every font.
void DrawKey(GLUI_Painter& painter, int row, int key, const char* label, bool pressed);
// The name at the left of row `row`.
void DrawRowName(GLUI_Painter& painter, int row, const char* name, GLUI_Colour colour);
