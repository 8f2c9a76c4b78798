#pragma once
// The configurations of the arm's pose as a table on a panel canvas: a
// header, then one row each (number, side of the base, elbow, wrist),
// numbered as kalimbrax-kin mgi --all numbers them, the arm's own
// marked, those that leave the joint limits in red. A click on a row
// chooses it.
#include "glui/Glui.h"
#include "arm/Configurations.h"

#include <vector>

// The height of a row, pixels: what ConfigurationAt counts in.
constexpr int kConfigurationRowHeight = 20;
// The canvas's height for the most configurations a pose has, and the
// header.
constexpr int kConfigurationListHeight = (kMaxMGIConfigurations + 1) * kConfigurationRowHeight;

void DrawConfigurationList(GLUI_Painter& painter, int width, int height, const std::vector<ArmConfiguration>& list);

// The number of the configuration whose row holds y (pixels from the top),
// or 0 for none.
int ConfigurationAt(const std::vector<ArmConfiguration>& list, int y);
