#pragma once
// What the configuration ghosts show, worked out once per change of the
// arm's angles so that a frame only draws it: the links of each ghost to
// draw, and a label per configuration. Pure arithmetic, tested without a
// window.
#include "arm/Configurations.h"
#include "view/WindowBounds.h"

#include <string>
#include <vector>

// A configuration other than the arm's own and the links of it to draw. A
// link placed exactly where the solid arm or another ghost has one (all
// those before the first joint they differ by, and the hand of a flipped
// wrist, which ends where its twin's does) is drawn once: a second
// translucent copy would tint the solid arm and darken the ghost there. The
// solid arm draws its own; a configuration within the limits has the next
// claim.
struct GhostArm {
    int number;          // as ConfigurationsOf numbers it
    JointAngles angles;  // the data set's angles
    unsigned links;      // bit i: link i is drawn
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
    // In the order to draw them, where the first drawn shows on surfaces
    // that lie on one another: those outside the limits first. A wrist and
    // its flipped twin differ by half a turn of the forearm, the wrist and
    // the hand about their own axes, and look nearly alike: drawn first,
    // the twin that leaves the limits shows red there.
    std::vector<GhostArm> arms;
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
