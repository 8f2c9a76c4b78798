#include "panel/JogPad.h"

namespace {

const GLUI_Colour kName = {0.85f, 0.85f, 0.85f, 1};

}  // namespace

void DrawJogPad(GLUI_Painter& p, const std::string (&names)[kJogAxes], JogKey held)
{
    for (int axis = 0; axis < kJogAxes; ++axis) {
        DrawRowName(p, axis, names[axis].c_str(), kName);
        DrawKey(p, axis, 0, "-", held == JogKey{axis, -1});
        DrawKey(p, axis, 1, "+", held == JogKey{axis, +1});
    }
}

JogKey JogKeyAt(int x, int y)
{
    const int key = KeyAt(x, y), axis = y / kKeyRowHeight;
    if (key < 0 || axis >= kJogAxes)
        return JogKey{};
    return JogKey{axis, key == 0 ? -1 : +1};
}
