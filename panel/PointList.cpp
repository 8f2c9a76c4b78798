#include "panel/PointList.h"

#include <algorithm>

namespace {

const GLUI_Colour kName = {0.85f, 0.85f, 0.85f, 1};
const GLUI_Colour kNone = {0.5f, 0.5f, 0.5f, 1};

}  // namespace

int PointListHeight(std::size_t points)
{
    return static_cast<int>(std::max<std::size_t>(points, 1)) * kKeyRowHeight;
}

void DrawPointList(GLUI_Painter& p, const std::vector<std::string>& names)
{
    if (names.empty()) {
        // Wider than a name's room: written across the row.
        p.Text(2, (kKeyRowHeight - p.TextHeight()) / 2, kNone, "Aucun point (bouton ci-dessus ou commande point).");
        return;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int row = static_cast<int>(i);
        DrawRowName(p, row, names[i].c_str(), kName);
        DrawKey(p, row, 0, "Aller", false);
        DrawKey(p, row, 1, "Ligne", false);
    }
}

PointClick PointClickAt(const std::vector<std::string>& names, int x, int y)
{
    const int key = KeyAt(x, y);
    const std::size_t row = static_cast<std::size_t>(y / kKeyRowHeight);
    if (key < 0 || row >= names.size())
        return PointClick{};
    return PointClick{names[row], key == 1};
}
