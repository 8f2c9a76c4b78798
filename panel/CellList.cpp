#include "panel/CellList.h"

#include "arm/ArmDescription.h"

#include <algorithm>

namespace {

const GLUI_Colour kText = {0.85f, 0.85f, 0.85f, 1};
const GLUI_Colour kHidden = {0.5f, 0.5f, 0.5f, 1};
const GLUI_Colour kTouching = {1.0f, 0.35f, 0.3f, 1};
const GLUI_Colour kFrame = {0.7f, 0.7f, 0.75f, 1};

constexpr float kBox = 12;  // the tick box and the colour's square, pixels
constexpr float kGap = 8;   // between columns
constexpr float kLeft = 2;  // the tick box's left edge

// A filled square of side kBox, its top left at (x, y).
void Square(GLUI_Painter& p, float x, float y, GLUI_Colour colour)
{
    for (float line = y + 0.5f; line < y + kBox; line += 1)
        p.Line(x, line, x + kBox, line, colour);
}

void Frame(GLUI_Painter& p, float x, float y)
{
    const float xy[] = {x, y, x + kBox, y, x + kBox, y + kBox, x, y + kBox, x, y};
    p.Polyline(xy, 5, kFrame);
}

}  // namespace

int CellListHeight(const std::vector<CellRow>& rows)
{
    return static_cast<int>(std::max<std::size_t>(rows.size(), 1)) * kCellRowHeight;
}

const char* ObjectKindWord(ObjectKind kind)
{
    static const char* const words[] = {"boîte", "cylindre", "sphère", "maillage"};
    return words[static_cast<int>(kind)];
}

void DrawCellList(GLUI_Painter& p, int, int, const std::vector<CellRow>& rows)
{
    const float row = static_cast<float>(kCellRowHeight);
    const float textTop = (row - p.TextHeight()) / 2;
    if (rows.empty()) {
        p.Text(kLeft, textTop, kHidden, "Aucun objet (commande object).");
        return;
    }
    // The kinds in a column after the longest name.
    const float name = kLeft + 2 * (kBox + kGap);
    float kind = 0;
    for (const CellRow& r : rows)
        kind = std::max(kind, p.TextWidth(r.name.c_str()));
    kind += name + 2 * kGap;
    float y = 0;
    for (const CellRow& r : rows) {
        const float boxTop = y + (row - kBox) / 2;
        Frame(p, kLeft, boxTop);
        if (r.shown) {
            const float tick[] = {kLeft + 2, boxTop + 6, kLeft + 5, boxTop + 10, kLeft + 10, boxTop + 2};
            p.Polyline(tick, 3, kText, 2.0f);
        }
        float rgb[3] = {0.5f, 0.5f, 0.5f};
        ParseColour(r.colour, rgb);
        Square(p, kLeft + kBox + kGap, boxTop, GLUI_Colour{rgb[0], rgb[1], rgb[2], r.shown ? 1.0f : 0.4f});
        const GLUI_Colour text = r.touching ? kTouching : r.shown ? kText : kHidden;
        p.Text(name, y + textTop, text, r.name.c_str());
        p.Text(kind, y + textTop, text, ObjectKindWord(r.kind));
        y += row;
    }
}

std::string CellObjectAt(const std::vector<CellRow>& rows, int y)
{
    const int row = y / kCellRowHeight;
    return y >= 0 && static_cast<std::size_t>(row) < rows.size() ? rows[static_cast<std::size_t>(row)].name
                                                                 : std::string();
}
