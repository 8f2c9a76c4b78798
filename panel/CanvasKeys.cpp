#include "panel/CanvasKeys.h"

#include <cstring>
#include <string>

namespace {

const GLUI_Colour kRaised = {0.16f, 0.29f, 0.48f, 1};   // ImGui's dark button
const GLUI_Colour kPressed = {0.06f, 0.53f, 0.98f, 1};  // and held
const GLUI_Colour kEdge = {0.45f, 0.55f, 0.7f, 1};
const GLUI_Colour kLabel = {0.95f, 0.95f, 0.95f, 1};

constexpr int kKeyMargin = 2;  // above and below a key, within its row
constexpr float kNameLeft = 2;
constexpr float kSign = 6;  // half the length of a drawn - or +

int KeyLeft(int key)
{
    return key == 0 ? kFirstKeyX : kSecondKeyX;
}

}  // namespace

int KeyAt(int x, int y)
{
    const int inRow = y % kKeyRowHeight;
    if (y < 0 || inRow < kKeyMargin || inRow >= kKeyRowHeight - kKeyMargin)
        return -1;
    for (int key = 0; key < 2; ++key)
        if (x >= KeyLeft(key) && x < KeyLeft(key) + kKeyWidth)
            return key;
    return -1;
}

void DrawKey(GLUI_Painter& p, int row, int key, const char* label, bool pressed)
{
    const float left = static_cast<float>(KeyLeft(key)), right = left + kKeyWidth;
    const float top = static_cast<float>(row * kKeyRowHeight + kKeyMargin);
    const float bottom = static_cast<float>((row + 1) * kKeyRowHeight - kKeyMargin);
    // Filled line by line, as the painter has no rectangles.
    for (float y = top + 0.5f; y < bottom; y += 1)
        p.Line(left, y, right, y, pressed ? kPressed : kRaised);
    const float edge[] = {left, top, right, top, right, bottom, left, bottom, left, top};
    p.Polyline(edge, 5, kEdge);
    const float cx = (left + right) / 2, cy = (top + bottom) / 2;
    if (std::strcmp(label, "-") == 0 || std::strcmp(label, "+") == 0) {
        p.Line(cx - kSign, cy, cx + kSign, cy, kLabel, 2.0f);
        if (*label == '+')
            p.Line(cx, cy - kSign, cx, cy + kSign, kLabel, 2.0f);
        return;
    }
    p.Text(cx - p.TextWidth(label) / 2, cy - p.TextHeight() / 2, kLabel, label);
}

void DrawRowName(GLUI_Painter& p, int row, const char* name, GLUI_Colour colour)
{
    // A name too long for its room is cut, a character at a time (never
    // inside one of UTF-8's), and ends in "...".
    std::string shown = name;
    const float room = kFirstKeyX - kNameLeft - kKeyMargin;
    if (p.TextWidth(name) > room) {
        while (!shown.empty() && p.TextWidth((shown + "...").c_str()) > room) {
            std::size_t end = shown.size() - 1;
            while (end > 0 && (static_cast<unsigned char>(shown[end]) & 0xC0) == 0x80)
                --end;
            shown.erase(end);
        }
        shown += "...";
    }
    p.Text(kNameLeft, static_cast<float>(row * kKeyRowHeight) + (kKeyRowHeight - p.TextHeight()) / 2, colour,
           shown.c_str());
}
