#pragma once
// How near the arm stands to its singularities, on a panel canvas: the
// wrist's |A56|, the elbow's degrees from stretched or folded, the wrist
// centre's distance from the base axis and the manipulability, each in
// orange nearer than a planned path may go (the manipulability with the
// elbow or the shoulder, the losses it measures).
#include "glui/Glui.h"
#include "kinematics/Singularity.h"

#include <string>

// Pixels the readout needs: four rows.
constexpr int kSingularityReadoutHeight = 4 * 18;

struct SingularityRow {
    const char* name;   // UTF-8
    std::string value;  // UTF-8, French decimals: degrees, pose units, or the bare measure
    bool near;          // under its threshold
};

// The four rows; the shoulder's threshold in pose units
// (CSingularityMeter::ShoulderThreshold).
void SingularityRows(const SingularityMeasures& m, double shoulderThreshold, SingularityRow rows[4]);

void DrawSingularityReadout(GLUI_Painter& painter, const SingularityMeasures& m, double shoulderThreshold);
