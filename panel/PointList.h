#pragma once
// The taught points as a list on a panel canvas, in the order they were
// stored: a row each with its name, an "Aller" key (a joint move there) and
// a "Ligne" key (a straight line there). Where a click lands says which
// point and which move.
#include "panel/CanvasKeys.h"

#include <string>
#include <vector>

// The canvas's height for this many points: one line still when there is
// none.
int PointListHeight(std::size_t points);

void DrawPointList(GLUI_Painter& painter, const std::vector<std::string>& names);

// What a click on the list asks: a point's name and whether by a line
// (else by a joint move); an empty name off every key.
struct PointClick {
    std::string name;
    bool line = false;
};
PointClick PointClickAt(const std::vector<std::string>& names, int x, int y);
