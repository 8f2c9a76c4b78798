#pragma once
// What the configuration ghosts show, worked out once per change of the
// arm's angles so that a frame only draws it: the links of each ghost to
// draw, and a label per configuration. Pure arithmetic, tested without a
// window.
#include "robot/Configurations.h"
#include "scene/WindowBounds.h"

#include <string>
#include <vector>

// A configuration other than the arm's own, drawn from link `firstLink` to
// the hand. The links before it lie exactly where the solid arm or a ghost
// drawn earlier has them: a second translucent copy would tint the solid
// arm and darken the ghost there, so each placement is drawn once.
struct GhostArm {
    JointAngles angles;  // the data set's angles
    int firstLink;       // 1 at least: the body never moves
    bool withinLimits;
};

// "3 : vers l'avant, coude en bas, poignet retourné" (UTF-8) at the
// configuration's elbow. Configurations that differ by the wrist alone
// share their elbow: SpreadLabels keeps their labels apart.
struct GhostLabel {
    Point3 anchor;  // scene units
    std::string text;
    bool withinLimits;
    bool current;  // the solid arm's configuration, marked "(actuelle)"
};

struct GhostLayout {
    std::vector<GhostArm> arms;  // in the order of their numbers
    std::vector<GhostLabel> labels;
};

// The ghosts and the labels of the configurations of the arm standing at
// `current` (the data set's angles), as ConfigurationsOf lists them.
GhostLayout LayOutGhosts(const ArmDescription& arm, const JointAngles& current,
                         const std::vector<ArmConfiguration>& configurations);

// A label's text in the window: its first character's origin (pixels, from
// the bottom left) and its width.
struct LabelBox {
    int x, y, width;
};

// Moves labels down by whole lines until none overlaps another: from the
// highest down, each goes under any placed before it that it would cover,
// so labels keep the order of their anchors and stack where these meet.
void SpreadLabels(std::vector<LabelBox>& boxes, int lineHeight);
