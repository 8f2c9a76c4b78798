#include "panel/SingularityReadout.h"

#include "base/FrenchDecimal.h"
#include "motion/MoveSettings.h"

#include <algorithm>

namespace {

const GLUI_Colour kText = {0.85f, 0.85f, 0.85f, 1};
const GLUI_Colour kNear = {1.0f, 0.6f, 0.1f, 1};

}  // namespace

void SingularityRows(const SingularityMeasures& m, double shoulderThreshold, SingularityRow rows[4])
{
    const bool elbow = m.elbow < kElbowSingularDegrees, shoulder = m.shoulder < shoulderThreshold;
    rows[0] = {"Poignet |A56|", FormatDecimal(m.wrist, 1) + "°", m.wrist < kWristSingularDegrees};
    rows[1] = {"Coude", FormatDecimal(m.elbow, 1) + "°", elbow};
    rows[2] = {"Épaule", FormatDecimal(m.shoulder, 1), shoulder};
    rows[3] = {"Manipulabilité", FormatDecimal(m.manipulability, 2), elbow || shoulder};
}

void DrawSingularityReadout(GLUI_Painter& p, const SingularityMeasures& m, double shoulderThreshold)
{
    SingularityRow rows[4];
    SingularityRows(m, shoulderThreshold, rows);
    float column = 0;
    for (const SingularityRow& row : rows)
        column = std::max(column, p.TextWidth(row.name));
    for (int i = 0; i < 4; ++i) {
        const float y = static_cast<float>(i * kSingularityReadoutHeight / 4);
        const GLUI_Colour colour = rows[i].near ? kNear : kText;
        p.Text(0, y, colour, rows[i].name);
        p.Text(column + 8, y, colour, rows[i].value.c_str());
    }
}
