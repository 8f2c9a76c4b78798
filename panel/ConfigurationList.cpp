#include "panel/ConfigurationList.h"

#include <algorithm>
#include <string>

namespace {

const GLUI_Colour kText = {0.85f, 0.85f, 0.85f, 1};
const GLUI_Colour kHeader = {0.6f, 0.6f, 0.65f, 1};
const GLUI_Colour kOutside = {1.0f, 0.35f, 0.3f, 1};
const GLUI_Colour kCurrentRow = {0.26f, 0.59f, 0.98f, 0.35f};

// The columns of a row: number, side, elbow, wrist.
constexpr int kColumns = 4;

void Words(const ArmConfiguration& c, std::string words[kColumns])
{
    static const char* const elbows[] = {"en haut", "en bas", "tendu", "replié"};
    words[0] = (c.current ? "> " : "  ") + std::to_string(c.number);
    words[1] = c.posture.back ? "arrière" : "avant";
    words[2] = elbows[static_cast<int>(c.posture.elbow)];
    words[3] = c.posture.flipped ? "retourné" : "non retourné";
    if (!c.withinLimits)
        words[3] += " (hors limites)";
}

}  // namespace

void DrawConfigurationList(GLUI_Painter& p, int width, int, const std::vector<ArmConfiguration>& list)
{
    const float row = static_cast<float>(kConfigurationRowHeight);
    const float textTop = (row - p.TextHeight()) / 2;
    if (list.empty()) {
        p.Text(2, textTop, kText, "Pose hors d'atteinte.");
        return;
    }
    static const char* const header[kColumns] = {"  N°", "Vers", "Coude", "Poignet"};
    float x[kColumns] = {2};
    for (int column = 1; column < kColumns; ++column) {
        // Each column as wide as its widest word.
        float widest = p.TextWidth(header[column - 1]);
        for (const ArmConfiguration& c : list) {
            std::string words[kColumns];
            Words(c, words);
            widest = std::max(widest, p.TextWidth(words[column - 1].c_str()));
        }
        x[column] = x[column - 1] + widest + 14;
    }
    for (int column = 0; column < kColumns; ++column)
        p.Text(x[column], textTop, kHeader, header[column]);
    float y = row;
    for (const ArmConfiguration& c : list) {
        if (c.current)
            for (float line = y + 1; line < y + row - 1; line += 1)
                p.Line(0, line, static_cast<float>(width), line, kCurrentRow);
        std::string words[kColumns];
        Words(c, words);
        for (int column = 0; column < kColumns; ++column)
            p.Text(x[column], y + textTop, c.withinLimits ? kText : kOutside, words[column].c_str());
        y += row;
    }
}

int ConfigurationAt(const std::vector<ArmConfiguration>& list, int y)
{
    // Under the header row.
    const int row = y / kConfigurationRowHeight - 1;
    return y >= 0 && row >= 0 && static_cast<std::size_t>(row) < list.size() ? list[row].number : 0;
}
