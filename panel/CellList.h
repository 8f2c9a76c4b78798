#pragma once
// The objects of the arm's cell as a list on a panel canvas: one row each,
// in the order they were defined, with a box ticked while the object is
// drawn, its colour, its name and its kind; red where the arm touches it
// with the switch Collisions on, greyed while hidden. A click on a row shows
// or hides its object.
#include "collision/CellObject.h"
#include "glui/Glui.h"

#include <string>
#include <vector>

struct CellRow {
    std::string name;
    ObjectKind kind;
    std::string colour;  // "#rrggbb"
    bool shown;
    bool touching;
};

// The height of a row, pixels: what CellObjectAt counts in.
constexpr int kCellRowHeight = 20;
// The canvas's height for these rows: one line still when there is none.
int CellListHeight(const std::vector<CellRow>& rows);

// The kind as the panel says it: "boîte", "cylindre", "sphère", "maillage".
const char* ObjectKindWord(ObjectKind kind);

void DrawCellList(GLUI_Painter& painter, int width, int height, const std::vector<CellRow>& rows);

// The name of the object whose row holds y (pixels from the top), or ""
// for none.
std::string CellObjectAt(const std::vector<CellRow>& rows, int y);
